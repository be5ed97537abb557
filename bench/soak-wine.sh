#!/usr/bin/env bash
# A real soak under Wine, a benchmark rather than a test: Zorvane away for MINUTES (10) while
# the fake IM client, another process, opens and closes 20 IM windows a minute with a message
# waiting for most of their buddies. Prints Zorvane's working set at the start and the end and
# what became of every entry queued.
# Usage: bench/soak-wine.sh WINDOWS_BUILD_DIR [MINUTES]
set -euo pipefail

if [ "${1:-}" != --on-display ]; then
    exec "$(dirname "$0")/../scripts/with-wine.sh" "$1" "$0" --on-display "$(realpath "$1")" \
        "${2:-10}"
fi
build=$2

# Under Wine the Windows process is this very Linux process.
wine "$build/zorvane.exe" &
zorvane=$!
trap 'kill $zorvane 2>/dev/null || true' EXIT
wine "$build/tests/bin/soak_bench.exe" $zorvane "$3"
