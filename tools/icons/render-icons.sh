#!/bin/sh
# Renders resources/icon/brindle.svg into the checked-in icon files:
#   resources/icon/brindle-<N>.png   N = 16 32 48 64 128 256 (hicolor theme, window icon)
#   resources/windows/brindle.ico    48, 32 and 16 px at 4, 8 and 32 bits per pixel
# The build uses only these results, so run this after editing the SVG and check them in:
#   tools/icons/render-icons.sh
# Needs rsvg-convert (librsvg2-bin) and ImageMagick's convert.
set -eu

root=$(cd "$(dirname "$0")/../.." && pwd)
svg=$root/resources/icon/brindle.svg
icon_dir=$root/resources/icon
ico=$root/resources/windows/brindle.ico

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for size in 16 32 48 64 128 256; do
    rsvg-convert --width "$size" --height "$size" --format png "$svg" --output "$work/$size.png"
    # Drop ancillary chunks (time stamps) so re-rendering an unchanged SVG changes no bytes.
    convert "$work/$size.png" -strip "PNG32:$icon_dir/brindle-$size.png"
done

# Palette entries: hard-edged transparency (the ICO mask is one bit) and no dithering, so the
# flat shapes stay flat. ImageMagick picks each entry's depth from its colour count; the check
# below makes sure every entry ended up with the depth it is meant to have.
palette ()
{
    echo "( $work/$1.png -channel A -threshold 50% +channel +dither -colors $2 )"
}

# shellcheck disable=SC2046 # word splitting of the image list is intended
convert $(palette 48 16) $(palette 32 16) $(palette 16 16) \
        $(palette 48 256) $(palette 32 256) $(palette 16 256) \
        "$icon_dir/brindle-48.png" "$icon_dir/brindle-32.png" "$icon_dir/brindle-16.png" \
        "ICO:$ico"

# Each directory entry is 16 bytes after the 6-byte header: width, height, colours, reserved,
# planes (2), bit count (2), size (4), offset (4).
u8 () { od -An -tu1 -j "$2" -N 1 "$1" | tr -d ' '; }
u16 () { od -An -tu2 -j "$2" -N 2 "$1" | tr -d ' '; }

expected="48:4 32:4 16:4 48:8 32:8 16:8 48:32 32:32 16:32"
count=$(u16 "$ico" 4)
[ "$count" -eq 9 ] || { echo "brindle.ico has $count images, expected 9" >&2; exit 1; }

i=0
for want in $expected; do
    entry=$((6 + 16 * i))
    got="$(u8 "$ico" "$entry"):$(u16 "$ico" $((entry + 6)))"
    [ "$got" = "$want" ] || { echo "brindle.ico image $i is $got (size:bpp), expected $want" >&2; exit 1; }
    i=$((i + 1))
done

echo "Rendered PNGs to $icon_dir and $ico ($expected)"
