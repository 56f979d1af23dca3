#!/usr/bin/env bash
# Builds SDL2, FreeType, SDL2_ttf and SDL2_mixer for WebAssembly from Debian's
# own source packages, as static libraries, into a cache outside the checkout:
#   ~/.cache/dalvo-web/<versions>/{include,lib}
# A second run finds the cache and returns at once. Prints the prefix on the
# last line of its output.
#
# The sources come through a private apt list (scripts/debian-sources.sh).
set -euo pipefail

CACHE_ROOT="${DALVO_WEB_CACHE:-$HOME/.cache/dalvo-web}"
JOBS="${JOBS:-2}"
export NODE_PATH="${NODE_PATH:-/usr/share/nodejs}"

SOURCES=(libsdl2 freetype libsdl2-ttf libsdl2-mixer)

# The versions key: the source versions the private list offers, the
# compiler's version and RECIPE (raise it when the build flags below change).
RECIPE=1
source "$(dirname "$0")/debian-sources.sh"
debian_sources "$CACHE_ROOT" web-deps "${SOURCES[@]}"
emver=$(emcc -dumpversion 2>/dev/null || echo unknown)
key=$(printf '%s emcc=%s recipe=%s' "$versions" "$emver" "$RECIPE" | sha256sum | cut -c1-16)
PREFIX="$CACHE_ROOT/$key"

if [ -f "$PREFIX/.done" ]; then
  echo "$PREFIX"
  exit 0
fi

echo "web-deps: building $versions(emcc $emver) into $PREFIX" >&2
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

COMMON_FLAGS="-O2"
emc() { emcmake cmake -G "Unix Makefiles" -DCMAKE_BUILD_TYPE=Release \
          -DCMAKE_INSTALL_PREFIX="$PREFIX" -DCMAKE_PREFIX_PATH="$PREFIX" \
          -DCMAKE_FIND_ROOT_PATH="$PREFIX" -DBUILD_SHARED_LIBS=OFF \
          -DCMAKE_C_FLAGS="$COMMON_FLAGS" "$@" >&2; }

# SDL2: video, events, audio, timers; no threads (the engine is one thread).
sdl=$(srcdir libsdl2)
emc -S "$sdl" -B "$WORK/b-sdl" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF \
    -DSDL_THREADS=OFF -DSDL_PTHREADS=OFF
cmake --build "$WORK/b-sdl" -j"$JOBS" >&2
cmake --install "$WORK/b-sdl" >&2

# FreeType without any of its optional helpers (no zlib, png, bzip2, brotli, harfbuzz).
ft=$(srcdir freetype)
emc -S "$ft" -B "$WORK/b-ft" -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
    -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
cmake --build "$WORK/b-ft" -j"$JOBS" >&2
cmake --install "$WORK/b-ft" >&2

# SDL2_ttf over that FreeType, without harfbuzz.
ttf=$(srcdir libsdl2-ttf)
emc -S "$ttf" -B "$WORK/b-ttf" -DSDL2TTF_VENDORED=OFF -DSDL2TTF_HARFBUZZ=OFF -DSDL2TTF_SAMPLES=OFF \
    -DSDL2TTF_INSTALL=ON -DSDL2TTF_BUILD_SHARED_LIBS=OFF
cmake --build "$WORK/b-ttf" -j"$JOBS" >&2
cmake --install "$WORK/b-ttf" >&2

# SDL2_mixer with OGG through its built-in stb_vorbis, WAVE built in, nothing else.
mix=$(srcdir libsdl2-mixer)
emc -S "$mix" -B "$WORK/b-mix" -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_SAMPLES=OFF \
    -DSDL2MIXER_INSTALL=ON -DSDL2MIXER_DEPS_SHARED=OFF \
    -DSDL2MIXER_VORBIS=STB -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF \
    -DSDL2MIXER_MP3=OFF -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_CMD=OFF -DSDL2MIXER_WAVE=ON
cmake --build "$WORK/b-mix" -j"$JOBS" >&2
cmake --install "$WORK/b-mix" >&2

echo "$versions emcc=$emver" > "$PREFIX/.done"
rm -rf "$WORK"
echo "$PREFIX"
