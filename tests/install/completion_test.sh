#!/bin/bash
# Sources the bash completion as bash-completion would and asks it, word by word as bash splits a
# command line, what <TAB> offers; then checks that every option `quorvel-cli COMMAND --help`
# lists is offered after `quorvel-cli COMMAND --`, so the completion cannot fall behind the help.
# Usage: completion_test.sh COMPLETION_FILE QUORVEL_CLI
set -uo pipefail
completion=$1
cli=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# shellcheck disable=SC1090
. "$completion" || { echo "FAIL: cannot source $completion"; exit 1; }
[ "$(complete -p quorvel-cli)" = "complete -F _quorvel_cli quorvel-cli" ] ||
  { echo "FAIL: quorvel-cli has no completion function: $(complete -p quorvel-cli)"; exit 1; }

# offered WORD...: what the completion offers for the last word, sorted, on one line.
offered() {
  COMP_WORDS=("$@")
  COMP_CWORD=$(($# - 1))
  COMPREPLY=()
  _quorvel_cli
  printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | tr '\n' ' ' | sed 's/ $//'
}

# expect "OFFERED" WORD...: the completion offers exactly OFFERED (sorted, space-separated).
expect() {
  local want=$1 got
  shift
  got=$(offered "$@")
  if [ "$got" = "$want" ]; then
    echo "ok   [$*] -> $want"
  else
    echo "FAIL [$*]: offered \"$got\", expected \"$want\""
    failures=$((failures + 1))
  fi
}

# A stand-in quorvel-cli for printer names (the real one would ask the machine's spooler).
mkdir -p "$work/bin" "$work/dir/captures"
# shellcheck disable=SC2016  # the $1 is the stand-in's own
printf '#!/bin/sh\n[ "$1 $2" = "printers --server" ] && exec printf "$3/Remote-1\\n$3/Office\\n$5/Remote-2\\n"\n[ "$1" = printers ] && printf "Office\\tdefault\\nLab-1\\nLab-2\\n"\n' \
  >"$work/bin/quorvel-cli"
chmod +x "$work/bin/quorvel-cli"
touch "$work/dir/job-000001.prn" "$work/dir/sheet.png"
fake=$work/bin/quorvel-cli
# File names are completed from an empty folder, so that only the files made here are offered.
mkdir -p "$work/empty"
cd "$work/empty" || exit 1

# The expected words are written out from the commands' help texts.
expect "print printers"                              quorvel-cli pr
expect "check dump explain help listen print printers render verify" quorvel-cli ""
expect "print printers"                              quorvel-cli help pr
expect "--help --version"                            quorvel-cli --
expect "render"                                      quorvel-cli re
expect "auto dot-matrix pcl"                         quorvel-cli print ""
expect "pcl"                                         quorvel-cli dump p
expect ""                                            quorvel-cli dump pcl ""
expect "--wait"                                      quorvel-cli print pcl --w
expect "--paper"                                     quorvel-cli render --pa
expect "a4 letter"                                   quorvel-cli render pcl --paper ""
expect "json junit text"                             quorvel-cli check --format ""
expect "json junit text"                             quorvel-cli print pcl --format = ""
expect "--server"                                    quorvel-cli printers --s
expect "--server"                                    quorvel-cli check --se
expect ""                                            quorvel-cli print --server ""
expect "auto dot-matrix pcl"                         quorvel-cli print --server h1:631 ""
expect "Office Remote-1 Remote-2"                    "$fake" print pcl --server h1 --server h2 --printer ""
expect "json junit"                                  quorvel-cli print pcl --format = j
expect "json text"                                   quorvel-cli explain --format ""
expect "auto dot-matrix pcl"                         quorvel-cli explain --as ""
expect "--max-bytes --max-connections"               quorvel-cli listen --max-
expect "--port --port-file"                          quorvel-cli listen --por
expect "--printer"                                   quorvel-cli check --pr
expect ""                                            quorvel-cli print --to ""
expect ""                                            quorvel-cli print --wait = 30 pcl ""
expect "auto dot-matrix pcl"                         quorvel-cli print --wait = 30 ""
expect "auto dot-matrix pcl"                         quorvel-cli print --format = json ""
expect "--snmp --snmp-port"                          quorvel-cli print pcl --snm
expect "canceled endless unfinished zero-pages"      quorvel-cli listen --pjl-fault ""
expect "Lab-1 Lab-2 Office"                          "$fake" print pcl --printer ""
expect "Lab-1 Lab-2"                                 "$fake" check --printer L
expect "$work/dir/captures"                          quorvel-cli listen --out "$work/dir/"
expect "$work/dir/job-000001.prn"                    quorvel-cli explain "$work/dir/j"
expect "- dot-matrix pcl"                            quorvel-cli render ""
expect "$work/dir/sheet.png"                         quorvel-cli verify "$work/dir/s"
expect "dot-matrix pcl"                              quorvel-cli verify scan.png --page ""
expect "json text"                                   quorvel-cli verify scan.png --format ""

# Every option of every command's help is offered.
commands=$("$cli" --help | sed -n '/^Subcommands:/,/^Exit status:/p' | grep -v '^Exit status:' |
             awk 'NR > 1 && NF { print $1 }')
[ -n "$commands" ] || { echo "FAIL: no commands in quorvel-cli --help"; exit 1; }
for command in $commands; do
  options=$("$cli" "$command" --help | grep -oE '(^|[ ,])--?[a-z][a-z-]*' | sed 's/^[ ,]//' |
              LC_ALL=C sort -u)
  offers=" $(offered quorvel-cli "$command" -) "
  for option in $options; do
    if [[ $offers != *" $option "* ]]; then
      echo "FAIL quorvel-cli $command $option is in the help, not in the completion"
      failures=$((failures + 1))
    fi
  done
  echo "ok   quorvel-cli $command: $(tr '\n' ' ' <<<"$options")"
done

[ "$failures" -eq 0 ] || { echo "$failures failures"; exit 1; }
echo PASS
