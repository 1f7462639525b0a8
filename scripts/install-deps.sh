#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages the build needs; quick and silent when they are all there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libpugixml-dev libcli11-dev libicu-dev
  libxml2-utils
  locales
  qt6-base-dev xvfb xauth fonts-dejavu-core
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
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Locales the regional-settings tests read real locale data from; generated once.
for locale_name in de_DE en_GB; do
  if ! locale -a 2>/dev/null | grep -qi "^${locale_name}\.utf-\?8$"; then
    echo "Generating locale ${locale_name}.UTF-8" >&2
    "${sudo_cmd[@]}" localedef -i "$locale_name" -f UTF-8 "${locale_name}.UTF-8" || true
  fi
done
