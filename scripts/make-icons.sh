#!/usr/bin/env bash
# Draws the program's PNG icons, and their raw RGBA pixels, from the same shapes as
# resources/icons/scalable.svg (ImageMagick on Debian reads no SVG without extra
# delegates). Run after changing the SVG.
set -euo pipefail
cd "$(dirname "$0")/../resources/icons"
# Shapes in the 32 x 32 units of the SVG: fill colour, then x y width height; a white line across
# the middle of the orange band.
shapes=(
    "#263b5e 1 3 30 26"
    "#e8eef7 3 5 3 3" "#e8eef7 3 11 3 3" "#e8eef7 3 17 3 3" "#e8eef7 3 23 3 3"
    "#e8eef7 26 5 3 3" "#e8eef7 26 11 3 3" "#e8eef7 26 17 3 3" "#e8eef7 26 23 3 3"
    "#9fb8dc 8 6 16 20"
    "#f39c32 8 11 16 10"
)
# At 16 pixels halved units fall between pixels, and rounding them puts the band and the right-hand
# perforations out of place: the same picture in whole pixels, centred and mirrored about the middle.
shapes16=(
    "#263b5e 0 1 16 14"
    "#e8eef7 1 2 2 2" "#e8eef7 1 5 2 2" "#e8eef7 1 9 2 2" "#e8eef7 1 12 2 2"
    "#e8eef7 13 2 2 2" "#e8eef7 13 5 2 2" "#e8eef7 13 9 2 2" "#e8eef7 13 12 2 2"
    "#9fb8dc 4 3 8 10"
    "#f39c32 4 5 8 6"
    "#ffffff 4 7 8 2"
)
for size in 16 32 64; do
    unit=$((size / 32)) list=("${shapes[@]}")
    line=(-fill white -draw "line $((8 * unit)),$((16 * unit)) $((24 * unit - 1)),$((16 * unit))")
    [ "$size" = 16 ] && unit=1 list=("${shapes16[@]}") line=()
    draw=()
    for shape in "${list[@]}"; do
        read -r colour x y w h <<<"$shape"
        draw+=(-fill "$colour" -draw "rectangle $((x * unit)),$((y * unit)) $(((x + w) * unit - 1)),$(((y + h) * unit - 1))")
    done
    /usr/bin/convert -size "${size}x${size}" xc:none "${draw[@]}" "${line[@]}" "PNG32:${size}.png"
    # The same pixels raw, for the window's own icon: no decoder needed at start-up.
    /usr/bin/convert "${size}.png" -depth 8 "RGBA:${size}.rgba"
done
