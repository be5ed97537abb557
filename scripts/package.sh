#!/usr/bin/env bash
# Packs the program of a Windows build, the very file its tests ran, with the user's guide into
# OUT/zorvane-VERSION-windows-x64.zip, lists the SHA-256 of the zip and of the program in
# OUT/SHA256SUMS, and prints them. The zip's bytes depend on nothing but its two files: the
# entries in a fixed order, with fixed attributes and the time of the last commit (or
# SOURCE_DATE_EPOCH).
# Usage: scripts/package.sh WINDOWS_BUILD_DIR OUT_DIR
set -euo pipefail
build=$1
mkdir -p "$2"
out=$(realpath "$2")
root=$(dirname "$(realpath "$0")")/..
version=$(cat "$build/release/version")
zip=zorvane-$version-windows-x64.zip
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct) ||
        { echo "No commit to date the zip's entries by: set SOURCE_DATE_EPOCH." >&2; exit 1; }
fi

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp "$build/zorvane.exe" "$stage/Zorvane.exe"
cp "$build/release/README.txt" "$stage/README.txt"
chmod 644 "$stage"/*
touch -d "@$SOURCE_DATE_EPOCH" "$stage"/*
rm -f "$out/$zip"
# -X: no owner or extra time fields; zip writes local time, so the zone is fixed too.
(cd "$stage" && TZ=UTC zip -q -X -9 "$out/$zip" Zorvane.exe README.txt)

(cd "$out" && sha256sum "$zip") >"$out/SHA256SUMS"
(cd "$stage" && sha256sum Zorvane.exe) >>"$out/SHA256SUMS"
echo "$out/$zip: $(stat -c %s "$out/$zip") bytes; Zorvane.exe: $(stat -c %s "$stage/Zorvane.exe") bytes"
sed 's/^/SHA-256 /' "$out/SHA256SUMS"
