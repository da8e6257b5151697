#!/usr/bin/env bash
# Remakes the program's PNG icons from data/icons/tesselar.svg (needs
# imagemagick). The PNGs are committed, so a build does not need this.
set -euo pipefail
cd "$(dirname "$0")/../data/icons"
for size in 48 256; do
    convert -background none tesselar.svg -depth 8 -resize "${size}x${size}" "tesselar-$size.png"
done
echo "data/icons/tesselar-48.png and tesselar-256.png written"
