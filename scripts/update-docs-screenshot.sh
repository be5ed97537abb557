#!/usr/bin/env bash
# Regenerates the README's pictures: docs/main-window.png, docs/extra-window.png with a few
# entries the driver adds to both lists, and docs/about-window.png.
set -euo pipefail
cd "$(dirname "$0")/.."
make windows
scripts/screenshot.sh build/windows docs/main-window.png
scripts/screenshot.sh build/windows docs/extra-window.png Extra \
    wine build/windows/tests/bin/zorvane_drive.exe extra-sample
scripts/screenshot.sh build/windows docs/about-window.png ".:About:." \
    wine build/windows/tests/bin/zorvane_drive.exe about
