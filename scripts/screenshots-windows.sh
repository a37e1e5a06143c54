#!/usr/bin/env bash
# Takes the Windows screenshots of docs/screenshots/ anew: KVITRA.EXE's error
# window after a position the printer refused, and VARDEN.EXE's window with
# its title panel and with its main label. Runs the cross-built programs
# under Wine on a virtual screen (Xvfb), in a Wine prefix and a scratch
# directory of their own, against the Linux thermal-sim; installs what is
# missing (as root).
#   scripts/screenshots-windows.sh [windows-build-dir [linux-build-dir]]
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
build_win=${1:-build-win}
build=${2:-build}
out=docs/screenshots
tools=(xvfb imagemagick x11-utils wine wine64 g++-mingw-w64-x86-64-posix fonts-liberation fonts-comic-neue)
missing=()
for p in "${tools[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
[ -f "$build_win/build.ninja" ] ||
  cmake -S . -B "$build_win" -G Ninja --toolchain cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build_win" -j "$(nproc)" --target kvitra varden
[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)" --target thermal-sim

scratch=$(mktemp -d /tmp/kvitra-screenshots-windows.XXXXXX)
pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[i]}" 2>/dev/null || true
    wait "${pids[i]}" 2>/dev/null || true
  done
  rm -rf "$scratch"
}
trap cleanup EXIT
mkdir -p "$scratch/jobs" "$scratch/zembrano" "$out"
# Wine names the Unix root Z:.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

Xvfb :58 -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=:58
for _ in $(seq 50); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.1; done

export WINEPREFIX=$scratch/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export ZEMBRANO_DIR
ZEMBRANO_DIR=$(windows_path "$scratch/zembrano")
unset KVITRA_START_MINIMISED KVITRA_HEADLESS
wineserver -f -p >/dev/null 2>&1 &
pids+=($!)
wineboot -i >/dev/null 2>&1
# Without a window manager Wine waits 2 s whenever a window hides, unless its
# windows are unmanaged.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
# The fonts that Windows has, from their Debian equivalents.
for font in 'Comic Sans MS=Comic Neue' 'Arial=Liberation Sans' 'MS Sans Serif=Liberation Sans'; do
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
    /v "${font%%=*}" /d "${font#*=}" /f >/dev/null 2>&1
done
wine reg add 'HKCU\SOFTWARE\NORVEL\PrnSetup' /v Code_Page /d WIN1250 /f >/dev/null 2>&1

# Varden: the title panel in its first three seconds, then the main label.
wine "$top/$build_win/shells/varden/VARDEN.EXE" "$(windows_path "$scratch/jobs")" >/dev/null 2>&1 &
pids+=($!)
sleep 2
import -window root -crop 511x214+5+5 +repage "$out/varden-title-panel-wine.png"
sleep 3
import -window root -crop 511x214+5+5 +repage "$out/varden-window-wine.png"
kill "${pids[-1]}"
wait "${pids[-1]}" 2>/dev/null || true
unset 'pids[-1]'

# Kvitra: a receipt whose position line the printer refuses.
"$top/$build/tools/thermal-sim/thermal-sim" --tcp 127.0.0.1:0 --charset win1250 --refuse '$l' \
  --log /dev/null --receipts /dev/null >"$scratch/sim.out" &
pids+=($!)
for _ in $(seq 50); do grep -q '^listening' "$scratch/sim.out" 2>/dev/null && break; sleep 0.1; done
address=$(sed -n 's/^listening tcp \([^ ]*\).*/\1/p' "$scratch/sim.out" | head -n 1)
sed "1s/.*/$address\r/" examples/PORT.CFG.network >"$scratch/jobs/PORT.CFG"
cp examples/receipt-FAK_DANE.DAT "$scratch/jobs/FAK_DANE.DAT"
(cd "$scratch/jobs" && exec wine "$top/$build_win/shells/kvitra/KVITRA.EXE") >"$scratch/kvitra.err" 2>&1 &
pids+=($!)
geometry() {
  (xwininfo -name Kvitra 2>/dev/null || true) | awk '
    /Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
    /Width:/ {w=$NF} /Height:/ {h=$NF}
    END {if (w) printf "%sx%s+%s+%s", w, h, x, y}'
}
for _ in $(seq 150); do [ -n "$(geometry)" ] && break; sleep 0.1; done
sleep 2  # the run fails, the label shows its message, the window raises itself
[ -n "$(geometry)" ] || { echo "screenshots: KVITRA.EXE showed no window" >&2; cat "$scratch/kvitra.err" >&2; exit 1; }
import -window root -crop "$(geometry)" +repage "$out/kvitra-error-window-wine.png"
echo "screenshots: $(ls "$out" | grep -- -wine)"
