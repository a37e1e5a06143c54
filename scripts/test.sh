#!/usr/bin/env bash
# Installs what is missing, configures, builds and runs the whole test suite.
#   scripts/test.sh             ordinary build in build/, then the Windows build
#                               and its tests under Wine (scripts/test-windows.sh)
#   scripts/test.sh --sanitize  AddressSanitizer + UndefinedBehaviorSanitizer build in build-asan/
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

build=build
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DKVITRA_WERROR=ON)
if [ "${1:-}" = "--sanitize" ]; then
  build=build-asan
  options=(-DCMAKE_BUILD_TYPE=Debug -DKVITRA_WERROR=ON -DKVITRA_SANITIZE=ON -DCMAKE_C_COMPILER=clang
           -DCMAKE_CXX_COMPILER=clang++)
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi

cmake -S . -B "$build" -G Ninja "${options[@]}"
cmake --build "$build" -j "$(nproc)"
# The fault matrix and the soak (label "long") run once, from .ci/run.
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" --output-on-failure -j 2 --timeout 300 -LE long
if [ "$build" = build ]; then
  KVITRA_LINUX_BUILD=build scripts/test-windows.sh
fi
