#!/usr/bin/env bash
# The browser build: installs what it needs, builds build-web/ and serves it on
# http://127.0.0.1:8000 (--build-only: only builds).
#   build/            the desktop build: the data-folder builder
#   ~/.cache/dalvo-web the WebAssembly libraries, built once (scripts/web-deps.sh)
#   build-web/        the page: index.html (with the list of files), dalvo.js, dalvo.wasm, files/
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
BUILD_ONLY=0
[ "${1:-}" = "--build-only" ] && BUILD_ONLY=1
PORT="${DALVO_WEB_PORT:-8000}"
export NODE_PATH="${NODE_PATH:-/usr/share/nodejs}"

./scripts/setup.sh web

# The data-folder builder of the desktop build.
if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDALVO_TESTS=OFF -DDALVO_BENCH=OFF >/dev/null
fi
cmake --build build -j2 --target dalvo-mkdata >/dev/null

DEPS=$(./scripts/web-deps.sh | tail -1)

# The files the page loads beside the program, under build-web/files/: a fresh data
# folder (never a played one, with saves in it), the two fonts where the game looks
# for them, and the music rendered from the data folder's pieces. The data folder
# goes as one gzip pack (the pictures shrink fifty-fold), the rest file by file;
# scripts/web-files.py lists them in files/manifest.json and in the page's
# index.html, and the page unpacks them into the program's files.
STAGE=build-web/stage
mkdir -p "$STAGE"
rm -rf "$STAGE/data"
build/tools/dalvo-mkdata --content content --out "$STAGE/data" >/dev/null
python3 scripts/web-music.py "$STAGE/data" "$STAGE/music"
for font in /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf \
            /usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf; do
  mkdir -p "$STAGE$(dirname "$font")"
  cp -u "$(readlink -f "$font")" "$STAGE$font"
done
python3 scripts/web-files.py "$STAGE" build-web/files web/index.html build-web/index.html

if [ ! -f build-web/CMakeCache.txt ]; then
  emcmake cmake -S web -B build-web -DCMAKE_BUILD_TYPE=Release -DDALVO_WEB_DEPS="$DEPS" >/dev/null
else
  cmake -S web -B build-web -DDALVO_WEB_DEPS="$DEPS" >/dev/null
fi
cmake --build build-web -j2
echo "web: built $(cd build-web && du -ch index.html dalvo.js dalvo.wasm files | tail -1 | cut -f1) in build-web/"

[ "$BUILD_ONLY" -eq 1 ] && exit 0
echo "web: serving http://127.0.0.1:$PORT/ (Ctrl-C ends)"
cd build-web && exec python3 -m http.server "$PORT" --bind 127.0.0.1
