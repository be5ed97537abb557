#!/usr/bin/env bash
# What Zorvane costs under Wine: the CPU time zorvane.exe uses over a minute idle and over a
# minute away (Set Away clicked, nothing queued), then its peak working set. Not part of the
# tests: it takes two minutes and its figures depend on the machine.
# Usage: bench/idle-and-away.sh WINDOWS_BUILD_DIR [SECONDS]
set -euo pipefail

if [ "${1:-}" != --on-display ]; then
    exec "$(dirname "$0")/../scripts/with-wine.sh" "$1" "$0" --on-display "$(realpath "$1")" \
        "${2:-60}"
fi
build=$2
seconds=$3
drive() { wine "$build/tests/bin/zorvane_drive.exe" "$@"; }

# Under Wine the Windows process is this very Linux process.
wine "$build/zorvane.exe" &
zorvane=$!
trap 'kill $zorvane 2>/dev/null || true' EXIT
drive wait

# Every timer tick and message goes through the prefix's wineserver, so its share is shown too.
# It works in a folder named after the prefix's device and inode.
server_dir=$(printf 'server-%x-%x' $(stat -c '%d %i' "$WINEPREFIX"))
server=""
for pid in $(pgrep -x wineserver64 || pgrep -x wineserver); do
    [ "$(basename "$(readlink "/proc/$pid/cwd")")" = "$server_dir" ] && server=$pid
done
[ -n "$server" ] || { echo "Cannot find the prefix's wineserver." >&2; exit 1; }

# User plus system time in clock ticks; the fields after the parenthesised name.
cpu_ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }

measure() {
    local z0 s0 z1 s1
    z0=$(cpu_ticks $zorvane)
    s0=$(cpu_ticks $server)
    sleep "$seconds"
    z1=$(cpu_ticks $zorvane)
    s1=$(cpu_ticks $server)
    awk -v what="$1" -v s="$seconds" -v hz="$(getconf CLK_TCK)" -v z=$((z1 - z0)) \
        -v w=$((s1 - s0)) 'BEGIN {
            printf "%-5s %d s: zorvane.exe %.2f s CPU (%.2f%% of one core); wineserver %.2f s\n",
                what, s, z / hz, 100 * z / hz / s, w / hz }'
}

echo "Zorvane under Wine, measured from /proc (user + system time)"
measure idle
drive set-away
measure away
# Wine reports the process's VmHWM as its PeakWorkingSetSize (GetProcessMemoryInfo).
echo "peak working set: $(awk '/^VmHWM/ { print $2 }' "/proc/$zorvane/status") KiB (VmHWM)"
