#!/usr/bin/env bash
# Installs, from Debian's archive, whatever the build and the tests need and is
# not there yet. Run as root on Debian 12.
set -euo pipefail
packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libgl-dev
  libgtest-dev libgmock-dev
  libboost-filesystem-dev libboost-system-dev
  clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix googletest wine wine64 xvfb xdotool socat nsis
  fonts-dejavu-core fonts-liberation2 fonts-comic-neue
  samba smbclient python3-smbc
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "missing packages: ${missing[*]} (run as root to install them)" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
