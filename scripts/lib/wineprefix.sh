# Sourced by the scripts that start the Windows program or its tests under Wine: makes a
# fresh Wine prefix, removed on exit, that looks to them like a plain Windows desktop.

# A German user's Windows: Wine takes its languages (its own dialogs', the user locale) and
# the character set of Unix file names from LANG, so no LC_* of the caller may override it.
export LANG=de_DE.UTF-8
for var in $(compgen -v LC_); do unset "$var"; done
# No Mono or Gecko downloads, and no mail provider of this machine's.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemapi="

# at_exit COMMAND: run when the script ends, whichever way; the last added runs first.
exit_steps=()
at_exit() { exit_steps=("$1" "${exit_steps[@]}"); }
run_exit_steps() {
  local step
  for step in "${exit_steps[@]}"; do eval "$step" || true; done
}
trap run_exit_steps EXIT

# wine_reg_add KEY ARGS...: says what failed.
wine_reg_add() {
  local out
  out=$(wine reg add "$@" /f 2>&1) || {
    echo "$out" >&2
    echo "wine reg add $* failed" >&2
    return 1
  }
}

# fresh_wine_prefix: says what failed and returns 1 when Wine cannot set one up.
fresh_wine_prefix() {
  WINEPREFIX=$(mktemp -d)
  export WINEPREFIX
  at_exit 'wineserver -k >/dev/null 2>&1; rm -rf "$WINEPREFIX"'
  local log=$WINEPREFIX.log
  at_exit 'rm -f "$WINEPREFIX.log"'
  if ! wineboot -i >"$log" 2>&1; then
    tail -n 20 "$log" >&2
    echo "wineboot -i failed in $WINEPREFIX" >&2
    return 1
  fi
  # Windows has Tahoma (the dialog font) and Marlett (the title bar's symbols); Debian's
  # Wine keeps them apart from the prefix.
  cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" || return 1
  # No mail client registered, neither for mailto: links nor for Simple MAPI (Wine's own
  # stands there): the program's first box is then the missing-mail-client warning.
  wine reg delete 'HKLM\Software\Classes\mailto' /f >/dev/null 2>&1 || true
  wine reg delete 'HKLM\Software\Clients\Mail' /ve /f >/dev/null 2>&1 || true
  # Every program of the prefix runs inside one desktop window: it gives the windows their
  # title bars and moves the keyboard focus as Windows does.
  wine_reg_add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default || return 1
  wine_reg_add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1100x700 || return 1
  # The desktop that wineboot started came up before these keys: only once this prefix's
  # wineserver has ended does the next program bring up a desktop that has read them.
  wineserver -w
}
