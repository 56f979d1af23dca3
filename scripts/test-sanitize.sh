#!/usr/bin/env bash
# Builds everything with clang (warnings as errors), AddressSanitizer and
# UndefinedBehaviorSanitizer in build-asan, runs the whole test suite there, then each fuzz
# target for a short time.
#   scripts/test-sanitize.sh [FUZZ_SECONDS]      (default 15 s per target; 0 skips fuzzing)
set -euo pipefail
cd "$(dirname "$0")/.."
fuzz_seconds="${1:-15}"
./scripts/setup.sh test check
cmake -S . -B build-asan -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DDALVO_FUZZ=ON -DDALVO_BENCH=OFF -DDALVO_WERROR=ON >/dev/null
cmake --build build-asan -j"$(nproc)"
# Leaks are checked too; what system libraries keep until exit is listed in the suppressions.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/leak_suppressions.txt:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
(cd build-asan && ctest --output-on-failure -j"$(nproc)")
if [ "$fuzz_seconds" != 0 ]; then
  DALVO_FUZZ_BUILD=build-asan ./scripts/fuzz.sh "$fuzz_seconds"
fi
