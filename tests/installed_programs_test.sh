#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Given the build installed under a prefix of its own, expect its programs to work from there
# alone, for a user who never ran them: the add-in module, its faces and the converter are found
# relative to the program, with no build tree and no environment variable pointing anywhere.
#   installed_programs_test.sh CMAKE BUILD_DIR
set -euo pipefail
cmake=$1
build=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
"$cmake" --install "$build" --prefix "$prefix" >/dev/null

source "$(dirname "$0")/support/checks.sh"

# A fresh user: a new home and configuration folder, run from inside it.
fresh_user() {
  home=$(mktemp -d "$work/home.XXXX")
}
run() {
  (cd "$home" && env -u LD_LIBRARY_PATH HOME="$home" XDG_CONFIG_HOME="$home/.config" \
    QT_QPA_PLATFORM=offscreen "$@")
}
dates=(--short-date dd/MM/yyyy --date-separator /)
lunavant=$prefix/bin/lunavant
module=$(find "$prefix" -name liblunavant.so)

# A Hijri date typed into a copy of the installed sample moves its task: the first command that
# needs the add-in registers the installed module, which loads the converter beside it.
fresh_user
cp "$prefix/share/lunavant/samples/riyadh-office-fit-out.xml" "$home/plan.xml"
run "$lunavant" "${dates[@]}" set plan.xml --task 3 --field HijriStart 10/09/1446 \
  2>"$work/set.err" || fail "lunavant set exited with $?: $(cat "$work/set.err")"
[[ -s $work/set.err ]] && fail "lunavant set wrote to standard error: $(cat "$work/set.err")"
expect_in "$(tr -d '\r' <"$home/.config/lunavant/registry.reg")" "@=\"$module\"" "registry"
expect_in "$(run "$lunavant" "${dates[@]}" show plan.xml --tasks 3 2>&1)" \
  "Mon 10/03/25  10/09/1446" "show after set"
# The converter is found without the add-in too.
expect_in "$(run "$lunavant" verify 2>&1)" "match their dates" "verify of the bundled sample"

# The desktop program registers the installed add-in at a user's first start; the add-in's
# toolbar then shows, with its faces.
desktop=$prefix/bin/lunavant-desktop
if [[ -x $desktop ]]; then
  fresh_user
  run "$desktop" --screenshots "$home/shots" >/dev/null 2>&1 ||
    fail "lunavant-desktop --screenshots exited with $?"
  for shot in main-window add-dialog remove-confirmation; do
    [[ -s $home/shots/$shot.png ]] || fail "lunavant-desktop drew no $shot.png"
  done
  expect_in "$(tr -d '\r' <"$home/.config/lunavant/registry.reg")" "@=\"$module\"" \
    "registry of the desktop program"
fi

((failures == 0))
