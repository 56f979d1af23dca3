#!/usr/bin/env bash
# Installs what is needed, builds the program and its data folder, and plays the game.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
exec ./build/dalvo "$@"
