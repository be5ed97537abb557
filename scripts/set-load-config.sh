#!/usr/bin/env bash
# After the link: points the executable's load-configuration entry (data directory 10) at its
# _load_config_used, found in the link map, and renews the header's checksum. GNU ld links the
# structure but leaves the entry empty, and the system reads none without it.
# Usage: scripts/set-load-config.sh EXE MAP
set -euo pipefail
exe=$1 map=$2
dump() { x86_64-w64-mingw32-objdump "$@" "$exe"; }
u32() { od -An -v -tu4 -j "$1" -N 4 "$exe" | tr -d ' '; }
# Writes the 32-bit value $2 at offset $1, little-endian.
put32() {
    printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($2 & 255)) $(($2 >> 8 & 255)) \
        $(($2 >> 16 & 255)) $(($2 >> 24 & 255)))" |
        dd of="$exe" bs=1 seek="$1" conv=notrunc status=none
}

base=$((0x$(dump -p | awk '$1 == "ImageBase" { print $2 }')))
address=$(awk '$2 == "_load_config_used" && $1 ~ /^0x/ { print $1 }' "$map")
[ -n "$address" ] || { echo "$map names no _load_config_used." >&2; exit 1; }
# The structure's first field is its size.
size=$((0x$(dump -s --start-address="$address" --stop-address=$((address + 4)) |
    awk '/^ [0-9a-f]+ / { print $2 }' | sed 's/\(..\)\(..\)\(..\)\(..\)/\4\3\2\1/')))

header=$(u32 60)
[ "$(od -An -tx2 -j $((header + 24)) -N 2 "$exe" | tr -d ' ')" = 020b ] ||
    { echo "$exe is no 64-bit PE image." >&2; exit 1; }
[ "$(u32 $((header + 132)))" -gt 10 ] || { echo "$exe has no load-configuration entry." >&2; exit 1; }
put32 $((header + 216)) $((address - base))
put32 $((header + 220)) "$size"

# The checksum: the image's 16-bit words added with end-around carry, its own field as zero,
# plus the file's length.
checksum=$((header + 88))
put32 $checksum 0
length=$(stat -c %s "$exe")
sum=$(od -An -v -tu2 "$exe" | awk -v length_="$length" '
    { for (i = 1; i <= NF; i++) total += $i }
    END {
        while (total > 65535) total = total % 65536 + int(total / 65536)
        printf "%d", total + length_
    }')
put32 $checksum "$sum"
