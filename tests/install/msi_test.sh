#!/bin/bash
# The MSI as managed deployment uses it. First its database as msiinfo reads it: the product's
# name, version and maker, the fixed upgrade code and the major-upgrade rows (an older version is
# removed, a newer one refused), the Add/Remove Programs icon and help link, the PATH entry's row.
# Then under Wine (the installer test's prefix): msiexec /i /qn ADDTOPATH=1 puts exactly the
# shared list's files in C:\Program Files\Quorvel, a Start-menu entry and the folder on PATH, so
# that a new command prompt runs quorvel-cli by name; msiexec /x /qn takes all of it away again.
# Usage: msi_test.sh MSI VERSION FILE_LIST HOME_PAGE WINEPREFIX
set -uo pipefail
source "$(dirname "$0")/wine_path.sh"
msi=$1
version=$2
files=$3
home=$4
export WINEPREFIX=$5 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
upgrade_code='{5B0F3C5E-3F7A-4D5E-9A57-2F1C8E6B7D41}'
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
trap 'wineserver -k 2>/dev/null || true' EXIT

# table NAME: the table's rows, tab-separated, without msiinfo's three header lines.
table() { msiinfo export "$msi" "$1" | tr -d '\r' | tail -n +4; }
property() { table Property | awk -F'\t' -v n="$1" '$1 == n { print $2 }'; }
while IFS='|' read -r name want; do
  got=$(property "$name")
  [ "$got" = "$want" ] || fail "property $name is \"$got\", expected \"$want\""
done <<EOF_PROPERTIES
ProductName|Quorvel
ProductVersion|$version
Manufacturer|Quorvel
UpgradeCode|$upgrade_code
ARPPRODUCTICON|quorvel.ico
ARPHELPLINK|$home
ALLUSERS|1
EOF_PROPERTIES
grep -q '^Template: x64;' <<<"$(msiinfo suminfo "$msi")" || fail "not a 64-bit package"
# Upgrade rows: versions below this one are found and removed, a newer one stops the install.
upgrades=$(table Upgrade | cut -f1-3,5 | tr '\t' '|')
grep -qxF "$upgrade_code||$version|1" <<<"$upgrades" || fail "no row for older versions: $upgrades"
grep -qxF "$upgrade_code|$version||2" <<<"$upgrades" || fail "no row for newer versions: $upgrades"
grep -q '^NOT WIX_DOWNGRADE_DETECTED'$'\t' <<<"$(table LaunchCondition)" ||
  fail "no launch condition against newer versions: $(table LaunchCondition)"
table InstallExecuteSequence | grep -q '^RemoveExistingProducts' ||
  fail "RemoveExistingProducts is not sequenced"
grep -qxF "$(printf 'PathEntry\t=-*PATH\t[~];[INSTALLFOLDER]\tPathEntry')" <<<"$(table Environment)" ||
  fail "Environment: $(table Environment)"

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  wine wineboot -i >/dev/null 2>&1 || true
  wineserver -w
fi
folder="$WINEPREFIX/drive_c/Program Files/Quorvel"
dos_folder='C:\Program Files\Quorvel'
# Wine's msiexec puts an ALLUSERS package's shortcut in the user's Start menu, Windows in the
# common one: either counts.
shortcuts() {
  find "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs" \
    "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs \
    -maxdepth 1 -name Quorvel.lnk 2>/dev/null
}
# A run cut short earlier may have left this package installed: start from none.
wine msiexec /x "$msi" /qn >/dev/null 2>&1

clean_machine_path "$dos_folder"

wine msiexec /i "$msi" /qn ADDTOPATH=1 || fail "msiexec /i /qn ended with $?"
diff <(LC_ALL=C sort "$files") <(ls "$folder" | LC_ALL=C sort) ||
  fail "C:\\Program Files\\Quorvel's files differ from $files"
[ -n "$(shortcuts)" ] || fail "no Start-menu entry Quorvel.lnk"
got=$(wine "$dos_folder\\quorvel-cli.exe" --version | tr -d '\r')
[ "$got" = "$version" ] || fail "installed quorvel-cli.exe --version says \"$got\""
grep -qF "$dos_folder" <<<"$(machine_path)" || fail "PATH lacks $dos_folder: $(machine_path)"
got=$(wine cmd /c quorvel-cli --version | tr -d '\r')
[ "$got" = "$version" ] || fail "quorvel-cli --version from PATH says \"$got\""

wine msiexec /x "$msi" /qn || fail "msiexec /x /qn ended with $?"
[ ! -e "$folder" ] || fail "C:\\Program Files\\Quorvel is left: $(ls "$folder")"
[ -z "$(shortcuts)" ] || fail "the Start-menu entry is left: $(shortcuts)"
! grep -qF "$dos_folder" <<<"$(machine_path)" || fail "PATH still names $dos_folder"
if wine reg query 'HKLM\Software\Quorvel' >/dev/null 2>&1; then
  fail "HKLM\\Software\\Quorvel is left"
fi

[ "$failures" -eq 0 ] || { echo "$failures failures"; exit 1; }
echo "PASS: $(basename "$msi") read back, installed with /qn and removed with /x under Wine"
