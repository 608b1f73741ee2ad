# The machine's PATH in a Wine prefix, for the installer tests (sourced).

# machine_path: the PATH a new command prompt sees.
machine_path() { wine cmd /c echo %PATH% 2>/dev/null | tr -d '\r'; }

# clean_machine_path FOLDER: takes FOLDER and empty entries out of the machine's PATH. Wine's
# msiexec leaves the separator of a PATH entry it removes ("...;"), and Wine's cmd stops looking at
# an empty entry; a run cut short may have left FOLDER (the prefix is shared by both installers'
# tests).
clean_machine_path() {
  local key='HKLM\System\CurrentControlSet\Control\Session Manager\Environment' path clean
  path=$(wine reg query "$key" /v PATH | tr -d '\r' | sed -n 's/^ *PATH *REG_EXPAND_SZ *//p')
  clean=$(tr ';' '\n' <<<"$path" | grep -vxF -e '' -e "$1" -e "$1\\" | paste -sd';')
  [ "$clean" = "$path" ] || wine reg add "$key" /v PATH /t REG_EXPAND_SZ /d "$clean" /f >/dev/null
}
