#!/usr/bin/env bash
# Installs what building, running and testing Kivrel needs on Debian 12, and any further
# packages named as arguments; quick when all is there already.
set -euo pipefail

packages=(
  build-essential cmake ninja-build clang libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev libicu-dev
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev
  xdg-utils fonts-liberation poppler-utils xvfb xauth
  dpkg-dev file lintian appstream desktop-file-utils debootstrap xdotool openbox
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
