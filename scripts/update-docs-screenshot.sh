#!/usr/bin/env bash
# Regenerates the README's picture of the main window, docs/main-window.png.
set -euo pipefail
cd "$(dirname "$0")/.."
make windows
scripts/screenshot.sh build/windows docs/main-window.png
