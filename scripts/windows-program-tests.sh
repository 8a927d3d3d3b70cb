#!/usr/bin/env bash
# The Windows program as a user gets it, under Wine: windows-program-tests.sh [DIR]
# takes DIR/Kivrel-VERSION-setup.exe (DIR: build-windows, made by windows-installer.sh).
# In a fresh Wine prefix on Xvfb, inside one Wine desktop window, driven with xdotool:
#  1. the installer installs silently into the user's program folder, with a start-menu
#     entry and an uninstall entry;
#  2. the first start: no mail client warned about, the welcome notice, the wizard typed
#     through (event, club, person, with umlauts), About, close question, thank-you notice;
#     the details then stand in the registry;
#  3. the second start, with a recording MAPI provider as mail client: club and person come
#     from the registry; participants and two age groups typed in; "Fertigstellen" through
#     the save dialog writes the files of tests/windows/typical-run byte for byte (those the
#     Linux build writes too) and hands the mail over; finishing again asks before replacing;
#  4. killed, the third start brings the entry back from the recovery file, and "Drucken"
#     prints the entry list on the PDF printer that CUPS lends Wine;
#  5. with the provider failing, finishing says so in German and opens "Meldung versenden",
#     whose mail draft the shell hands to the program registered for .eml files and whose
#     folder opens in the explorer; with the user cancelling the mail in the client, no box
#     comes;
#  6. while the program runs, setup and uninstall refuse (silent: exit code 2; the
#     uninstaller's box says why, "Abbrechen" ends it) and change nothing;
#  7. with one of its files in use, the uninstaller keeps that file, itself and its entry;
#  8. an older build with one more file installs over that, and this one over the older:
#     exactly this version's files, its version in the entry, the details kept;
#  9. the uninstaller leaves no program file, shortcut or uninstall entry.
# Every window's caption and border are checked. Screenshots of every step go to
# DIR/wine-screens.
source "$(dirname "$0")/lib/failures.sh"
cd "$(dirname "$0")/.."
dir=$(realpath "${1:-build-windows}")
if [ -z "${KIVREL_WINE_DISPLAY:-}" ]; then
  bash scripts/setup.sh wine wine64 fonts-wine xvfb xauth xdotool imagemagick nsis \
    x11-xkb-utils x11-xserver-utils g++-mingw-w64-x86-64-posix \
    cups-daemon cups-client printer-driver-cups-pdf poppler-utils
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
    env KIVREL_WINE_DISPLAY=1 bash "$0" "$@"
fi

installers=("$dir"/Kivrel-*-setup.exe)
[ -f "${installers[0]}" ] || {
  echo "No installer in $dir (scripts/windows-installer.sh makes it): the Windows program was NOT tested." >&2
  exit 1
}
installer=${installers[0]}
version=$(basename "$installer" | sed 's/^Kivrel-\(.*\)-setup\.exe$/\1/')
screens=$dir/wine-screens
rm -rf "$screens"
mkdir -p "$screens"
failures=0
SECONDS=0

say() { echo "== wine [${SECONDS}s] $*"; }
shot() {
  if import -window root "$screens/$1.png" 2>/dev/null; then
    echo "   screenshot $screens/$1.png"
  else
    echo "   (no screenshot $1: import failed)" >&2
  fi
}
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

# A German keyboard, so that typed umlauts and "ß" arrive as on the users' machines. This
# Xvfb takes no new XKB layout (setxkbmap and xkbcomp change nothing), so the German letters
# are put on their German keys, and the minus with them. Otherwise xdotool lends each one a
# spare key in turn, and Wine, which reads the letter when it handles the key, gets
# whichever the key carries by then. Wine takes the keys when it starts.
setxkbmap de
xmodmap -e 'keycode 20 = ssharp question' -e 'keycode 34 = udiaeresis Udiaeresis' \
  -e 'keycode 47 = odiaeresis Odiaeresis' -e 'keycode 48 = adiaeresis Adiaeresis' \
  -e 'keycode 61 = minus underscore'

# The prefix, the printer and whatever else is set up for the run go again at its end.
source scripts/lib/wineprefix.sh

# Wine prints through CUPS: a PDF printer there is the users' printer here. It writes into
# ~/PDF of the user who prints. Wine reaches CUPS as lpstat and lpadmin do, through the
# scheduler's socket (/run/cups/cups.sock): a cupsd that runs but does not answer there,
# such as one left in a chroot, is no use.
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
printer=Kivrel-PDF
pdfs=$HOME/PDF
cups_answers() { [ "$(LC_ALL=C lpstat -r 2>/dev/null)" = "scheduler is running" ]; }
if ! cups_answers; then
  say "starting a CUPS scheduler of our own"
  "${sudo[@]}" mkdir -p /run/cups
  "${sudo[@]}" cupsd -f >"$screens/cupsd.log" 2>&1 &
  cupsd=$!
  at_exit '"${sudo[@]}" kill "$cupsd" 2>/dev/null; wait "$cupsd" 2>/dev/null'
  for _ in $(seq 100); do
    cups_answers && break
    kill -0 "$cupsd" 2>/dev/null || break
    sleep 0.2
  done
  if ! cups_answers; then
    cat "$screens/cupsd.log" >&2
    echo "CUPS does not answer at its socket (lpstat -r: $(LC_ALL=C lpstat -r 2>&1)): the Windows program was NOT tested." >&2
    exit 1
  fi
fi
at_exit 'rm -f "$pdfs"/Meldung*.pdf; "${sudo[@]}" lpadmin -x "$printer" 2>/dev/null'
# lpadmin warns that PPD files are deprecated; what it says matters only when it fails.
if ! added=$("${sudo[@]}" lpadmin -p "$printer" -E -v cups-pdf:/ \
  -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd 2>&1); then
  echo "$added" >&2
  echo "lpadmin could not add the PDF printer $printer: the Windows program was NOT tested." >&2
  exit 1
fi
rm -f "$pdfs"/Meldung*.pdf

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
# regvalue KEY NAME: wine reg answers in the console's code page, 850 in a German Windows.
regvalue() { wine reg query "$1" /v "$2" 2>/dev/null | iconv -f CP850 -t UTF-8 | tr -d '\r' | awk -v v="$2" '$1 == v { $1 = $2 = ""; sub(/^ +/, ""); print }'; }
check "program in $programs_win" test -f "$programs/kivrel.exe"
check "Qt beside it" test -f "$programs/Qt6Widgets.dll" -a -f "$programs/platforms/qwindows.dll" \
  -a -f "$programs/translations/qtbase_de.qm"
check "start-menu entry" test -f "$shortcut"
check "uninstaller" test -f "$programs/uninstall.exe"
check "uninstall entry: name" [ "$(regvalue "$key" DisplayName)" = "Kivrel" ]
check "uninstall entry: version $version" [ "$(regvalue "$key" DisplayVersion)" = "$version" ]
check "uninstall entry: publisher" [ -n "$(regvalue "$key" Publisher)" ]
check "uninstall entry: icon" [ "$(regvalue "$key" DisplayIcon)" = "$programs_win\\kivrel.exe,0" ]
check "version resource $version" [ "$(wine "$probe" version "$programs_win\\kivrel.exe" | tr -d '\r')" = "$version" ]

say "2. the typical run: wizard and registry"
windows() { wine "$probe" windows | tr -d '\r'; }
# waitfor CAPTION [SECONDS]: a window of the program's with that caption; when none comes,
# what there was instead.
waitfor() {
  wine "$probe" wait "$1" "${2:-30}" && return 0
  no_window "$1"
  return 1
}
missing=0
no_window() {
  missing=$((missing + 1))
  echo "   no window \"$1\" came; the program's windows:" >&2
  windows | sed 's/^/     /' >&2 || true
  echo "   the X server's windows:" >&2
  local w
  for w in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
    echo "     $w \"$(xdotool getwindowname "$w" 2>/dev/null)\"" >&2
  done
  shot "missing-$missing"
}
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
typed() {
  xdotool windowfocus --sync "$desktop" type --delay 100 -- "$1"
  sleep 0.3
}
step() { # step CAPTION SCREENSHOT: the window appears, fixed-size, and is pictured
  check "window \"$1\" appears" waitfor "$1"
  sleep 0.5
  check "window \"$1\": fixed single border, no minimise or maximise box" fixed "$1"
  shot "$2"
}
# The club's folder is the program's working folder; the save dialog starts in its
# "Meldungen".
club_win='C:\Verein'
club=$WINEPREFIX/drive_c/Verein
mkdir -p "$club/Meldungen"
program=
start_program() {
  (cd "$club" && exec wine "$programs_win\\kivrel.exe") >>"$screens/kivrel.log" 2>&1 &
  program=$!
  check "main window \"Kivrel 4.2 Osmira Edition\" appears" waitfor "Kivrel 4.2 Osmira Edition" 90
  # The keys go nowhere without it: the run ends here when it is missing.
  desktop=$(xdotool search --onlyvisible --name 'Wine desktop' | tail -n 1) || desktop=
  if [ -z "$desktop" ]; then
    no_window "Wine desktop"
    echo "No Wine desktop window: the virtual desktop of the prefix did not come up." >&2
    exit 1
  fi
}
ended() { for _ in $(seq 50); do kill -0 "$program" 2>/dev/null || return 0; sleep 0.2; done; return 1; }
# Through the wizard's pages with what stands there; OK on the last.
wizard_event() {
  step "Kivrel - Assistent" "$1-wizard"
  typed "Stadtpokal Süd"
  keys Tab
  typed "01062027"
  keys Tab
  typed "Würzburg"
  keys Tab
  typed "meldung@pokal.example"
  shot "$1-wizard-event"
  keys Return
}

start_program
step "Warnung" 1-warning-no-mail-client
check "main window: fixed single border, no minimise or maximise box" fixed "Kivrel 4.2 Osmira Edition"
windows | sed 's/^/   window: /'
keys Return
step "Willkommen" 1-welcome
keys Return
wizard_event 1
typed "SV Grün-Weiss Tübingen"
keys Tab
typed "0815"
keys Tab
typed "Hohenlohe"
keys Tab Tab
typed "Baden-Württemberg"
keys Tab Tab
typed "GER"
shot 1-wizard-club
keys Return
typed "Jürgen"
keys Tab
typed "Bühler"
keys Tab
typed "Mühlgasse 3"
keys Tab
typed "74613"
keys Tab
typed "Künzelsau"
keys Tab
typed "07941 12345"
keys Tab Tab Tab Tab
typed "j.gross@sv.example"
shot 1-wizard-person
keys Return
shot 1-wizard-done
keys Return
step "Teilnehmer einfügen" 1-editor
keys Escape
shot 1-main
keys alt+i k
step "Info" 1-about
keys Escape
keys alt+d b
step "Bestätigung" 1-close-question
keys Return
step "Information" 1-thanks
keys Return
check "the program ends after the thank-you notice" ended

stands() { [ "$(regvalue "HKCU\\Software\\NORDALKE\\QVTR\\$1" "$2")" = "$3" ]; }
while IFS='|' read -r k v want; do
  check "in the registry: $k\\$v = \"$want\"" stands "$k" "$v" "$want"
done <<'END'
Turnier|Bezeichnung|Stadtpokal Süd
Turnier|Ort|Würzburg
Turnier|Email|meldung@pokal.example
Verein|Vereinsname|SV Grün-Weiss Tübingen
Verein|Vereinsnummer|0815
Verein|Kreis|Hohenlohe
Verein|Land|Baden-Württemberg
Verein|Nation|GER
Absender|Vorname|Jürgen
Absender|Nachname|Bühler
Absender|Strasse|Mühlgasse 3
Absender|PLZ|74613
Absender|Ort|Künzelsau
Absender|Telefonp|07941 12345
Absender|Email|j.gross@sv.example
END

say "3. the typical run: participants, finishing, mail"
# The recording MAPI provider is the default mail client from now on; it answers with the
# code in $answer when there is one. The shell opens .eml files and mailto: links with a
# recorder of the command line it is given.
recorder_dll=$(find "$dir/tests/windows" -name kivrel_mapi_recorder.dll | head -n 1)
cp "$recorder_dll" "$WINEPREFIX/drive_c/kivrel_mapi_recorder.dll"
cp "$(find "$dir/tests/windows" -name kivrel_cmdline_recorder.exe | head -n 1)" \
  "$WINEPREFIX/drive_c/kivrel_cmdline_recorder.exe"
opened_command='"C:\kivrel_cmdline_recorder.exe" "C:\shell-record.txt" "%1"'
wine reg add 'HKLM\Software\Clients\Mail\Kivrel Recorder' /v DLLPath /d 'C:\kivrel_mapi_recorder.dll' /f >/dev/null
wine reg add 'HKLM\Software\Clients\Mail' /ve /d 'Kivrel Recorder' /f >/dev/null
wine reg add 'HKLM\Software\Classes\mailto\shell\open\command' /ve /d "$opened_command" /f >/dev/null
wine reg add 'HKLM\Software\Classes\.eml' /ve /d Kivrel.TestMail /f >/dev/null
wine reg add 'HKLM\Software\Classes\Kivrel.TestMail\shell\open\command' /ve /d "$opened_command" /f >/dev/null
export KIVREL_MAPI_RECORD='C:\mapi-record.txt' KIVREL_MAPI_ANSWER='C:\mapi-answer.txt'
record=$WINEPREFIX/drive_c/mapi-record.txt
answer=$WINEPREFIX/drive_c/mapi-answer.txt
opened=$WINEPREFIX/drive_c/shell-record.txt

start_program
step "Willkommen" 2-welcome
keys Return
wizard_event 2
# Club and person come from the registry: each page passes its check as it stands.
shot 2-wizard-club
keys Return
shot 2-wizard-person
keys Return
shot 2-wizard-done
keys Return
step "Teilnehmer einfügen" 2-editor
# The age-group list is empty: entering it makes the first age group.
typed "Müller"
keys Tab
typed "Lukas"
keys Tab
step "Altersgruppe einfügen" 2-age-group
typed "U12"
keys Tab
typed "m"
shot 2-age-group-typed
keys Return
keys Tab
typed "2015"
keys Tab
typed "7"
keys Tab
typed "-30"
shot 2-editor-1
keys Return
typed "Hübner"
keys Tab
typed "Jan"
keys Tab
typed "U"
keys Tab
typed "2016"
keys Tab Tab
typed "+50"
shot 2-editor-2
keys Return
typed "Fürst"
keys Tab
typed "Jule"
keys Tab alt+u
step "Altersgruppe einfügen" 2-age-group-2
typed "Schüler"
keys Tab
typed "w"
keys Return
keys Tab
typed "2013"
keys Tab
typed "5"
keys Tab
typed "-44"
shot 2-editor-3
keys Return
keys Escape
shot 2-main
expected=tests/windows/typical-run
meldungen=$club/Meldungen
# Wine's save dialog has no caption of its own; the name goes into its file-name field.
finish() { # finish NAME SCREENSHOT
  keys alt+v f
  check "the save dialog appears" waitfor "" 20
  sleep 1
  shot "$2"
  keys End shift+Home
  typed "$club_win\\Meldungen\\$1"
  keys Return
}
# The files of one finishing are those of the Linux build for the same entry.
same_files() { # same_files NAME: the entry files under that name, and nothing else by it
  local f ok=0
  for f in "$expected"/Meldungen/*; do
    cmp -s "$f" "$meldungen/$1${f##*/Stadtpokal}" || { echo "   differs: $1${f##*/Stadtpokal}" >&2; ok=1; }
  done
  [ "$(ls "$meldungen" | grep -c "^$1")" = "$(ls "$expected/Meldungen" | wc -l)" ] || ok=1
  return $ok
}
finish Stadtpokal 2-save-dialog
sleep 2
# Typed anew in this run; a key lost on the way would show as differing files below.
check "the event as typed again" stands Turnier Ort "Würzburg"
shot 2-finished
ls "$meldungen" | sed 's/^/   written: /'
check "one entry file per age group, byte-identical to the Linux build's" same_files Stadtpokal

# The recorder's file: per hand-over its header lines, then the body (Windows-1252).
mails() { grep -ac '^Flags: ' "$record" 2>/dev/null || echo 0; }
header() { grep -a "^$1: " "$record" | iconv -f CP1252 -t UTF-8 | sed "s/^$1: //"; }
body() {
  local line offset
  line=$(grep -a -m1 '^Body: ' "$record")
  offset=$(grep -a -b -m1 '^Body: ' "$record" | cut -d: -f1)
  tail -c +$((offset + ${#line} + 2)) "$record" | head -c "${line#Body: }"
}
attachments() {
  local f
  for f in "$expected"/Meldungen/*; do
    printf -- '-1 %s\\Meldungen\\%s\n' "$club_win" "${f##*/}"
  done
}
check "the mail handed over to MAPI once" [ "$(mails)" = 1 ]
check "mail: flags MAPI_LOGON_UI | MAPI_DIALOG" [ "$(header Flags)" = 9 ]
check "mail: no originator" [ "$(header Originator)" = none ]
check "mail: recipient" [ "$(header Recipient)" = "1 meldung@pokal.example <meldung@pokal.example>" ]
check "mail: subject" [ "$(grep -a '^Subject: ' "$record" | sed 's/^Subject: //')" = "$(cat "$expected/mail-subject.txt")" ]
check "mail: body" cmp -s <(body) "$expected/mail-body.txt"
check "mail: every entry file attached" [ "$(header Attachment)" = "$(attachments)" ]

# Finishing again to the same name asks before replacing; "Nein" leaves all as it was.
before=$(stat -c %y "$meldungen"/*)
finish Stadtpokal 2-save-dialog-again
step "Warnung" 2-replace-question
keys alt+n
check "\"Nein\": no file written" [ "$(stat -c %y "$meldungen"/*)" = "$before" ]
check "\"Nein\": no second mail" [ "$(mails)" = 1 ]

say "4. the typical run: killed, and the entry brought back"
kill -9 "$program"
check "the program is killed" ended
start_program
step "Willkommen" 3-welcome
keys Return
wizard_event 3
keys Return Return Return
step "Bestätigung" 3-recovery-question
keys Return
step "Teilnehmer einfügen" 3-editor
keys Escape
shot 3-main
finish Wieder 3-save-dialog
sleep 2
check "the entry brought back gives the same files" same_files Wieder
check "and a second mail" [ "$(mails)" = 2 ]

# "Drucken" prints at once on the default printer, the PDF printer.
keys ctrl+d
# cups-pdf writes the file while the job runs: it is read once CUPS has no job left for the
# printer and the PDF parses.
pdf_done() {
  ls "$pdfs"/Meldung*.pdf >/dev/null 2>&1 && [ -z "$(lpstat -o "$printer" 2>/dev/null)" ] &&
    pdftotext "$pdfs"/Meldung*.pdf /dev/null 2>/dev/null
}
printed() { for _ in $(seq 120); do pdf_done && return 0; sleep 0.5; done; return 1; }
check "\"Drucken\": the entry list printed" printed
sleep 1
shot 3-printed
# PostScript's hyphen reads back as a soft hyphen.
list=$(pdftotext -layout "$pdfs"/Meldung*.pdf - 2>/dev/null | sed 's/\xc2\xad/-/g') || list=
for want in "Meldung von SV Grün-Weiss Tübingen für Stadtpokal Süd am 01.06.2027 in Würzburg" \
  "Schüler (w)" "Jule Fürst" "U12 (m)" "Jan Hübner" "Lukas Müller" "Seite 1"; do
  check "printed list: $want" grep -qF -- "$want" <<<"$list"
done

say "5. the mail client does not take the entry: German, then \"Meldung versenden\""
echo 2 >"$answer"  # MAPI_E_FAILURE
finish Fehlschlag 3-save-dialog-failing
step "Fehler" 3-mail-not-taken
keys Return
step "Meldung versenden" 3-versenden
# The mail draft, written beside the entry files, to the program the shell has for .eml.
keys alt+e
shell_opened() { # shell_opened TEXT: the recorder is started with it
  for _ in $(seq 100); do
    tr -d '\r' <"$opened" 2>/dev/null | grep -qxF -- "$1" && return 0
    sleep 0.2
  done
  cat "$opened" >&2 2>/dev/null || echo "   nothing was opened" >&2
  return 1
}
check "the draft opened through the shell" shell_opened "$club_win\\Meldungen\\Fehlschlag.eml"
check "the draft beside the entry files" grep -qa '^X-Unsent: 1' "$meldungen/Fehlschlag.eml"
shot 3-draft-opened
# The folder in Wine's explorer, the entry files selected.
keys alt+o
folder_shown() {
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name '^Meldungen$' >/dev/null 2>&1 && return 0
    sleep 0.2
  done
  return 1
}
check "\"Ordner öffnen\": the folder in the explorer" folder_shown
shot 3-folder-opened
check "the explorer closes again" wine "$probe" close Meldungen
check "back to \"Meldung versenden\"" waitfor "Meldung versenden"
keys Escape
# The user's own cancel in the mail client: nothing to tell.
echo 1 >"$answer"  # MAPI_E_USER_ABORT
finish Abbruch 3-save-dialog-cancelled
mails_came() { for _ in $(seq 100); do [ "$(mails)" = "$1" ] && return 0; sleep 0.2; done; return 1; }
check "the cancelled mail reached the client" mails_came 4
# A box would take these keys; the About window comes only without one.
keys alt+i k
step "Info" 3-about-after-cancel
check "no box and no window after the user's cancel" \
  [ -z "$(windows | cut -f1 | grep -xE 'Fehler|Meldung versenden|Warnung')" ]
keys Escape
rm -f "$answer"

keys alt+d b
step "Bestätigung" 3-close-question
keys Return
step "Information" 3-thanks
keys Return
check "the program ends after the thank-you notice" ended
shot 3-ended
kill "$program" 2>/dev/null || true

say "6. while Kivrel runs: setup and uninstall refuse"
# What setup or uninstall could change: the program's files, their sizes and times, and the
# uninstall entry.
installed() {
  (cd "$programs" && find . -printf '%p %s %T@\n' | sort)
  wine reg query "$key" 2>/dev/null | tr -d '\r'
}
# exits CODE COMMAND...: the command ends with that exit code.
exits() {
  local want=$1 rc=0
  shift
  "$@" || rc=$?
  [ "$rc" = "$want" ] || { echo "   exit code $rc" >&2; return 1; }
}
# The program holds its mark from before its first window.
start_program
before=$(installed)
check "silent uninstall: exit code 2" exits 2 wine "$programs_win\\uninstall.exe" /S "_?=$programs_win"
check "silent setup over it: exit code 2" exits 2 wine "$installer" /S
check "nothing changed" [ "$(installed)" = "$before" ]
wine "$programs_win\\uninstall.exe" "_?=$programs_win" >>"$screens/kivrel.log" 2>&1 &
uninstaller=$!
# The box is answered by its button, as the keys would go to the program's own window.
box=$(wine "$probe" box uninstall.exe 30 Abbrechen | tr -d '\r') || box=
echo "$box" | sed 's/^/   box: /'
check "the uninstaller's box says Kivrel runs" \
  grep -qF "Kivrel läuft noch und kann so nicht entfernt werden." <<<"$box"
check "the box offers \"Wiederholen\"" grep -qx "&Wiederholen" <<<"$box"
check "\"Abbrechen\": exit code 2" exits 2 wait "$uninstaller"
check "nothing changed" [ "$(installed)" = "$before" ]
kill -9 "$program"
check "the program is killed" ended
# Its mark goes with the last of the prefix's processes.
wineserver -w

say "7. a file in use: the uninstaller keeps it, itself and its entry"
held_win="$programs_win\\translations\\qtbase_de.qm"
held=$programs/translations/qtbase_de.qm
wine "$probe" hold "$held_win" >"$screens/hold.txt" 2>&1 &
holder=$!
holding() {
  for _ in $(seq 100); do
    grep -q '^held' "$screens/hold.txt" && return 0
    kill -0 "$holder" 2>/dev/null || break
    sleep 0.2
  done
  cat "$screens/hold.txt" >&2
  return 1
}
check "$held_win held open" holding
# Run from a copy and waited for, as setup runs an installed version's uninstaller.
cp "$programs/uninstall.exe" "$WINEPREFIX/drive_c/uninstall-copy.exe"
check "silent uninstall: exit code 2" exits 2 wine 'C:\uninstall-copy.exe' /S "_?=$programs_win"
check "the file in use stays" test -f "$held"
check "the others go" test ! -e "$programs/kivrel.exe" -a ! -e "$programs/Qt6Core.dll"
check "the uninstaller stays" test -f "$programs/uninstall.exe"
check "the uninstall entry stays" [ "$(regvalue "$key" DisplayVersion)" = "$version" ]
kill "$holder"
wait "$holder" 2>/dev/null || true

say "8. update: an older build with one more file, then this one"
# The older build: the same staged files under a lower version, and one more file.
older=$(mktemp -d)
at_exit 'rm -rf "$older"'
cp -r "$dir/installer/stage" "$older/stage"
echo "from an older version" >"$older/stage/veraltet.txt"
cmake -DSTAGE="$older/stage" -DOUT="$older" -P cmake/windows-installer-files.cmake
# Quicker to pack than the real one's LZMA: it is installed once.
makensis -V1 -INPUTCHARSET UTF8 "-XSetCompressor /FINAL zlib" -DVERSION=4.1.0.0 \
  -DFILE_LISTS="$older" -DOUT_FILE="$older/Kivrel-4.1.0.0-setup.exe" "$dir/installer/kivrel.nsi"
check "the older build installs over the half-removed one" \
  exits 0 wine "$older/Kivrel-4.1.0.0-setup.exe" /S
check "with its one more file" test -f "$programs/veraltet.txt"
check "uninstall entry: version 4.1.0.0" [ "$(regvalue "$key" DisplayVersion)" = 4.1.0.0 ]
check "this build installs over the older one" exits 0 wine "$installer" /S
files() { (cd "$1" && find . -type f | sort); }
check "exactly this version's files" \
  [ "$(files "$programs")" = "$( (files "$dir/installer/stage"; echo ./uninstall.exe) | sort)" ]
check "uninstall entry: version $version" [ "$(regvalue "$key" DisplayVersion)" = "$version" ]
check "start-menu entry" test -f "$shortcut"
details_stay() { wine reg query 'HKCU\Software\NORDALKE\QVTR\Verein' /v Vereinsname >/dev/null 2>&1; }
check "the remembered details stay" details_stay

say "9. uninstalling"
wine "$programs_win\\uninstall.exe" /S
# The uninstaller copies itself away and returns at once; wait for the copy.
wineserver -w
uninstall_entry_gone() { ! wine reg query "$key" >/dev/null 2>&1; }
check "no program folder" test ! -e "$programs"
check "no start-menu entry" test ! -e "$shortcut"
check "no uninstall entry" uninstall_entry_gone
check "the remembered details stay" details_stay

if [ $failures -ne 0 ]; then
  echo "The Windows program under Wine: $failures checks FAILED (screenshots in $screens)." >&2
  exit 1
fi
say "the Windows program installed, started and uninstalled under Wine"
