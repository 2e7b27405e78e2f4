#!/bin/sh
# Renders the program's icon at the sizes the desktop's icon theme asks for. Run after
# changing icons/org.ulvan.Ulvan.svg; the PNGs are kept in the repository so that a build
# needs no SVG renderer. Needs rsvg-convert (librsvg2-bin).
set -eu
cd "$(dirname "$0")/icons"
for size in 16 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" org.ulvan.Ulvan.svg -o "org.ulvan.Ulvan-$size.png"
done
