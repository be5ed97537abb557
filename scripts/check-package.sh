#!/usr/bin/env bash
# Fails, naming what differs, unless the release in DIST holds exactly the program its Windows
# build's tests ran and the guide, with SHA256SUMS true to both.
# Usage: scripts/check-package.sh WINDOWS_BUILD_DIR DIST_DIR
set -euo pipefail
build=$1 dist=$2
exe=$build/zorvane.exe
guide=$build/release/README.txt
zip=$dist/zorvane-$(cat "$build/release/version")-windows-x64.zip
fail() { echo "$*" >&2; exit 1; }

[ -f "$zip" ] || fail "No $zip."
unzip -tqq "$zip" || fail "$zip is damaged."
entries=$(unzip -Z1 "$zip" | paste -sd' ')
[ "$entries" = "Zorvane.exe README.txt" ] ||
    fail "$zip holds \"$entries\" instead of exactly \"Zorvane.exe README.txt\"."
unzip -p "$zip" Zorvane.exe | cmp -s - "$exe" ||
    fail "Zorvane.exe in $zip is not the tested $exe."
unzip -p "$zip" README.txt | cmp -s - "$guide" || fail "README.txt in $zip is not $guide."

# Notepad before Windows 10 shows a bare LF as no line break at all.
[ "$(tr -cd '\n' <"$guide" | wc -c)" -eq "$(grep -c $'\r$' "$guide")" ] ||
    fail "$guide has lines that do not end in CR LF."
! grep -n '@[A-Z_]*@' "$guide" || fail "$guide keeps a placeholder unreplaced (above)."

sums=$dist/SHA256SUMS
expected="$(sha256sum <"$zip" | cut -d' ' -f1)  $(basename "$zip")
$(sha256sum <"$exe" | cut -d' ' -f1)  Zorvane.exe"
[ "$(cat "$sums")" = "$expected" ] ||
    fail "$sums does not give the SHA-256 of $zip and of the tested $exe:" $'\n'"$expected"
echo "$zip holds the tested $exe and the guide; $sums is true to both"
