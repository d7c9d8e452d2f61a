#!/usr/bin/env bash
# Draws the client's icons and style-sheet images with ImageMagick. The
# results are committed; run this again only after changing a drawing.
set -euo pipefail
cd "$(dirname "$0")"
command -v convert >/dev/null || { echo "needs ImageMagick (convert)"; exit 1; }

IMG=images
mkdir -p "$IMG"
BORDER='rgb(200,200,222)'
FIELD='rgb(56,56,68)'
MARK='rgb(220,220,255)'
ARROW='rgb(220,220,255)'

# Drawn four times larger, then scaled down: smooth edges at small sizes.
draw() { # file width height draw-commands...
    local file=$1 w=$2 h=$3; shift 3
    convert -size $((w * 4))x$((h * 4)) xc:none -strokewidth 4 "$@" \
        -filter Lanczos -resize "${w}x${h}" "PNG32:$file"
}

draw "$IMG/check-off.png" 13 13 -fill "$FIELD" -stroke "$BORDER" -draw "roundrectangle 2,2 49,49 8,8"
draw "$IMG/check-on.png" 13 13 -fill "$FIELD" -stroke "$BORDER" -draw "roundrectangle 2,2 49,49 8,8" \
    -fill none -stroke "$MARK" -strokewidth 7 -draw "polyline 11,26 21,37 40,13"
draw "$IMG/radio-off.png" 13 13 -fill "$FIELD" -stroke "$BORDER" -draw "circle 26,26 26,3"
draw "$IMG/radio-on.png" 13 13 -fill "$FIELD" -stroke "$BORDER" -draw "circle 26,26 26,3" \
    -fill "$MARK" -stroke none -draw "circle 26,26 26,14"

triangle() { # file width height points
    draw "$1" "$2" "$3" -fill "$ARROW" -stroke none -draw "polygon $4"
}
triangle "$IMG/combo-down-arrow.png" 10 6 "2,2 38,2 20,22"
triangle "$IMG/spin-down-arrow.png" 8 5 "2,2 30,2 16,18"
triangle "$IMG/spin-up-arrow.png" 8 5 "2,18 30,18 16,2"
triangle "$IMG/scroll-down-arrow.png" 9 6 "2,2 34,2 18,22"
triangle "$IMG/scroll-up-arrow.png" 9 6 "2,22 34,22 18,2"
triangle "$IMG/scroll-left-arrow.png" 6 9 "22,2 22,34 2,18"
triangle "$IMG/scroll-right-arrow.png" 6 9 "2,2 2,34 22,18"

draw "$IMG/close.png" 10 10 -fill none -stroke "$ARROW" -strokewidth 6 -draw "line 6,6 34,34" -draw "line 34,6 6,34"
draw "$IMG/undock.png" 10 10 -fill none -stroke "$ARROW" -strokewidth 4 \
    -draw "rectangle 4,12 26,34" -draw "polyline 14,4 36,4 36,26"

# The program's icon: a hand-held detector with its display, keys and
# antenna, sending waves.
body='rgb(52,56,72)'; edge='rgb(200,200,222)'; screen='rgb(120,220,140)'; wave='rgb(255,190,60)'
convert -size 256x256 xc:none \
    -fill none -stroke "$wave" -strokewidth 12 \
    -draw "path 'M 211,17 A 30,30 0 0,1 211,55'" -draw "path 'M 228,3 A 52,52 0 0,1 228,69'" \
    -stroke "$edge" -strokewidth 14 -draw "line 160,86 186,40" \
    -fill "$edge" -stroke none -draw "circle 188,36 188,26" \
    -fill "$body" -stroke "$edge" -strokewidth 8 -draw "roundrectangle 52,76 188,248 22,22" \
    -fill "$screen" -stroke 'rgb(30,60,40)' -strokewidth 4 -draw "roundrectangle 72,98 168,152 6,6" \
    -fill none -stroke 'rgb(30,80,40)' -strokewidth 6 -draw "polyline 80,140 96,128 108,134 124,108 138,126 160,114" \
    -fill "$edge" -stroke none \
    -draw "roundrectangle 74,172 104,190 5,5" -draw "roundrectangle 136,172 166,190 5,5" \
    -draw "roundrectangle 74,206 104,224 5,5" -draw "roundrectangle 136,206 166,224 5,5" \
    -fill "$wave" -draw "circle 120,198 120,186" \
    /tmp/ondrix-icon-256.png
convert /tmp/ondrix-icon-256.png -define icon:auto-resize=256,48,32,16 OndrixClient.ico

# Storage file kinds: a sheet with event lines (log) or a drawn curve
# (realtime recording).
sheet() { # extra draw commands...
    convert -size 128x128 xc:none \
        -fill 'rgb(245,245,250)' -stroke 'rgb(70,70,90)' -strokewidth 6 \
        -draw "polygon 20,6 84,6 108,30 108,122 20,122" \
        -fill 'rgb(200,200,222)' -draw "polygon 84,6 84,30 108,30" "$@"
}
sheet -stroke 'rgb(60,90,170)' -strokewidth 8 \
    -draw "line 34,50 94,50" -draw "line 34,70 94,70" -draw "line 34,90 94,90" -draw "line 34,108 74,108" \
    /tmp/ondrix-log.png
sheet -fill none -stroke 'rgb(200,40,40)' -strokewidth 8 \
    -draw "polyline 30,100 46,74 58,86 72,46 86,78 98,60" \
    -stroke 'rgb(60,90,170)' -strokewidth 4 -draw "line 30,110 100,110" \
    /tmp/ondrix-realtime.png
convert /tmp/ondrix-log.png -define icon:auto-resize=32,16 file_log.ico
convert /tmp/ondrix-realtime.png -define icon:auto-resize=32,16 file_realtime.ico
rm -f /tmp/ondrix-icon-256.png /tmp/ondrix-log.png /tmp/ondrix-realtime.png
echo "images drawn"
