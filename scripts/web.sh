#!/usr/bin/env bash
# The browser build: installs what it needs, builds build-web/ and serves it on
# http://127.0.0.1:8000 (--build-only: only builds).
#   build/            the desktop build: the data-folder builder
#   ~/.cache/dalvo-web the WebAssembly libraries, built once (scripts/web-deps.sh)
#   build-web/        the page: index.html, dalvo.js, dalvo.wasm, dalvo.data
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
BUILD_ONLY=0
[ "${1:-}" = "--build-only" ] && BUILD_ONLY=1
PORT="${DALVO_WEB_PORT:-8000}"
export NODE_PATH="${NODE_PATH:-/usr/share/nodejs}"

./scripts/setup.sh >/dev/null
./scripts/setup-web.sh

# The data-folder builder of the desktop build.
if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build build -j2 --target dalvo-mkdata >/dev/null

DEPS=$(./scripts/web-deps.sh | tail -1)

# What the page preloads: a fresh data folder (never a played one, with saves in it),
# the music rendered from its pieces, and the two fonts where the game looks for them.
PKG=build-web/package
mkdir -p "$PKG"
rm -rf "$PKG/data.new"
build/tools/dalvo-mkdata --content content --out "$PKG/data.new" >/dev/null
rm -rf "$PKG/data"
mv "$PKG/data.new" "$PKG/data"
python3 scripts/web-music.py "$PKG/data" "$PKG/music"
for font in /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf \
            /usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf; do
  mkdir -p "$PKG$(dirname "$font")"
  cp -u "$(readlink -f "$font")" "$PKG$font"
done
listing=$(cd "$PKG" && find . -type f -printf '%p %s\n' | sort | sha256sum)
if [ ! -f "$PKG.stamp" ] || [ "$(cat "$PKG.stamp")" != "$listing" ] || \
   ! cmp -s <(cd "$PKG" && find . -type f -exec sha256sum {} + | sort) "$PKG.sums" 2>/dev/null; then
  echo "$listing" > "$PKG.stamp"
  (cd "$PKG" && find . -type f -exec sha256sum {} + | sort) > "$PKG.sums"
fi

if [ ! -f build-web/CMakeCache.txt ]; then
  emcmake cmake -S web -B build-web -DCMAKE_BUILD_TYPE=Release -DDALVO_WEB_DEPS="$DEPS" >/dev/null
else
  cmake -S web -B build-web -DDALVO_WEB_DEPS="$DEPS" >/dev/null
fi
cmake --build build-web -j2
cp web/index.html build-web/index.html
echo "web: built $(cd build-web && du -ch index.html dalvo.js dalvo.wasm dalvo.data | tail -1 | cut -f1) in build-web/"

[ "$BUILD_ONLY" -eq 1 ] && exit 0
echo "web: serving http://127.0.0.1:$PORT/ (Ctrl-C ends)"
cd build-web && exec python3 -m http.server "$PORT" --bind 127.0.0.1
