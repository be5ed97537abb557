#!/usr/bin/env bash
# Regenerates the README's pictures: docs/main-window.png, docs/extra-window.png with a few
# entries the driver adds to both lists, and docs/about-window.png; the first two again at 144 DPI
# (the *-144dpi.png ones).
set -euo pipefail
cd "$(dirname "$0")/.."
make windows
for dpi in 96 144; do
    suffix=""
    [ $dpi = 96 ] || suffix=-${dpi}dpi
    DPI=$dpi scripts/screenshot.sh build/windows docs/main-window$suffix.png
    DPI=$dpi scripts/screenshot.sh build/windows docs/extra-window$suffix.png Extra \
        wine build/windows/tests/bin/zorvane_drive.exe extra-sample
done
scripts/screenshot.sh build/windows docs/about-window.png ".:About:." \
    wine build/windows/tests/bin/zorvane_drive.exe about
