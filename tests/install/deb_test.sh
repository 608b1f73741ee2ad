#!/bin/bash
# Builds the Debian package with cpack and takes it through a machine's hands: its control fields
# and files (dpkg-deb), dpkg -i, the installed programs and manual page at work, dpkg -r, and
# nothing of it left. Installing needs root (CI runs as root on a fresh machine); as anyone else
# the test is skipped (exit 77), as it is when a quorvel package is already installed here.
# Usage: deb_test.sh BUILD_DIR EXPECTED_FILES VERSION LIBRARIES
set -uo pipefail
build=$1
expected=$2
version=$3
libraries=$4
skip=77
if [ "$(id -u)" -ne 0 ]; then
  echo "SKIP: installing a package needs root"
  exit $skip
fi
# One run at a time on a machine: dpkg's lock would refuse a second one half-way.
exec 9>/var/lock/quorvel-deb-test.lock
flock 9
if grep -q ' installed$' <<<"$(dpkg-query -W -f='${Status}' quorvel 2>/dev/null)"; then
  echo "SKIP: a quorvel package is already installed on this machine; it is left alone"
  exit $skip
fi

work=$(mktemp -d)
installed=0
cleanup() {
  [ "$installed" -eq 1 ] && dpkg -r quorvel >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; echo "FAIL: cpack -G DEB"; exit 1; }
arch=$(dpkg --print-architecture)
deb=$work/quorvel_${version}_$arch.deb
[ -f "$deb" ] || { ls "$work"; echo "FAIL: no $deb"; exit 1; }

# field NAME: the control file's field.
field() { dpkg-deb -f "$deb" "$1"; }
while IFS='|' read -r name want; do
  got=$(field "$name")
  [ "$got" = "$want" ] || fail "$name is \"$got\", expected \"$want\""
done <<EOF_FIELDS
Package|quorvel
Version|$version
Architecture|$arch
Section|utils
Priority|optional
Maintainer|Quorvel maintainers <maintainers@quorvel.example.org>
Homepage|https://quorvel.example.org/
EOF_FIELDS
description=$(field Description)
[ "$(head -1 <<<"$description")" = 'Raw barcode test pages for printers' ] ||
  fail "Description's first line: $(field Description | head -1)"
grep -q 'quorvel-cli' <<<"$description" || fail "Description has no long text"
# dpkg-shlibdeps found the libraries the programs link, with versions.
depends=$(field Depends)
names=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//')
for package in $(grep -v '^#' "$libraries" | cut -d' ' -f1); do
  grep -qxF "$package" <<<"$names" || fail "Depends lacks $package: $depends"
done
grep -qE '^libc6 \(>= [0-9.]+\)(,|$)' <<<"${depends//, /$'\n'}" || fail "libc6 has no version: $depends"

# The files, exactly the install layout's.
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./||' | LC_ALL=C sort >"$work/got"
grep -v '^#' "$expected" | LC_ALL=C sort >"$work/want"
diff -u "$work/want" "$work/got" || fail "the package's files differ from $expected"

# Installed, the programs and the manual page work from the system's folders.
if ! dpkg -i "$deb" >"$work/dpkg.log" 2>&1; then
  cat "$work/dpkg.log"
  installed=1
  echo "FAIL: dpkg -i"
  exit 1
fi
installed=1
[ "$(dpkg-query -W -f='${Status}' quorvel)" = 'install ok installed' ] || fail "not installed"
[ "$(command -v quorvel-cli)" = /usr/bin/quorvel-cli ] || fail "quorvel-cli is not /usr/bin's"
[ "$(/usr/bin/quorvel-cli --version)" = "$("$build/src/cli/quorvel-cli" --version)" ] ||
  fail "installed --version says $(/usr/bin/quorvel-cli --version)"
if /usr/bin/quorvel-cli render dot-matrix -o "$work/x.png" >"$work/render.log" 2>&1; then
  [ "$(head -c 8 "$work/x.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] ||
    fail "render dot-matrix wrote no PNG"
else
  cat "$work/render.log"
  fail "installed quorvel-cli render dot-matrix"
fi
[ "$(man -w quorvel-cli)" = /usr/share/man/man1/quorvel-cli.1.gz ] ||
  fail "man -w quorvel-cli says \"$(man -w quorvel-cli 2>&1)\""
page=$(MANWIDTH=200 man quorvel-cli 2>&1)
grep -qE '^ +quorvel-cli - send raw barcode test pages' <<<"$page" ||
  fail "man quorvel-cli shows no page: $(head -5 <<<"$page")"
[ -x /usr/bin/quorvel ] || fail "no /usr/bin/quorvel"

# Removed, nothing of it is left.
dpkg -r quorvel >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; fail "dpkg -r"; }
installed=0
status=$(dpkg-query -W -f='${Status}' quorvel 2>/dev/null)
[ -z "$status" ] || [ "$status" = "unknown ok not-installed" ] ||
  fail "after dpkg -r the package is \"$status\""
while read -r file; do
  if [ -e "/$file" ] || [ -L "/$file" ]; then fail "/$file is left after dpkg -r"; fi
done <"$work/want"

[ "$failures" -eq 0 ] || { echo "$failures failures"; exit 1; }
echo "PASS: $(basename "$deb"), $(wc -l <"$work/want") files, installed, run and removed"
