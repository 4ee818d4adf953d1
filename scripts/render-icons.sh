#!/bin/sh
# Renders the desktop program's SVG icons (src/desktop/icons/*.svg) to the PNG files the
# program loads: Qt's base modules cannot draw SVG, so the PNGs are kept in the tree.
# Needs rsvg-convert (Debian: librsvg2-bin); run it after changing an icon.
set -eu
cd "$(dirname "$0")/../src/desktop/icons"
for svg in *.svg; do
    name=${svg%.svg}
    if [ "$name" = nelo ]; then
        for size in 16 32 48 64 128 256; do
            rsvg-convert -w "$size" -h "$size" -o "png/$name-$size.png" "$svg"
        done
    else
        rsvg-convert -w 16 -h 16 -o "png/$name-16.png" "$svg"
        rsvg-convert -w 32 -h 32 -o "png/$name-32.png" "$svg"
    fi
done
