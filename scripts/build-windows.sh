#!/usr/bin/env bash
# Cross-builds for 64-bit Windows with MinGW-w64 in build-win/: for now the
# portable platform code and the logic libraries, so that the logic never
# grows a line that builds on Linux only.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

cmake -S . -B build-win -G Ninja --toolchain cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DKVITRA_WERROR=ON
cmake --build build-win -j "$(nproc)"
