#!/usr/bin/env bash
# The Windows program as a user gets it, under Wine: windows-program-tests.sh [DIR]
# takes DIR/Kivrel-VERSION-setup.exe (DIR: build-windows, made by windows-installer.sh).
# In a fresh Wine prefix on Xvfb, inside one Wine desktop window:
#  1. the installer installs silently into the user's program folder, with a start-menu
#     entry and an uninstall entry;
#  2. the installed program starts: its windows carry exactly their captions and borders,
#     and the About window is reached through the start-up dialogue;
#  3. the uninstaller leaves no program file, shortcut or uninstall entry.
# Screenshots of every step go to DIR/wine-screens.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$(realpath "${1:-build-windows}")
if [ -z "${KIVREL_WINE_DISPLAY:-}" ]; then
  bash scripts/setup.sh wine wine64 fonts-wine xvfb xauth xdotool imagemagick \
    g++-mingw-w64-x86-64-posix
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
    env KIVREL_WINE_DISPLAY=1 bash "$0" "$@"
fi

installer=$(ls "$dir"/Kivrel-*-setup.exe)
version=$(basename "$installer" | sed 's/^Kivrel-\(.*\)-setup\.exe$/\1/')
screens=$dir/wine-screens
rm -rf "$screens"
mkdir -p "$screens"
failures=0
SECONDS=0

say() { echo "== wine [${SECONDS}s] $*"; }
shot() { import -window root "$screens/$1.png" 2>/dev/null && echo "   screenshot $screens/$1.png"; }
check() {
  local what=$1
  shift
  if "$@"; then
    echo "   ok: $what"
  else
    echo "   FAILED: $what" >&2
    failures=$((failures + 1))
  fi
}

source scripts/lib/wineprefix.sh
say "fresh Wine prefix"
fresh_wine_prefix || { echo "Wine could not set up a prefix: the Windows program was NOT tested." >&2; exit 1; }

probe=$WINEPREFIX/drive_c/winprobe.exe
x86_64-w64-mingw32-gcc-posix -municode -O2 -Wall -Wextra -Werror -o "$probe" \
  tests/windows/winprobe.c -lversion
winvar() { wine cmd /c "echo %$1%" 2>/dev/null | tr -d '\r'; }
unix() { winepath -u "$1" 2>/dev/null; }

say "1. installing $(basename "$installer") silently"
wine "$installer" /S
programs_win="$(winvar LOCALAPPDATA)\\Programs\\Kivrel"
programs=$(unix "$programs_win")
shortcut=$(unix "$(winvar APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs\\Kivrel.lnk")
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kivrel'
regvalue() { wine reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | awk -v v="$1" '$1 == v { $1 = $2 = ""; sub(/^ +/, ""); print }'; }
check "program in $programs_win" test -f "$programs/kivrel.exe"
check "Qt beside it" test -f "$programs/Qt6Widgets.dll" -a -f "$programs/platforms/qwindows.dll" \
  -a -f "$programs/translations/qtbase_de.qm"
check "start-menu entry" test -f "$shortcut"
check "uninstaller" test -f "$programs/uninstall.exe"
check "uninstall entry: name" [ "$(regvalue DisplayName)" = "Kivrel" ]
check "uninstall entry: version $version" [ "$(regvalue DisplayVersion)" = "$version" ]
check "uninstall entry: publisher" [ -n "$(regvalue Publisher)" ]
check "uninstall entry: icon" [ "$(regvalue DisplayIcon)" = "$programs_win\\kivrel.exe,0" ]
check "version resource $version" [ "$(wine "$probe" version "$programs_win\\kivrel.exe" | tr -d '\r')" = "$version" ]

say "2. starting the installed program"
# The club and the person are remembered from an earlier run; the event is typed.
wine reg add 'HKCU\Software\NORDALKE\QVTR\Verein' /v Vereinsname /d "TSV Wine" /f >/dev/null
wine reg add 'HKCU\Software\NORDALKE\QVTR\Absender' /v Nachname /d "Muster" /f >/dev/null
wine "$programs_win\\kivrel.exe" >"$screens/kivrel.log" 2>&1 &
program=$!
windows() { wine "$probe" windows | tr -d '\r'; }
waitfor() { wine "$probe" wait "$1" "${2:-30}"; }
# A caption shown now, with the border its window has: "caption sysmenu " is a fixed
# single border with the system menu and close box, no minimise or maximise box.
border() { windows | awk -F'\t' -v c="$1" '$1 == c { print $2; exit }'; }
fixed() { [ "$(border "$1")" = "caption sysmenu " ]; }
# Keys go to the Wine desktop window, and from there to the focused Windows window.
desktop=
keys() {
  xdotool windowfocus --sync "$desktop" key --delay 100 "$@"
  sleep 0.7
}
typed() { xdotool windowfocus --sync "$desktop" type --delay 60 "$1"; }
step() { # step CAPTION SCREENSHOT: the window appears, fixed-size, and is pictured
  check "window \"$1\" appears" waitfor "$1"
  sleep 0.5
  check "window \"$1\": fixed single border, no minimise or maximise box" fixed "$1"
  shot "$2"
}

check "main window \"Kivrel 4.2 Osmira Edition\" appears" waitfor "Kivrel 4.2 Osmira Edition" 90
desktop=$(xdotool search --name 'Wine desktop' | head -n 1)
step "Warnung" 1-warning-no-mail-client
check "main window: fixed single border, no minimise or maximise box" fixed "Kivrel 4.2 Osmira Edition"
windows | sed 's/^/   window: /'
keys Return
step "Willkommen" 2-welcome
keys Return
step "Kivrel - Assistent" 3-wizard
typed "Stadtpokal"
keys Tab
typed "01062027"
keys Tab
typed "Nord"
shot 3-wizard-event
keys Return Return Return
shot 4-wizard-done
keys Return
step "Teilnehmer einfügen" 5-editor
keys Escape
keys alt+i k
step "Info" 6-about
keys Escape
keys alt+d b
step "Bestätigung" 7-close-question
keys Return
step "Information" 8-thanks
keys Return
ended() { for _ in $(seq 50); do kill -0 "$program" 2>/dev/null || return 0; sleep 0.2; done; return 1; }
check "the program ends after the thank-you notice" ended
shot 9-ended

say "3. uninstalling"
kill "$program" 2>/dev/null || true
wine "$programs_win\\uninstall.exe" /S
# The uninstaller copies itself away and returns at once; wait for the copy.
wineserver -w
uninstall_entry_gone() { ! wine reg query "$key" >/dev/null 2>&1; }
check "no program folder" test ! -e "$programs"
check "no start-menu entry" test ! -e "$shortcut"
check "no uninstall entry" uninstall_entry_gone
details_stay() { wine reg query 'HKCU\Software\NORDALKE\QVTR\Verein' /v Vereinsname >/dev/null 2>&1; }
check "the remembered details stay" details_stay

if [ $failures -ne 0 ]; then
  echo "The Windows program under Wine: $failures checks FAILED (screenshots in $screens)." >&2
  exit 1
fi
say "the Windows program installed, started and uninstalled under Wine"
