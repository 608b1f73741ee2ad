#!/bin/sh
# quorvel-cli loads the drawing (Qt 6 Gui, zint) only for the commands that draw: the program
# itself needs neither, render finds the module beside the program or in the installed library
# folder, and without a usable module render says why and stops with status 8 (a missing module).
# usage: drawing_module.sh QUORVEL-CLI DRAWING-MODULE INSTALLED-DIR-FROM-BINDIR WORKDIR
set -u
cli=$1
module=$2
installed=$3
work=$4
rm -rf "$work"
mkdir -p "$work"
status=0
fail() { echo "FAIL: $*"; status=1; }

# Neither the program's own needs nor what they pull in name Qt or zint.
needed=$(readelf -d "$cli" | grep NEEDED)
[ -n "$needed" ] || fail "readelf lists no NEEDED entries for $cli"
if echo "$needed" | grep -E 'libQt6|libzint' >/dev/null; then
  fail "quorvel-cli needs Qt or zint itself:"; echo "$needed"
fi
if ldd "$cli" | grep -E 'libQt6|libzint' >/dev/null; then
  fail "quorvel-cli loads Qt or zint at start:"; ldd "$cli"
fi
ldd "$module" | grep libQt6Gui >/dev/null || fail "the drawing module does not bring Qt 6 Gui"

png_magic=89504e470d0a1a0a
is_png() { [ "$(head -c 8 "$1" 2>/dev/null | od -A n -t x1 | tr -d ' \n')" = "$png_magic" ]; }

# case: where the program is, where the module is, the exit status and a line render must write
# (a PNG is expected exactly when the status is 0).
check() {
  name=$1 program=$2 expected=$3 text=$4
  "$program" render dot-matrix -o "$work/$name.png" --dpi 72 > "$work/$name.out" 2> "$work/$name.err"
  got=$?
  [ "$got" -eq "$expected" ] || { fail "$name: status $got, expected $expected"; cat "$work/$name.err"; }
  if [ "$expected" -eq 0 ]; then
    is_png "$work/$name.png" || fail "$name: no PNG written"
    grep -Fx "$work/$name.png" "$work/$name.out" >/dev/null || fail "$name: the PNG is not named"
  else
    [ ! -e "$work/$name.png" ] || fail "$name: a picture was written"
    grep -F "$text" "$work/$name.err" >/dev/null ||
      { fail "$name: standard error lacks '$text':"; cat "$work/$name.err"; }
  fi
}

# The build tree: the module beside the program.
check build-tree "$cli" 0 ""

# Installed: BINDIR/quorvel-cli and the module in LIBEXECDIR/quorvel.
mkdir -p "$work/prefix/bin" "$work/prefix/bin/$installed"
cp "$cli" "$work/prefix/bin/quorvel-cli"
cp "$module" "$work/prefix/bin/$installed/"
check installed "$work/prefix/bin/quorvel-cli" 0 ""

# No module anywhere: render says so; the commands that do not draw go on working.
mkdir -p "$work/alone"
cp "$cli" "$work/alone/quorvel-cli"
check missing "$work/alone/quorvel-cli" 8 "quorvel-cli render: the drawing module could not be loaded: "
grep -F "$(basename "$module"): No such file or directory" "$work/missing.err" >/dev/null ||
  fail "missing: the looked-up paths are not named"
"$work/alone/quorvel-cli" --version > "$work/version.out" 2>&1 || fail "--version needs the module"
"$work/alone/quorvel-cli" dump dot-matrix > "$work/dump.out" 2>&1 || fail "dump needs the module"

# A module file the dynamic loader refuses: the loader's own reason is passed on.
mkdir -p "$work/broken"
cp "$cli" "$work/broken/quorvel-cli"
: > "$work/broken/$(basename "$module")"
check broken "$work/broken/quorvel-cli" 8 "file too short"

[ "$status" -eq 0 ] && echo "the drawing is loaded on demand only"
exit "$status"
