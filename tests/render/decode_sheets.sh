#!/bin/sh
# Renders both test pages at 300 dpi and reads them with zbar, as a scanner held to the sheet
# would. The dot-matrix page must give each of its six symbols with the value the printer
# encodes (check digits included, written out by hand from the printer manuals); the PCL page
# holds font glyphs only, which no scanner reads. The PDF's text can be searched: its words
# whole, and UPC-E's line as the printer prints it, without the check digit.
# usage: decode_sheets.sh QUORVEL-CLI WORKDIR
set -u
cli=$1
work=$2
mkdir -p "$work"
status=0

"$cli" render dot-matrix -o "$work/dot-matrix.png" --dpi 300 >/dev/null 2>&1 || { echo "render dot-matrix failed"; exit 1; }
"$cli" render pcl -o "$work/pcl.png" --dpi 300 >/dev/null 2>&1 || { echo "render pcl failed"; exit 1; }

# UPC-A and UPC-E reported as themselves (not widened to EAN-13); 2 of 5 from 2 digits on.
zbar="zbarimg -q --nodbus -Supca.enable=1 -Supce.enable=1 -Si25.min-length=2"
$zbar "$work/dot-matrix.png" 2>/dev/null | sort > "$work/dot-matrix.decoded"
cat > "$work/dot-matrix.expected" <<'END'
CODE-128:0123456789
CODE-39:PLJ BARCODE DRUCKA
EAN-8:12345670
I2/5:1236
UPC-A:123456789012
UPC-E:01234565
END
if ! diff -u "$work/dot-matrix.expected" "$work/dot-matrix.decoded"; then
  echo "dot-matrix sheet: zbar read other values than the printer encodes"
  status=1
fi

# Block 6's digits read the same in any code set; a set-A symbol holding a character only set A
# has (TAB, value 73) shows the sheet draws the set the data names: "A" names set A, "g" asks
# for the check symbol.
printf '\033\020A\010\004\000\000\006\001\001\001\001\033\020B\007AAB\01112g\r\n' > "$work/set-a.prn"
"$cli" render "$work/set-a.prn" --as dot-matrix -o "$work/set-a.png" --dpi 300 >/dev/null 2>&1 ||
  { echo "render set-a.prn failed"; exit 1; }
printf 'CODE-128:AB\01112\n' > "$work/set-a.expected"
$zbar "$work/set-a.png" > "$work/set-a.decoded" 2>/dev/null
if ! cmp -s "$work/set-a.expected" "$work/set-a.decoded"; then
  echo "set-A Code 128: zbar read other data than the printer encodes:"
  od -c "$work/set-a.decoded"
  status=1
fi

$zbar "$work/pcl.png" > "$work/pcl.decoded" 2>/dev/null
pcl_status=$?
if [ "$pcl_status" -ne 4 ] || [ -s "$work/pcl.decoded" ]; then
  echo "pcl sheet: zbar read a symbol from font glyphs (status $pcl_status):"
  cat "$work/pcl.decoded"
  status=1
fi
if "$cli" render dot-matrix -o "$work/dot-matrix.pdf" >/dev/null 2>"$work/pdf.err"; then
  pdftotext -layout "$work/dot-matrix.pdf" "$work/dot-matrix.txt" || { echo "pdftotext failed"; exit 1; }
  for line in "Barcode UPC-E, 1/6 Zoll high, small width, plaintext LQ" "Barcode Code 39, 0.5 Zoll high"; do
    grep -qF "$line" "$work/dot-matrix.txt" || { echo "the PDF's text lacks: $line"; status=1; }
  done
  grep -qx ' *0123456 *' "$work/dot-matrix.txt" ||
    { echo "the PDF lacks UPC-E's line 0123456 (no check digit):"; cat "$work/dot-matrix.txt"; status=1; }
else
  grep -q "PDF is not drawn on Windows" "$work/pdf.err" || { echo "render PDF: $(cat "$work/pdf.err")"; status=1; }
fi
[ "$status" -eq 0 ] && echo "both sheets read as a printer prints them"
exit "$status"
