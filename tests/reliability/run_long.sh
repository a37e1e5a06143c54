#!/usr/bin/env bash
# The long reliability runs, with their figures on standard output:
#   tests/reliability/run_long.sh [build dir, default build] [jobs, default 300] [kills, default 300]
# The soak drops the jobs through varden; the crash loop kills kvitra that many
# times. Both fail on any duplicate, lost job or corrupted job file.
set -euo pipefail
cd "$(dirname "$0")/../.."
build="${1:-build}"
jobs="${2:-300}"
kills="${3:-300}"
cmake --build "$build" --target soak_test reliability_test -j 2 >/dev/null
export QT_QPA_PLATFORM=offscreen
status=0
# With pipefail a failing test binary fails its line, whatever grep finds.
KVITRA_SOAK_JOBS="$jobs" "$build/tests/reliability/soak_test" | grep -E "^soak:|FAILED|Failure" || status=1
KVITRA_CRASH_RUNS="$kills" "$build/tests/reliability/reliability_test" --gtest_filter='CrashSafety.*' \
  | grep -E "^crash safety:|FAILED|Failure" || status=1
exit "$status"
