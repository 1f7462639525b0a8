#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Starts the desktop program under a virtual X server on the bundled sample project, with the
# add-in registered in a throw-away registry, and writes screenshots of the main window with its
# Gantt chart, the Add dialog, the Remove confirmation, the print preview, the date picker, a
# project built from scratch and its Change Working Time dialog; then the same in Arabic (right to
# left, in the ar_SA locale) into the folder's ar/; then checks that none is blank.
#   scripts/screenshots.sh [folder]        (default: build/screenshots)
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-build/screenshots}
cmake --preset release >/dev/null
cmake --build --preset release --target lunavant-desktop >/dev/null
bin=build/release/bin
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
pictures=(main-window add-dialog remove-confirmation print-preview date-picker new-project
  working-time)
paths=()
# One run in the session's own locale, one in Arabic; each with settings of its own.
for language in session ar_SA; do
  folder=$out
  locale=()
  if [[ $language != session ]]; then
    folder=$out/${language%%_*}
    locale=(LANG="$language.UTF-8" LC_ALL="$language.UTF-8")
  fi
  for picture in "${pictures[@]}"; do rm -f "$folder/$picture.png"; done
  mkdir -p "$config/$language"
  env XDG_CONFIG_HOME="$config/$language" XDG_RUNTIME_DIR="$config" QT_QPA_PLATFORM=xcb \
    "${locale[@]}" xvfb-run -a -s "-screen 0 1600x900x24" \
    "$bin/lunavant-desktop" --register "$bin/liblunavant.so" --screenshots "$folder"
  for picture in "${pictures[@]}"; do paths+=("$folder/$picture.png"); done
done
scripts/image_is_drawn.py "${paths[@]}"
