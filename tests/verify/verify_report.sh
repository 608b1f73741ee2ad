#!/bin/sh
# verify --report opened the way a reader opens it, in a browser, with the network shut: headless
# Chromium builds the page from the file alone (a proxy nobody listens on stands in for any
# address the page might reach for), and its DOM must show each block's verdict and two
# embedded pictures. A report that cannot be written: a message and status 1.
# usage: verify_report.sh QUORVEL-CLI TESTS-DIR WORKDIR
set -u
cli=$1
here=$2
work=$3
chromium=$(command -v chromium || command -v chromium-browser || true)
if [ -z "$chromium" ]; then
  echo "SKIP: chromium is not installed (scripts/install-deps installs the Debian package)"
  exit 77
fi
rm -rf "$work"
mkdir -p "$work"
status=0
fail() { echo "FAIL: $*"; status=1; }

# open HTML DOM: the DOM Chromium builds from the report, offline.
open() {
  "$chromium" --headless --no-sandbox --disable-gpu --no-first-run --disable-extensions \
    --disable-background-networking --disable-sync --proxy-server=127.0.0.1:9 \
    --user-data-dir="$work/profile" --virtual-time-budget=5000 \
    --dump-dom "file://$1" > "$2" 2> "$2.err"
}

# A printout as the manual has it, and one whose UPC-E command the printer dropped; the second
# under a file name that needs escaping.
"$cli" render dot-matrix -o "$work/sheet.png" >/dev/null 2>&1 || { echo "render failed"; exit 1; }
"$cli" dump dot-matrix > "$work/dot-matrix.prn"
python3 "$here/faulty_job.py" "$work/dot-matrix.prn" "$work/no-upce.prn" no-upce
odd="$work/no-upce <&\"'>.png"
"$cli" render "$work/no-upce.prn" --as dot-matrix -o "$odd" >/dev/null 2>&1 ||
  fail "no-upce: render failed"

# A clean scan is all as expected (0); the one without UPC-E differs (7).
"$cli" verify "$work/sheet.png" --report "$work/sheet.html" > "$work/sheet.out" 2>&1
got=$?
[ "$got" -eq 0 ] || { fail "sheet: status $got, expected 0"; cat "$work/sheet.out"; }
"$cli" verify "$odd" --page dot-matrix --report "$work/no-upce.html" > "$work/no-upce.out" 2>&1
got=$?
[ "$got" -eq 7 ] || { fail "no-upce: status $got, expected 7"; cat "$work/no-upce.out"; }

open "$work/sheet.html" "$work/sheet.dom" || fail "chromium could not open sheet.html"
python3 "$here/report_dom.py" "$work/sheet.dom" 1="as expected" 2="as expected" \
  3="as expected" 4="as expected" 5="as expected" 6="as expected" || fail "sheet.html"
open "$work/no-upce.html" "$work/no-upce.dom" || fail "chromium could not open no-upce.html"
python3 "$here/report_dom.py" "$work/no-upce.dom" 1="as expected" 2="as expected" \
  3="not found" 4="as expected" 5="as expected" 6="as expected" || fail "no-upce.html"
grep -qF 'no-upce &lt;&amp;"'"'"'&gt;.png page 1: the dot-matrix sheet' "$work/no-upce.dom" ||
  fail "no-upce.html: the scan's name is not shown as it is"
grep -q "6 blocks: 5 as expected, 1 not found" "$work/no-upce.dom" || fail "no-upce.html: summary"

# A report that cannot be written.
"$cli" verify "$work/sheet.png" --report "$work/no-such-folder/r.html" > "$work/unwritable.out" \
  2> "$work/unwritable.err"
got=$?
[ "$got" -eq 1 ] || fail "unwritable: status $got, expected 1"
grep -q "^quorvel-cli verify: cannot write the report $work/no-such-folder/r.html: " \
  "$work/unwritable.err" || { fail "unwritable: no message:"; cat "$work/unwritable.err"; }

[ "$status" -eq 0 ] && echo "the reports open offline and show every block's verdict"
exit "$status"
