#!/usr/bin/env bash
# Runs a command with a null-modem pair of pseudo-terminals, linked into the
# Wine prefix as COM21 and COM22 (COM_PAIR names them for the command): what
# one port writes, the other reads.
set -euo pipefail
prefix=${WINEPREFIX:-$HOME/.wine}
first=$prefix/dosdevices/com21
second=$prefix/dosdevices/com22

socat "pty,rawer,link=$first" "pty,rawer,link=$second" &
relay=$!
trap 'kill "$relay" 2>/dev/null; wait "$relay" 2>/dev/null || true; rm -f "$first" "$second"' EXIT
for _ in $(seq 100); do
  [[ -e $first && -e $second ]] && break
  sleep 0.05
done
[[ -e $first && -e $second ]] || { echo "socat made no pseudo-terminals" >&2; exit 1; }

COM_PAIR="COM21 COM22" "$@"
