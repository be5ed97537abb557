#!/usr/bin/env bash
# A second build of the release, later and from a copy of the same sources in another folder,
# must give the same bytes as the first. `build` makes it: only the program's target, packed the
# same way into WORK_DIR/dist. `compare` then fails, naming the file, unless the program, the zip
# and SHA256SUMS are byte for byte those of the first build.
# Usage: scripts/check-reproducible.sh build WORK_DIR
#        scripts/check-reproducible.sh compare WINDOWS_BUILD_DIR DIST_DIR WORK_DIR
set -euo pipefail
root=$(realpath "$(dirname "$0")/..")

if [ "$1" = build ]; then
    work=$(realpath -m "$2")
    # Another folder, at another depth, than the first build's.
    copy=$work/second/checkout
    rm -rf "$work"
    mkdir -p "$copy"
    # The sources as they stand, committed or not, as the first build takes them.
    (cd "$root" && git ls-files -z --cached --others --exclude-standard |
        tar --null --ignore-failed-read -T - -cf -) | tar -C "$copy" -xf -
    {
        cmake -S "$copy" -B "$copy/build/windows" -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake &&
            cmake --build "$copy/build/windows" --target zorvane -j "${JOBS:-$(nproc)}" &&
            # The copy has no history: its entries take the first build's commit time.
            SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct)} \
                "$copy/scripts/package.sh" "$copy/build/windows" "$work/dist"
    } >"$work/build.log" 2>&1 || {
        tail -n 20 "$work/build.log" >&2
        echo "The second build failed; its log: $work/build.log" >&2
        exit 1
    }
    exit 0
fi

build=$2 dist=$3 work=$4
second=$work/second/checkout/build/windows
zip=zorvane-$(cat "$build/release/version")-windows-x64.zip
failed=0
for pair in "$build/zorvane.exe $second/zorvane.exe" "$dist/$zip $work/dist/$zip" \
    "$dist/SHA256SUMS $work/dist/SHA256SUMS"; do
    read -r first other <<<"$pair"
    if ! difference=$(cmp "$first" "$other" 2>&1); then
        echo "$(basename "$first") differs between two builds of the same sources: $difference" >&2
        failed=1
    fi
done
[ $failed -eq 0 ] || exit 1
echo "A second build in $work/second/checkout gave the same Zorvane.exe, zip and SHA256SUMS"
