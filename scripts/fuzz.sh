#!/usr/bin/env bash
# Builds the libFuzzer targets with AddressSanitizer and UndefinedBehaviorSanitizer
# in build-fuzz/ and runs each one for a bounded time on a copy of its seed corpus
# (fuzz/corpus/<target>/ stays as committed). Fails on any crash, leak or timeout;
# the input that caused it is kept in build-fuzz/artifacts/<target>/.
#   scripts/fuzz.sh [seconds per target, default 60] [target ...]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

seconds="${1:-60}"
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(port_config fiscal_job reply_frame reg_file job_text)
fi

build=build-fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKVITRA_FUZZ=ON -DKVITRA_SANITIZE=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" --target "${targets[@]/#/fuzz_}" -j 2

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=0
passed=0
for target in "${targets[@]}"; do
  work="$(mktemp -d)"
  cp -r "fuzz/corpus/$target/." "$work/"
  artifacts="$build/artifacts/$target"
  mkdir -p "$artifacts"
  log="$build/fuzz_$target.log"
  if "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -artifact_prefix="$artifacts/" "$work" >"$log" 2>&1; then
    echo "fuzz_$target: ok, $(grep -c . <(ls "$work")) inputs in the corpus after ${seconds} s"
    passed=$((passed + 1))
  else
    echo "fuzz_$target: FAILED (see $log, input in $artifacts/)"
    tail -n 40 "$log"
    failed=$((failed + 1))
  fi
  rm -rf "$work"
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
