#!/usr/bin/env bash
# Builds the Windows program and its installer on this Debian machine:
# windows-installer.sh [DIR] leaves DIR/Kivrel-VERSION-setup.exe (DIR: build-windows), and
# the program's tests built for Windows beside it (run by windows-widget-tests.sh).
# Qt for Windows comes from scripts/windows-qt.sh, which builds it once and reuses it.
source "$(dirname "$0")/lib/failures.sh"
cd "$(dirname "$0")/.."
dir=${1:-build-windows}
bash scripts/setup.sh nsis g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
  qt6-translations-l10n
qt=$(bash scripts/windows-qt.sh | tail -n 1)
[ -f "$qt/lib/cmake/Qt6/qt.toolchain.cmake" ] || {
  echo "No Qt for Windows: the Windows program was NOT built." >&2
  exit 1
}

echo "== Windows program and installer in $dir"
# Warnings are errors here as in every build of the test command: this is the one build of
# the Windows backends with the program's windows.
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKIVREL_WERROR=ON \
  -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
  -DCMAKE_STRIP="$(command -v x86_64-w64-mingw32-strip)" \
  -DCMAKE_CROSSCOMPILING_EMULATOR=wine -DKIVREL_BUILD_TESTS=ON -DKIVREL_BUILD_BENCH=OFF >/dev/null
cmake --build "$dir" -j "$(nproc)"
cmake --build "$dir" -j "$(nproc)" --target installer
ls "$dir"/Kivrel-*-setup.exe
