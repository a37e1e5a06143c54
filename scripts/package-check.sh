#!/usr/bin/env bash
# Builds the Debian package, installs it on this machine and checks the
# installation: the installed kvitra prints the example receipt on the
# installed thermal-sim, the manual pages are found, and lintian reports no
# error. Run as root on Debian 12; safe to run again.
#   scripts/package-check.sh            build in build-deb/
#   BUILD_DIR=dir scripts/package-check.sh
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build-deb}
docs=/usr/share/doc/kvitra/examples

fail() { echo "package-check: $*" >&2; exit 1; }
[ "$(id -u)" -eq 0 ] || fail "run as root: the package is installed with dpkg"

# What the build needs, then what packaging and checking need.
scripts/install-deps.sh
tools=(dpkg-dev file lintian man-db)
missing=()
for p in "${tools[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

echo "== building the package in $build"
# Only the programs and the packaged files are built: the install step does
# not need the test suite.
# Debian's hardening flags (fortified functions, PIE, full RELRO, bind now).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
  -DCMAKE_C_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CFLAGS)" \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$build" -j "$(nproc)" --target kvitra varden thermal-sim kvitra-package-files
rm -f "$build"/kvitra_*.deb
(cd "$build" && cpack -G DEB)
debs=("$build"/kvitra_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single kvitra_*.deb"
deb=$(realpath "${debs[0]}")
version=$(dpkg-deb -f "$deb" Version)

echo "== installing $(basename "$deb")"
export DEBIAN_FRONTEND=noninteractive
if ! dpkg -i "$deb"; then
  apt-get install -f -y -qq --no-install-recommends
fi
status=$(dpkg-query -W -f='${Status} ${Version}' kvitra 2>/dev/null || true)
[ "$status" = "install ok installed $version" ] || fail "kvitra $version is not installed: $status"
for program in kvitra varden thermal-sim; do
  [ "$(command -v "$program")" = "/usr/bin/$program" ] || fail "$program is not /usr/bin/$program on the PATH"
  [ "$("$program" --version)" = "$program ${version%-*}" ] || fail "$program --version is not '$program ${version%-*}'"
done
depends=$(dpkg-deb -f "$deb" Depends)
for font in fonts-liberation2 fonts-comic-neue; do
  grep -q "$font" <<<"$depends" || fail "the package does not depend on $font: $depends"
done

echo "== printing the example receipt with the installed programs"
scratch=$(mktemp -d /tmp/kvitra-package-check.XXXXXX)
sim= watcher=
cleanup() {
  for pid in $watcher $sim; do kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; done
  rm -rf "$scratch"
}
trap cleanup EXIT
jobs=$scratch/jobs
mkdir -p "$jobs" "$scratch/home/.config/NORVEL" "$scratch/zembrano"
export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/home/.config ZEMBRANO_DIR=$scratch/zembrano
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM KVITRA_START_MINIMISED
cp "$docs/PrnSetup-win1250.reg" "$XDG_CONFIG_HOME/NORVEL/PrnSetup.reg"

/usr/bin/thermal-sim --tcp 127.0.0.1:0 --charset win1250 \
  --log "$scratch/sim.log" --receipts "$scratch/receipts.txt" >"$scratch/sim.out" &
sim=$!
for _ in $(seq 50); do grep -q '^listening' "$scratch/sim.out" 2>/dev/null && break; sleep 0.1; done
address=$(sed -n 's/^listening tcp \([^ ]*\).*/\1/p' "$scratch/sim.out" | head -n 1)
[ -n "$address" ] || fail "thermal-sim did not start"

sed "1s/.*/$address\r/" "$docs/PORT.CFG.network" >"$jobs/PORT.CFG"
cp "$docs/receipt-FAK_DANE.DAT" "$jobs/FAK_DANE.DAT"
(cd "$jobs" && timeout 60 /usr/bin/kvitra) 2>"$scratch/kvitra.err" || fail "kvitra did not end: $(cat "$scratch/kvitra.err")"

result=$(cat "$jobs/FAK_DANE.DAT")
# The simulator numbers receipts from 1, and kvitra's result is that number.
[ "$result" = "##1" ] || fail "result line is '$result', not '##1'; kvitra said: $(cat "$scratch/kvitra.err")"
archived=("$HOME"/Documents/KVITRA/PAR_*.1)
[ -f "${archived[0]}" ] && cmp -s "${archived[0]}" "$docs/receipt-FAK_DANE.DAT" || fail "no archive copy of the job"
grep -q 'PARAGON FISKALNY nr 1' "$scratch/receipts.txt" || fail "thermal-sim printed no receipt"
echo "result line $result, archived as $(basename "${archived[0]}")"

echo "== the installed varden runs the installed kvitra for a job dropped into its directory"
rm -rf "$jobs" && mkdir -p "$jobs"
sed "1s/.*/$address\r/" "$docs/PORT.CFG.network" >"$jobs/PORT.CFG"
QT_QPA_PLATFORM=offscreen /usr/bin/varden "$jobs" 2>"$scratch/varden.err" &
watcher=$!
sleep 1
cp "$docs/receipt-FAK_DANE.DAT" "$jobs/FAK_DANE.DAT"
for _ in $(seq 100); do grep -q '^##' "$jobs/FAK_DANE.DAT" && break; sleep 0.2; done
kill -TERM "$watcher"
for _ in $(seq 50); do kill -0 "$watcher" 2>/dev/null || break; sleep 0.2; done
kill -0 "$watcher" 2>/dev/null && { kill -KILL "$watcher"; fail "varden did not end on SIGTERM"; }
wait "$watcher" || true
result=$(cat "$jobs/FAK_DANE.DAT")
[ "$result" = "##2" ] || fail "result line under varden is '$result', not '##2'; varden said: $(cat "$scratch/varden.err")"
# With a (virtual) screen kvitra loads its window module from the installed tree.
! grep -q "error window cannot be loaded" "$scratch/varden.err" || fail "kvitra found no window module: $(cat "$scratch/varden.err")"
echo "result line $result"

echo "== manual pages"
man -w kvitra varden thermal-sim

echo "== lintian"
# Warnings are shown; only errors fail the check.
lintian --fail-on error "$deb"

echo "package-check: all good"
