#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds the release configuration and runs the main job: a few
# conversions through the add-in's codec in the reference host.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh release >/dev/null
lunavant=build/release/bin/lunavant
settings=(--short-date dd/MM/yyyy --date-separator /)
for date in "Mon 15/03/04" "Sun 01/01/84" "Mon 02/12/24" "Sat 01/01/2050"; do
  printf '%-16s -> %s\n' "$date" "$("$lunavant" hijri "$date" "${settings[@]}")"
done
for hijri in 05/03/1425 28/3/1404 1/6/1446 7/4/1472; do
  printf '%-16s -> %s\n' "$hijri" "$("$lunavant" gregorian "$hijri" "${settings[@]}")"
done
