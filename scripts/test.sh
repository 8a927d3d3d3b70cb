#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: once as the program is built,
# once with AddressSanitizer and UndefinedBehaviorSanitizer, the core's Windows side
# under Wine, and the Debian package.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

export QT_QPA_PLATFORM=offscreen
status=0

run_suite() {
  local dir=$1
  shift
  echo "== Tests in $dir"
  bash scripts/build.sh "$dir" "$@"
  ctest --test-dir "$dir" --output-on-failure -j "$(nproc)" --timeout 300 || status=1
}

run_suite build
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  run_suite build-sanitize -DKIVREL_SANITIZE=ON -DKIVREL_BUILD_BENCH=OFF
bash scripts/fuzz.sh || status=1

bash scripts/wine-tests.sh || status=1

bash scripts/package-tests.sh || status=1

if [ $status -ne 0 ]; then
  echo "Some tests failed."
fi
exit $status
