#!/usr/bin/env bash
# Cross-builds the core with its Windows backends and runs its tests under Wine, in a fresh
# Wine prefix that is removed afterwards.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh g++-mingw-w64-x86-64 wine wine64

if ! command -v wine >/dev/null || ! command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
  echo "Wine or the MinGW-w64 compiler is missing: the Windows tests did NOT run." >&2
  exit 1
fi

echo "== Windows tests under Wine"
bash scripts/build.sh build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DKIVREL_BUILD_UI=OFF -DKIVREL_BUILD_BENCH=OFF

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
WINEPREFIX=$(mktemp -d)
export WINEPREFIX
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX"' EXIT
wineboot -i >/dev/null 2>&1
ctest --test-dir build-win --output-on-failure --timeout 300
