#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds Orbelune.dll for 32- and 64-bit Windows with mingw-w64 and runs its tests under wine.
# Wine gets a prefix of its own (build/wine, made once, after the wine packages are in), one
# wineserver that lives exactly as long as this script, no display, and a time limit on every
# step, so a hung Windows program cannot hold up the run. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
architectures=(i686 x86_64)

scripts/install-deps.sh

for arch in "${architectures[@]}"; do
  echo "== windows-$arch: build" >&2
  cmake -S converter -B "build/windows-$arch" -G Ninja \
    --toolchain "$root/cmake/toolchains/mingw-$arch.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "build/windows-$arch"
done

export WINEPREFIX="$root/build/wine" WINEARCH=win64 WINEDEBUG=-all
# The tests need neither .NET nor a browser engine, so wine offers to install neither.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY

stop_wine() {
  timeout 30 wineserver -k 2>/dev/null || true
  timeout 30 wineserver -w 2>/dev/null || true
}
trap stop_wine EXIT

# A prefix left by another wine version is made anew rather than upgraded on the fly.
stamp="$WINEPREFIX/.made-by"
if [[ ! -f $stamp || $(cat "$stamp") != "$(wine --version)" ]]; then
  echo "== making the wine prefix $WINEPREFIX" >&2
  rm -rf "$WINEPREFIX"
  timeout 300 wineboot --init
  # A test program that crashes ends there, instead of waiting in the debugger.
  for view in 'HKLM\Software' 'HKLM\Software\Wow6432Node'; do
    timeout 60 wine reg delete "$view\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug" \
      /v Debugger /f >/dev/null 2>&1 || true
  done
  timeout 120 wineserver -w
  wine --version >"$stamp"
fi

# One server for all the tests, so each program starts in a fraction of a second. The first
# program starts wine's own background services, which would inherit and hold open the output
# of whatever started them; started here, they hold /dev/null instead of a test's output.
timeout 30 wineserver -p
timeout 120 wine cmd /c exit >/dev/null 2>&1 </dev/null
for arch in "${architectures[@]}"; do
  echo "== windows-$arch: tests under wine" >&2
  timeout 600 ctest --test-dir "build/windows-$arch" --output-on-failure
done
