#!/usr/bin/env bash
# Installs what is missing, builds in Release and starts Lanternfin.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)"
if [ -x build/app/lanternfin ]; then
    exec build/app/lanternfin "$@"
fi
exec build/cli/lanternfin-cli --help
