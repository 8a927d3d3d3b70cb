#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz and runs the store-file parser for
# 60 seconds from its seed corpus; any finding (crash, sanitizer report, timeout) fails.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build-fuzz

echo "== Fuzzing in $dir"
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DKIVREL_FUZZ=ON -DKIVREL_BUILD_UI=OFF -DKIVREL_BUILD_TESTS=OFF -DKIVREL_BUILD_BENCH=OFF >/dev/null
cmake --build "$dir" --target fuzz_regfile

# New inputs go to the first folder; the seeds in the repository stay as they are.
mkdir -p "$dir/corpus/regfile" "$dir/findings"
log="$dir/fuzz_regfile.log"
if "$dir/fuzz/fuzz_regfile" -max_total_time=60 -max_len=16384 -timeout=10 -rss_limit_mb=2048 \
  -dict=fuzz/regfile.dict -artifact_prefix="$dir/findings/" -print_final_stats=1 \
  "$dir/corpus/regfile" fuzz/corpus/regfile >"$log" 2>&1; then
  grep -E '^(Done|stat::number_of_executed_units|stat::new_units_added)' "$log" || true
  echo "Fuzzing found nothing."
else
  tail -n 60 "$log"
  echo "Fuzzing found a fault; the input is in $dir/findings/."
  exit 1
fi
