#!/bin/bash
# The Windows installer under Wine, as an administrator would use it: installed silently (/S),
# the installed quorvel-cli.exe asked its version and Quorvel.exe started from the installed
# folder until its window shows, then closed; uninstalled silently with the command the
# uninstall entry names; and afterwards no folder, no Start-menu entry and no uninstall key.
# A prefix of its own, so that no other test's installed programs are in the way; its wineserver
# is ended with `wineserver -k` at the end.
# Usage: nsis_test.sh INSTALLER VERSION START_PROBE_EXE WINEPREFIX
set -uo pipefail
installer=$1
version=$2
probe=$3
export WINEPREFIX=$4 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
trap 'wineserver -k 2>/dev/null || true' EXIT

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  wine wineboot -i >/dev/null 2>&1 || true
  wineserver -w
fi
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvel'
folder="$WINEPREFIX/drive_c/Program Files/Quorvel"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Quorvel.lnk"
dos_folder='C:\Program Files\Quorvel'

# value NAME: the data of the uninstall entry's value NAME (reg query prints "NAME TYPE DATA").
value() {
  wine reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' |
    awk -v n="$1" '$1 == n { sub(/^ *[^ ]+ +[^ ]+ +/, ""); print }'
}

# A run cut short earlier may have left its installation: start from none.
rm -rf "$folder" "$shortcut"
wine reg delete "$key" /f >/dev/null 2>&1

wine "$installer" /S || fail "the installer /S ended with $?"
for file in Quorvel.exe quorvel-cli.exe Uninstall.exe; do
  [ -f "$folder/$file" ] || fail "no $file in C:\\Program Files\\Quorvel"
done
[ -f "$shortcut" ] || fail "no Start-menu entry Quorvel.lnk"
# name|data, as the installer is to write them.
while IFS='|' read -r name want; do
  got=$(value "$name")
  [ "$got" = "$want" ] || fail "uninstall entry $name is \"$got\", expected \"$want\""
done <<EOF_VALUES
DisplayName|Quorvel
DisplayVersion|$version
Publisher|Quorvel
InstallLocation|$dos_folder
DisplayIcon|$dos_folder\Quorvel.exe,0
UninstallString|"$dos_folder\Uninstall.exe"
QuietUninstallString|"$dos_folder\Uninstall.exe" /S
NoModify|0x1
NoRepair|0x1
EOF_VALUES

# The installed programs run.
got=$(wine "$dos_folder\\quorvel-cli.exe" --version | tr -d '\r')
[ "$got" = "$version" ] || fail "installed quorvel-cli.exe --version says \"$got\""
if [ -n "${DISPLAY:-}" ]; then
  wine "$probe" "$dos_folder\\Quorvel.exe" Form1 || fail "installed Quorvel.exe showed no window"
else
  xvfb-run -a wine "$probe" "$dos_folder\\Quorvel.exe" Form1 ||
    fail "installed Quorvel.exe showed no window"
fi

# Uninstalled with the entry's own command. The uninstaller runs from a copy of itself in the
# temporary folder (so that it can delete its original) and returns at once: wait until every
# process of the prefix has ended.
wine "$dos_folder\\Uninstall.exe" /S || fail "the uninstaller /S ended with $?"
wineserver -w
[ ! -e "$folder" ] || fail "C:\\Program Files\\Quorvel is left: $(ls "$folder")"
[ ! -e "$shortcut" ] || fail "the Start-menu entry is left"
if wine reg query "$key" >/dev/null 2>&1; then
  fail "the uninstall key is left"
fi

[ "$failures" -eq 0 ] || { echo "$failures failures"; exit 1; }
echo "PASS: $(basename "$installer") installed, run and uninstalled under Wine"
