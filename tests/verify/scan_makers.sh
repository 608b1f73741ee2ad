# Scans made from a rendered sheet as scanners and phones give them, for verify_scans.sh and
# verify_wine.sh: sourced; make_scan SHEET NAME writes the scan NAME into $work, with $here the
# tests' folder; make_scans SHEET makes every one.
scan_names="sheet-150.png scaled-600.png one-bit.png turned-90.png turned-180.png turned-270.png
  skewed-3.png skewed-minus-5.png blurred.png noisy.png quality-60.jpg grey.tif sheet.bmp
  no-resolution.png turned-skewed.jpg grey-specks.png sheet.heic sheet.webp exif-turned.jpg"
make_scan() {
  s=$1
  case $2 in
    # A scanner at 150 or 600 dpi averages the paper under each dot: the sheet scaled, grey edges.
    sheet-150.png) convert "$s" -resize 50% -units PixelsPerInch -density 150 "$work/$2" ;;
    scaled-600.png) convert "$s" -resize 200% -units PixelsPerInch -density 600 "$work/$2" ;;
    one-bit.png) convert "$s" -monochrome "$work/$2" ;;
    turned-90.png) convert "$s" -rotate 90 "$work/$2" ;;
    turned-180.png) convert "$s" -rotate 180 "$work/$2" ;;
    turned-270.png) convert "$s" -rotate 270 "$work/$2" ;;
    skewed-3.png) convert "$s" -background white -rotate 3 "$work/$2" ;;
    skewed-minus-5.png) convert "$s" -background white -rotate -5 "$work/$2" ;;
    blurred.png) convert "$s" -blur 0x1 "$work/$2" ;;
    noisy.png) convert "$s" -seed 7 -attenuate 0.5 +noise Gaussian "$work/$2" ;;
    quality-60.jpg) convert "$s" -quality 60 "$work/$2" ;;
    grey.tif) convert "$s" -colorspace gray -compress lzw "$work/$2" ;;
    sheet.bmp) convert "$s" "$work/$2" ;;
    no-resolution.png) convert "$s" -density 0 -strip "$work/$2" ;;
    turned-skewed.jpg) convert "$s" -rotate 90 -background white -rotate 2 -quality 60 "$work/$2" ;;
    # Grey paper and toner not quite black, light falling off down the page, dirt specks up to
    # 0.03 in across and salt-and-pepper dust: one threshold for the page reads none of the blocks.
    grey-specks.png)
      python3 -c "
import random
r = random.Random(7)
print(' '.join('circle %d,%d %d,%d' % (x, y, x + r.choice([1, 2, 3, 4]), y)
               for x, y in ((r.randrange(2480), r.randrange(3508)) for _ in range(2000))))" \
        > "$work/specks.mvg"
      convert "$s" -colorspace gray +level 20%,75% -fill gray25 -draw "$(cat "$work/specks.mvg")" \
        -seed 5 -attenuate 1 +noise Impulse \( -size 2480x3508 gradient:white-gray60 \) \
        -compose Multiply -composite -units PixelsPerInch -density 300 "$work/$2" ;;
    # As phones and chat apps save them: HEIC, WebP, and a JPEG whose dots lie on their side with
    # EXIF saying so (orientation 6: turn 90 degrees clockwise to view).
    sheet.heic | sheet.webp) convert "$s" -quality 90 "$work/$2" ;;
    exif-turned.jpg)
      convert "$s" -rotate 270 -quality 90 "$work/sideways.jpg"
      python3 "$here/exif_orientation.py" "$work/sideways.jpg" "$work/$2" 6 ;;
  esac
}
make_scans() {
  for name in $scan_names; do
    make_scan "$1" "$name"
  done
}
