#!/usr/bin/env bash
# Regenerates shema.gif (the force-scheme picture behind the "схема" button) from shema.svg.
# The SVG is rendered at its own 288x288 size so the text stays sharp, flattened on white and
# mapped without dithering (which would fray the thin lines and letters) onto a palette of
# white-to-black, white-to-blue and white-to-red ramps: the anti-aliased edges keep their
# shades and the drawing colours black, (0,0,250) and (250,0,0) come out exact.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
src="$here/shema.svg"
out="$here/shema.gif"
size=288

# Debian packages: the SVG renderer, ImageMagick for the GIF, and the font the drawing names.
source "$here/../tools/deps.sh"
morvane1_install_missing librsvg2-bin imagemagick

# ImageMagick 6 on Debian installs its convert here; call it directly so that another
# program of the same name earlier on PATH is not picked up instead.
convert=/usr/bin/convert
[ -x "$convert" ] || convert=$(command -v convert)

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

rsvg-convert --width "$size" --height "$size" --background-color white \
    --output "$tmp/shema.png" "$src"
"$convert" -size 1x32 gradient:white-black 'gradient:white-rgb(0,0,250)' \
    'gradient:white-rgb(250,0,0)' +append -depth 8 "$tmp/palette.png"
"$convert" "$tmp/shema.png" -background white -alpha remove -alpha off \
    +dither -remap "$tmp/palette.png" "gif:$tmp/shema.gif"

check=$(identify -format '%m %w %h' "$tmp/shema.gif")
if [ "$check" != "GIF $size $size" ]; then
    echo "make_shema.sh: unexpected result: $check" >&2
    exit 1
fi
mv "$tmp/shema.gif" "$out"
echo "wrote $out"
