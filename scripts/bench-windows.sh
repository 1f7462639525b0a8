#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# For the record, not for CI: times G2HA and H2GA in the native library and in both Windows DLLs
# under wine, with one benchmark program built three times.
#   scripts/bench-windows.sh [rounds]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
rounds=${1:-40}

scripts/install-deps.sh
cmake -S converter -B build/converter-native -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DLUNAVANT_BUILD_TESTS=OFF -DLUNAVANT_BUILD_BENCH=ON >/dev/null
cmake --build build/converter-native --target orbelune_round_trip_bench >/dev/null
for arch in i686 x86_64; do
  cmake -S converter -B "build/windows-$arch" -G Ninja \
    --toolchain "$root/cmake/toolchains/mingw-$arch.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DLUNAVANT_BUILD_BENCH=ON >/dev/null
  cmake --build "build/windows-$arch" --target orbelune_round_trip_bench >/dev/null
done

source scripts/wine-session.sh
wine_session_start
echo "== native liborbelune.so ($(uname -m))"
timeout 600 build/converter-native/bin/orbelune_round_trip_bench "$rounds"
for arch in i686 x86_64; do
  echo "== Orbelune.dll ($arch) under $(wine --version)"
  timeout 600 wine "build/windows-$arch/bin/orbelune_round_trip_bench.exe" "$rounds"
done
