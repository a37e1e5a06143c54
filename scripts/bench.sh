#!/bin/sh
# Builds kvitra, varden and thermal-sim in Release and prints the timing and
# memory table: every figure beside the floor measured in the same run.
# Usage: scripts/bench.sh [build-dir] [bench.py options, e.g. --idle 20]
#   --only varden   only Varden's latencies: local, tick alone, through Samba
# The latency through a private Samba share needs root, samba and python3-smbc
# (for Debian's /usr/bin/python3, preferred when present).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build-bench"}
[ $# -gt 0 ] && shift
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target kvitra varden thermal-sim qt_timer_floor -j2 >/dev/null
python=python3
[ -x /usr/bin/python3 ] && python=/usr/bin/python3
exec "$python" "$root/bench/bench.py" --build "$build" "$@"
