#!/usr/bin/env bash
# The setup program end to end under Wine, in a Wine prefix of its own:
#  1. a bad option ends the silent setup with exit code 2 and installs nothing;
#  2. a silent install into C:\JOBS with chosen settings: files, settings
#     values, uninstall entry, shortcuts; an existing PORT.CFG is kept;
#  3. a receipt through the installed VARDEN.EXE and KVITRA.EXE against the
#     installed thermal-sim.exe over TCP; a setup while Varden runs refuses;
#  4. a second run over it (upgrade) keeps a changed PORT.CFG and settings value,
#     and Varden at log-on;
#  5. the silent uninstall removes the setup's files, keys and shortcuts and the
#     settings values it wrote and nobody changed, and keeps the user's
#     PORT.CFG, the changed value, the job directory's data and the archive;
#  6. a default install (C:\ZEMBRANO, /NOSIM) into an empty job directory
#     writes a PORT.CFG from the network example, which the uninstall removes
#     again with the then empty directory.
# Environment: SETUP_EXE, KVITRA_EXE, VARDEN_EXE, EXAMPLES (the examples
# folder); DISPLAY (VARDEN.EXE is a window program; skipped without one).
set -euo pipefail

if [ -z "${DISPLAY:-}" ]; then
  echo "skipped: VARDEN.EXE needs a screen; scripts/test-windows.sh provides one" >&2
  exit 77
fi

fail() { echo "FAIL: $*" >&2; exit 1; }

WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/kvitra-setup-wine.XXXXXX")
# No Mono, no Gecko, and no menu entries for the shortcuts in the runner's home.
export WINEPREFIX WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
scratch=$WINEPREFIX/scratch
server_pid="" sim_pid="" varden_pid=""
finish() {
  for pid in $varden_pid $sim_pid; do kill -KILL "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; done
  if [ -n "$server_pid" ]; then
    wineserver -k >/dev/null 2>&1 || true
    kill "$server_pid" 2>/dev/null || true
    wait "$server_pid" 2>/dev/null || true
  fi
  rm -rf "$WINEPREFIX"
}
trap finish EXIT
trap 'exit 130' INT TERM

# The prefix as scripts/test-windows.sh makes its own (unmanaged windows).
cat > "$WINEPREFIX/user.reg" <<'EOF'
WINE REGISTRY Version 2
;; All keys relative to \\User\\S-1-5-21-0-0-0-1000

#arch=win64

[Software\\Wine\\X11 Driver]
"Managed"="N"
EOF
mkdir "$scratch"
wineserver -f -p >"$scratch/wineserver.log" 2>&1 &
server_pid=$!
wineboot -i >"$scratch/wineboot.log" 2>&1
user_dir=$WINEPREFIX/drive_c/users/$(id -un)
documents=$user_dir/Documents
if [ -L "$documents" ]; then rm "$documents" && mkdir "$documents"; fi

program_dir=$user_dir/AppData/Local/Programs/Kvitra
start_menu=$user_dir/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs
# Wine spells the Startup folder StartUp.
startup_link=$start_menu/StartUp/Varden.lnk
jobs=$WINEPREFIX/drive_c/JOBS
settings='HKCU\SOFTWARE\NORVEL\PrnSetup'
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kvitra'

# The data of a registry value as `reg query` shows it ("LATIN2", "0x4b00"),
# empty when there is none.
value() { wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v n="$2" '$1 == n { print $3 }'; }
key_exists() { wine reg query "$1" >/dev/null 2>&1; }
expect_value() { [ "$(value "$1" "$2")" = "$3" ] || fail "$1 $2 is '$(value "$1" "$2")', not '$3'"; }
# A .lnk names its target and arguments in UTF-16.
link_has() { strings -el "$1" | grep -qF -e "$2" || fail "$1 does not name $2: $(strings -el "$1" | tr '\n' ' ')"; }
crlf() { printf '%s\r\n' "$@"; }

setup() { wine "$SETUP_EXE" /S "$@" >"$scratch/setup.out" 2>&1; }
# NSIS's uninstaller copies itself to %TEMP% and returns at once; the copy
# removes the uninstall entry last.
uninstall() {
  wine "$program_dir/uninstall.exe" /S >"$scratch/uninstall.out" 2>&1 || fail "the uninstaller failed"
  for _ in $(seq 120); do key_exists "$uninstall_key" || return 0; sleep 0.5; done
  fail "the uninstall entry is still there after 60 s"
}

echo "== 1. a bad option installs nothing"
status=0
setup /CODEPAGE=KOI8R '/D=C:\JOBS' || status=$?
[ "$status" -eq 2 ] || fail "a bad /CODEPAGE ended with $status, not 2"
[ ! -e "$jobs" ] && ! key_exists "$uninstall_key" && ! key_exists "$settings" || fail "a refused setup wrote something"

echo "== 2. silent install into C:\\JOBS"
mkdir -p "$jobs"
crlf '127.0.0.1:1' '01;3000;300;6000' '200;200;500;200;100' '0000' >"$jobs/PORT.CFG"
cp "$jobs/PORT.CFG" "$scratch/PORT.CFG.user"
: >"$jobs/looku.dat"
setup /CODEPAGE=latin2 /SPEED=19200 /XONXOFF=1 /STARTUP=1 '/D=C:\JOBS' || fail "setup failed: $(cat "$scratch/setup.out")"
cmp -s "$jobs/KVITRA.EXE" "$KVITRA_EXE" && cmp -s "$jobs/VARDEN.EXE" "$VARDEN_EXE" || fail "the programs are not in C:\\JOBS"
cmp -s "$jobs/PORT.CFG" "$scratch/PORT.CFG.user" || fail "the existing PORT.CFG was changed"
for f in thermal-sim.exe uninstall.exe LICENSE.txt examples/PORT.CFG.network examples/PrnSetup-cp852.reg \
         examples/receipt-FAK_DANE.DAT; do
  [ -f "$program_dir/$f" ] || fail "$f is not in the program folder"
done
expect_value "$settings" Code_Page LATIN2
expect_value "$settings" COM_Speed 0x4b00
expect_value "$settings" Flow_Ctrl_Xon_Xoff 0x1
expect_value "$uninstall_key" DisplayVersion "$(basename "$SETUP_EXE" .exe | sed 's/^kvitra-setup-//')"
expect_value "$uninstall_key" NoModify 0x1
wine reg query "$uninstall_key" /v QuietUninstallString | grep -qF 'uninstall.exe" /S' || fail "no QuietUninstallString"
[ -f "$startup_link" ] || fail "no Startup shortcut"
link_has "$startup_link" 'VARDEN.EXE'
link_has "$startup_link" '"C:\JOBS"'
link_has "$start_menu/Kvitra/thermal-sim.lnk" '--tcp 127.0.0.1:6001 --charset latin2'
[ -f "$start_menu/Kvitra/Varden.lnk" ] || fail "no Start-menu shortcut to Varden"

echo "== 3. a receipt through the installed programs"
wine "$program_dir/thermal-sim.exe" --tcp 127.0.0.1:0 --charset latin2 >"$scratch/sim.out" 2>"$scratch/sim.log" &
sim_pid=$!
for _ in $(seq 100); do grep -q '^listening' "$scratch/sim.out" 2>/dev/null && break; sleep 0.2; done
address=$(sed -n 's/^listening tcp \([^ \r]*\).*/\1/p' "$scratch/sim.out" | head -n 1)
[ -n "$address" ] || fail "thermal-sim.exe did not start: $(cat "$scratch/sim.log")"
crlf "$address" '01;3000;300;6000' '200;200;500;200;100' '0000' >"$jobs/PORT.CFG"
cp "$jobs/PORT.CFG" "$scratch/PORT.CFG.user"
wine "$jobs/VARDEN.EXE" 'C:\JOBS' >"$scratch/varden.out" 2>&1 &
varden_pid=$!
sleep 2
cp "$EXAMPLES/receipt-FAK_DANE.DAT" "$jobs/FAK_DANE.DAT"
for _ in $(seq 300); do grep -q '^##' "$jobs/FAK_DANE.DAT" && break; sleep 0.2; done
result=$(cat "$jobs/FAK_DANE.DAT")
[ "$result" = "##1" ] || fail "result line '$result', not '##1'; Varden said: $(cat "$scratch/varden.out")"
grep -q 'Żółta teczka' "$scratch/sim.out" || fail "the receipt's letters did not reach the simulator: $(cat "$scratch/sim.out")"
status=0
setup '/D=C:\JOBS' || status=$?
[ "$status" -eq 2 ] || fail "a setup over the running VARDEN.EXE ended with $status, not 2"
kill -KILL "$varden_pid" "$sim_pid"
wait "$varden_pid" "$sim_pid" 2>/dev/null || true
varden_pid="" sim_pid=""
archived=("$documents"/KVITRA/PAR_*.1)
[ -f "${archived[0]}" ] || fail "no archive copy under Documents\\KVITRA"

echo "== 4. upgrade: the changed PORT.CFG and settings value stay"
wine reg add "$settings" /v COM_Speed /t REG_DWORD /d 4800 /f >/dev/null
setup /CODEPAGE=WIN1250 /SPEED=9600 /XONXOFF=0 '/D=C:\JOBS' || fail "the upgrade failed: $(cat "$scratch/setup.out")"
cmp -s "$jobs/PORT.CFG" "$scratch/PORT.CFG.user" || fail "the upgrade changed PORT.CFG"
expect_value "$settings" COM_Speed 0x12c0
expect_value "$settings" Code_Page LATIN2
expect_value "$settings" Flow_Ctrl_Xon_Xoff 0x1
cmp -s "$jobs/KVITRA.EXE" "$KVITRA_EXE" || fail "the upgrade lost KVITRA.EXE"
[ -f "$startup_link" ] || fail "the upgrade dropped the Startup shortcut"

echo "== 5. silent uninstall"
uninstall
for f in "$jobs/KVITRA.EXE" "$jobs/VARDEN.EXE" "$program_dir" "$start_menu/Kvitra" "$startup_link"; do
  [ ! -e "$f" ] || fail "$f is still there after the uninstall"
done
! key_exists 'HKCU\Software\Kvitra' || fail "the setup's own key is still there"
[ -z "$(value "$settings" Code_Page)" ] && [ -z "$(value "$settings" Flow_Ctrl_Xon_Xoff)" ] ||
  fail "the settings values the setup wrote are still there"
expect_value "$settings" COM_Speed 0x12c0
cmp -s "$jobs/PORT.CFG" "$scratch/PORT.CFG.user" || fail "the uninstall touched the user's PORT.CFG"
[ -f "$jobs/looku.dat" ] && [ "$(cat "$jobs/FAK_DANE.DAT")" = "##1" ] || fail "the job directory's data went"
[ -f "${archived[0]}" ] || fail "the archive copy went"

echo "== 6. default install into an empty C:\\ZEMBRANO, without the simulator"
zembrano=$WINEPREFIX/drive_c/ZEMBRANO
setup /NOSIM /STARTUP=0 || fail "the default install failed: $(cat "$scratch/setup.out")"
[ -f "$zembrano/VARDEN.EXE" ] || fail "VARDEN.EXE is not in C:\\ZEMBRANO"
cmp -s "$zembrano/PORT.CFG" "$EXAMPLES/PORT.CFG.network" || fail "C:\\ZEMBRANO got no PORT.CFG from the network example"
[ ! -e "$program_dir/thermal-sim.exe" ] && [ ! -e "$start_menu/Kvitra/thermal-sim.lnk" ] ||
  fail "/NOSIM installed the simulator"
[ ! -e "$startup_link" ] || fail "/STARTUP=0 made a Startup shortcut"
expect_value "$settings" Code_Page WIN1250
uninstall
[ ! -e "$zembrano" ] || fail "C:\\ZEMBRANO is still there: $(ls -A "$zembrano")"
[ -z "$(value "$settings" Code_Page)" ] || fail "Code_Page is still there"
expect_value "$settings" COM_Speed 0x12c0

echo "setup test: all good"
