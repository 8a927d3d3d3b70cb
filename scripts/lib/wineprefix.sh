# Sourced by the scripts that start the Windows program or its tests under Wine: makes a
# fresh Wine prefix, removed on exit, that looks to them like a plain Windows desktop.

# A German user's Windows: Wine takes its languages (its own dialogs', the user locale) from
# LANG.
export LANG=de_DE.UTF-8
unset LC_ALL LC_MESSAGES
# No Mono or Gecko downloads, and no mail provider of this machine's.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemapi="

# fresh_wine_prefix: returns 1 when Wine cannot set one up.
fresh_wine_prefix() {
  WINEPREFIX=$(mktemp -d)
  export WINEPREFIX
  trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX"' EXIT
  wineboot -i >/dev/null 2>&1 || return 1
  # Windows has Tahoma (the dialog font) and Marlett (the title bar's symbols); Debian's
  # Wine keeps them apart from the prefix.
  cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  # No mail client registered: the program's first box is then the missing-mail-client warning.
  wine reg delete 'HKLM\Software\Classes\mailto' /f >/dev/null 2>&1 || true
  # Every program of the prefix runs inside one desktop window: it gives the windows their
  # title bars and moves the keyboard focus as Windows does.
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1100x700 /f >/dev/null
}
