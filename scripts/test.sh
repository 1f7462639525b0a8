#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, checks the sources' layout (scripts/check-format.sh), then builds and
# runs every test in the release and the sanitizer (asan) configurations, the Windows tests under
# wine, and in CI (CI=true) the Debian packages installed on this machine, then runs each fuzz
# target for a short fixed time (LUNAVANT_FUZZ_SECONDS, default 30). Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/check-format.sh
for preset in release asan; do
  echo "== $preset" >&2
  scripts/build.sh "$preset"
  ctest --preset "$preset" -j "$(nproc)"
done
scripts/test-windows.sh
# The desktop program under a virtual X server: its screenshots must show a drawing.
echo "== screenshots" >&2
scripts/screenshots.sh build/screenshots
# The Debian packages, installed, run and purged on this very machine: in CI only.
if [[ ${CI:-} == true ]]; then
  scripts/test-packages.sh
else
  echo "== packages: skipped outside CI (scripts/test-packages.sh --change-this-machine)" >&2
fi
scripts/fuzz.sh "${LUNAVANT_FUZZ_SECONDS:-30}"
