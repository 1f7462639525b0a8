#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Starts the desktop program under a virtual X server on the bundled sample project, with the
# add-in registered in a throw-away registry, and writes screenshots of the main window with its
# Gantt chart, the Add dialog, the Remove confirmation, the print preview, a project built from
# scratch and its Change Working Time dialog; then checks that none is blank.
#   scripts/screenshots.sh [folder]        (default: build/screenshots)
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-build/screenshots}
cmake --preset release >/dev/null
cmake --build --preset release --target lunavant-desktop >/dev/null
bin=build/release/bin
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
pictures=(main-window add-dialog remove-confirmation print-preview new-project working-time)
for picture in "${pictures[@]}"; do rm -f "$out/$picture.png"; done
XDG_CONFIG_HOME=$config XDG_RUNTIME_DIR=$config QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1600x900x24" \
  "$bin/lunavant-desktop" --register "$bin/liblunavant.so" --screenshots "$out"
paths=()
for picture in "${pictures[@]}"; do paths+=("$out/$picture.png"); done
scripts/image_is_drawn.py "${paths[@]}"
