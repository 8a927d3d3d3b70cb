#!/usr/bin/env bash
# Builds the Debian package in a build folder of its own: package.sh [DIR] (build-package
# unless given). It prints the package's path; what the build says goes to stderr.
source "$(dirname "$0")/lib/failures.sh"
dir=${1:-build-package}
cd "$(dirname "$0")/.."
exec 3>&1 1>&2
bash scripts/setup.sh

# Debian's compiler and linker flags, hardening included, as a Debian build would use them;
# their -O2 rather than CMake's -O3 for Release. Warnings stay warnings, as in a
# distribution's build: the test command's own builds make them errors.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
bash scripts/build.sh "$dir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DKIVREL_BUILD_TESTS=OFF -DKIVREL_BUILD_BENCH=OFF -DKIVREL_WERROR=OFF \
  "-DCMAKE_CXX_FLAGS=$cxxflags" -DCMAKE_CXX_FLAGS_RELEASE=-DNDEBUG \
  "-DCMAKE_EXE_LINKER_FLAGS=$(dpkg-buildflags --get LDFLAGS)"

rm -f "$dir"/kivrel_*.deb
(cd "$dir" && cpack -G DEB)
ls "$(realpath "$dir")"/kivrel_*.deb >&3
