#!/usr/bin/env bash
# Installs the Debian packages of the browser build: the compiler, the tools that
# render the music, the source-package tools and the browser its test runs in.
# Safe to run again: it only installs what is missing.
set -euo pipefail

PACKAGES=(emscripten fluidsynth vorbis-tools timgm6mb-soundfont dpkg-dev chromium python3
          fonts-ipafont-gothic fonts-liberation2 imagemagick python3-fonttools)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ "${#missing[@]}" -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "setup-web: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# Another installation may hold dpkg's lock for a while: wait for it.
for attempt in 1 2 3 4 5 6 7 8 9 10; do
  if $SUDO apt-get update -qq && $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"; then
    exit 0
  fi
  echo "setup-web: apt-get failed (attempt $attempt); retrying in 15 s" >&2
  sleep 15
done
exit 1
