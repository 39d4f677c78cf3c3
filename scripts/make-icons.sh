#!/usr/bin/env bash
# Renders the scalable icon into the PNG sizes of the hicolor theme. The PNGs
# are committed; run this again after changing the SVG.
# Uses rsvg-convert (librsvg2-bin) when present, else ImageMagick.
set -euo pipefail
cd "$(dirname "$0")/.."
svg=share/icons/hicolor/scalable/apps/quillon-player.svg
for size in 16 22 24 32 48 64 128 256; do
  out="share/icons/hicolor/${size}x${size}/apps/quillon-player.png"
  mkdir -p "$(dirname "$out")"
  if command -v rsvg-convert >/dev/null; then
    rsvg-convert -w "$size" -h "$size" "$svg" -o "$out"
  else
    convert -background none -density 384 "$svg" -resize "${size}x${size}" "PNG32:$out"
  fi
done
echo "Icons written under share/icons/hicolor/"
