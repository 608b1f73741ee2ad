#!/bin/bash
# The Windows quorvel-cli under Wine gives the Linux build's answers on the same scans and photos:
# both sheets are rendered by the Linux build, scanned and photographed by the makers the Linux
# tests use, and each file is verified by both builds: the same verdict per block, each size both
# measure within a dot, the same exit status. Bad files give a message and status 1; --annotate
# writes the marked scan; --report opens in headless Chromium with every verdict, or is refused
# with a message where the Windows build has no drawing. A small subset, for CI's time.
# usage: verify_wine.sh LINUX-CLI WINDOWS-CLI WINE-RUN TESTS-DIR WORKDIR
set -u
linux=$1
windows=$2
wine_run=$3
here=$4
work=$5
if [ ! -x "$linux" ]; then
  echo "SKIP: no Linux quorvel-cli at $linux (build the linux preset first, as scripts/test does)"
  exit 77
fi
rm -rf "$work"
mkdir -p "$work"
status=0
fail() { echo "FAIL: $*"; status=1; }
# win ARGS...: the Windows build; files are named by their Z: drive paths.
win() { "$wine_run" "$windows" "$@"; }

"$linux" render dot-matrix -o "$work/sheet.png" >/dev/null 2>&1 || { echo "render failed"; exit 1; }
"$linux" render pcl -o "$work/pcl.png" >/dev/null 2>&1 || { echo "render failed"; exit 1; }
"$linux" dump dot-matrix > "$work/dot-matrix.prn"
python3 "$here/faulty_job.py" "$work/dot-matrix.prn" "$work/no-upce.prn" no-upce
"$linux" render "$work/no-upce.prn" --as dot-matrix -o "$work/no-upce.png" >/dev/null 2>&1
. "$here/scan_makers.sh"
scans="one-bit.png skewed-3.png quality-60.jpg grey.tif sheet.bmp no-resolution.png exif-turned.jpg"
for scan in $scans; do
  make_scan "$work/sheet.png" "$scan"
done
cp "$work/sheet.png" "$work/dot-matrix.png"
. "$here/photo_makers.sh"
make_lights
photo dot-matrix dot-matrix-angle 3000x4000 "$angle" fall-off

# Scans in grey and in 1 bit (no route to grey in Wine's converter), skewed, as JPEG, TIFF and
# BMP, with no resolution stated, turned by EXIF alone; a printer that dropped a block; the PCL
# sheet; a colour photo (greyed by luminance as on Linux).
for scan in sheet.png $scans no-upce.png pcl.png dot-matrix-angle.jpg; do
  "$linux" verify "$work/$scan" --format json > "$work/$scan.linux.json" 2> "$work/$scan.linux.err"
  linux_status=$?
  win verify "Z:$work/$scan" --format json > "$work/$scan.win.json" 2> "$work/$scan.win.err"
  win_status=$?
  [ "$win_status" -eq "$linux_status" ] ||
    { fail "$scan: status $win_status on Windows, $linux_status on Linux"; cat "$work/$scan.win.err"; }
  python3 "$here/same_answers.py" "$work/$scan.linux.json" "$work/$scan.win.json" ||
    fail "$scan: other answers on Windows"
done

# Bad files: a message and status 1.
echo "not a picture" > "$work/text.png"
printf '%%PDF-1.4\n' > "$work/scan.pdf"
for bad in text.png:"not a picture quorvel-cli reads" missing.png:"no such file" \
           scan.pdf:"PDF scans are not read on Windows.*PNG"; do
  file=${bad%%:*} message=${bad#*:}
  win verify "Z:$work/$file" > "$work/$file.out" 2> "$work/$file.err"
  got=$?
  [ "$got" -eq 1 ] || fail "$file: status $got, expected 1"
  grep -q "^quorvel-cli verify: .*$file: $message" "$work/$file.err" ||
    { fail "$file: no message"; cat "$work/$file.err"; }
done

# --annotate: the scan, at its size, with the blocks marked in colour.
win verify "Z:$work/no-upce.png" --annotate "Z:$work/marked.png" > /dev/null 2>&1
[ $? -eq 7 ] || fail "annotate: status, expected 7"
[ "$(identify -format '%w x %h' "$work/marked.png" 2>/dev/null)" = "2480 x 3508" ] ||
  fail "annotate: no 2480 x 3508 marked scan"
[ "$(convert "$work/marked.png" -colorspace HSL -format '%[fx:maxima.g > 0.5]' info: 2>/dev/null)" = 1 ] ||
  fail "annotate: no block marked in colour"

# --report: opened in Chromium it shows every block's verdict, where the build draws the sheet;
# without the drawing it is refused before the scan is read.
win verify "Z:$work/no-upce.png" --report "Z:$work/report.html" > "$work/report.out" 2>&1
got=$?
if win render dot-matrix -o "Z:$work/drawn.png" >/dev/null 2>&1; then
  [ "$got" -eq 7 ] || { fail "report: status $got, expected 7"; cat "$work/report.out"; }
  chromium=$(command -v chromium || command -v chromium-browser || true)
  if [ -n "$chromium" ]; then
    "$chromium" --headless --no-sandbox --disable-gpu --no-first-run --disable-extensions \
      --disable-background-networking --disable-sync --proxy-server=127.0.0.1:9 \
      --user-data-dir="$work/profile" --virtual-time-budget=5000 \
      --dump-dom "file://$work/report.html" > "$work/report.dom" 2> "$work/report.dom.err"
    python3 "$here/report_dom.py" "$work/report.dom" 1="as expected" 2="as expected" \
      3="not found" 4="as expected" 5="as expected" 6="as expected" || fail "report.html"
  fi
else
  [ "$got" -eq 8 ] && grep -q "^quorvel-cli verify: --report: render is not part of this build" \
    "$work/report.out" || { fail "report without drawing: not refused"; cat "$work/report.out"; }
fi

[ "$status" -eq 0 ] && echo "the Windows build gives the Linux build's answers"
exit "$status"
