#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds Orbelune.dll and the Windows tree (windows/: the reference host's automation server, the
# host driver and its test add-in, the add-in Lunavant.dll and its installer) for 32- and 64-bit
# Windows with mingw-w64 and NSIS and runs their tests under wine (see wine-session.sh), dialogs on
# a virtual display; the installer's test makes a wine prefix of its own. The 64-bit tree is built
# first: the one installer, made in the 32-bit tree, takes its add-in from there.
# Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
architectures=(x86_64 i686)

scripts/install-deps.sh

for arch in "${architectures[@]}"; do
  echo "== windows-$arch: build" >&2
  cmake -S converter -B "build/windows-$arch" -G Ninja \
    --toolchain "$root/cmake/toolchains/mingw-$arch.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "build/windows-$arch"
  echo "== windows-host-$arch: build" >&2
  cmake -S windows -B "build/windows-host-$arch" -G Ninja \
    --toolchain "$root/cmake/toolchains/mingw-$arch.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DLUNAVANT_WINDOWS_64BIT_BIN="$root/build/windows-host-x86_64/bin" >/dev/null
  cmake --build "build/windows-host-$arch"
done

source scripts/wine-session.sh
wine_session_start
for arch in "${architectures[@]}"; do
  echo "== windows-$arch: tests under wine" >&2
  timeout 600 ctest --test-dir "build/windows-$arch" --output-on-failure
  echo "== windows-host-$arch: tests under wine" >&2
  timeout 600 ctest --test-dir "build/windows-host-$arch" --output-on-failure
done
