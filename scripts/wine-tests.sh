#!/usr/bin/env bash
# Cross-builds the core with its Windows backends and runs its tests under Wine, in a fresh
# Wine prefix that is removed afterwards. Fails, and says so, when Wine or the cross
# compiler cannot be had: the Windows side never passes without having run.
source "$(dirname "$0")/lib/failures.sh"
cd "$(dirname "$0")/.."
bash scripts/setup.sh g++-mingw-w64-x86-64 wine wine64 ||
  echo "Could not install the cross compiler and Wine." >&2

missing=()
for tool in wine wineboot wineserver x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-windres; do
  command -v "$tool" >/dev/null || missing+=("$tool")
done
if [ ${#missing[@]} -ne 0 ]; then
  echo "Missing ${missing[*]}: the Windows tests did NOT run." >&2
  exit 1
fi

echo "== Windows tests under Wine"
bash scripts/build.sh build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DKIVREL_BUILD_UI=OFF -DKIVREL_BUILD_BENCH=OFF

# No Mono or Gecko downloads at start-up, and Wine's own mail provider stays off, so that
# no test can ever reach a mail client of this machine.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemapi="
# Wine names the Unix files in the character type of the locale: in the C locale (no LANG,
# as under env -i or a service) the tests' folders with umlauts cannot be made.
if [ "$(locale charmap 2>/dev/null)" != UTF-8 ]; then
  export LC_ALL=C.UTF-8
fi
WINEPREFIX=$(mktemp -d)
export WINEPREFIX
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX" "$WINEPREFIX.log"' EXIT
if ! wineboot -i >"$WINEPREFIX.log" 2>&1; then
  tail -n 20 "$WINEPREFIX.log" >&2
  echo "Wine could not set up a prefix: the Windows tests did NOT run." >&2
  exit 1
fi
# Nothing starts in the prefix before wineboot's own processes have ended.
wineserver -w
# One at a time: the tests share the prefix's registry.
ctest --test-dir build-win --output-on-failure --no-tests=error --timeout 120
