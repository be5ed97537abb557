#!/usr/bin/env bash
# Runs every fuzz target for SECONDS over its seed corpus (fuzz/corpus/<target>) and what earlier
# runs found (BUILD/corpus/<target>), and prints executions and findings per target. A finding
# (crash, broken invariant, hang) is kept as BUILD/findings/<target>-*; the exit status is 1.
# With `smoke` for SECONDS, each target runs a fixed number of inputs from a fixed seed over the
# seed corpus alone: the same inputs every time, so a test gate never passes or fails by chance.
set -uo pipefail
build=$1 seconds=$2
smoke=$(mktemp -d)
trap 'rm -rf "$smoke"' EXIT
cd "$(dirname "$0")/.."
mkdir -p "$build/findings" "$build/logs"
failed=0
for seeds in fuzz/corpus/*/; do
    target=$(basename "$seeds")
    if [ "$seconds" = smoke ]; then
        limit=(-runs=20000 -seed=1)
        corpus=$smoke/$target
    else
        limit=(-max_total_time="$seconds")
        corpus=$build/corpus/$target
    fi
    mkdir -p "$corpus"
    log=$build/logs/$target.log
    "$build/fuzz_$target" "${limit[@]}" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$build/findings/$target-" "$corpus" "$seeds" >"$log" 2>&1
    status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    added=$(sed -n 's/^stat::new_units_added: *//p' "$log")
    findings=$(sed -n 's/.*Test unit written to //p' "$log")
    printf '%-10s %10s executions  %4s new inputs  ' "$target" "${runs:-?}" "${added:-?}"
    if [ $status -eq 0 ] && [ -z "$findings" ]; then
        echo "no findings"
    else
        failed=1
        echo "FINDING: ${findings:-exit status $status, see $log}"
        grep -m3 -E 'invariant broken|ERROR: |runtime error' "$log" | sed 's/^/    /'
    fi
done
exit $failed
