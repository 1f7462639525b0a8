#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks that every C and C++ source of the work tree (files git ignores aside) is laid out as
# .clang-format says; names each file that is not and exits 1. With --fix, lays them out instead.
#   scripts/check-format.sh [--fix]
set -euo pipefail
cd "$(dirname "$0")/.."

fix=false
case "${1:-}" in
  --fix) fix=true ;;
  "") ;;
  -h | --help)
    sed -n '3,5s/^# \{0,1\}//p' "$0"
    exit 0
    ;;
  *)
    echo "check-format: unknown option '$1' (try --help)" >&2
    exit 2
    ;;
esac

mapfile -d '' sources < <(git ls-files -z --cached --others --exclude-standard -- '*.c' '*.cpp' '*.h')
if $fix; then
  printf '%s\0' "${sources[@]}" | xargs -0 -n 50 clang-format -i
  exit 0
fi
unformatted=()
for source in "${sources[@]}"; do
  if ! clang-format --dry-run --Werror "$source" >/dev/null 2>&1; then
    unformatted+=("$source")
  fi
done
if ((${#unformatted[@]})); then
  echo "check-format: ${#unformatted[@]} files are not laid out as .clang-format says" \
    "(scripts/check-format.sh --fix lays them out):" >&2
  printf '  %s\n' "${unformatted[@]}" >&2
  exit 1
fi
echo "check-format: ${#sources[@]} files laid out as .clang-format says" >&2
