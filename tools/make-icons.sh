#!/usr/bin/env bash
# Renders data/icons/zandor-chiffres.svg to the PNG sizes kept beside it (run after editing the SVG).
set -euo pipefail
cd "$(dirname "$0")/../data/icons"

if ! command -v rsvg-convert >/dev/null; then
  echo "make-icons.sh: rsvg-convert is missing (Debian package librsvg2-bin)" >&2
  exit 1
fi
for size in 32 48 64 128; do
  rsvg-convert --width "$size" --height "$size" --background-color none \
    --output "zandor-chiffres-$size.png" zandor-chiffres.svg
done
ls -l zandor-chiffres-*.png
