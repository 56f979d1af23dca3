#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time.
#   scripts/fuzz.sh SECONDS [TARGET...]     (default: every target, 60 s each)
#   scripts/fuzz.sh runs=N [TARGET...]      (N executions each instead, e.g. runs=1000000)
# The build folder is $DALVO_FUZZ_BUILD (default build-fuzz). Seeds come from
# fuzz/corpus/<target>/; what a run learns is kept in <build>/corpus/<target>/, and
# `<build>/fuzz/fuzz_T -merge=1 fuzz/corpus/T <build>/corpus/T` keeps in the seeds only
# the inputs that reach new code. A crash leaves its input in <build>/findings/ and ends
# the script with status 1.
set -euo pipefail
cd "$(dirname "$0")/.."
limit="${1:-60}"
shift || true
case "$limit" in
  runs=*) bound="-runs=${limit#runs=}" ;;
  *) bound="-max_total_time=$limit" ;;
esac
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(scenario choices names save picture cursor midi input_script check)
fi

build="${DALVO_FUZZ_BUILD:-build-fuzz}"
cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DDALVO_FUZZ=ON -DDALVO_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
mkdir -p "$build/findings"
status=0
for t in "${targets[@]}"; do
  work="$build/corpus/$t"
  mkdir -p "$work"
  log="$build/fuzz_$t.log"
  echo "== fuzz_$t ($bound)"
  if ! "$build/fuzz/fuzz_$t" "$bound" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$build/findings/$t-" \
      "$work" "fuzz/corpus/$t" >"$log" 2>&1; then
    echo "fuzz_$t FAILED (see $log and $build/findings/)"
    status=1
  fi
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec|new_units_added)|^Done ' "$log" ||
    tail -n 5 "$log"
done
exit $status
