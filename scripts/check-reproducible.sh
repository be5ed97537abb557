#!/usr/bin/env bash
# Builds the program a second time, later and from a copy of the same sources in another folder,
# packs it the same way, and fails, naming the file, unless the program, the zip and SHA256SUMS
# are byte for byte those of the first build. Only the program's target is built, to keep it
# short. Usage: scripts/check-reproducible.sh WINDOWS_BUILD_DIR DIST_DIR WORK_DIR
set -euo pipefail
build=$1 dist=$2
work=$(realpath -m "$3")
root=$(realpath "$(dirname "$0")/..")
jobs=${JOBS:-$(nproc)}
# Another folder, at another depth, than the first build's.
copy=$work/second/checkout
rm -rf "$work"
mkdir -p "$copy"

# The sources as they stand, committed or not, as the first build took them.
(cd "$root" && git ls-files -z --cached --others --exclude-standard |
    tar --null --ignore-failed-read -T - -cf -) | tar -C "$copy" -xf -
cmake -S "$copy" -B "$copy/build/windows" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake >"$work/configure.log"
cmake --build "$copy/build/windows" --target zorvane -j "$jobs" >"$work/build.log" ||
    { tail -n 20 "$work/build.log" >&2; exit 1; }
# The copy has no history: its entries take the first build's commit time.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct)} \
    "$copy/scripts/package.sh" "$copy/build/windows" "$work/dist" >/dev/null

zip=zorvane-$(cat "$build/release/version")-windows-x64.zip
failed=0
for pair in "$build/zorvane.exe $copy/build/windows/zorvane.exe" \
    "$dist/$zip $work/dist/$zip" "$dist/SHA256SUMS $work/dist/SHA256SUMS"; do
    read -r first second <<<"$pair"
    if ! difference=$(cmp "$first" "$second" 2>&1); then
        echo "$(basename "$first") differs between two builds of the same sources:" \
            "$difference" >&2
        failed=1
    fi
done
[ $failed -eq 0 ] || exit 1
echo "A second build in $copy gave the same Zorvane.exe, zip and SHA256SUMS"
