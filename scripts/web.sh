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
# for them (the Japanese one also as a small first cut of the characters of the data
# and the program's texts), and the music rendered from the data folder's pieces. The data folder
# goes as one gzip pack (the pictures shrink fifty-fold), the rest file by file;
# scripts/web-files.py lists them in files/manifest.json and in the page's
# index.html, and the page unpacks them into the program's files.
STAGE=build-web/stage
mkdir -p "$STAGE"
rm -rf "$STAGE/data"
build/tools/dalvo-mkdata --content content --out "$STAGE/data" >/dev/null
python3 scripts/web-music.py "$STAGE/data" "$STAGE/music"
python3 scripts/web-fonts.py "$STAGE" /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf \
  /usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf --first-cut ipag.ttf --texts "$STAGE/data" src
python3 scripts/web-files.py "$STAGE" build-web/files web/index.html build-web/index.html

if [ ! -f build-web/CMakeCache.txt ]; then
  emcmake cmake -S web -B build-web -DCMAKE_BUILD_TYPE=Release -DDALVO_WEB_DEPS="$DEPS" >/dev/null
else
  cmake -S web -B build-web -DDALVO_WEB_DEPS="$DEPS" >/dev/null
fi
cmake --build build-web -j2

# Beside the program: the page's scripts; the program gzip-compressed (the page unpacks
# it as it comes); what makes the page installable (its manifest, icons and the service
# worker that keeps it for play without the network, its store named after the build).
cp -u web/page.js web/saves.js web/app.webmanifest web/icon.svg build-web/
[ build-web/dalvo.wasm.gz -nt build-web/dalvo.wasm ] ||
  { gzip -9 -n -c build-web/dalvo.wasm > build-web/dalvo.wasm.gz.part && mv build-web/dalvo.wasm.gz.part build-web/dalvo.wasm.gz; }
for s in 192 512; do
  [ -f "build-web/icon-$s.png" ] ||
    convert -size "${s}x$s" xc:'#202020' -fill '#2a5a8a' \
      -draw "roundrectangle $((s*6/64)),$((s*38/64)) $((s*58/64)),$((s*58/64)) $((s/32)),$((s/32))" \
      -fill '#e0e0e0' -font /usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf \
      -pointsize $((s*20/64)) -gravity north -annotate +0+$((s*10/64)) 'D!' "build-web/icon-$s.png"
done
version=$(cd build-web && find index.html page.js saves.js dalvo.js dalvo.wasm files -type f | sort | xargs cat |
          sha256sum | cut -c1-16)
sed "s/^const VERSION = 'dev';/const VERSION = '$version';/" web/sw.js > build-web/sw.js
echo "web: built $(cd build-web && du -ch index.html page.js saves.js dalvo.js dalvo.wasm.gz files | tail -1 | cut -f1) in build-web/"

[ "$BUILD_ONLY" -eq 1 ] && exit 0
echo "web: serving http://127.0.0.1:$PORT/ (Ctrl-C ends)"
cd build-web && exec python3 -m http.server "$PORT" --bind 127.0.0.1
