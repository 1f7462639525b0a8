#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages the build needs; quick and silent when they are all there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libpugixml-dev libcli11-dev libicu-dev
  libxml2-utils help2man bash-completion poppler-utils
  locales
  mingw-w64 mingw-w64-tools wine wine64 wine32:i386 nsis
  # wixl makes the add-in's MSI packages for administrators (windows/installer/Lunavant.wxs).
  wixl
  qt6-base-dev xvfb xauth fonts-dejavu-core
  # The desktop's language: lupdate and lrelease with their CMake functions build its catalogues,
  # and Qt's own catalogues put its dialogs and buttons in the same language.
  qt6-l10n-tools qt6-tools-dev qt6-translations-l10n
  clang libclang-rt-dev clang-format
)

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

# Locales the regional-settings tests read real locale data from: every Arabic locale the C library
# ships, the locales whose short dates once failed to read back, and a spread of other scripts and
# orders. Only missing ones are generated, one localedef each, on every core.
locales=(
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
installed=$(locale -a 2>/dev/null | tr '[:upper:]' '[:lower:]')
missing_locales=()
for locale_name in $(printf '%s\n' "${locales[@]}" | sort -u); do
  lower=$(tr '[:upper:]' '[:lower:]' <<<"$locale_name")
  if ! grep -qx "${lower}\.utf-\?8" <<<"$installed"; then
    missing_locales+=("$locale_name")
  fi
done
if ((${#missing_locales[@]})); then
  echo "Generating ${#missing_locales[@]} locales: ${missing_locales[*]}" >&2
  printf '%s\n' "${missing_locales[@]}" |
    xargs -P "$(nproc)" -I{} "${sudo_cmd[@]}" localedef -i {} -f UTF-8 {}.UTF-8 || true
fi
