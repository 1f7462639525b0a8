#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the fuzz preset (clang, libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer) and
# runs every fuzz target for a fixed time each: scripts/fuzz.sh [seconds per target, default 30]
# [target...]. Each run starts from the committed seeds and regressions and grows its own corpus
# under build/fuzz/corpus, which later runs reuse. Exits non-zero when a target breaks a property
# or crashes; the input is left in build/fuzz/artifacts/<target>/ and belongs in
# fuzz/regressions/<target>/ once the fault is mended.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
shift || true
targets=("$@")
((${#targets[@]})) || targets=(converter date_reading regional_pattern codec project_file registry_file
  command_line holiday_set corrections)

# The converter's properties are those of its built-in table: no user's Hijri corrections file.
export ORBELUNE_CORRECTIONS=

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target "${targets[@]/%/_fuzz}"

failed=()
for target in "${targets[@]}"; do
  corpus=build/fuzz/corpus/$target
  artifacts=build/fuzz/artifacts/$target
  mkdir -p "$corpus" "$artifacts"
  seeds=(fuzz/corpus/"$target")
  [[ -d fuzz/regressions/$target ]] && seeds+=(fuzz/regressions/"$target")
  echo "== $target: ${seconds}s" >&2
  if build/fuzz/bin/"$target"_fuzz -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$artifacts/" "$corpus" "${seeds[@]}" >"$artifacts/log" 2>&1; then
    grep -E '^(Done|stat::number_of_executed_units)' "$artifacts/log" >&2 || true
  else
    grep -E -A3 'property broken|ERROR:' "$artifacts/log" | head -20 >&2 || true
    echo "$target failed; input and log in $artifacts/" >&2
    failed+=("$target")
  fi
done
if ((${#failed[@]})); then
  echo "fuzzing failed: ${failed[*]}" >&2
  exit 1
fi
