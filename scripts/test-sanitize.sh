#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer in build-asan
# and runs the whole test suite there.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDALVO_SANITIZE=ON -DDALVO_BENCH=OFF >/dev/null
cmake --build build-asan -j"$(nproc)"
# Font and sound libraries under SDL keep caches until exit: leaks are not checked.
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd build-asan && ctest --output-on-failure -j"$(nproc)"
