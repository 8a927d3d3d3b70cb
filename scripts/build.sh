#!/usr/bin/env bash
# Configures and builds one build folder: build.sh DIR [cmake options...]
source "$(dirname "$0")/lib/failures.sh"
dir=$1
shift
cd "$(dirname "$0")/.."
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)"
