#!/usr/bin/env bash
# The build types CI checks besides the README's (scripts/test.sh) and the sanitized clang
# build (scripts/test-sanitize.sh). Each is configured in its own folder with warnings as
# errors, builds the program, its data folder and the checker, and plays one short headless
# script: enough to prove the type builds and starts, without the whole suite again.
#   scripts/ci-builds.sh [release|debug|no-x11 ...]      (default: all three)
set -euo pipefail
cd "$(dirname "$0")/.."
builds=("$@")
[ ${#builds[@]} -gt 0 ] || builds=(release debug no-x11)

targets=(dalvo data dalvo-check)

# One configure, build and smoke run: NAME FOLDER CMAKE_ARGS...
check_build() {
  local name="$1" dir="$2" extra="$3"
  shift 3
  local start=$SECONDS
  echo "== $name ($dir)"
  cmake -S . -B "$dir" -DDALVO_WERROR=ON -DDALVO_BENCH=OFF "$@" >/dev/null
  cmake --build "$dir" -j"$(nproc)" --target "${targets[@]}" $extra
  "$dir/dalvo" --version >/dev/null
  rm -rf "$dir/smoke" && mkdir -p "$dir/smoke"
  printf 'idle\ndump ready\n' >"$dir/smoke/ready.script"
  SDL_AUDIODRIVER=dummy "$dir/dalvo" --headless --data "$dir/data" \
    --input "$dir/smoke/ready.script" --out "$dir/smoke"
  if ! grep -q '"waiting":"title"' "$dir/smoke/ready.json"; then
    echo "$name: the program did not reach the title (see $dir/smoke/ready.json)" >&2
    return 1
  fi
  "$dir/tools/dalvo-check" "$dir/data" >/dev/null
  echo "== $name: built and played in $((SECONDS - start)) s"
}

for b in "${builds[@]}"; do
  case "$b" in
    # The benchmarks are measured in Release: they must build there with warnings as errors.
    release) check_build "Release, GCC" build-ci-release dalvo_bench -DCMAKE_BUILD_TYPE=Release \
               -DCMAKE_CXX_COMPILER=g++ -DDALVO_BENCH=ON ;;
    debug)   check_build "Debug, GCC" build-ci-debug "" -DCMAKE_BUILD_TYPE=Debug \
               -DCMAKE_CXX_COMPILER=g++ ;;
    no-x11)
      # Xlib's headers are installed here, so a stand-in for each fails loudly if any
      # file still includes one in a build that was told to do without.
      shadow="$PWD/build-ci-no-x11/no-x11-include"
      mkdir -p "$shadow/X11"
      for h in Xlib.h Xutil.h X.h Xatom.h Xos.h keysym.h; do
        echo "#error \"X11/$h included in a build without X11\"" >"$shadow/X11/$h"
      done
      # The window tests reach the X server too: they must build without it as well.
      check_build "RelWithDebInfo without X11" build-ci-no-x11 test_window -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DDALVO_X11=OFF -DCMAKE_CXX_FLAGS="-I$shadow"
      ;;
    *) echo "ci-builds: unknown build '$b' (release, debug, no-x11)" >&2; exit 2 ;;
  esac
done
