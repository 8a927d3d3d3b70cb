#!/usr/bin/env bash
# Configures and builds one build folder: build.sh DIR [cmake options...]. Warnings are
# errors here, in the project's own builds, unless the options say -DKIVREL_WERROR=OFF.
source "$(dirname "$0")/lib/failures.sh"
dir=$1
shift
cd "$(dirname "$0")/.."
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKIVREL_WERROR=ON "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)"
