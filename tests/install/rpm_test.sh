#!/bin/bash
# Builds the RPM with cpack, as the README says, and reads it back with rpm: its name, version
# (the .deb's), architecture and home page; exactly the .deb's files (the shared list), owning no
# folder but its own module folder; and a dependency on each library of the shared list, as
# rpmbuild finds them, libc's with its symbol versions.
# Usage: rpm_test.sh BUILD_DIR EXPECTED_FILES VERSION LIBRARIES
set -uo pipefail
build=$1
expected=$2
version=$3
libraries=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cpack -G RPM --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; echo "FAIL: cpack -G RPM"; exit 1; }
arch=$(uname -m)
rpm=$work/quorvel-$version-1.$arch.rpm
[ -f "$rpm" ] || { ls "$work"; echo "FAIL: no $rpm"; exit 1; }

query() { rpm -qp --nosignature --qf "$1" "$rpm"; }
while IFS='|' read -r tag want; do
  got=$(query "%{$tag}")
  [ "$got" = "$want" ] || fail "$tag is \"$got\", expected \"$want\""
done <<EOF_TAGS
NAME|quorvel
VERSION|$version
ARCH|$arch
URL|https://quorvel.example.org/
SUMMARY|Raw barcode test pages for printers
VENDOR|Quorvel
PREFIXES|(none)
EOF_TAGS
grep -q 'quorvel-cli' <<<"$(query '%{DESCRIPTION}')" || fail "no long description: $(query '%{DESCRIPTION}')"

# The files, exactly the .deb's, and the one folder it owns: its module folder.
rpm -qpl --nosignature "$rpm" | sed 's|^/||' | LC_ALL=C sort >"$work/got"
(grep -v '^#' "$expected"; echo usr/libexec/quorvel) | LC_ALL=C sort >"$work/want"
diff -u "$work/want" "$work/got" || fail "rpm -qpl differs from $expected and usr/libexec/quorvel"

# The libraries the programs link, as sonames of 64-bit ELF files.
requires=$(rpm -qp --nosignature --requires "$rpm")
for soname in $(grep -v '^#' "$libraries" | cut -d' ' -f2); do
  grep -qxF "$soname()(64bit)" <<<"$requires" || fail "requires lacks $soname: $requires"
done
grep -qE '^libc\.so\.6\(GLIBC_2\.[0-9.]+\)\(64bit\)$' <<<"$requires" ||
  fail "no versioned libc requirement: $requires"

[ "$failures" -eq 0 ] || { echo "$failures failures"; exit 1; }
echo "PASS: $(basename "$rpm"), $(wc -l <"$work/got") paths, $(wc -l <<<"$requires") requirements"
