#!/usr/bin/env bash
# The program's tests as built for Windows (windows-installer.sh builds them in DIR,
# default build-windows), run under Wine with Qt's windows platform: windows-widget-tests.sh [DIR].
# The tests of the Linux backends (REGEDIT4 store file, xdg-email, the ELF version record,
# the X server) are not built for Windows; the Windows backends' own tests stand in for them.
source "$(dirname "$0")/lib/failures.sh"
cd "$(dirname "$0")/.."
dir=$(realpath "${1:-build-windows}")
if [ -z "${KIVREL_WINE_DISPLAY:-}" ]; then
  bash scripts/setup.sh wine wine64 fonts-wine xvfb xauth poppler-utils qt6-translations-l10n
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
    env KIVREL_WINE_DISPLAY=1 bash "$0" "$@"
fi

qt=$(sed -n 's|^Qt6_DIR:PATH=\(.*\)/lib/cmake/Qt6$|\1|p' "$dir/CMakeCache.txt" 2>/dev/null) || true
[ -n "$qt" ] && [ -d "$qt/bin" ] || { echo "No Qt for Windows in $dir: the widget tests did NOT run." >&2; exit 1; }
winpath() { echo "Z:${1//\//\\}"; }
# Qt's and MinGW's DLLs where Windows looks for them; Qt's plugins and the German
# translations found through a qt.conf beside each test program, as the installed program has.
gcc_dlls=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
export WINEPATH="$(winpath "$qt/bin");$(winpath "$gcc_dlls");$(winpath /usr/x86_64-w64-mingw32/lib)"
for tests in "$dir"/tests/*/; do
  printf '[Paths]\nPrefix = %s\nTranslations = %s\n' "$qt" /usr/share/qt6/translations \
    | sed 's|= /|= Z:/|' >"$tests/qt.conf"
done

source scripts/lib/wineprefix.sh
fresh_wine_prefix || { echo "Wine could not set up a prefix: the widget tests did NOT run." >&2; exit 1; }

echo "== Widget tests under Wine, Qt's windows platform"
# Wine hides the Unix QT_* variables from Windows programs and passes WINEQT_* in their place.
export WINEQT_QPA_PLATFORM=windows
# One at a time: the tests share the prefix's registry and the desktop's focus.
ctest --test-dir "$dir" --output-on-failure --no-tests=error --timeout 300

echo "== Every caption whole at 150 % (144 dpi), as on many laptops"
# Windows scales every window by 1.5 and its dialog font with it; the fixed layouts must
# still hold every text.
wine_reg_add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144
wine_reg_add 'HKCC\Software\Fonts' /v LogPixels /t REG_DWORD /d 144
wineserver -w
GTEST_FILTER='Screenshots.*' KIVREL_EXPECT_SCALE=1.5 ctest --test-dir "$dir" --output-on-failure \
  --no-tests=error --timeout 300 -R '^test_app_ui$'
