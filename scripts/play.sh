#!/usr/bin/env bash
# Installs what building and playing need, builds the program and its data folder, and
# plays the game.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh play
# A fresh build leaves out the tests and benchmarks, whose libraries only
# ./scripts/test.sh installs; a build folder made by it keeps them.
if [ -f build/CMakeCache.txt ]; then
  cmake -S . -B build >/dev/null
else
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDALVO_TESTS=OFF -DDALVO_BENCH=OFF >/dev/null
fi
cmake --build build -j"$(nproc)" --target dalvo data
exec ./build/dalvo "$@"
