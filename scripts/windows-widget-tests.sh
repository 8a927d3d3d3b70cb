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

# captions DPI SCALE: the caption test again, the prefix at DPI. Windows scales every window
# by SCALE and its dialog font with it; the fixed layouts must still hold every text, and
# every text stand out from its background.
captions() {
  wine_reg_add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1"
  wine_reg_add 'HKCC\Software\Fonts' /v LogPixels /t REG_DWORD /d "$1"
  wineserver -w
  GTEST_FILTER='Screenshots.*' KIVREL_EXPECT_SCALE=$2 ctest --test-dir "$dir" --output-on-failure \
    --no-tests=error --timeout 300 -R '^test_app_ui$'
}
echo "== Every caption whole at 150 % (144 dpi), as on many laptops"
captions 144 1.5
echo "== Every caption whole at 200 % (192 dpi), large text"
captions 192 2

echo "== Every text readable in Windows' high-contrast black scheme, at 100 %"
# The system colours of "Kontrast Schwarz", which Qt's palette takes from Windows; the
# screenshots go to DIR/high-contrast.
while IFS='|' read -r name rgb; do
  wine_reg_add 'HKCU\Control Panel\Colors' /v "$name" /d "$rgb"
done <<'END'
Background|0 0 0
AppWorkspace|0 0 0
Window|0 0 0
WindowFrame|255 255 255
WindowText|255 255 255
Menu|0 0 0
MenuBar|0 0 0
MenuText|255 255 255
MenuHilight|26 235 255
ButtonFace|0 0 0
ButtonAlternateFace|0 0 0
ButtonText|255 255 255
ButtonHilight|255 255 255
ButtonLight|255 255 255
ButtonShadow|255 255 255
ButtonDkShadow|255 255 255
Hilight|26 235 255
HilightText|0 0 0
GrayText|63 242 63
HotTrackingColor|255 255 0
InfoWindow|0 0 0
InfoText|255 255 255
ActiveTitle|0 0 0
GradientActiveTitle|0 0 0
TitleText|255 255 255
InactiveTitle|0 0 0
GradientInactiveTitle|0 0 0
InactiveTitleText|255 255 255
ActiveBorder|0 0 0
InactiveBorder|0 0 0
END
# As Windows does in a high-contrast scheme: no visual style, whose pictures would keep their
# light colours under the scheme's white text.
wine_reg_add 'HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager' /v ThemeActive /d 0
wine reg delete 'HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager' /v DllName /f \
  >/dev/null 2>&1 || true
wine_reg_add 'HKCU\Control Panel\Accessibility\HighContrast' /v Flags /d 127
rm -rf "$dir/high-contrast"
mkdir -p "$dir/high-contrast"
KIVREL_SCREENSHOTS=$(winpath "$dir/high-contrast") captions 96 1
