#!/usr/bin/env bash
# Runs a command with a null-modem pair of pseudo-terminals, linked into the
# Wine prefix as COM<n> and COM<n+1> (COM_PAIR names them for the command):
# what one port writes, the other reads. Usage: with_com_pair.sh N COMMAND...
# Each test that needs a pair is given its own N, so that two of them running
# side by side never replace or remove each other's ports.
set -euo pipefail
n=$1
shift
prefix=${WINEPREFIX:-$HOME/.wine}
first=$prefix/dosdevices/com$n
second=$prefix/dosdevices/com$((n + 1))

socat "pty,rawer,link=$first" "pty,rawer,link=$second" &
relay=$!
trap 'kill "$relay" 2>/dev/null; wait "$relay" 2>/dev/null || true; rm -f "$first" "$second"' EXIT
for _ in $(seq 100); do
  [[ -e $first && -e $second ]] && break
  sleep 0.05
done
[[ -e $first && -e $second ]] || { echo "socat made no pseudo-terminals" >&2; exit 1; }

COM_PAIR="COM$n COM$((n + 1))" "$@"
