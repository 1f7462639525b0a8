#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds the release configuration and runs the main job.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh release
ctest --preset release -N | tail -n 1
