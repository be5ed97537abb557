#!/usr/bin/env bash
# Runs a command with a private Wine prefix (in the build tree) on a private virtual display,
# then ends every Wine process of that prefix and the display, so nothing is left running.
# Usage: scripts/with-wine.sh BUILD_DIR COMMAND...
set -euo pipefail
build=$(realpath "$1")
shift

export WINEPREFIX="$build/wineprefix"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

if [ ! -f "$WINEPREFIX/.ready" ]; then
    echo "Creating the Wine prefix $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    # Without a window manager Wine waits 2 s on every hidden window unless it manages its own.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.ready"
fi

# The virtual display runs the command, then the prefix's wineserver is stopped.
exec xvfb-run -a -s "-screen 0 1024x768x24" bash -c \
    '"$@"; rc=$?; wineserver -k 2>/dev/null; wineserver -w 2>/dev/null; exit $rc' bash "$@"
