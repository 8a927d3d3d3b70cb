#!/usr/bin/env bash
# Installs what building, running and testing Kivrel needs on Debian 12, and any further
# packages named as arguments; quick when all is there already.
source "$(dirname "$0")/lib/failures.sh"

packages=(
  build-essential cmake ninja-build clang libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev libicu-dev
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev
  xdg-utils fonts-liberation poppler-utils xvfb xauth python3
  dpkg-dev file lintian appstream desktop-file-utils debootstrap xdotool openbox locales
  dbus dbus-x11 at-spi2-core python3-pyatspi x11-utils
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
if [ ${#missing[@]} -ne 0 ]; then
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
# The German locale: Wine takes a German Windows' languages from it.
locale -a 2>/dev/null | grep -qx 'de_DE.utf8' || "${sudo[@]}" localedef -i de_DE -f UTF-8 de_DE.UTF-8
