#!/bin/sh
# Scans are made, not invented: the expected dot-matrix sheet is rendered, then "printed badly"
# with ImageMagick (turned, skewed, at other resolutions, blurred, noisy, saved as JPEG, TIFF,
# BMP) and verify must find every block as expected; jobs a faulty printer got are rendered and
# verify must name exactly the faulty block; bad files get a message and status 1.
# usage: verify_scans.sh QUORVEL-CLI TESTS-DIR WORKDIR
set -u
cli=$1
here=$2
work=$3
rm -rf "$work"
mkdir -p "$work"
status=0
fail() { echo "FAIL: $*"; status=1; }

# The program itself loads no picture or barcode library: verify reaches them through its module.
if ldd "$cli" | grep -E 'libzbar|libpoppler|libQt6' >/dev/null; then
  fail "quorvel-cli loads zbar, poppler or Qt at start:"; ldd "$cli"
fi

"$cli" render dot-matrix -o "$work/sheet.png" --dpi 300 >/dev/null 2>&1 || { echo "render failed"; exit 1; }
"$cli" render dot-matrix -o "$work/drawn-150.png" --dpi 150 >/dev/null 2>&1
"$cli" render dot-matrix -o "$work/sheet-600.png" --dpi 600 >/dev/null 2>&1
s=$work/sheet.png
. "$here/scan_makers.sh"
make_scans "$s"

# The six blocks of the dot-matrix sheet, as the printer's manual has the bytes print them.
cat > "$work/as-expected" <<'END'
block 1 EAN-8 12345670: as expected
block 2 UPC-A 123456789012: as expected
block 3 UPC-E 01234565: as expected
block 4 Code 39 PLJ BARCODE DRUCKA: as expected
block 5 Interleaved 2 of 5 1236: as expected
block 6 Code 128 0123456789: as expected
6 blocks: 6 as expected
END

# verdicts FILE: the block lines without their measurements, and the summary.
verdicts() { sed -n '2,$p' "$1" | grep -v '^Grades are indicative' | sed 's/, grade .*//; s/, [0-9.]* in high.*//'; }

for scan in sheet.png sheet-150.png sheet-600.png scaled-600.png one-bit.png turned-90.png turned-180.png turned-270.png \
            skewed-3.png skewed-minus-5.png blurred.png noisy.png quality-60.jpg grey.tif \
            sheet.bmp no-resolution.png turned-skewed.jpg grey-specks.png sheet.heic sheet.webp \
            exif-turned.jpg; do
  "$cli" verify "$work/$scan" > "$work/$scan.out" 2> "$work/$scan.err"
  got=$?
  [ "$got" -eq 0 ] || fail "$scan: status $got, expected 0"
  verdicts "$work/$scan.out" | diff -u "$work/as-expected" - >/dev/null ||
    { fail "$scan: other verdicts:"; cat "$work/$scan.out" "$work/$scan.err"; }
done
grep -q "turned 90" "$work/turned-90.png.out" || fail "turned-90: the turn is not named"
grep -q "turned 270" "$work/turned-270.png.out" || fail "turned-270: the turn is not named"
grep -q ", 150 dpi" "$work/sheet-150.png.out" || fail "sheet-150: not read as 150 dpi"
grep -q "dpi, turned" "$work/exif-turned.jpg.out" && fail "exif-turned: its EXIF turn is not taken"
grep -q "differs" "$work/grey-specks.png.out" && fail "grey-specks: a size differs"
# Drawn straight at 150 dpi in black and white, each edge moves to the nearest dot: the narrowest
# Code 128 (2.4 dots a module, its widths already 0.29 module from a threshold) no longer holds
# its characters, and no decoder reads it; the other five still do.
"$cli" verify "$work/drawn-150.png" > "$work/drawn-150.out" 2>&1
got=$?
[ "$got" -eq 7 ] || fail "drawn-150: status $got, expected 7"
sed 's/^block 6 Code 128 0123456789: as expected$/block 6 Code 128 0123456789: unreadable/;
     s/^6 blocks: 6 as expected$/6 blocks: 5 as expected, 1 unreadable/' \
  "$work/as-expected" > "$work/drawn-150.expected"
verdicts "$work/drawn-150.out" | diff -u "$work/drawn-150.expected" - || fail "drawn-150: other verdicts"
grep -q "block 2 UPC-A 123456789012: as expected, grade A (4.0), 2.00 in high$" "$work/sheet.png.out" ||
  fail "sheet: block 2 is not graded A and measured 2.00 in high"
# The drawn sheet is as good as print gets: an A for every symbol whose widths the printer's
# tables keep to whole modules. Code 128 at the narrowest width (n5 = 1) is not one: in set A's
# "0" (bars and spaces 1 2 3 1 2 2 modules) the tables give a 2-module space 14/360 in and a
# 3-module bar 13/360, in a character whose widths add up to 62/360 and is printed 64/360: that
# edge-to-similar-edge measurement is 4.79 modules where 5 are meant, 0.29 from the threshold at
# 4.5: decodability 0.58 at best, a B, and the 300-dpi dots take more off. The note said once.
[ "$(grep -c '^block [1-5] .*: as expected, grade A (4.0)' "$work/sheet.png.out")" -eq 5 ] ||
  { fail "sheet: not every symbol but Code 128 graded A:"; cat "$work/sheet.png.out"; }
grep -q '^block 6 Code 128 0123456789: as expected, grade [BCD] ' "$work/sheet.png.out" ||
  { fail "sheet: Code 128 not graded B to D:"; cat "$work/sheet.png.out"; }
[ "$(grep -c '^Grades are indicative' "$work/sheet.png.out")" -eq 1 ] || fail "sheet: grade note"

# The faulty printers: one block's command missing, one block with other digits, one printing
# its Code 128 in another code set.
"$cli" dump dot-matrix > "$work/dot-matrix.prn"
for job in no-upce ean8-data code128-set; do
  python3 "$here/faulty_job.py" "$work/dot-matrix.prn" "$work/$job.prn" $job ||
    fail "$job: the job could not be made"
done
for job in no-upce ean8-data code128-set; do
  "$cli" render "$work/$job.prn" --as dot-matrix -o "$work/$job.png" >/dev/null 2>&1 ||
    fail "$job: render failed"
  "$cli" verify "$work/$job.png" --page dot-matrix > "$work/$job.out" 2> "$work/$job.err"
  got=$?
  [ "$got" -eq 7 ] || fail "$job: status $got, expected 7"
done
sed 's/^block 3 UPC-E 01234565: as expected$/block 3 UPC-E 01234565: not found/;
     s/^6 blocks: 6 as expected$/6 blocks: 5 as expected, 1 not found/' \
  "$work/as-expected" > "$work/no-upce.expected"
verdicts "$work/no-upce.out" | diff -u "$work/no-upce.expected" - || fail "no-upce: other verdicts"
sed 's/^block 1 EAN-8 12345670: as expected$/block 1 EAN-8 12345670: other data (reads 76543210)/;
     s/^6 blocks: 6 as expected$/6 blocks: 5 as expected, 1 other data/' \
  "$work/as-expected" > "$work/ean8-data.expected"
verdicts "$work/ean8-data.out" | diff -u "$work/ean8-data.expected" - ||
  fail "ean8-data: other verdicts"
# Set A's ten digits are the symbol values 16 to 25; under a set-C start they read as pairs.
sed 's/^block 6 Code 128 0123456789: as expected$/block 6 Code 128 0123456789: other data (reads 16171819202122232425)/;
     s/^6 blocks: 6 as expected$/6 blocks: 5 as expected, 1 other data/' \
  "$work/as-expected" > "$work/code128-set.expected"
verdicts "$work/code128-set.out" | diff -u "$work/code128-set.expected" - ||
  fail "code128-set: other verdicts"
# A printer that prints the 2 of 5 block wider (n5 = 6 where the job asks for 4): the symbol
# reads as expected, its narrow bar 14/360 = 0.0389 in where the job's is 9/360 = 0.0250 in.
python3 "$here/faulty_job.py" "$work/dot-matrix.prn" "$work/i25-width.prn" i25-width
"$cli" render "$work/i25-width.prn" --as dot-matrix -o "$work/i25-width.png" >/dev/null 2>&1
"$cli" verify "$work/i25-width.png" --page dot-matrix > "$work/i25-width.out" 2>&1
got=$?
[ "$got" -eq 7 ] || fail "i25-width: status $got, expected 7"
# One answer per block: its verdict says the size differs, and the summary counts it so.
sed 's/^\(block 5 Interleaved 2 of 5 1236\): as expected$/\1: size differs/;
     s/^6 blocks: 6 as expected$/6 blocks: 5 as expected, 1 size differs/' \
  "$work/as-expected" > "$work/i25-width.expected"
verdicts "$work/i25-width.out" | diff -u "$work/i25-width.expected" - || fail "i25-width: other verdicts"
grep -q '^block 5 .*: size differs, .*, module 0\.03[89][0-9] in (differs: 0\.0250 in expected)$' "$work/i25-width.out" &&
  [ "$(grep -c 'differs' "$work/i25-width.out")" -eq 2 ] ||
  { fail "i25-width: not block 5 alone differs in its module:"; cat "$work/i25-width.out"; }
# Its middle lies right of the sheet's: the scan is placed by the other five, not skewed by it.
grep -q "i25-width.png page 1: the dot-matrix sheet, 300 dpi$" "$work/i25-width.out" ||
  fail "i25-width: placed askew"
# Checked against its own job's sheet, the faulty printout is what that job prints.
"$cli" verify "$work/ean8-data.png" --page "$work/ean8-data.prn" > "$work/own.out" 2>&1 ||
  fail "ean8-data against its own job: status $?"

# JSON: the field names scripts read.
"$cli" verify "$work/no-upce.png" --format json > "$work/no-upce.json"
for field in '"scan": {"file": ' '"sheet": "dot-matrix"' '"verdict": "not found"' \
             '"found": null' '"summary": {"as expected": 5, "not found": 1}' '"exitStatus": 7' \
             '"expected": {"symbology": "EAN-8", "data": "12345670", "height": 0.5000' \
             '"grade": {"letter": "A", "value": 4.0000, "contrast": ' '"gradeNote": "Grades are'; do
  grep -qF "$field" "$work/no-upce.json" || fail "JSON lacks $field"
done

# The PCL sheet: no symbol to read, placed by its printed lines; its four glyph runs.
"$cli" render pcl -o "$work/pcl.png" >/dev/null 2>&1 || fail "render pcl failed"
"$cli" render pcl -o "$work/pcl-150.png" --dpi 150 >/dev/null 2>&1
p=$work/pcl.png
convert "$p" -rotate 90 "$work/pcl-turned-90.png"
convert "$p" -rotate 180 "$work/pcl-turned-180.png"
convert "$p" -background white -rotate -3 "$work/pcl-skewed.png"
convert "$p" -quality 60 "$work/pcl.jpg"
cat > "$work/pcl.expected" <<'END'
block 1 0Y glyphs ABCDEFGHIJKLMNOPQRSTUVWXYZ: glyphs
block 2 0Y glyphs 1234567890: glyphs
block 3 8Y glyphs 1234567890: glyphs
block 4 15Y glyphs 1234567890: glyphs
4 blocks: 4 glyphs
END
for scan in pcl.png pcl-150.png pcl-turned-90.png pcl-turned-180.png pcl-skewed.png pcl.jpg; do
  "$cli" verify "$work/$scan" > "$work/$scan.out" 2> "$work/$scan.err"
  got=$?
  [ "$got" -eq 0 ] || fail "$scan: status $got, expected 0"
  verdicts "$work/$scan.out" | diff -u "$work/pcl.expected" - >/dev/null ||
    { fail "$scan: other verdicts:"; cat "$work/$scan.out" "$work/$scan.err"; }
done
# Against the other test page's sheet, a scan is named for the sheet it is (status 7).
for pair in "sheet.png pcl dot-matrix" "pcl.png dot-matrix pcl"; do
  read -r scan named shown <<END
$pair
END
  "$cli" verify "$work/$scan" --page "$named" > "$work/other.out" 2>&1
  got=$?
  [ "$got" -eq 7 ] && grep -q "is the $shown test page's sheet, not the sheet of $named" "$work/other.out" ||
    { fail "$scan with --page $named: status $got"; cat "$work/other.out"; }
done
# A printer without the 3 of 9 font prints both 0Y runs as letters.
"$cli" dump pcl > "$work/pcl.prn"
python3 "$here/faulty_job.py" "$work/pcl.prn" "$work/no-0y.prn" no-0y
"$cli" render "$work/no-0y.prn" --as pcl -o "$work/no-0y.png" >/dev/null 2>&1
"$cli" verify "$work/no-0y.png" > "$work/no-0y.out" 2>&1
got=$?
[ "$got" -eq 7 ] || fail "no-0y: status $got, expected 7"
sed 's/^\(block [12] 0Y glyphs [A-Z0-9]*\): glyphs$/\1: text/;
     s/^4 blocks: 4 glyphs$/4 blocks: 2 glyphs, 2 text/' "$work/pcl.expected" > "$work/no-0y.expected"
verdicts "$work/no-0y.out" | diff -u "$work/no-0y.expected" - || fail "no-0y: other verdicts"

# A PDF of both sheets: each page checked against the sheet it shows.
"$cli" render dot-matrix -o "$work/dot-matrix.pdf" >/dev/null 2>&1
"$cli" render pcl -o "$work/pcl.pdf" >/dev/null 2>&1
pdfunite "$work/dot-matrix.pdf" "$work/pcl.pdf" "$work/both.pdf"
"$cli" verify "$work/both.pdf" > "$work/both.out" 2>&1 || fail "both.pdf: status $?"
grep -q "both.pdf page 1: the dot-matrix sheet, 300 dpi$" "$work/both.out" &&
  grep -q "both.pdf page 2: the pcl sheet, 300 dpi$" "$work/both.out" &&
  grep -q "^6 blocks: 6 as expected$" "$work/both.out" &&
  grep -q "^4 blocks: 4 glyphs$" "$work/both.out" || { fail "both.pdf:"; cat "$work/both.out"; }

# Letter paper: the PCL page's margins are letter's.
"$cli" render pcl --paper letter -o "$work/pcl-letter.png" >/dev/null 2>&1
"$cli" verify "$work/pcl-letter.png" --paper letter > "$work/pcl-letter.out" 2>&1 ||
  { fail "pcl-letter: status $?"; cat "$work/pcl-letter.out"; }

# Files that are no scan of a sheet: a message, status 1, no crash.
head -c 3000 "$s" > "$work/truncated.png"
head -c 20000 /dev/urandom > "$work/random.bin"
mkdir -p "$work/folder.png"
python3 "$here/bad_inputs.py" "$work"
convert -size 850x1100 xc:white -fill black -draw "rectangle 100,100 700,300" "$work/not-a-sheet.png"
convert -size 2480x3508 xc:white "$work/blank.png"
convert -seed 3 -size 1200x900 plasma: -quality 85 "$work/no-sheet-photo.jpg"
for bad in truncated.png random.bin folder.png zero.png wide.png no-pages.pdf not-a-sheet.png \
           blank.png missing.png no-sheet-photo.jpg; do
  "$cli" verify "$work/$bad" > "$work/$bad.out" 2> "$work/$bad.err"
  got=$?
  [ "$got" -eq 1 ] || fail "$bad: status $got, expected 1"
  grep -q "^quorvel-cli verify: $work/$bad" "$work/$bad.err" ||
    { fail "$bad: no message naming the file:"; cat "$work/$bad.err"; }
  [ ! -s "$work/$bad.out" ] || fail "$bad: a report was written"
done
grep -q "60000 x 10 dots" "$work/wide.png.err" || fail "wide.png: the size is not named"
grep -q "no pages" "$work/no-pages.pdf.err" || fail "no-pages.pdf: not said"
for photo in not-a-sheet.png no-sheet-photo.jpg; do
  grep -q "does not look like a Quorvel sheet" "$work/$photo.err" || fail "$photo: not said"
done

[ "$status" -eq 0 ] && echo "every scan gave the verdicts the sheet calls for"
exit "$status"
