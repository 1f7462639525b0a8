#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what the main job needs, builds the command line, the add-in module and the converter
# (the `cli` preset, nothing else) and runs the main job: the bundled sample project shown with its
# Hijri columns, then a Hijri column added and a Hijri date typed into a copy of it, all through
# the add-in running in the reference host.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh main
cmake --preset cli >/dev/null
cmake --build --preset cli >/dev/null
lunavant="$PWD/build/cli/bin/lunavant"
sample="$PWD/samples/riyadh-office-fit-out.xml"
# A folder of its own, with its own add-in registry, so the user's is left alone.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"
cd "$work"
set -x
"$lunavant" show --tasks 1-8
cp "$sample" plan.xml
"$lunavant" add plan.xml --table Schedule --date "Late Finish" --text Text3
"$lunavant" set plan.xml --task 3 --field HijriStart 10/09/1446
"$lunavant" show plan.xml --table Entry --tasks 1-8
"$lunavant" verify plan.xml
