#!/bin/bash
# The Windows installer under Wine, as an administrator would use it: installed silently with the
# PATH entry (/S /ADDTOPATH), exactly the shared list's files in the folder, quorvel-cli found on
# PATH by a new command prompt, Quorvel.exe started from the installed folder until its window
# shows; the uninstaller tried while it shows gives up with its exit code and removes nothing;
# then uninstalled silently with the command the uninstall entry names; and afterwards no folder,
# no Start-menu entry, no uninstall key and no PATH entry.
# A prefix of its own, so that no other test's installed programs are in the way; its wineserver
# is ended with `wineserver -k` at the end.
# Usage: nsis_test.sh INSTALLER VERSION START_PROBE_EXE WINEPREFIX FILE_LIST
set -uo pipefail
source "$(dirname "$0")/wine_path.sh"
installer=$1
version=$2
probe=$3
files=$5
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

# probe PROGRAM CAPTION [COMMAND_LINE]: quorvel_start_probe on a display.
probe() {
  if [ -n "${DISPLAY:-}" ]; then wine "$probe" "$@"; else xvfb-run -a wine "$probe" "$@"; fi
}
# installed: every file of the shared list and the uninstaller, the Start-menu entry and the key.
installed() {
  diff <( (cat "$files"; echo Uninstall.exe) | LC_ALL=C sort) <(ls "$folder" | LC_ALL=C sort) ||
    fail "$1: the folder's files differ from $files and Uninstall.exe"
  [ -f "$shortcut" ] || fail "$1: no Start-menu entry Quorvel.lnk"
  wine reg query "$key" >/dev/null 2>&1 || fail "$1: no uninstall key"
}

# The uninstaller's folders in %TEMP%.
nsu_folders() { find "$WINEPREFIX/drive_c/users" -maxdepth 3 -name '~nsu*.tmp' 2>/dev/null; }
clean_machine_path "$dos_folder"
# A run cut short earlier may have left its installation: start from none.
rm -rf "$folder" "$shortcut" $(nsu_folders)
wine reg delete "$key" /f >/dev/null 2>&1

wine "$installer" /S /ADDTOPATH || fail "the installer /S /ADDTOPATH ended with $?"
installed "installed"
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

# The installed programs run; quorvel-cli by its name alone, from the PATH entry.
grep -qF ";$dos_folder" <<<"$(machine_path)" || fail "PATH lacks $dos_folder: $(machine_path)"
got=$(wine cmd /c quorvel-cli --version | tr -d '\r')
[ "$got" = "$version" ] || fail "quorvel-cli --version from PATH says \"$got\""
probe "$dos_folder\\Quorvel.exe" Form1 || fail "installed Quorvel.exe showed no window"
# The installed quorvel-cli draws the expected sheet: its drawing DLL came along.
sheet="$WINEPREFIX/drive_c/quorvel-installed-sheet.png"
rm -f "$sheet"
wine cmd /c quorvel-cli render dot-matrix -o 'C:\quorvel-installed-sheet.png' >/dev/null 2>&1 ||
  fail "the installed quorvel-cli render ended with $?"
[ "$(head -c 8 "$sheet" 2>/dev/null | od -A n -t x1 | tr -d ' \n')" = 89504e470d0a1a0a ] ||
  fail "the installed quorvel-cli drew no PNG"
rm -f "$sheet"
# The installed quorvel-cli reads scans through the scan module installed beside it: a blank page
# is read and found to be no Quorvel sheet (status 1), not refused for want of a module (8).
blank=$(mktemp --suffix=.png)
convert -size 850x1100 xc:white "$blank"
out=$(wine "$dos_folder\\quorvel-cli.exe" verify "Z:$blank" 2>&1)
got=$?
rm -f "$blank"
[ "$got" -eq 1 ] && grep -q "does not look like a Quorvel sheet" <<<"$out" ||
  fail "the installed quorvel-cli did not read a scan (status $got): $out"

# Uninstalling while Quorvel.exe runs changes nothing and says so with exit code 3. Run in place
# (_?=) so that the exit code is the uninstaller's own, not that of the copy it starts.
out=$(probe "$dos_folder\\Quorvel.exe" Form1 "\"$dos_folder\\Uninstall.exe\" /S _?=$dos_folder")
grep -qx 'exit code 3' <<<"$(tr -d '\r' <<<"$out")" ||
  fail "the uninstaller while Quorvel.exe runs: $out"
installed "after the uninstaller while Quorvel.exe ran"
grep -qF ";$dos_folder" <<<"$(machine_path)" ||
  fail "the uninstaller while Quorvel.exe ran took the PATH entry"

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
! grep -qF "$dos_folder" <<<"$(machine_path)" || fail "PATH still names $dos_folder"
# The uninstaller's copy in %TEMP% and its folder go at the next restart (wineboot -r).
wine wineboot -r >/dev/null 2>&1
wineserver -w
[ -z "$(nsu_folders)" ] || fail "left in %TEMP% after a restart: $(nsu_folders)"

[ "$failures" -eq 0 ] || { echo "$failures failures"; exit 1; }
echo "PASS: $(basename "$installer") installed, run and uninstalled under Wine"
