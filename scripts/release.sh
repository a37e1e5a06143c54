#!/usr/bin/env bash
# Builds, tests and collects a release into dist/: the Debian package, the
# Windows setup program, a portable zip of the Windows programs and SHA256SUMS.
# Run as root on Debian 12 (it installs what is missing, and the package check
# installs the package on this machine).
#   scripts/release.sh               the whole test suite first (scripts/test.sh)
#   scripts/release.sh --skip-tests  for CI, which has just run it
# Every version comes from project(kvitra VERSION ...) in CMakeLists.txt.
set -euo pipefail
cd "$(dirname "$0")/.."

fail() { echo "release: $*" >&2; exit 1; }
run_tests=1
case "${1:-}" in
  "") ;;
  --skip-tests) run_tests=0 ;;
  *) fail "usage: scripts/release.sh [--skip-tests]" ;;
esac
[ "$(id -u)" -eq 0 ] || fail "run as root: the package check installs the package with dpkg"

scripts/install-deps.sh
if [ "$run_tests" -eq 1 ]; then
  scripts/test.sh
fi

# The .deb, built and checked on this machine.
scripts/package-check.sh
# The Windows programs, the setup program and the zip.
scripts/build-windows.sh
cmake --build build-win --target setup portable-zip

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-win/CMakeCache.txt)
[ -n "$version" ] || fail "no project version in build-win/CMakeCache.txt"
artefacts=(
  "build-deb/kvitra_${version}-1_$(dpkg --print-architecture).deb"
  "build-win/packaging/windows/kvitra-setup-${version}.exe"
  "build-win/packaging/windows/kvitra-${version}-windows-x64.zip"
)
for artefact in "${artefacts[@]}"; do
  [ -f "$artefact" ] || fail "$artefact was not built"
done

rm -rf dist && mkdir dist
cp "${artefacts[@]}" dist/
(cd dist && sha256sum -- "${artefacts[@]##*/}" > SHA256SUMS)
echo "release $version in dist/:"
ls -l dist
