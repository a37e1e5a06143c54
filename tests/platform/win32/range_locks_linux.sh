#!/usr/bin/env bash
# The range lock against a Linux process's open-file-description lock on the
# same bytes of the same file: each side is refused while the other holds it.
# Arguments: the command that runs the Windows test program (wine PROGRAM).
set -euo pipefail
dir=$(mktemp -d)
holder=
cleanup() {
  [[ -n $holder ]] && { kill "$holder" 2>/dev/null; wait "$holder" 2>/dev/null || true; }
  rm -rf "$dir"
}
trap cleanup EXIT
file=$dir/looku.dat
: > "$file"
windows_file="Z:${file//\//\\}"

# linux_lock hold: locks bytes 0 to 3 and keeps them until FILE.release
# appears, telling FILE.ready once it holds them. linux_lock try: exit
# status 0 when the lock can be taken, 1 when it is refused.
linux_lock() {
  perl -e '
    use Fcntl qw(O_RDWR F_WRLCK SEEK_SET);
    my ($path, $mode) = @ARGV;
    my $F_OFD_SETLK = 37;
    sysopen(my $fh, $path, O_RDWR) or die "open $path: $!";
    my $range = pack("s s x4 q q l x4", F_WRLCK, SEEK_SET, 0, 4, 0);  # struct flock
    my $taken = fcntl($fh, $F_OFD_SETLK, $range);
    exit($taken ? 0 : 1) if $mode eq "try";
    die "lock refused: $!" unless $taken;
    open(my $ready, ">", "$path.ready") and close($ready);
    for (1 .. 600) { last if -e "$path.release"; select(undef, undef, undef, 0.05); }
  ' "$file" "$1"
}

# wait_for FILE PID: until FILE exists, as long as PID runs.
wait_for() {
  for _ in $(seq 600); do
    [[ -e $1 ]] && return 0
    kill -0 "$2" 2>/dev/null || break
    sleep 0.05
  done
  echo "$1 did not appear" >&2
  return 1
}

run_windows_test() {
  local name=$1 log=$dir/$1.log
  shift
  "$@" --gtest_filter="LinuxLockTest.$name" > "$log" 2>&1 || { cat "$log"; return 1; }
  grep -q "PASSED  \] 1 test" "$log" || { cat "$log"; return 1; }
}

windows_test=("$@")

# A Linux process holds the range: the Windows side is refused.
linux_lock hold &
holder=$!
wait_for "$file.ready" "$holder"
LOCKED_BY_LINUX=$windows_file run_windows_test RangeHeldByALinuxProcessIsRefused "${windows_test[@]}"
touch "$file.release"
wait "$holder"
holder=
rm -f "$file.ready" "$file.release"

# The Windows side holds the range: the Linux process is refused until it lets go.
HOLD_FOR_LINUX=$windows_file run_windows_test RangeHeldHereUntilReleased "${windows_test[@]}" &
holder=$!
wait_for "$file.ready" "$holder"
if linux_lock try; then
  echo "a Linux process took the range that the Windows side holds" >&2
  exit 1
fi
touch "$file.release"
wait "$holder"
holder=
linux_lock try || { echo "the range stayed locked after the Windows side let go" >&2; exit 1; }
echo "range lock and Linux OFD lock exclude each other"
