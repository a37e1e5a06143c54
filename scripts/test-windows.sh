#!/usr/bin/env bash
# Cross-builds for 64-bit Windows in build-win/ (scripts/build-windows.sh) and
# runs its test suite under Wine, in a Wine prefix made for this run alone and
# removed at its end, also when a step fails. Extra arguments go to ctest
# (for example -R win32_). The end-to-end tests of the programs need the
# Linux build too: KVITRA_LINUX_BUILD=build names it (they skip without it).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds() { date +%s; }
started=$(seconds)
scripts/build-windows.sh
built=$(seconds)

# Wine's own output (and that of the helper processes it starts, which keep
# the standard handles they inherit open for as long as they run) goes to
# files: a pipe would never be read to its end.
logs=build-win/wine-logs
rm -rf "$logs" && mkdir -p "$logs"
# A failing test program's output stays here (tests/win32/run_under_wine.sh).
export KVITRA_WINE_TEST_LOGS=$PWD/$logs/tests

WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/kvitra-wine.XXXXXX")
export WINEPREFIX
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono and no Gecko: a new prefix would otherwise offer to install them.
# No menu builder: it would write menu folders into the runner's home.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

server_pid=""
display_pid=""
keeper_pid=""
finish() {
  if [ -n "$keeper_pid" ]; then
    kill "$keeper_pid" 2>/dev/null || true
    wait "$keeper_pid" 2>/dev/null || true
  fi
  if [ -n "$server_pid" ]; then
    # The prefix's own processes (services, devices, desktop) do not end with
    # the server: -k has the server end them, for this prefix only. Then the
    # server itself, by its process id.
    wineserver -k >/dev/null 2>&1 || true
    kill "$server_pid" 2>/dev/null || true
    wait "$server_pid" 2>/dev/null || true
  fi
  if [ -n "$display_pid" ]; then
    kill "$display_pid" 2>/dev/null || true
    wait "$display_pid" 2>/dev/null || true
  fi
  rm -rf "$WINEPREFIX"
}
trap finish EXIT
trap 'exit 130' INT TERM

# The window tests need a screen: a virtual one of this run's own, on a free
# display number, before Wine starts (its desktop takes the display it finds).
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$logs/display" >"$logs/xvfb.log" 2>&1 &
display_pid=$!
for _ in $(seq 100); do [ -s "$logs/display" ] && break; sleep 0.1; done
DISPLAY=:$(cat "$logs/display")
export DISPLAY

# The prefix's first user settings, in place before wineboot makes the rest:
# the desktop process takes its display driver when it starts, and a setting
# written after it has started would not reach it.
# * Without a window manager Wine waits 2 s whenever a window is hidden or
#   destroyed, unless it manages no windows itself (Managed=N).
# * Without an X server, the null display driver still makes windows and
#   delivers their messages (the launcher's tests close a child's windows).
cat > "$WINEPREFIX/user.reg" <<'EOF'
WINE REGISTRY Version 2
;; All keys relative to \\User\\S-1-5-21-0-0-0-1000

#arch=win64

[Software\\Wine\\X11 Driver]
"Managed"="N"
EOF
if [ -z "${DISPLAY:-}" ]; then
  printf '\n[Software\\\\Wine\\\\Drivers]\n"Graphics"="null"\n' >> "$WINEPREFIX/user.reg"
fi

# One server for the whole run, kept alive between the tests (-p) and in the
# foreground of its own process (-f), so that it can be ended by its process id.
wineserver -f -p >"$logs/wineserver.log" 2>&1 &
server_pid=$!
wineboot -i >"$logs/wineboot.log" 2>&1
if ! kill -0 "$server_pid" 2>/dev/null; then
  echo "test-windows: the Wine server of this run has ended (see $logs/wineserver.log)" >&2
  exit 1
fi
# Wine links the prefix's Documents folder to the runner's home; KVITRA.EXE
# keeps its archive copies there, so the prefix gets a folder of its own.
documents="$WINEPREFIX/drive_c/users/$(id -un)/Documents"
if [ -L "$documents" ]; then rm "$documents" && mkdir "$documents"; fi
# The desktop, started once and kept until the tests are done: Wine closes it
# a second after the last program of the prefix ends and starts it again for
# the next one, and tests side by side would meet it starting or ending.
if [ -n "${DISPLAY:-}" ]; then
  wine build-win/tests/win32/desktop_keeper.exe >"$logs/desktop-keeper.log" 2>&1 &
  keeper_pid=$!
  for _ in $(seq 300); do grep -q '^ready' "$logs/desktop-keeper.log" 2>/dev/null && break; sleep 0.1; done
  grep -q '^ready' "$logs/desktop-keeper.log" ||
    { echo "test-windows: the desktop did not start (see $logs/desktop-keeper.log)" >&2; exit 1; }
fi
prefix_ready=$(seconds)

status=0
ctest --test-dir build-win --output-on-failure -j 2 --timeout 300 "$@" || status=$?
tested=$(seconds)

echo "Windows: build $((built - started)) s, Wine prefix $((prefix_ready - built)) s," \
     "tests under Wine $((tested - prefix_ready)) s"
exit "$status"
