#!/usr/bin/env bash
# Installs every Debian package the project needs. Safe to run again: it only
# installs what is missing.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config
  libsdl2-dev libsdl2-ttf-dev libsdl2-mixer-dev libsdl2-image-dev libx11-dev
  timgm6mb-soundfont fonts-ipafont-gothic fonts-liberation2 fontconfig
  libgtest-dev libgmock-dev googletest libbenchmark-dev nlohmann-json3-dev
  xvfb xauth x11-utils imagemagick xdotool
  clang libclang-rt-14-dev ccache
  hyperfine valgrind
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# The browser build's compiler, music tools and test browser.
"$(dirname "$0")/setup-web.sh"
