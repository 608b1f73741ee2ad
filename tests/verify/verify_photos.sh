#!/bin/sh
# Phone photos are made, not invented: both sheets are rendered, then "photographed" with
# ImageMagick: set in perspective at an angle and a distance onto a desk, light falling off to a
# corner or a shadow band across, blurred, a little noise, saved as JPEG; one page bowed. A sheet
# printed right must give every block its right verdict, with nothing "differs" or "unreadable";
# the sheets of faulty printers, photographed the same way, name exactly the faulty block.
# usage: verify_photos.sh QUORVEL-CLI TESTS-DIR WORKDIR
set -u
cli=$1
here=$2
work=$3
rm -rf "$work"
mkdir -p "$work"
status=0
fail() { echo "FAIL: $*"; status=1; }

"$cli" render dot-matrix -o "$work/dot-matrix.png" --dpi 300 >/dev/null 2>&1 || { echo "render failed"; exit 1; }
"$cli" render pcl -o "$work/pcl.png" --dpi 300 >/dev/null 2>&1 || { echo "render failed"; exit 1; }
"$cli" dump dot-matrix > "$work/dot-matrix.prn"
"$cli" dump pcl > "$work/pcl.prn"
for job in no-upce ean8-data; do
  python3 "$here/faulty_job.py" "$work/dot-matrix.prn" "$work/$job.prn" $job
  "$cli" render "$work/$job.prn" --as dot-matrix -o "$work/$job.png" >/dev/null 2>&1 || fail "$job: render"
done
python3 "$here/faulty_job.py" "$work/pcl.prn" "$work/no-0y.prn" no-0y
"$cli" render "$work/no-0y.prn" --as pcl -o "$work/no-0y.png" >/dev/null 2>&1 || fail "no-0y: render"

. "$here/photo_makers.sh"
make_lights
shoot dot-matrix
shoot pcl
# A page that does not lie flat: bowed by 50 dots (1.4 % of its height), photographed at an angle.
photo dot-matrix dot-matrix-bowed 3000x4000 "$angle" fall-off 50
photo no-upce no-upce-angle 3000x4000 "$angle" fall-off
photo ean8-data ean8-data-steep 2448x3264 "$steep" across
photo no-0y no-0y-angle 3000x4000 "$square" band

cat > "$work/dot-matrix.expected" <<'END'
block 1 EAN-8 12345670: as expected
block 2 UPC-A 123456789012: as expected
block 3 UPC-E 01234565: as expected
block 4 Code 39 PLJ BARCODE DRUCKA: as expected
block 5 Interleaved 2 of 5 1236: as expected
block 6 Code 128 0123456789: as expected
6 blocks: 6 as expected
END
cat > "$work/pcl.expected" <<'END'
block 1 0Y glyphs ABCDEFGHIJKLMNOPQRSTUVWXYZ: glyphs
block 2 0Y glyphs 1234567890: glyphs
block 3 8Y glyphs 1234567890: glyphs
block 4 15Y glyphs 1234567890: glyphs
4 blocks: 4 glyphs
END
sed 's/^block 3 UPC-E 01234565: as expected$/block 3 UPC-E 01234565: not found/;
     s/^6 blocks: 6 as expected$/6 blocks: 5 as expected, 1 not found/' \
  "$work/dot-matrix.expected" > "$work/no-upce.expected"
sed 's/^block 1 EAN-8 12345670: as expected$/block 1 EAN-8 12345670: other data (reads 76543210)/;
     s/^6 blocks: 6 as expected$/6 blocks: 5 as expected, 1 other data/' \
  "$work/dot-matrix.expected" > "$work/ean8-data.expected"
sed 's/^\(block [12] 0Y glyphs [A-Z0-9]*\): glyphs$/\1: text/;
     s/^4 blocks: 4 glyphs$/4 blocks: 2 glyphs, 2 text/' "$work/pcl.expected" > "$work/no-0y.expected"

# verdicts FILE: the block lines without what follows the verdict, and the summary.
verdicts() {
  sed -n '2,$p' "$1" | grep -v '^Grades are indicative\|^Not graded' |
    sed 's/, not graded (a photo).*//; s/, [0-9.]* in high.*//; s/, height not measured.*//; s/, module not measured.*//'
}
# check PHOTO EXPECTED STATUS: the verdicts, the exit status, a photo not graded; the heading
# and block lines go to the log (the fit's error, each size measured or why not).
check() {
  "$cli" verify "$work/$1.jpg" > "$work/$1.out" 2> "$work/$1.err"
  got=$?
  [ "$got" -eq "$3" ] || fail "$1: status $got, expected $3"
  verdicts "$work/$1.out" | diff -u "$work/$2.expected" - >/dev/null ||
    { fail "$1: other verdicts:"; cat "$work/$1.out" "$work/$1.err"; }
  grep -q '^Not graded: the picture is a photo' "$work/$1.out" || fail "$1: not taken for a photo"
  grep -q 'grade [A-F]' "$work/$1.out" && fail "$1: a photo graded"
  sed -n '1,$p' "$work/$1.out" | grep -v '^Not graded' | sed 's/^/  /'
}
for sheet in dot-matrix pcl; do
  for shot in angle steep square; do
    check "$sheet-$shot" "$sheet" 0
  done
done
check dot-matrix-bowed dot-matrix 0
check no-upce-angle no-upce 7
check ean8-data-steep ean8-data 7
check no-0y-angle no-0y 7

# JSON names the kind of picture and the fit.
"$cli" verify "$work/dot-matrix-angle.jpg" --format json > "$work/angle.json"
for field in '"kind": "photo"' '"model": "perspective"' '"errorInches": ' '"sizes": {"height": {"state": '; do
  grep -qF "$field" "$work/angle.json" || fail "JSON lacks $field"
done

[ "$status" -eq 0 ] && echo "every photo gave the verdicts the sheet calls for"
exit "$status"
