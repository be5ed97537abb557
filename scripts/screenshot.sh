#!/usr/bin/env bash
# Saves a picture of one of Zorvane's windows: starts zorvane.exe under Wine on a private
# virtual display, waits for the main window, runs the optional COMMAND (a driver that opens
# and fills another window), waits for the window titled TITLE to appear and finish painting,
# saves it, then ends Wine. With DPI set (e.g. DPI=144), Zorvane runs at that DPI.
# Usage: [DPI=N] scripts/screenshot.sh WINDOWS_BUILD_DIR OUT.png [TITLE [COMMAND...]]
set -euo pipefail

if [ "${1:-}" != --on-display ]; then
    out=$(realpath -m "$2")
    mkdir -p "$(dirname "$out")"
    exec "$(dirname "$0")/with-wine.sh" "$1" "$0" --on-display "$(realpath "$1")/zorvane.exe" "$out" \
        "${@:3}"
fi
exe=$2
out=$3
title=${4:-Zorvane v1.0}
shift $(($# < 4 ? $# : 4))
picture=$(mktemp --suffix .png)
desktop='HKCU\Control Panel\Desktop'
cleanup() {
    rm -f "$picture"
    [ -z "${DPI:-}" ] || wine reg delete "$desktop" /v LogPixels /f >/dev/null 2>&1
}
trap cleanup EXIT
# Wine reads its DPI when a process starts; afterwards the prefix is back at its default.
[ -z "${DPI:-}" ] || wine reg add "$desktop" /v LogPixels /t REG_DWORD /d "$DPI" /f >/dev/null 2>&1
wine "$exe" &
deadline=$((SECONDS + 60))

# The visible window titled exactly $1, once there is one.
find_window() {
    local pattern window=""
    pattern="^$(sed 's/[][\.*^$+?(){}|]/\\&/g' <<<"$1")\$"
    until [ -n "$window" ]; do
        [ $SECONDS -lt $deadline ] || { echo "The window \"$1\" did not appear." >&2; exit 1; }
        sleep 0.2
        window=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n 1 || true)
    done
    echo "$window"
}

find_window "Zorvane v1.0" >/dev/null
[ $# -eq 0 ] || "$@"
window=$(find_window "$title")

# Painting ends when two pictures in a row are the same.
previous=""
while :; do
    [ $SECONDS -lt $deadline ] || { echo "The window \"$title\" did not settle." >&2; exit 1; }
    sleep 0.3
    import -window "$window" "$picture"
    current=$(convert "$picture" rgba:- | md5sum)
    [ "$current" = "$previous" ] && break
    previous=$current
done
cp "$picture" "$out"
echo "Screenshot of \"$title\": $out"
