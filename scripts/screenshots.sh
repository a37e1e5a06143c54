#!/usr/bin/env bash
# Takes the screenshots of docs/screenshots/ anew: Varden's window with its
# title panel and with its main label, and Kvitra's error window after a
# position the printer refused. Runs the built programs on a virtual screen
# (Xvfb) in a scratch directory; installs what is missing (as root).
#   scripts/screenshots.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
build=${1:-build}
out=docs/screenshots
scripts/install-deps.sh
tools=(xvfb imagemagick x11-utils)
missing=()
for p in "${tools[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
[ -x "$build/shells/varden/varden" ] || { cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null; }
cmake --build "$build" -j "$(nproc)" --target kvitra varden thermal-sim

scratch=$(mktemp -d /tmp/kvitra-screenshots.XXXXXX)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; done
  rm -rf "$scratch"
}
trap cleanup EXIT
mkdir -p "$scratch/jobs" "$scratch/home/.config/NORVEL" "$scratch/zembrano" "$out"
export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/home/.config ZEMBRANO_DIR=$scratch/zembrano
unset WAYLAND_DISPLAY QT_QPA_PLATFORM KVITRA_START_MINIMISED KVITRA_HEADLESS
cp examples/PrnSetup-win1250.reg "$XDG_CONFIG_HOME/NORVEL/PrnSetup.reg"

Xvfb :57 -screen 0 640x480x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=:57
for _ in $(seq 50); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.1; done

# Varden: the title panel in its first three seconds, then the main label.
"$top/$build/shells/varden/varden" "$scratch/jobs" 2>/dev/null &
pids+=($!)
sleep 1.5
import -window root -crop 511x214+5+5 +repage "$out/varden-title-panel.png"
sleep 3
import -window root -crop 511x214+5+5 +repage "$out/varden-window.png"
kill "${pids[-1]}"

# Kvitra: a receipt whose position line the printer refuses.
"$top/$build/tools/thermal-sim/thermal-sim" --tcp 127.0.0.1:0 --charset win1250 --refuse '$l' \
  --log /dev/null --receipts /dev/null >"$scratch/sim.out" &
pids+=($!)
for _ in $(seq 50); do grep -q '^listening' "$scratch/sim.out" 2>/dev/null && break; sleep 0.1; done
address=$(sed -n 's/^listening tcp \([^ ]*\).*/\1/p' "$scratch/sim.out" | head -n 1)
sed "1s/.*/$address\r/" examples/PORT.CFG.network >"$scratch/jobs/PORT.CFG"
cp examples/receipt-FAK_DANE.DAT "$scratch/jobs/FAK_DANE.DAT"
(cd "$scratch/jobs" && exec "$top/$build/shells/kvitra/kvitra") 2>/dev/null &
pids+=($!)
# The window is made anew when it first puts itself on top, so it is found
# by its title and taken from the screen once it shows the message.
geometry() {
  (xwininfo -name Kvitra 2>/dev/null || true) | awk '
    /Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
    /Width:/ {w=$NF} /Height:/ {h=$NF}
    END {if (w) printf "%sx%s+%s+%s", w, h, x, y}'
}
for _ in $(seq 100); do [ -n "$(geometry)" ] && break; sleep 0.1; done
sleep 2  # the run fails, the label shows its message, the window raises itself
[ -n "$(geometry)" ] || { echo "screenshots: kvitra showed no window" >&2; exit 1; }
import -window root -crop "$(geometry)" +repage "$out/kvitra-error-window.png"
echo "screenshots: $(ls "$out")"
