#!/usr/bin/env bash
# Runs a command with a private Wine prefix (in the build tree) on a private virtual display,
# then ends every Wine process of that prefix and the display, so nothing is left running.
# Usage: scripts/with-wine.sh BUILD_DIR COMMAND...
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
wine_env "$1"
shift

# Nothing here needs the network, and a browser that a test opens must not reach it: where this
# user may, the run gets a network of its own with no way out.
isolated=()
unshare -n true 2>/dev/null && isolated=(unshare -n)

# The virtual display runs the command, then the prefix's wineserver is stopped.
exec "${isolated[@]}" xvfb-run -a -s "-screen 0 1024x768x24" bash -c \
    '"$@"; rc=$?; wineserver -k 2>/dev/null; wineserver -w 2>/dev/null; exit $rc' bash "$@"
