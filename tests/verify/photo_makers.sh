# Phone photos made from rendered sheets, for verify_photos.sh and verify_wine.sh: sourced; the
# sheets and the lights lie in $work.

# make_lights: the lights the photos are multiplied with.
make_lights() {
  # Light: falling off to the top left corner of a 12 MP photo; across an 8 MP one; a shadow band
  # across a 12 MP one.
  convert -size 3000x4000 -define gradient:center=700,600 -define gradient:radii=4200,4200 \
    radial-gradient:white-gray35 "$work/fall-off.png"
  convert -size 2448x3264 gradient:white-gray60 -rotate 90 -resize '2448x3264!' "$work/across.png"
  convert -size 3000x4000 xc:white -fill gray50 -draw 'polygon 0,1500 3000,1100 3000,1500 0,1900' \
    -blur 0x30 "$work/band.png"
}

# photo SHEET OUT SIZE CORNERS LIGHT [BOW]: the sheet (2480 x 3508 dots) with its corners (top
# left, top right, bottom right, bottom left) put at CORNERS on a desk SIZE dots large, lit by
# LIGHT (a picture the photo is multiplied with), bowed by BOW dots first; saved as a phone saves
# it, 72 dpi stated.
photo() {
  sheet=$1 out=$2 size=$3 corners=$4 light=$5 bow=${6:-0}
  set -- $corners
  convert "$work/$sheet.png" -background white -wave "${bow}x4960" -alpha set \
    -virtual-pixel transparent -define distort:viewport="$size+0+0" \
    -distort Perspective "0,0 $1 2479,0 $2 2479,3507 $3 0,3507 $4" \
    -background '#5a4a3c' -flatten "$work/$light.png" -compose multiply -composite \
    -blur 0x1.2 -seed 5 -attenuate 0.3 +noise Gaussian -units PixelsPerInch -density 72 \
    -quality 85 "$work/$out.jpg"
}
# 12 MP at an angle, seen from its foot, light falling off to a corner.
angle="300,400 2650,250 2900,3850 100,3700"
# 8 MP steeply from the side: the right edge a third shorter than the left.
steep="250,150 2200,550 2250,2750 200,3150"
# 12 MP nearly square-on, a shadow band across.
square="260,260 2740,300 2720,3760 230,3720"
shoot() {
  photo "$1" "$1-angle" 3000x4000 "$angle" fall-off
  photo "$1" "$1-steep" 2448x3264 "$steep" across
  photo "$1" "$1-square" 3000x4000 "$square" band
}
