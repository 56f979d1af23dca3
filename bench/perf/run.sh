#!/usr/bin/env bash
# Builds the program and its benchmarks, then measures the whole program as a player
# meets it: start-up, CPU while waiting for a click, peak memory, a full playthrough,
# the function benchmarks, and growth over 100 playthroughs in one process.
#
#   bench/perf/run.sh            everything (about five minutes)
#   QUICK=1 bench/perf/run.sh    fewer runs, no 100-playthrough leak check
#
# Figures go to standard output and, one per line as "name value unit", to
# $BUILD/perf/figures.txt.
set -euo pipefail
cd "$(dirname "$0")/../.."
ROOT=$PWD
BUILD=${BUILD:-$ROOT/build-perf}
QUICK=${QUICK:-0}
RUNS=$([ "$QUICK" = 1 ] && echo 10 || echo 30)
PLAY_SCRIPT=${PLAY_SCRIPT:-$ROOT/tests/story/full_ending_1.script}

for tool in hyperfine xvfb-run Xvfb /usr/bin/time python3; do
  command -v "$tool" >/dev/null || { echo "run.sh: $tool is missing (scripts/setup.sh bench installs it)" >&2; exit 1; }
done

cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" --target dalvo dalvo_bench data test_window -j"$(nproc)" >/dev/null

WORK=$(mktemp -d /tmp/dalvo-perf.XXXXXX)
XVFB_PID=""
GAME_PID=""
cleanup() {
  [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

OUT=$BUILD/perf
mkdir -p "$OUT"
FIG=$OUT/figures.txt
: >"$FIG"
figure() {  # name value unit
  printf '%-28s %10s %s\n' "$1" "$2" "$3" | tee -a "$FIG"
}

# The game writes its saves and options into its data folder: each measurement gets a copy.
fresh_data() {
  rm -rf "$WORK/data"
  cp -r "$BUILD/data" "$WORK/data"
}
fresh_data
DALVO=$BUILD/dalvo

# Scripts: the title ready; the title ready, then a dump whose file marks the moment
# (bench/perf/ready_ms.py); the first click wait of the story with music on, and the
# same followed by the game's own way out (a real window stays open after its script).
printf 'idle\n' >"$WORK/title.script"
printf 'idle\ndump ready\nwait 100000\n' >"$WORK/ready.script"
cat >"$WORK/story_wait.script" <<'EOF'
idle
press Main_Form.Label1
idle
press Main_Form.Name_ent_btn
idle
EOF
{ cat "$WORK/story_wait.script"; printf 'wait 3000\nanswer yes\nmenu prog_end\n'; } >"$WORK/story_exit.script"

median_ms() {  # hyperfine JSON -> median in ms
  python3 -c 'import json,sys; print("%.1f" % (json.load(open(sys.argv[1]))["results"][0]["median"]*1000))' "$1"
}

# No run may depend on a sound device: a missing one stops the game at a message box.
export SDL_AUDIODRIVER=dummy
# The figures are the package's own soundfont's unless another is asked for (the game
# prefers FluidR3_GM where it is installed).
export DALVO_SOUNDFONT=${DALVO_SOUNDFONT:-/usr/share/sounds/sf2/TimGM6mb.sf2}

echo "== headless start-up to the title ready (launch to the first dump, and the whole run)"
read -r ready_median ready_min < <(python3 "$ROOT/bench/perf/ready_ms.py" "$RUNS" "$WORK/o" \
  "$DALVO" --headless --data "$WORK/data" --out "$WORK/o" --input "$WORK/ready.script")
figure startup_headless_ms "$ready_median" "ms (median, warm; fastest $ready_min)"
hyperfine -N --warmup 3 --runs "$RUNS" --export-json "$WORK/h.json" \
  "$DALVO --headless --data $WORK/data --out $WORK/o --input $WORK/title.script" >/dev/null
figure startup_headless_run_ms "$(median_ms "$WORK/h.json")" "ms (median, warm; launch to exit)"
hyperfine -N --warmup 3 --runs "$RUNS" --export-json "$WORK/v.json" "$DALVO --version" >/dev/null
figure program_load_ms "$(median_ms "$WORK/v.json")" "ms (median; dalvo --version: loading the libraries)"

echo "== headless playthrough to the ending ($(basename "$PLAY_SCRIPT"))"
hyperfine -N --warmup 1 --runs "$([ "$QUICK" = 1 ] && echo 3 || echo 10)" --export-json "$WORK/p.json" \
  "$DALVO --headless --data $WORK/data --out $WORK/o --input $PLAY_SCRIPT" >/dev/null
figure playthrough_headless_ms "$(median_ms "$WORK/p.json")" "ms (median)"

peak_kib() {  # command... -> maximum resident set size in KiB
  /usr/bin/time -v "$@" 2>"$WORK/time.txt" >/dev/null || true
  sed -n 's/.*Maximum resident set size (kbytes): //p' "$WORK/time.txt"
}
fresh_data
kib=$(peak_kib "$DALVO" --headless --data "$WORK/data" --out "$WORK/o" --input "$PLAY_SCRIPT")
figure peak_rss_headless_play_MiB "$(python3 -c "print('%.1f' % ($kib/1024))")" "MiB"

# One X server for all real-window runs: starting one per run would be measured too.
# -noreset: a desktop's server keeps running between programs; by default Xvfb resets
# itself whenever its last client leaves, and the next program would wait ~45 ms for that.
DISPLAY_NO=$((90 + RANDOM % 100))
Xvfb ":$DISPLAY_NO" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
XVFB_PID=$!
export DISPLAY=":$DISPLAY_NO"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

echo "== real window (Xvfb): start-up to the title ready (launch to the first dump)"
fresh_data
read -r ready_median ready_min < <(python3 "$ROOT/bench/perf/ready_ms.py" "$RUNS" "$WORK/o" \
  "$DALVO" --data "$WORK/data" --out "$WORK/o" --input "$WORK/ready.script")
figure startup_window_ms "$ready_median" "ms (median, warm; fastest $ready_min)"

echo "== real window: peak memory at a click wait with the music playing (soundfont loaded)"
fresh_data
kib=$(peak_kib "$DALVO" --data "$WORK/data" --out "$WORK/o" --input "$WORK/story_exit.script")
figure peak_rss_window_MiB "$(python3 -c "print('%.1f' % ($kib/1024))")" "MiB"

echo "== real window: paced effect frames against their prescribed times"
# The story's opening: the title dissolve, date cards, fades and sprites, every frame traced.
fresh_data
{ grep -vE '^(shot|dump)' "$ROOT/tests/story/full_ending_1.script" | head -n 70
  printf 'answer yes\nmenu prog_end\n'; } >"$WORK/frames.script"
"$DALVO" --data "$WORK/data" --out "$WORK/o" --input "$WORK/frames.script" --trace "$WORK/frames.jsonl" >/dev/null 2>&1 || true
read -r frames within worst < <(python3 - "$WORK/frames.jsonl" <<'PY'
import json, sys
late = [e["took"] - e["target"] for e in map(json.loads, open(sys.argv[1])) if e["ev"] == "frame"]
print(len(late), sum(abs(d) <= 2 for d in late), max(map(abs, late), default=0))
PY
)
figure paced_frames "$frames" "frames traced"
figure paced_frames_within_2ms_pct "$(python3 -c "print('%.1f' % (100.0*$within/max($frames,1)))")" "% of frames"
figure paced_frames_worst_ms "$worst" "ms off target (worst frame)"

echo "== real window: unpaced transitions with every frame presented, and one small present"
# The window test prints these figures (it checks only the present counts).
DALVO_WINDOW_INNER=1 SDL_VIDEODRIVER=x11 "$BUILD/tests/test_window" \
  --gtest_filter='WindowInner.EffectsPresentEveryFrameAndTheWindowShowsTheScreen' >"$WORK/effects.txt" 2>&1 || true
for code in DI VB HB; do
  figure "window_${code}_ms" "$(sed -n "s/^$code: [0-9]* presents in \([0-9]*\) ms$/\1/p" "$WORK/effects.txt")" \
    "ms ($(sed -n "s/^$code: \([0-9]*\) presents.*/\1/p" "$WORK/effects.txt") presents)"
done
figure window_small_present_us "$(sed -n 's/^one damaged-rectangle present: \([0-9]*\) us$/\1/p' "$WORK/effects.txt")" "us (8 x 8 mark)"

# CPU of a waiting game: utime+stime over 10 s from /proc, once it has settled.
idle_cpu() {  # script name
  fresh_data
  "$DALVO" --data "$WORK/data" --out "$WORK/o" --input "$WORK/$1.script" >/dev/null 2>&1 &
  GAME_PID=$!
  sleep 3
  local hz t0 t1
  hz=$(getconf CLK_TCK)
  t0=$(awk '{print $14+$15}' "/proc/$GAME_PID/stat")
  sleep 10
  t1=$(awk '{print $14+$15}' "/proc/$GAME_PID/stat")
  kill "$GAME_PID"; wait "$GAME_PID" 2>/dev/null || true
  GAME_PID=""
  python3 -c "print('%.2f' % (100.0*($t1-$t0)/$hz/10))"
}
echo "== real window: CPU while waiting for a click (10 s each)"
figure idle_cpu_title_pct "$(idle_cpu title)" "% of a core"
figure idle_cpu_story_pct "$(idle_cpu story_wait)" "% of a core"

kill "$XVFB_PID" 2>/dev/null || true
XVFB_PID=""
unset DISPLAY

echo "== function benchmarks"
"$BUILD/bench/dalvo_bench" --benchmark_filter='^BM_[^H]' --benchmark_min_time=0.2 \
  --benchmark_format=console | tee "$OUT/dalvo_bench.txt"

if [ "$QUICK" != 1 ]; then
  echo "== 100 headless playthroughs in one process (resident-set growth)"
  fresh_data
  DALVO_BENCH_DATA=$WORK/data DALVO_BENCH_SCRIPT=$PLAY_SCRIPT \
    "$BUILD/bench/dalvo_bench" --benchmark_filter=BM_HeadlessPlaythrough 2>/dev/null \
    | tee "$OUT/playthrough.txt"
fi
echo "figures: $FIG"
