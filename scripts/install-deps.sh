#!/usr/bin/env bash
# Installs every Debian package the player, its tests and its benchmarks need.
# This script owns the package list: add new packages here and nowhere else.
# Only missing packages are installed, so a warm machine returns at once.
set -euo pipefail

PACKAGES=(
  # build tools
  g++ cmake ninja-build pkg-config
  # tests and benchmarks
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  # fuzz targets (libFuzzer comes with clang's runtime libraries)
  clang libclang-rt-14-dev
  # GUI
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev fonts-liberation xvfb xauth imagemagick xdotool
  # database
  libsqlite3-dev sqlite3
  # audio: decode, output, tags, MIDI
  libavformat-dev libavcodec-dev libswresample-dev libavutil-dev
  libsdl2-dev libtag1-dev libfluidsynth-dev timgm6mb-soundfont
  # fixture generation and the reference player in benchmarks
  ffmpeg
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
