#!/usr/bin/env bash
# Fails when the program imports a function that packaging/windows7-imports.txt does not list
# (the list holds what 64-bit Windows 7 exports), or from a DLL listed without a reason; the
# delay-loaded ones too, read from the definitions in the delayed/ folder beside EXE.
# Usage: scripts/check-imports.sh EXE [LIST]
set -euo pipefail
exe=$1
list=${2:-$(realpath --relative-to=. "$(dirname "$0")/../packaging/windows7-imports.txt")}

# "DLL function" per import, the DLL in lower case as Windows compares it; "DLL #" by ordinal.
imports() {
    x86_64-w64-mingw32-objdump -p "$1" | awk '
        /^\tDLL Name: / { dll = tolower($3); next }
        /^$/ { dll = "" }
        dll && /^\t[0-9a-f]+\t +[0-9]+ +[^ ]+$/ { print dll, ($3 == "<none>" ? "#" $2 : $3) }'
}
# The same from the list, and "DLL ?" for a DLL named without a reason.
allowed() {
    awk '
        /^#/ || /^[ \t]*$/ { next }
        /^[^ \t]/ { dll = tolower($1); sub(/:$/, "", dll); if ($0 !~ /: *[^ ]/) print dll, "?"; next }
        { for (i = 1; i <= NF; i++) print dll, $i }' "$1"
}

# The delay-loaded imports, from the definitions their import libraries were made of beside it.
delayed() {
    for def in "$(dirname "$1")"/delayed/*.def; do
        if [ -f "$def" ]; then
            awk '/^LIBRARY / { dll = tolower($2); next } dll && NF == 1 && $1 != "EXPORTS" { print dll, $1 }' "$def"
        fi
    done
}

actual=$({ imports "$exe"; delayed "$exe"; } | sort -u)
[ -n "$actual" ] || { echo "No import table read from $exe." >&2; exit 1; }
listed=$(allowed "$list" | sort -u)
failed=0
while read -r dll function; do
    [ "$function" = "?" ] && { echo "$list names $dll without a reason." >&2; failed=1; }
done <<<"$listed"
while read -r dll function; do
    if ! grep -qix "$dll .*" <<<"$listed"; then
        echo "$exe imports $function from $dll, a DLL not named in $list: name it there," \
            "with the reason the program needs it." >&2
        failed=1
    elif ! grep -qixF "$dll $function" <<<"$listed"; then
        echo "$exe imports $function from $dll, not listed in $list. If Windows 7 exports it," \
            "list it there; if not, look it up at run time with GetProcAddress." >&2
        failed=1
    fi
done <<<"$actual"
[ $failed -eq 0 ] || exit 1
stale=$(comm -13 <(echo "$actual") <(grep -v ' ?$' <<<"$listed") | tr '\n' ' ')
echo "$(wc -l <<<"$actual") imports of $exe, all listed as exported by Windows 7${stale:+ (listed but no longer imported: $stale)}"
