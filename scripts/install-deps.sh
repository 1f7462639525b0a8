#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages a job needs; quick and silent when they are all there.
#   scripts/install-deps.sh main   what the main job builds and runs: the command line, the add-in
#                                  module and the converter, in the user's own locale
#   scripts/install-deps.sh        everything the tests need besides (the default)
set -euo pipefail
profile=${1:-all}
case $profile in
  main | all) ;;
  *)
    echo "usage: scripts/install-deps.sh [main|all]" >&2
    exit 2
    ;;
esac

# The main job: compiler and build tools; pugixml reads and writes project files, CLI11 parses the
# command line, ICU reads the regional settings.
packages=(
  build-essential cmake ninja-build pkg-config
  libpugixml-dev libcli11-dev libicu-dev
)
if [[ $profile == all ]]; then
  packages+=(
    # unit tests and benchmarks
    libgtest-dev libgmock-dev libbenchmark-dev
    # schema checks of saved files, man pages, the completion script, PDF checks of printing
    libxml2-utils help2man bash-completion poppler-utils
    # Debian's checks of the packages (scripts/test-packages.sh)
    lintian
    # the regional-settings tests read real locale data (generated below)
    locales
    # Windows: cross compilers, widl, wine for both widths, the installer; wixl makes the add-in's
    # MSI packages for administrators (windows/installer/Lunavant.wxs)
    mingw-w64 mingw-w64-tools wine wine64 wine32:i386 nsis wixl
    # the desktop program, its screenshots on a virtual X server
    qt6-base-dev xvfb xauth fonts-dejavu-core
    # the desktop's language: lupdate and lrelease with their CMake functions build its catalogues,
    # and Qt's own catalogues put its dialogs and buttons in the same language
    qt6-l10n-tools qt6-tools-dev qt6-translations-l10n
    # the fuzz targets (libFuzzer, sanitizers) and the layout check
    clang libclang-rt-dev clang-format
  )
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

sudo_cmd=()
[[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}" >&2
  # wine32, which runs the 32-bit Windows tests, comes from the i386 architecture.
  if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo_cmd[@]}" dpkg --add-architecture i386
  fi
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The locale the job runs in, when the machine does not have it yet (C and POSIX are built in).
locales=()
own_locale=${LC_ALL:-${LC_TIME:-${LANG:-}}}
own_locale=${own_locale%%.*}
if [[ -n $own_locale && $own_locale != C && $own_locale != POSIX ]]; then
  locales+=("$own_locale")
fi
# Locales the regional-settings tests read real locale data from: every Arabic locale the C library
# ships, the locales whose short dates once failed to read back, and a spread of other scripts and
# orders.
if [[ $profile == all ]]; then
  locales+=(
    ar_SA ar_EG ar_AE ar_JO ar_MA fr_CH sl_SI sr_RS lv_LV nb_NO is_IS ja_JP zh_CN ko_KR ce_RU en_HK
    en_PH ug_CN en_US en_GB de_DE fr_FR es_ES it_IT pt_BR ru_RU tr_TR fa_IR ur_PK he_IL hu_HU bg_BG
    hr_HR pl_PL nl_NL th_TH hi_IN id_ID sk_SK
  )
  supported=/usr/share/i18n/SUPPORTED
  if [[ -r $supported ]]; then
    while read -r name charset; do
      if [[ $charset == UTF-8 ]]; then locales+=("${name%%.*}"); fi
    done < <(grep '^ar_' "$supported")
  fi
fi
((${#locales[@]})) || exit 0
installed=$(locale -a 2>/dev/null | tr '[:upper:]' '[:lower:]')
missing_locales=()
for locale_name in $(printf '%s\n' "${locales[@]}" | sort -u); do
  lower=$(tr '[:upper:]' '[:lower:]' <<<"$locale_name")
  if ! grep -qx "${lower}\.utf-\?8" <<<"$installed"; then
    missing_locales+=("$locale_name")
  fi
done
if ((${#missing_locales[@]})); then
  if ! command -v localedef >/dev/null; then
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends locales
  fi
  echo "Generating ${#missing_locales[@]} locales: ${missing_locales[*]}" >&2
  # One localedef each, on every core, one at a time per locale.
  printf '%s\n' "${missing_locales[@]}" |
    xargs -P "$(nproc)" -I{} "${sudo_cmd[@]}" localedef -i {} -f UTF-8 {}.UTF-8 || true
fi
