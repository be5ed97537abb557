#!/usr/bin/env bash
# Saves a picture of Zorvane's main window: starts zorvane.exe under Wine on a private virtual
# display, waits for the window to appear and finish painting, saves it, then ends Wine.
# Usage: scripts/screenshot.sh WINDOWS_BUILD_DIR OUT.png
set -euo pipefail

if [ "${1:-}" != --on-display ]; then
    out=$(realpath -m "$2")
    mkdir -p "$(dirname "$out")"
    exec "$(dirname "$0")/with-wine.sh" "$1" "$0" --on-display "$(realpath "$1")/zorvane.exe" "$out"
fi
exe=$2
out=$3
wine "$exe" &
deadline=$((SECONDS + 60))

window=""
until [ -n "$window" ]; do
    [ $SECONDS -lt $deadline ] || { echo "The main window did not appear." >&2; exit 1; }
    sleep 0.2
    window=$(xdotool search --onlyvisible --name '^Zorvane v1\.0$' 2>/dev/null | head -n 1 || true)
done

# Painting ends when two pictures in a row are the same.
picture=$(mktemp --suffix .png)
trap 'rm -f "$picture"' EXIT
previous=""
while :; do
    [ $SECONDS -lt $deadline ] || { echo "The main window did not settle." >&2; exit 1; }
    sleep 0.3
    import -window "$window" "$picture"
    current=$(convert "$picture" rgba:- | md5sum)
    [ "$current" = "$previous" ] && break
    previous=$current
done
cp "$picture" "$out"
echo "Screenshot of the main window: $out"
