#!/usr/bin/env bash
# How CTest runs a Windows test program (and GoogleTest's listing of its
# tests): under Wine, with the program's output caught in a file rather than
# a pipe (Wine's helper processes keep inherited pipes open). The output is
# passed on; when the program fails, the file stays in KVITRA_WINE_TEST_LOGS
# (scripts/test-windows.sh sets it) and a last line says how it ended, so a
# test that ends silently still says whether it exited or was killed.
set -u
logs=${KVITRA_WINE_TEST_LOGS:-}
[ -n "$logs" ] || exec wine "$@"
mkdir -p "$logs"
name=$(basename "$1" .exe)
for argument in "${@:2}"; do
  case $argument in --gtest_filter=*) name="$name-${argument#--gtest_filter=}" ;; esac
done
log=$(mktemp "$logs/${name//[^A-Za-z0-9._-]/_}.XXXXXX.log")
started=$(date +%s%N)
wine "$@" >"$log" 2>&1
status=$?
elapsed_ms=$(( ($(date +%s%N) - started) / 1000000 ))
cat "$log"
if [ "$status" -eq 0 ]; then
  rm -f "$log"
  exit 0
fi
if [ "$status" -gt 128 ]; then
  how="killed by signal $((status - 128))"
else
  # Wine passes on the low byte of the Windows exit code.
  how=$(printf 'exit code ending in 0x%02X' "$status")
  case $status in
    5) how="$how (0xC0000005: access violation)" ;;
    58) how="$how (0xC000013A: ended by a console control event)" ;;
    66) how="$how (0xC0000142: a DLL failed to initialise)" ;;
  esac
fi
printf 'run_under_wine: %s ended with status %d, %s, after %d ms; its output is kept in %s\n' \
  "$name" "$status" "$how" "$elapsed_ms" "$log" >&2
exit "$status"
