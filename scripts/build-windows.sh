#!/usr/bin/env bash
# Cross-builds for 64-bit Windows with MinGW-w64 in build-win/: KVITRA.EXE,
# VARDEN.EXE, thermal-sim.exe, the setup program and the tests that
# scripts/test-windows.sh runs under Wine (the portable zip is the target
# portable-zip, which scripts/release.sh builds).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

cmake -S . -B build-win -G Ninja --toolchain cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DKVITRA_WERROR=ON
cmake --build build-win -j "$(nproc)"
