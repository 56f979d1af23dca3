#!/usr/bin/env bash
# Installs the Debian packages a task needs, and nothing more. Safe to run again: it
# only installs what is missing.
#   setup.sh [play]   building and playing the game (what ./scripts/play.sh needs)
#   setup.sh test     that, and the tests' libraries, virtual X server and tools
#   setup.sh check    the sanitizer and fuzzing toolchain (clang)
#   setup.sh bench    the benchmarks' tools
#   setup.sh package  the Debian package's tools and linters
#   setup.sh web      the browser build's compiler, music tools and test browser
#   setup.sh all      every one of them (CI)
# Several groups may be named at once.
set -euo pipefail

declare -A GROUPS_OF=(
  [play]="build-essential cmake pkg-config libsdl2-dev libsdl2-ttf-dev libsdl2-mixer-dev
          libsdl2-image-dev libx11-dev timgm6mb-soundfont fonts-ipafont-gothic fonts-liberation2"
  [test]="libgtest-dev libgmock-dev googletest libbenchmark-dev nlohmann-json3-dev fontconfig
          xvfb xauth x11-utils imagemagick xdotool ccache python3"
  [check]="clang libclang-rt-14-dev"
  [bench]="hyperfine valgrind"
  [package]="dpkg-dev file lintian appstream desktop-file-utils"
  [web]="emscripten fluidsynth vorbis-tools dpkg-dev chromium python3 python3-fonttools imagemagick"
)

wanted=()
[ "$#" -eq 0 ] && set -- play
for group in "$@"; do
  case "$group" in
    all) set -- play test check bench package web; break ;;
    play|test|check|bench|package|web) ;;
    *) echo "setup: unknown group \"$group\" (play, test, check, bench, package, web, all)" >&2; exit 2 ;;
  esac
done
# Every group builds on the game's own packages.
for group in play "$@"; do
  # shellcheck disable=SC2206
  wanted+=(${GROUPS_OF[$group]})
done

missing=()
for p in $(printf '%s\n' "${wanted[@]}" | sort -u); do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ "${#missing[@]}" -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# Another installation may hold dpkg's lock for a while: wait for it.
for attempt in 1 2 3 4 5 6 7 8 9 10; do
  if $SUDO apt-get update -qq && $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"; then
    exit 0
  fi
  echo "setup: apt-get failed (attempt $attempt); retrying in 15 s" >&2
  sleep 15
done
exit 1
