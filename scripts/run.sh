#!/usr/bin/env bash
# Starts Zorvane under Wine on the current display. With no display, it starts it on a virtual
# one instead, saves a screenshot of the main window next to the build, and exits.
# Usage: scripts/run.sh WINDOWS_BUILD_DIR
set -euo pipefail
here=$(dirname "$0")
build=$1

if [ -z "${DISPLAY:-}" ]; then
    exec "$here/screenshot.sh" "$build" "$(dirname "$(realpath "$build")")/screenshot.png"
fi
source "$here/wine-env.sh"
wine_env "$build"
exec wine "$build/zorvane.exe"
