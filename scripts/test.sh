#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: once as the program is built,
# once with AddressSanitizer and UndefinedBehaviorSanitizer, the core's Windows side under
# Wine, the Windows program, its tests and its installer under Wine, and the Debian
# package. In both builds the widget tests run offscreen and then again on a real X server (Xvfb, Qt's xcb
# platform) together with the tests of what only that platform shows.
source "$(dirname "$0")/lib/failures.sh"
cd "$(dirname "$0")/.."
bash scripts/setup.sh

export QT_QPA_PLATFORM=offscreen
failed=()

run_suite() {
  local dir=$1
  shift
  echo "== Tests in $dir"
  bash scripts/build.sh "$dir" "$@"
  ctest --test-dir "$dir" --output-on-failure -j "$(nproc)" --timeout 300 -LE xcb ||
    failed+=("tests in $dir")
  echo "== Widget tests in $dir on an X server"
  # One at a time: windows of two tests on one screen would take each other's focus.
  QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
    ctest --test-dir "$dir" --output-on-failure --timeout 300 -L 'ui|xcb' ||
    failed+=("widget tests in $dir on an X server")
}

run_suite build
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp \
  run_suite build-sanitize -DKIVREL_SANITIZE=ON -DKIVREL_BUILD_BENCH=OFF
bash scripts/fuzz.sh || failed+=(fuzz.sh)

bash scripts/wine-tests.sh || failed+=(wine-tests.sh)

# The Windows program: Qt for Windows (built once, then reused from its cache), kivrel.exe,
# its tests and its installer; the tests run under Wine, and the program is installed,
# started and uninstalled there.
if bash scripts/windows-installer.sh; then
  bash scripts/windows-widget-tests.sh || failed+=(windows-widget-tests.sh)
  bash scripts/windows-program-tests.sh || failed+=(windows-program-tests.sh)
else
  failed+=(windows-installer.sh)
fi

bash scripts/package-tests.sh || failed+=(package-tests.sh)

if [ ${#failed[@]} -ne 0 ]; then
  echo "Failed (see above): $(printf '%s; ' "${failed[@]}")" >&2
  exit 1
fi
echo "All tests passed."
