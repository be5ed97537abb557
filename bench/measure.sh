#!/usr/bin/env bash
# What Zorvane costs under Wine: CPU time idle, away beside three IM windows of buddies without
# an entry while 1, 20 and 200 entries wait, and away with and without a buddy's message waiting
# beside 0, 500 and 2000 windows of another program (each beside an idle 1 ms timer's cost); how
# soon a buddy's message reaches the away dialog; the peak working set. Not part of the tests:
# it takes about thirteen minutes and its figures depend on the machine.
# Usage: bench/measure.sh WINDOWS_BUILD_DIR [SECONDS_PER_CASE]
set -euo pipefail

if [ "${1:-}" != --on-display ]; then
    exec "$(dirname "$0")/../scripts/with-wine.sh" "$1" "$0" --on-display "$(realpath "$1")" \
        "${2:-30}"
fi
build=$2
seconds=$3

# Under Wine the Windows process is this very Linux process.
wine "$build/zorvane.exe" &
zorvane=$!
trap 'kill $zorvane 2>/dev/null || true' EXIT
wine "$build/tests/bin/zorvane_drive.exe" wait

# Every timer tick and message goes through the prefix's wineserver, so its share is shown too.
# It works in a folder named after the prefix's device and inode.
server_dir=$(printf 'server-%x-%x' $(stat -c '%d %i' "$WINEPREFIX"))
server=""
for pid in $(pgrep -x wineserver64 || pgrep -x wineserver); do
    [ "$(basename "$(readlink "/proc/$pid/cwd")")" = "$server_dir" ] && server=$pid
done
[ -n "$server" ] || { echo "Cannot find the prefix's wineserver." >&2; exit 1; }

# The subshell becomes the benchmark, so $BASHPID is the benchmark's own process.
(exec wine "$build/tests/bin/responder_bench.exe" $zorvane $server $BASHPID "$seconds")
# Wine reports the process's VmHWM as its PeakWorkingSetSize (GetProcessMemoryInfo).
echo "peak working set: $(awk '/^VmHWM/ { print $2 }' "/proc/$zorvane/status") KiB (VmHWM)"
