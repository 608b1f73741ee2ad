#!/bin/bash
# quorvel-cli.exe render under Wine, against the Linux build's render of the same sheets at
# 300 dpi: zbar reads the dot-matrix page's six symbols from the Windows PNG as from the Linux
# one, every bar within a dot of the Linux build's (compare_bars.py); a captured job is drawn the
# same as the page it holds; the PCL page (font glyphs) gives zbar nothing; a missing job gives a
# message and exit status 1, a missing drawing DLL exit status 8.
# usage: wine_sheets.sh QUORVEL_CLI_EXE LINUX_QUORVEL_CLI WORKDIR
set -u
exe=$1
linux=$2
work=$3
[ -x "$linux" ] || { echo "SKIP: no Linux quorvel-cli at $linux (the linux preset is built first)"; exit 77; }
compare=$(dirname "$0")/compare_bars.py
rm -rf "$work"
mkdir -p "$work"
cd "$work" || exit 1
status=0
fail() { echo "FAIL: $*"; status=1; }

"$linux" dump dot-matrix > job.prn
for sheet in dot-matrix pcl; do
  "$linux" render "$sheet" -o "linux-$sheet.png" --dpi 300 >/dev/null 2>&1 || fail "Linux render $sheet"
  wine "$exe" render "$sheet" -o "windows-$sheet.png" --dpi 300 > "windows-$sheet.log" 2>&1 ||
    fail "quorvel-cli.exe render $sheet: $(cat "windows-$sheet.log")"
done
wine "$exe" render job.prn -o windows-job.png --dpi 300 > windows-job.log 2>&1 ||
  fail "quorvel-cli.exe render job.prn: $(cat windows-job.log)"

# The Linux build's verify places the blocks on its own render.
"$linux" verify linux-dot-matrix.png --format json > linux-blocks.json 2>/dev/null ||
  fail "Linux verify of its own render: $(head -c 300 linux-blocks.json)"
python3 "$compare" linux-dot-matrix.png linux-blocks.json 300 6 windows-dot-matrix.png \
  windows-job.png || status=1
read_pcl=$(zbarimg -q --nodbus windows-pcl.png 2>/dev/null)
[ -z "$read_pcl" ] || fail "zbar read a symbol from the PCL page's font glyphs: $read_pcl"

out=$(wine "$exe" render missing.prn -o out.png 2>&1)
code=$?
[ "$code" -eq 1 ] && [ -n "$out" ] || fail "render of a missing file: exit $code, \"$out\""

# Without its DLL beside it, quorvel-cli.exe says so and stops with status 8 (a missing module).
mkdir alone && cp "$exe" alone/
out=$(wine alone/"$(basename "$exe")" render dot-matrix -o alone.png 2>&1)
code=$?
[ "$code" -eq 8 ] && grep -q "drawing module could not be loaded.*quorvel_draw.dll" <<<"$out" ||
  fail "render without quorvel_draw.dll: exit $code, \"$out\""

[ "$status" -eq 0 ] && echo "quorvel-cli.exe draws both sheets as the Linux build does"
exit "$status"
