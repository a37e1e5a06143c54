#!/usr/bin/env bash
# Runs the Linux side of the Windows end-to-end tests (wine_e2e_test of the
# Linux build named by KVITRA_LINUX_BUILD) with the given GoogleTest filter.
# Exit status 77 (skipped) when no Linux build is named.
set -euo pipefail
root=$(cd "$(dirname "$0")/../../.." && pwd)
build=${KVITRA_LINUX_BUILD:-}
if [[ -z $build ]]; then
  echo "skipped: the Windows end-to-end tests need the Linux build (thermal-sim, kvitra);" \
       "set KVITRA_LINUX_BUILD to its directory, e.g. KVITRA_LINUX_BUILD=build" >&2
  exit 77
fi
[[ $build = /* ]] || build=$root/$build
program=$build/tests/win32/e2e/wine_e2e_test
[[ -x $program ]] || { echo "$program is not built (cmake --build $build --target wine_e2e_test)" >&2; exit 1; }
exec "$program" --gtest_filter="$1"
