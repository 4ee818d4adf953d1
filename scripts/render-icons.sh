#!/bin/sh
# Renders the application icon (src/desktop/icons/nelo.svg) to the PNG sizes installed in
# the hicolor icon theme beside the SVG. The program itself draws every icon from its SVG.
# Needs rsvg-convert (Debian: librsvg2-bin); run it after changing the application icon.
set -eu
cd "$(dirname "$0")/../src/desktop/icons"
for size in 48 256; do
    rsvg-convert -w "$size" -h "$size" -o "png/nelo-$size.png" nelo.svg
done
