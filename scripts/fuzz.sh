#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz and runs the store-file parser for
# 60 seconds and the spreadsheet reader for 40, each from its seed corpus; any finding
# (crash, sanitizer report, timeout) fails.
source "$(dirname "$0")/lib/failures.sh"
cd "$(dirname "$0")/.."
dir=build-fuzz

echo "== Fuzzing in $dir"
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DKIVREL_FUZZ=ON -DKIVREL_WERROR=ON -DKIVREL_BUILD_UI=OFF -DKIVREL_BUILD_TESTS=OFF \
  -DKIVREL_BUILD_BENCH=OFF >/dev/null
cmake --build "$dir" --target fuzz_regfile fuzz_csv

# fuzz NAME SECONDS MAXLEN: new inputs go to the first folder; the seeds in the repository
# stay as they are.
fuzz() {
  local name=$1 seconds=$2 max_len=$3
  mkdir -p "$dir/corpus/$name" "$dir/findings"
  local log="$dir/fuzz_$name.log"
  echo "== fuzz_$name, $seconds seconds"
  if "$dir/fuzz/fuzz_$name" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 \
    -rss_limit_mb=2048 -dict="fuzz/$name.dict" -artifact_prefix="$dir/findings/" \
    -print_final_stats=1 "$dir/corpus/$name" "fuzz/corpus/$name" >"$log" 2>&1; then
    grep -E '^(Done|stat::number_of_executed_units|stat::new_units_added)' "$log" || true
    echo "Fuzzing found nothing."
  else
    tail -n 60 "$log"
    echo "Fuzzing found a fault; the input is in $dir/findings/."
    exit 1
  fi
}
fuzz regfile 60 16384
# Up to the import's 4 MB, so that files of blank lines or of one huge field are reached.
fuzz csv 40 $((4 * 1024 * 1024))
