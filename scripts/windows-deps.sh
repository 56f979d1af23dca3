#!/usr/bin/env bash
# Builds SDL2, FreeType, HarfBuzz, SDL2_ttf, SDL2_mixer and SDL2_image for 64-bit
# Windows (MinGW-w64, posix threads) from Debian's own source packages, as static
# libraries, into a cache outside the checkout:
#   ~/.cache/dalvo-win/<versions>/{include,lib}
# A second run finds the cache and returns at once. Prints the prefix on the last
# line of its output. Builds at low priority: the machine is shared.
#
# The sources come through a private apt list (scripts/debian-sources.sh).
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
CACHE_ROOT="${DALVO_WIN_CACHE:-$HOME/.cache/dalvo-win}"
JOBS="${JOBS:-2}"
TOOLCHAIN="$ROOT/scripts/mingw-toolchain.cmake"

SOURCES=(libsdl2 freetype harfbuzz libsdl2-ttf libsdl2-mixer libsdl2-image)

# The versions key: the source versions the private list offers, the compiler's
# version and RECIPE (raise it when the build flags below change).
RECIPE=1
source "$(dirname "$0")/debian-sources.sh"
debian_sources "$CACHE_ROOT" windows-deps "${SOURCES[@]}"
ccver=$(x86_64-w64-mingw32-g++-posix -dumpversion)
key=$(printf '%s mingw=%s recipe=%s' "$versions" "$ccver" "$RECIPE" | sha256sum | cut -c1-16)
PREFIX="$CACHE_ROOT/$key"

cfg() { nice -n 19 cmake -G "Unix Makefiles" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
          -DDALVO_WIN_PREFIX="$PREFIX" -DCMAKE_BUILD_TYPE=Release \
          -DCMAKE_INSTALL_PREFIX="$PREFIX" -DCMAKE_PREFIX_PATH="$PREFIX" \
          -DBUILD_SHARED_LIBS=OFF "$@" >&2; }
build() { nice -n 19 cmake --build "$1" -j"$JOBS" >&2 && cmake --install "$1" >&2; }

# The test suite's libraries, from the packages' own sources on this machine
# (googletest, nlohmann-json3-dev), with a stamp of their own.
test_libs() {
  local stamp="$PREFIX/.tests-done"
  local want
  want=$(dpkg-query -W -f='${Version} ' googletest nlohmann-json3-dev)
  [ "$(cat "$stamp" 2>/dev/null)" = "$want" ] && return 0
  echo "windows-deps: building googletest $want" >&2
  rm -rf "$CACHE_ROOT/b-gtest"
  cfg -S /usr/src/googletest -B "$CACHE_ROOT/b-gtest" -Dgtest_disable_pthreads=OFF
  build "$CACHE_ROOT/b-gtest"
  rm -rf "$CACHE_ROOT/b-gtest"
  mkdir -p "$PREFIX/include" "$PREFIX/share/cmake"
  cp -r /usr/include/nlohmann "$PREFIX/include/"
  cp -r /usr/share/cmake/nlohmann_json "$PREFIX/share/cmake/"
  echo "$want" > "$stamp"
}

if [ -f "$PREFIX/.done" ]; then
  test_libs
  echo "$PREFIX"
  exit 0
fi

echo "windows-deps: building $versions(mingw $ccver) into $PREFIX" >&2
WORK="$CACHE_ROOT/src-$key"
rm -rf "$PREFIX" "$WORK"/b-*
mkdir -p "$WORK" "$PREFIX"
cd "$WORK"
if [ ! -f "$WORK/.unpacked" ]; then
  "${APT[@]}" source --download-only "${SOURCES[@]}" >&2
  for dsc in *.dsc; do
    dpkg-source --no-check -x "$dsc" >&2
  done
  touch "$WORK/.unpacked"
fi
srcdir() { find "$WORK" -maxdepth 1 -mindepth 1 -type d -name "$1-[0-9]*" | head -1; }

# SDL2: the whole library, static.
cfg -S "$(srcdir libsdl2)" -B "$WORK/b-sdl" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF
build "$WORK/b-sdl"

# FreeType without its optional helpers; HarfBuzz over it, then FreeType is not rebuilt
# against HarfBuzz (SDL2_ttf does its own shaping through HarfBuzz).
cfg -S "$(srcdir freetype)" -B "$WORK/b-ft" -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON \
    -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
build "$WORK/b-ft"

# HarfBuzz: without it Liberation Sans lays out a few pixels narrower than on Linux.
cfg -S "$(srcdir harfbuzz)" -B "$WORK/b-hb" -DHB_HAVE_FREETYPE=ON -DHB_BUILD_SUBSET=OFF \
    -DHB_HAVE_GLIB=OFF -DHB_HAVE_GOBJECT=OFF -DHB_HAVE_ICU=OFF -DHB_BUILD_UTILS=OFF \
    -DHB_BUILD_TESTS=OFF
build "$WORK/b-hb"

cfg -S "$(srcdir libsdl2-ttf)" -B "$WORK/b-ttf" -DSDL2TTF_VENDORED=OFF -DSDL2TTF_HARFBUZZ=ON \
    -DSDL2TTF_SAMPLES=OFF -DSDL2TTF_INSTALL=ON -DSDL2TTF_BUILD_SHARED_LIBS=OFF
build "$WORK/b-ttf"

# SDL2_mixer: WAVE and OGG (stb_vorbis) built in; MIDI through the system's synthesizer
# (native MIDI) and Timidity; nothing loaded at run time.
cfg -S "$(srcdir libsdl2-mixer)" -B "$WORK/b-mix" -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_SAMPLES=OFF \
    -DSDL2MIXER_INSTALL=ON -DSDL2MIXER_DEPS_SHARED=OFF -DSDL2MIXER_VORBIS=STB \
    -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MP3=OFF \
    -DSDL2MIXER_MIDI=ON -DSDL2MIXER_MIDI_NATIVE=ON -DSDL2MIXER_MIDI_TIMIDITY=ON \
    -DSDL2MIXER_MIDI_FLUIDSYNTH=OFF -DSDL2MIXER_CMD=OFF -DSDL2MIXER_WAVE=ON
build "$WORK/b-mix"

# SDL2_image with its built-in stb decoders.
cfg -S "$(srcdir libsdl2-image)" -B "$WORK/b-img" -DSDL2IMAGE_VENDORED=OFF -DSDL2IMAGE_SAMPLES=OFF \
    -DSDL2IMAGE_TESTS=OFF -DSDL2IMAGE_INSTALL=ON -DSDL2IMAGE_DEPS_SHARED=OFF -DSDL2IMAGE_BACKEND_STB=ON \
    -DSDL2IMAGE_AVIF=OFF -DSDL2IMAGE_JXL=OFF -DSDL2IMAGE_TIF=OFF -DSDL2IMAGE_WEBP=OFF
build "$WORK/b-img"

echo "$versions mingw=$ccver" > "$PREFIX/.done"
rm -rf "$WORK"
test_libs
echo "$PREFIX"
