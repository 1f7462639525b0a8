#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian packages (the "package" preset), checks what they hold and what they depend
# on, installs them on this machine with apt-get, runs the installed programs as a user who has
# never run them, then purges the packages and checks that nothing they installed is left.
#
# It installs and removes packages of this very machine, so it runs only in CI (CI=true) or when
# asked to: scripts/test-packages.sh --change-this-machine
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(lunavant lunavant-desktop liborbelune0 liborbelune-dev)

if [[ ${CI:-} != true && ${1:-} != --change-this-machine ]]; then
  echo "test-packages.sh installs and purges ${packages[*]} on this machine." >&2
  echo "It runs in CI (CI=true), or with --change-this-machine." >&2
  exit 2
fi
sudo_cmd=()
[[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
for package in "${packages[@]}"; do
  if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'installed'; then
    echo "test-packages.sh: $package is installed already; purge it first:" \
      "apt-get purge ${packages[*]}" >&2
    exit 2
  fi
done

source tests/support/checks.sh

work=$(mktemp -d)
installed=false
cleanup() {
  if $installed; then
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get purge -y -qq "${packages[@]}" >/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

echo "== packages: build" >&2
scripts/build.sh package
rm -f build/package/*.deb
# CPack's notes (and its warning about the add-in module, which has no soname) only on failure.
cpack --preset package >"$work/cpack.log" 2>&1 || {
  cat "$work/cpack.log" >&2
  exit 1
}
arch=$(dpkg --print-architecture)
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || gcc -print-multiarch)
version=$(dpkg-deb -f build/package/lunavant_*_"$arch".deb Version)
debs=()
for package in "${packages[@]}"; do
  deb=build/package/${package}_${version}_${arch}.deb
  if [[ -f $deb ]]; then debs+=("./$deb"); else fail "no package $deb"; fi
done
((failures == 0)) || exit 1

echo "== packages: contents and dependencies" >&2
contents() { dpkg-deb -c "build/package/${1}_${version}_${arch}.deb" | awk '{print $6, $7, $8}'; }
depends() { dpkg-deb -f "build/package/${1}_${version}_${arch}.deb" Depends; }
lib=usr/lib/$multiarch
for path in ./usr/bin/lunavant "./$lib/lunavant/liblunavant.so" \
  "./$lib/lunavant/liborbelune.so -> ../liborbelune.so.0" \
  ./usr/share/lunavant/faces/Lunavant_Add.bmp ./usr/share/lunavant/faces/Lunavant_Remove.bmp \
  ./usr/share/lunavant/faces/Lunavant_Refresh.bmp \
  ./usr/share/lunavant/samples/riyadh-office-fit-out.xml ./usr/share/man/man1/lunavant.1.gz \
  ./usr/share/bash-completion/completions/lunavant ./usr/share/doc/lunavant/copyright \
  ./usr/share/doc/lunavant/changelog.Debian.gz; do
  expect_in "$(contents lunavant)" "$path" "lunavant"
done
for path in ./usr/bin/lunavant-desktop ./usr/share/applications/lunavant-desktop.desktop \
  ./usr/share/icons/hicolor/scalable/apps/lunavant-desktop.svg \
  ./usr/share/man/man1/lunavant-desktop.1.gz; do
  expect_in "$(contents lunavant-desktop)" "$path" "lunavant-desktop"
done
expect_in "$(contents liborbelune0)" "./$lib/liborbelune.so.0 -> liborbelune.so.${version%-*}" \
  "liborbelune0"
expect_in "$(contents liborbelune-dev)" "./$lib/liborbelune.so -> liborbelune.so.0" \
  "liborbelune-dev"
expect_in "$(contents liborbelune-dev)" "./usr/include/orbelune.h" "liborbelune-dev"
expect_in "$(contents liborbelune-dev)" "./$lib/pkgconfig/orbelune.pc" "liborbelune-dev"
# What dpkg-shlibdeps found in the binaries, and what the packages owe each other.
for needed in "liborbelune0 (= $version)" libc6 libstdc++6 libicu libpugixml; do
  expect_in "$(depends lunavant)" "$needed" "lunavant depends"
done
for needed in "lunavant (= $version)" libqt6widgets6 libqt6gui6 libqt6core6 fonts-dejavu-core \
  qt6-translations-l10n; do
  expect_in "$(depends lunavant-desktop)" "$needed" "lunavant-desktop depends"
done
# The converter needs no library but the C and C++ runtimes (it reads its corrections file).
for dependency in $(depends liborbelune0 | tr ',' '\n' | awk '{print $1}'); do
  [[ $dependency =~ ^(libc6|libgcc-s1|libstdc\+\+6)$ ]] ||
    fail "liborbelune0 depends on $dependency: $(depends liborbelune0)"
done
expect_in "$(depends liborbelune-dev)" "liborbelune0 (= $version)" "liborbelune-dev depends"
# The converter tells programs linked against it which package to depend on.
expect_in "$(dpkg-deb -I "build/package/liborbelune0_${version}_${arch}.deb" shlibs)" \
  "liborbelune 0 liborbelune0 (>= $version)" "liborbelune0 shlibs"

echo "== packages: lintian" >&2
# Debian's own checks: an error fails the run; the warnings that remain are shown.
if ! lintian --fail-on error --tag-display-limit 0 "${debs[@]}" >"$work/lintian.log" 2>&1; then
  fail "lintian found errors: $(grep -v '^running with root' "$work/lintian.log")"
fi
grep '^[WE]: ' "$work/lintian.log" >&2 || true
((failures == 0)) || exit 1

echo "== packages: install" >&2
installed=true
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${debs[@]}" >/dev/null
for package in "${packages[@]}"; do dpkg -L "$package" >"$work/$package.list"; done

# A user who never ran Lunavant: a home of their own, no registry, no build tree, a bare PATH. As
# root, an unprivileged user, so that a file only root may read would show.
fresh_user() {
  home=$(mktemp -d "$work/home.XXXX")
  as_user=(env -i HOME="$home" XDG_CONFIG_HOME="$home/.config" PATH=/usr/bin:/bin LANG=C.UTF-8
    QT_QPA_PLATFORM=offscreen)
  if [[ $(id -u) -eq 0 ]]; then
    chmod 755 "$work"
    chown nobody: "$home"
    as_user=(runuser -u nobody -- "${as_user[@]}")
  fi
}
run() { (cd "$home" && "${as_user[@]}" "$@"); }
dates=(--short-date dd/MM/yyyy --date-separator /)
registered_module="@=\"/$lib/lunavant/liblunavant.so\""

echo "== packages: lunavant" >&2
fresh_user
if show=$(run lunavant "${dates[@]}" show --tasks 1-3 2>"$work/show.err"); then
  expect_in "$show" "HijriStart" "lunavant show"
  # Task 1 of the bundled sample starts on Sunday 2 March 2025, 2 Ramadan 1446.
  expect_in "$show" "Sun 02/03/25  02/09/1446" "lunavant show"
  [[ -s $work/show.err ]] && fail "lunavant show wrote to standard error: $(cat "$work/show.err")"
else
  fail "lunavant show exited with $?: $(cat "$work/show.err")"
fi
# A Hijri date typed into a copy of the installed sample moves its task: the first command that
# needs the add-in registers the installed module, which finds the converter and its faces.
run cp /usr/share/lunavant/samples/riyadh-office-fit-out.xml plan.xml
run lunavant "${dates[@]}" set plan.xml --task 3 --field HijriStart 10/09/1446 2>"$work/set.err" ||
  fail "lunavant set exited with $?: $(cat "$work/set.err")"
expect_in "$(run lunavant "${dates[@]}" show plan.xml --tasks 3 2>&1)" \
  "Mon 10/03/25  10/09/1446" "lunavant show after set"
expect_in "$(tr -d '\r' <"$home/.config/lunavant/registry.reg")" "$registered_module" \
  "the user's registry"
# verify loads the converter itself, without the add-in.
expect_in "$(run lunavant verify 2>&1)" "match their dates" "lunavant verify"

echo "== packages: lunavant-desktop" >&2
fresh_user
help=$(run lunavant-desktop --help 2>&1) || fail "lunavant-desktop --help exited with $?"
expect_in "$help" "--register <module>" "lunavant-desktop --help"
# The window with the add-in's toolbar and dialogs: the first start registers the add-in.
run lunavant-desktop --screenshots "$home/shots" >/dev/null 2>&1 ||
  fail "lunavant-desktop --screenshots exited with $?"
for shot in main-window add-dialog remove-confirmation; do
  [[ -s $home/shots/$shot.png ]] || fail "lunavant-desktop drew no $shot.png"
done
expect_in "$(tr -d '\r' <"$home/.config/lunavant/registry.reg")" "$registered_module" \
  "the desktop user's registry"

echo "== packages: the converter for other programs" >&2
cat >"$work/convert.c" <<'EOF'
#include <orbelune.h>
#include <stdio.h>
int main(void) {
  int32_t y, m, d, weekday;
  if (G2HA(2025, 3, 2, &y, &m, &d, &weekday) != 0) return 1;
  printf("%d-%02d-%02d %d\n", y, m, d, weekday);
  return 0;
}
EOF
# shellcheck disable=SC2046
if cc -o "$work/convert" "$work/convert.c" $(pkg-config --cflags --libs orbelune); then
  expect_in "$("$work/convert")" "1446-09-02 0" "a program linked with pkg-config's flags"
else
  fail "a C program does not build with pkg-config --cflags --libs orbelune"
fi

if [[ -r /usr/share/bash-completion/bash_completion ]]; then
  echo "== packages: bash completion" >&2
  # shellcheck disable=SC2016
  completion=$(bash -c '
    source /usr/share/bash-completion/bash_completion
    source /usr/share/bash-completion/completions/lunavant
    COMP_WORDS=(lunavant add plan.xml --date "Late\ F"); COMP_CWORD=4; COMP_LINE="${COMP_WORDS[*]}"
    COMP_POINT=${#COMP_LINE}; _lunavant; printf "%s\n" "${COMPREPLY[@]}"
    COMP_WORDS=(lunavant ver); COMP_CWORD=1; COMP_LINE="lunavant ver"; COMP_POINT=12
    COMPREPLY=(); _lunavant; printf "%s\n" "${COMPREPLY[@]}"' 2>&1)
  expect_in "$completion" 'Late\ Finish' "bash completion of --date"
  expect_in "$completion" "verify" "bash completion of a command"
fi

echo "== packages: purge" >&2
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get purge -y -qq "${packages[@]}" >/dev/null
installed=false
# Whatever the packages listed must be gone, but folders that other packages own as well, or that
# hold files of others.
while read -r path; do
  if [[ -L $path || -f $path ]]; then
    fail "left behind: $path"
  elif [[ -d $path ]] && ! dpkg -S "$path" >/dev/null 2>&1 && [[ -z $(ls -A "$path") ]]; then
    fail "left behind: the empty folder $path"
  fi
done < <(cat "$work"/*.list)
for package in "${packages[@]}"; do
  if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'installed\|config-files'; then
    fail "$package is not purged"
  fi
done

if ((failures)); then
  echo "test-packages.sh: $failures check(s) failed" >&2
  exit 1
fi
echo "test-packages.sh: the packages install, work and purge cleanly" >&2
