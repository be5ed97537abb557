#!/usr/bin/env bash
# Fails, naming what is missing, unless the program carries the protections of its build: loaded
# at a random address (ASLR, relocations kept, 64-bit entropy), data not executable (NX), no
# section both writable and executable, the stack guard and the bounds-checked string functions
# linked in, and a load configuration that has the system load imported DLLs from System32 only.
# Usage: scripts/check-hardening.sh EXE
set -euo pipefail
exe=$1
header=$(x86_64-w64-mingw32-objdump -p "$exe")
missing=()

for flag in DYNAMIC_BASE HIGH_ENTROPY_VA NX_COMPAT; do
    grep -qx "[[:space:]]*$flag" <<<"$header" || missing+=("$flag (DllCharacteristics)")
done
grep -q 'relocations stripped' <<<"$header" && missing+=("relocations (stripped)")
entry() { awk -v n="$1" '$1 == "Entry" && $2 == n { print $3, $4 }' <<<"$header"; }
read -r _ relocations <<<"$(entry 5)"
[ "$((0x${relocations:-0}))" -gt 0 ] || missing+=("relocations (no .reloc directory)")

writableCode=$(x86_64-w64-mingw32-objdump -h "$exe" | awk '
    /^ +[0-9]+ / { name = $2; next }
    /CODE/ && !/READONLY/ { printf " %s", name }')
[ -z "$writableCode" ] || missing+=("no writable code (writable and executable:$writableCode)")

# Strings of the runtime's reports, there only when compiled code calls them.
texts=$(strings -a "$exe")
grep -qF '*** stack smashing detected ***' <<<"$texts" ||
    missing+=("the stack guard (-fstack-protector-strong)")
grep -qF '*** buffer overflow detected ***' <<<"$texts" ||
    missing+=("the bounds-checked functions (_FORTIFY_SOURCE)")

# DependentLoadFlags, a 16-bit field at offset 78 of the load configuration.
read -r config configSize <<<"$(entry a)"
if [ "$((0x${configSize:-0}))" -lt 80 ]; then
    missing+=("the load configuration entry (scripts/set-load-config.sh)")
else
    base=$((0x$(awk '$1 == "ImageBase" { print $2 }' <<<"$header")))
    at=$((base + 0x$config + 78))
    flags=$(x86_64-w64-mingw32-objdump -s --start-address=$at --stop-address=$((at + 2)) "$exe" |
        awk '/^ [0-9a-f]+ / { print $2 }')
    [ "$flags" = 0008 ] || missing+=("DependentLoadFlags = LOAD_LIBRARY_SEARCH_SYSTEM32 (is ${flags:-?})")
fi

if [ ${#missing[@]} -gt 0 ]; then
    printf '%s lacks: %s\n' "$exe" "${missing[0]}" >&2
    for item in "${missing[@]:1}"; do printf '    %s\n' "$item" >&2; done
    exit 1
fi
echo "$exe: ASLR (64-bit, relocations kept), NX, no writable code, stack guard, bounds checks," \
    "DLLs of its imports from System32 (Windows 10 1607 and later)"
