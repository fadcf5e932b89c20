#!/usr/bin/env bash
# Draws the program's PNG icons, and their raw RGBA pixels, from the same shapes as
# resources/icons/scalable.svg (ImageMagick on Debian reads no SVG without extra
# delegates). Run after changing the SVG.
set -euo pipefail
cd "$(dirname "$0")/../resources/icons"
# Shapes in the 32 x 32 units of the SVG: fill colour, then x y width height.
shapes=(
    "#263b5e 1 3 30 26"
    "#e8eef7 3 5 3 3" "#e8eef7 3 11 3 3" "#e8eef7 3 17 3 3" "#e8eef7 3 23 3 3"
    "#e8eef7 26 5 3 3" "#e8eef7 26 11 3 3" "#e8eef7 26 17 3 3" "#e8eef7 26 23 3 3"
    "#9fb8dc 8 6 16 20"
    "#f39c32 8 11 16 10"
)
for size in 16 32 64; do
    draw=()
    for shape in "${shapes[@]}"; do
        read -r colour x y w h <<<"$shape"
        draw+=(-fill "$colour" -draw "rectangle $((x * size / 32)),$((y * size / 32)) $(((x + w) * size / 32 - 1)),$(((y + h) * size / 32 - 1))")
    done
    /usr/bin/convert -size "${size}x${size}" xc:none "${draw[@]}" \
        -fill white -draw "line $((8 * size / 32)),$((16 * size / 32)) $((24 * size / 32 - 1)),$((16 * size / 32))" \
        "PNG32:${size}.png"
    # The same pixels raw, for the window's own icon: no decoder needed at start-up.
    /usr/bin/convert "${size}.png" -depth 8 "RGBA:${size}.rgba"
done
