#!/bin/bash
# Installs the build into an empty DESTDIR (prefix /usr) and checks what lands there: exactly the
# files of the expected list, each icon at its folder's size, the desktop entry and the software
# centre entry naming each other and an installed icon, and the tree as appstreamcli sees it.
# Usage: layout_test.sh BUILD_DIR EXPECTED_LIST
set -euo pipefail
build=$1
expected=$2
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

DESTDIR=$dest cmake --install "$build" --prefix /usr >/dev/null

# The file list, both ways.
(cd "$dest" && find . \( -type f -o -type l \) | sed 's|^\./||' | LC_ALL=C sort) >"$dest.got"
grep -v '^#' "$expected" | LC_ALL=C sort >"$dest.want"
if ! diff -u "$dest.want" "$dest.got"; then
  rm -f "$dest.got" "$dest.want"
  fail "installed files differ from $expected (- expected, + installed)"
fi
rm -f "$dest.got" "$dest.want"

# A PNG's width and height are the two big-endian 32-bit numbers after "IHDR" (bytes 16-23).
png_size() {
  local w h
  read -r w h < <(od -An -tu4 --endian=big -j16 -N8 "$1")
  echo "${w}x${h}"
}
for png in "$dest"/usr/share/icons/hicolor/*/apps/*.png; do
  folder=$(basename "$(dirname "$(dirname "$png")")")
  [ "$(head -c 8 "$png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "$png is no PNG"
  [ "$(png_size "$png")" = "$folder" ] || fail "$png is $(png_size "$png"), not $folder"
done
svg=$dest/usr/share/icons/hicolor/scalable/apps/quorvel.svg
grep -q '<svg xmlns="http://www.w3.org/2000/svg"' "$svg" || fail "$svg is no SVG"

# The desktop entry's icon is in the theme; the software centre entry's id is the entry's name.
desktop=$(echo "$dest"/usr/share/applications/*.desktop)
icon=$(sed -n 's/^Icon=//p' "$desktop")
for size in 32x32 48x48 128x128 256x256; do
  [ -f "$dest/usr/share/icons/hicolor/$size/apps/$icon.png" ] || fail "no $size icon \"$icon\""
done
[ -f "$dest/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no scalable icon \"$icon\""
id=$(basename "$desktop" .desktop)
metainfo=$dest/usr/share/metainfo/$id.metainfo.xml
grep -q "<id>$id</id>" "$metainfo" || fail "$metainfo does not carry the id $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
  fail "$metainfo does not launch $id.desktop"
grep -q "<icon type=\"stock\">$icon</icon>" "$metainfo" || fail "$metainfo names another icon"

# appstreamcli reads the installed tree as a software centre would: entry, desktop file, icons.
appstreamcli validate-tree --no-net "$dest/usr" || fail "appstreamcli validate-tree"
echo "PASS: $(grep -vc '^#' "$expected") files installed as expected"
