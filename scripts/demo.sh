#!/usr/bin/env bash
# Prints one sample receipt end to end: installs what is missing, builds,
# starts thermal-sim on loopback, writes the sample job into a scratch job
# directory, runs kvitra there and shows the result line, the archive copy and
# the receipt as the simulator printed it.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target kvitra thermal-sim

scratch=$(mktemp -d /tmp/kvitra-demo.XXXXXX)
jobs=$scratch/jobs
mkdir -p "$jobs" "$scratch/home/.config/NORVEL" "$scratch/zembrano"
export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/home/.config ZEMBRANO_DIR=$scratch/zembrano
cp examples/PrnSetup-win1250.reg "$XDG_CONFIG_HOME/NORVEL/PrnSetup.reg"

# The simulator picks a free port and names it on its first line.
build/tools/thermal-sim/thermal-sim --tcp 127.0.0.1:0 --charset win1250 \
  --log "$scratch/sim.log" --receipts "$scratch/receipts.txt" >"$scratch/sim.out" &
sim=$!
trap 'kill $sim 2>/dev/null || true' EXIT
for _ in $(seq 50); do grep -q '^listening' "$scratch/sim.out" 2>/dev/null && break; sleep 0.1; done
address=$(sed -n 's/^listening tcp \([^ ]*\).*/\1/p' "$scratch/sim.out" | head -n 1)
[ -n "$address" ] || { echo "thermal-sim did not start" >&2; exit 1; }

sed "1s/.*/$address\r/" examples/PORT.CFG.network >"$jobs/PORT.CFG"
cp examples/receipt-FAK_DANE.DAT "$jobs/FAK_DANE.DAT"
cp examples/PARAGNIP.DAT "$jobs/PARAGNIP.DAT"

echo "== job directory: $jobs"
echo "== running kvitra (headless) against thermal-sim at $address"
(cd "$jobs" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$top/build/shells/kvitra/kvitra")
echo "== FAK_DANE.DAT now holds:"
cat "$jobs/FAK_DANE.DAT"; echo
echo "== archive copy:"
ls -l "$HOME/Documents/KVITRA"
echo "== the receipt as the printer printed it:"
cat "$scratch/receipts.txt"
