#!/usr/bin/env bash
# Installs what is missing, builds and starts Kivrel.
source "$(dirname "$0")/lib/failures.sh"
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh build
exec build/src/app/kivrel
