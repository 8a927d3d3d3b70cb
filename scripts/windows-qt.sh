#!/usr/bin/env bash
# Builds Qt for Windows (MinGW-w64, shared, release) from Debian's own source package of the
# Qt this machine has, into $KIVREL_WINDOWS_QT_CACHE/qt-VERSION-HASH, the hash taken over
# the recipe (configure line, toolchain, patches). A later run with the same recipe reuses
# it. Prints the Qt prefix as its last line; everything else goes to standard error.
# Fails loudly when the mirror or a package cannot be had.
source "$(dirname "$0")/lib/failures.sh"
cd "$(dirname "$0")/.."
repo=$PWD
cache=$(realpath -m "${KIVREL_WINDOWS_QT_CACHE:-/var/cache/kivrel-windows-qt}")
suite=bookworm
SECONDS=0

say() { echo "== windows-qt [${SECONDS}s] $*" >&2; }
fail() {
  echo "windows-qt: $*" >&2
  exit 1
}

bash scripts/setup.sh g++-mingw-w64-x86-64-posix ninja-build curl xz-utils patch gpgv \
  debian-archive-keyring qt6-base-dev qt6-base-dev-tools >&2 ||
  fail "could not install the cross compiler and the host Qt"

# The host Qt's tools (moc, rcc, uic) serve the cross build: both must be the same Qt.
source_version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev)
upstream=${source_version%%+*}
upstream=${upstream%%-*}

# Only what the program and its tests need. Direct2D stays off; the patch below makes the
# rest of Qt agree. The 3rd-party folders the dfsg tarball lacks are not asked for:
# wintab (tablets), sqlite (Qt Sql is off), iaccessible2 (unused; UI Automation serves).
configure=(
  -release -shared -xplatform win32-g++ -qt-host-path /usr
  -nomake examples -nomake tests -no-pkg-config -no-dbus -no-opengl -no-direct2d
  -no-vulkan -no-icu -no-zstd -no-feature-sql -no-feature-network -no-feature-concurrent
  -no-feature-xml -no-feature-tabletevent -no-feature-androiddeployqt
  -qt-zlib -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz -qt-pcre -qt-doubleconversion
)
patches=("$repo"/cmake/windows-qt/*.patch)
toolchain_source=$repo/cmake/mingw-w64-compilers.cmake

# The cross compiler's version too: Qt's libraries must match the runtime the program links.
# Debian's package versions, as the compiler calls itself "12-posix" through every update.
x86_64-w64-mingw32-g++-posix --version >/dev/null ||
  fail "the MinGW-w64 compiler x86_64-w64-mingw32-g++-posix does not run"
compiler_version=$(dpkg-query -W -f='${Package} ${Version}\n' g++-mingw-w64-x86-64-posix \
  gcc-mingw-w64-x86-64-posix-runtime mingw-w64-x86-64-dev) ||
  fail "cannot tell the versions of the MinGW-w64 compiler's packages"
recipe_hash=$({
  echo "$source_version"
  echo "$compiler_version"
  printf '%s\n' "${configure[@]}"
  cat "$toolchain_source" "${patches[@]}"
} | sha256sum | cut -c1-12)
prefix=$cache/qt-$source_version-$recipe_hash
if [ -f "$prefix/.complete" ]; then
  say "reusing $prefix"
  echo "$prefix"
  exit 0
fi

# The cache lies outside the work tree, by default under /var/cache: made through sudo
# for a user who is not root, and then owned by that user; so is one that root made before.
if ! { mkdir -p "$cache/downloads" 2>/dev/null && [ -w "$cache" ] && [ -w "$cache/downloads" ]; }; then
  [ "$(id -u)" -ne 0 ] || fail "cannot make $cache/downloads"
  say "making $cache ours through sudo"
  { sudo mkdir -p "$cache/downloads" && sudo chown "$(id -u):$(id -g)" "$cache" &&
    sudo chown -R "$(id -u):$(id -g)" "$cache/downloads"; } ||
    fail "cannot make $cache writable, not even through sudo"
fi
source scripts/lib/mirror.sh
url=$(mirror | head -n 1)
[ -n "$url" ] || fail "no '$suite' mirror in this machine's apt sources"
url=${url%/}

# The Sources index, checked against the suite's signed InRelease; the package's files
# are then checked against the index.
downloads=$cache/downloads
say "verifying the source index of $suite at $url"
curl -fsS -o "$downloads/InRelease" "$url/dists/$suite/InRelease" ||
  fail "cannot download $url/dists/$suite/InRelease"
gpgv --keyring /usr/share/keyrings/debian-archive-keyring.gpg --output "$downloads/Release" \
  "$downloads/InRelease" 2>/dev/null || fail "the signature of $suite's InRelease does not verify"
sources_sum=$(awk '/^SHA256:/ { s = 1; next } /^[^ ]/ { s = 0 }
  s && $3 == "main/source/Sources.xz" { print $1 }' "$downloads/Release")
[ -n "$sources_sum" ] || fail "InRelease names no main/source/Sources.xz"
if ! echo "$sources_sum  $downloads/Sources.xz" | sha256sum -c --quiet 2>/dev/null; then
  curl -fsS -o "$downloads/Sources.xz" "$url/dists/$suite/main/source/Sources.xz" ||
    fail "cannot download the source index"
  echo "$sources_sum  $downloads/Sources.xz" | sha256sum -c --quiet ||
    fail "the source index does not match InRelease"
fi
stanza=$(xz -dc "$downloads/Sources.xz" | awk -v v="$source_version" '
  BEGIN { RS = ""; FS = "\n" }
  !found && $0 ~ /(^|\n)Package: qt6-base\n/ && index($0, "\nVersion: " v "\n") { print; found = 1 }')
[ -n "$stanza" ] || fail "the mirror's $suite has no source package qt6-base $source_version"
directory=$(awk '/^Directory:/ { print $2 }' <<<"$stanza")
mapfile -t files < <(awk '/^Checksums-Sha256:/ { s = 1; next } /^[^ ]/ { s = 0 }
  s && $3 ~ /\.tar\.xz$/ { print $1 " " $3 }' <<<"$stanza")
[ ${#files[@]} -eq 2 ] || fail "unexpected files in qt6-base $source_version: ${files[*]}"
for entry in "${files[@]}"; do
  sum=${entry%% *}
  name=${entry#* }
  if ! echo "$sum  $downloads/$name" | sha256sum -c --quiet 2>/dev/null; then
    say "downloading $name"
    curl -fsS -o "$downloads/$name" "$url/$directory/$name" || fail "cannot download $url/$directory/$name"
    echo "$sum  $downloads/$name" | sha256sum -c --quiet || fail "$name does not match the index"
  fi
done

work=$(mktemp -d /var/tmp/kivrel-windows-qt.XXXXXX)
trap 'rm -rf "$work"' EXIT
say "unpacking and patching qt6-base $source_version"
tar -xf "$downloads"/qt6-base_*.orig.tar.xz -C "$work"
src=$(echo "$work"/qtbase-everywhere-src-*)
tar -xf "$downloads/qt6-base_$source_version.debian.tar.xz" -C "$src"
while read -r p; do
  [[ -z $p || $p == \#* ]] && continue
  patch -d "$src" -p1 -s -N <"$src/debian/patches/${p%% *}" || fail "Debian's patch $p does not apply"
done <"$src/debian/patches/series"
for p in "${patches[@]}"; do
  patch -d "$src" -p1 -s -N <"$p" || fail "$(basename "$p") does not apply"
done

rm -rf "$prefix"
mkdir -p "$prefix"
# Programs built against this Qt load the toolchain through Qt's own: it must stay here.
cp "$toolchain_source" "$prefix/mingw-w64.cmake"
mkdir -p "$work/build"
cd "$work/build"
say "configuring"
"$src/configure" -prefix "$prefix" "${configure[@]}" -- -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$prefix/mingw-w64.cmake" \
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >"$work/configure.log" 2>&1 ||
  { tail -n 40 "$work/configure.log" >&2; fail "configure failed"; }
say "building (about half an hour on two cores)"
cmake --build . --parallel "$(nproc)" >"$work/build.log" 2>&1 ||
  { grep -B5 -A20 -m3 'error' "$work/build.log" | head -n 80 >&2; fail "the build failed"; }
cmake --install . >"$work/install.log" 2>&1 || { tail -n 40 "$work/install.log" >&2; fail "install failed"; }
touch "$prefix/.complete"
say "Qt $upstream for Windows is in $prefix"
echo "$prefix"
