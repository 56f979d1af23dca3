#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh test bench
# Warnings are errors in the project's own checks (off in a plain cmake build).
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDALVO_WERROR=ON -DDALVO_TESTS=ON -DDALVO_BENCH=ON >/dev/null
cmake --build build -j"$(nproc)"
cd build && ctest --output-on-failure -j"$(nproc)"
