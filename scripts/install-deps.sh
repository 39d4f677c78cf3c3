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
  # GUI; the session bus for the media-player service and its tests
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev fonts-liberation xvfb xauth imagemagick xdotool
  dbus dbus-daemon
  # the launcher entry's check
  desktop-file-utils
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

# An ordinary desktop user installs through sudo; root needs no help.
if [ "$(id -u)" -eq 0 ]; then
  as_root=(env)
elif command -v sudo >/dev/null; then
  as_root=(sudo env)
else
  echo "These packages are missing and neither root nor sudo is available to install them:" >&2
  echo "  ${missing[*]}" >&2
  echo "Install them as root: apt-get install ${missing[*]}" >&2
  exit 1
fi

echo "Installing: ${missing[*]}"
if ! "${as_root[@]}" DEBIAN_FRONTEND=noninteractive apt-get update -qq ||
   ! "${as_root[@]}" DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"; then
  echo "Could not install these packages: ${missing[*]}" >&2
  echo "Install them as root: apt-get install ${missing[*]}" >&2
  exit 1
fi
