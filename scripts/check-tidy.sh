#!/usr/bin/env bash
# clang-tidy (Debian's, of the clang the fuzz build uses) over src/ with the checks in .clang-tidy,
# findings as errors: the portable code as the native build compiles it, the Windows code as the
# mingw-w64 build does (its compile commands, for a Windows target, with mingw-w64's headers and
# libstdc++, which clang finds beside the cross compiler). Headers are checked through the
# sources that include them.
# A file found clean is not checked again until it, a header of src/, its compile command, the
# configuration or the tools change (the record is kept in BUILD_DIR/tidy).
# Usage: scripts/check-tidy.sh [BUILD_DIR]  (after `make native windows`)
set -euo pipefail
root=$(realpath "$(dirname "$0")/..")
build=$(realpath "${1:-$root/build}")
clean=$build/tidy
mkdir -p "$clean"
# What every file's result depends on besides itself and its compile command.
shared=$({
    clang-tidy-16 --version
    x86_64-w64-mingw32-g++-posix --version
    cat "$root/.clang-tidy"
    find "$root/src" -name '*.h' | sort | xargs cat
} | sha256sum | cut -d' ' -f1)
export clean shared

# "BUILD FILE" for each source under the given folders of src/ in one build's compile commands.
sources() {
    local kind=$1 database=$build/$1/compile_commands.json
    shift
    [ -f "$database" ] || { echo "No $database: build it first." >&2; exit 1; }
    grep -o '"file": "[^"]*"' "$database" | cut -d'"' -f4 | sort -u |
        grep -E "^$root/src/($(IFS='|'; echo "$*"))/" | sed "s|^|$kind |"
}

# Clang does not find the C++ library of Debian's cross compiler (its folder, 12-posix, is no
# version it knows): its folders, as the cross compiler lists them.
mingwLibraryFolders=$(echo | x86_64-w64-mingw32-g++-posix -xc++ -E -v - 2>&1 |
    sed -n '/search starts here/,/End of search/p' | grep '/include/c++' | tr -d ' ' | tr '\n' ' ')
export mingwLibraryFolders

# One file; its findings printed at once, so that parallel runs do not interleave.
# clang 16 calls C++23 c++2b, and libstdc++ 12 offers std::expected only when the compiler
# announces C++20 concepts in full (as in the fuzz build).
tidy() {
    local kind=$1 file=$2 target=()
    if [ "$kind" = windows ]; then
        target=(--extra-arg-before=--target=x86_64-w64-mingw32)
        for folder in $mingwLibraryFolders; do target+=("--extra-arg=-isystem$folder"); done
    fi
    local key found status=0
    key=$({
        echo "$shared $kind"
        grep -F "\"file\": \"$file\"" -B2 "$build/$kind/compile_commands.json"
        cat "$file"
    } | sha256sum | cut -d' ' -f1)
    [ -f "$clean/$key" ] && return 0
    found=$(clang-tidy-16 --quiet -p "$build/$kind" "${target[@]}" --extra-arg=-std=c++2b \
        --extra-arg=-U__cpp_concepts --extra-arg=-D__cpp_concepts=202002L \
        "$file" 2>&1) || status=1
    grep -Ev '^[0-9]+ (warning|error)s? (and [0-9]+ (warning|error)s? )?generated\.$' \
        <<<"$found" || true
    [ $status -eq 0 ] && touch "$clean/$key"
    return $status
}
export -f tidy
export build

start=$SECONDS
list=$({
    sources native text messages buddies responder waits windows platform/model
    sources windows platform/win32 app
})
count=$(wc -l <<<"$list")
if ! xargs -P "${JOBS:-$(nproc)}" -L 1 bash -c 'tidy "$@"' _ <<<"$list"; then
    echo "clang-tidy found the above in src/ (checks and reasons: .clang-tidy)." >&2
    exit 1
fi
echo "clang-tidy: $count files of src/, no findings ($((SECONDS - start)) s)"
