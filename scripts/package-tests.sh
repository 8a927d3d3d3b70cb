#!/usr/bin/env bash
# Checks the Debian package: package-tests.sh [PACKAGE] (builds it unless given).
#  1. lintian finds no errors; the AppStream and desktop metadata validate; the program
#     file carries the package's version.
#  2. In a fresh Debian 12 root (debootstrap minbase from the mirror that this machine's
#     apt sources name) the package installs with apt-get, the installed program opens its
#     first window on an X server, and after a purge nothing of the package is left.
# Needs root; the packages it downloads are kept in $KIVREL_PACKAGE_CACHE for later runs.
source "$(dirname "$0")/lib/failures.sh"
cd "$(dirname "$0")/.."
if [ "$(id -u)" -ne 0 ]; then
  exec sudo --preserve-env=KIVREL_PACKAGE_CACHE bash "$0" "$@"
fi
cache=$(realpath -m "${KIVREL_PACKAGE_CACHE:-/var/cache/kivrel-package-test}")
suite=bookworm
SECONDS=0

fail() {
  echo "package test: $*" >&2
  exit 1
}
step() { echo "== [${SECONDS}s] $*"; }

work=$(mktemp -d /var/tmp/kivrel-package-test.XXXXXX)
root=$work/root
pids=()
groups=()

# Processes first (ours, and any left running inside the root), then every mount under
# the root, deepest first; the folder goes only when nothing is mounted in it any more.
cleanup() {
  local pid p mounts
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${groups[@]}"; do kill -- "-$pid" 2>/dev/null || true; done
  for p in /proc/[0-9]*; do
    [ "$(readlink "$p/root" 2>/dev/null)" = "$root" ] && kill -9 "${p#/proc/}" 2>/dev/null
  done
  wait 2>/dev/null || true
  mounts=$(awk -v r="$root" 'index($2, r "/") == 1 { print $2 }' /proc/mounts | sort -r)
  for p in $mounts; do umount "$p" 2>/dev/null || umount -l "$p"; done
  if awk -v r="$root" 'index($2, r "/") == 1 { found = 1 } END { exit !found }' /proc/mounts; then
    echo "package test: still mounted under $root; left in place" >&2
  else
    rm -rf --one-file-system "$work"
  fi
}
trap cleanup EXIT

source scripts/lib/mirror.sh
url=$(mirror | head -n 1)
[ -n "$url" ] || fail "no '$suite' mirror in this machine's apt sources"

# The root grows while the package builds: the one waits for the network, the other for
# the processors.
step "debootstrap $suite from $url"
mkdir -p "$cache/debootstrap" "$cache/apt/partial" "$root"
include=()
[[ $url == https:* ]] && include=(--include=ca-certificates)
setsid debootstrap --variant=minbase "${include[@]}" --cache-dir="$cache/debootstrap" \
  "$suite" "$root" "$url" >"$work/debootstrap.log" 2>&1 &
bootstrap=$!
groups+=("$bootstrap")

if [ $# -ge 1 ]; then
  deb=$(realpath "$1")
else
  deb=$(bash scripts/package.sh)
fi
[ -f "$deb" ] || fail "no package at '$deb'"
version=$(dpkg-deb --field "$deb" Version)

step "lintian"
lintian --allow-root --fail-on error "$deb" || fail "lintian found errors"

step "metadata"
files=$work/files
dpkg-deb -x "$deb" "$files"
appstreamcli validate --no-net "$files"/usr/share/metainfo/*.metainfo.xml
desktop-file-validate "$files"/usr/share/applications/kivrel.desktop
objcopy -O binary --only-section=.kivrel_version "$files"/usr/bin/kivrel "$work/record"
grep -aqF "$version" "$work/record" || fail "the program's version record does not name $version"

wait "$bootstrap" ||
  { tail -n 20 "$work/debootstrap.log" >&2; fail "debootstrap from $url failed"; }
step "root ready"
groups=()

mount -t proc proc "$root/proc"
mount -t sysfs sysfs "$root/sys"
mount --bind /dev "$root/dev"
mount --bind "$cache/apt" "$root/var/cache/apt/archives"
cp /etc/resolv.conf "$root/etc/resolv.conf"

in_root() {
  chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
    DEBIAN_FRONTEND=noninteractive "$@"
}
apt_get() { in_root apt-get -q -y -o Dpkg::Use-Pty=0 "$@"; }

step "apt-get install ./$(basename "$deb")"
cp "$deb" "$root/tmp/"
apt_get update >/dev/null || fail "apt-get update in the new root failed"
# Without recommended packages: the Depends alone must be enough to start the program.
apt_get install --no-install-recommends "./tmp/$(basename "$deb")" >"$work/install.log" 2>&1 ||
  { tail -n 30 "$work/install.log" >&2; fail "the package does not install"; }
in_root dpkg-query -L kivrel >"$work/installed"
[ -x "$root/usr/bin/kivrel" ] || fail "no /usr/bin/kivrel after the install"

# The X server runs outside the root, so the root holds nothing but the package and what
# it depends on.
step "start /usr/bin/kivrel"
exec {displayfd}<> <(:)
Xvfb -displayfd "$displayfd" -nolisten tcp -ac -screen 0 1280x1024x24 >"$work/xvfb.log" 2>&1 &
pids+=($!)
read -r -t 30 -u "$displayfd" display || fail "Xvfb did not start"
export DISPLAY=:$display
mkdir -p "$root/tmp/.X11-unix"
mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
# Started straight from here, so that $! is the program's own process.
chroot "$root" /usr/bin/env -i PATH=/usr/bin:/bin HOME=/root LANG=C.UTF-8 DISPLAY="$DISPLAY" \
  QT_QPA_PLATFORM=xcb /usr/bin/kivrel >"$work/kivrel.log" 2>&1 &
kivrel=$!
pids+=("$kivrel")
window=$(timeout 60 xdotool search --sync --onlyvisible --pid "$kivrel" | head -n 1) || true
if [ -z "$window" ]; then
  cat "$work/kivrel.log" >&2
  fail "the installed program showed no window within 60 seconds"
fi
echo "first window: \"$(xdotool getwindowname "$window")\""
kill "$kivrel"
wait "$kivrel" 2>/dev/null || true

step "apt-get purge kivrel"
apt_get purge kivrel >"$work/purge.log" 2>&1 ||
  { cat "$work/purge.log" >&2; fail "the package does not purge"; }
left=()
while read -r path; do
  [ "$path" = "/." ] && continue
  [ -e "$root$path" ] || [ -L "$root$path" ] || continue
  # A folder stays rightly when another package owns it too.
  if [ -d "$root$path" ] && [ ! -L "$root$path" ] && in_root dpkg-query -S "$path" >/dev/null 2>&1; then
    continue
  fi
  left+=("$path")
done <"$work/installed"
[ ${#left[@]} -eq 0 ] || fail "left after the purge: ${left[*]}"

step "package test passed"
