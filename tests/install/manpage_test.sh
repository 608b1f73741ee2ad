#!/bin/bash
# Renders quorvel-cli(1) with man -l and checks it against the program: groff has nothing to warn
# about, the header carries `quorvel-cli --version`, every command of `quorvel-cli --help` has its
# entry and every option of `quorvel-cli COMMAND --help` is described (an optional value as
# optional), and every exit status is explained. A command or option added to the program without its page fails here.
# Usage: manpage_test.sh MAN_PAGE QUORVEL_CLI
set -uo pipefail
page=$1
cli=$2
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

warnings=$(MANWIDTH=100 man --warnings -l "$page" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "man --warnings -l says: $warnings"
text=$(MANWIDTH=100 man -l "$page" 2>/dev/null)
[ -n "$text" ] || { echo "FAIL: man -l $page rendered nothing"; exit 1; }

# The header and the footer name the program's version.
version=$("$cli" --version)
head -1 <<<"$text" | grep -q '^QUORVEL-CLI(1) *User Commands *QUORVEL-CLI(1)$' || fail "header"
tail -1 <<<"$text" | grep -q "^Quorvel $version " || fail "footer lacks \"Quorvel $version\""

# section NAME: the rendered lines of section NAME (up to the next section heading).
section() { awk -v name="$1" '/^[A-Z]/ { on = ($0 == name) } on' <<<"$text"; }
commands_section=$(section COMMANDS)
options_section=$(section OPTIONS)
synopsis=$(section SYNOPSIS)

help=$("$cli" --help)
commands=$(sed -n '/^Subcommands:/,/^Exit status:/p' <<<"$help" | grep -v '^Exit status:' |
             awk 'NR > 1 && NF { print $1 }')
[ -n "$commands" ] || { echo "FAIL: no commands in quorvel-cli --help"; exit 1; }
for command in $commands; do
  # An entry is a line indented as the list's tags, starting with the command's name.
  grep -qE "^       $command( |$)" <<<"$commands_section" || fail "no COMMANDS entry for $command"
  grep -qE "quorvel-cli $command( |$)" <<<"$synopsis" || fail "$command is not in the SYNOPSIS"
  options=$("$cli" "$command" --help | grep -oE '(^|[ ,])--?[a-z][a-z-]*' | sed 's/^[ ,]//' |
              LC_ALL=C sort -u)
  for option in $options; do
    # An option is described where a tag line of OPTIONS names it.
    grep -qE "^       (.*[ ,])?$option([ ,=[]|$)" <<<"$options_section" ||
      fail "$command $option is not described under OPTIONS"
    grep -qE -- "(^|[ [{|])$option([] =|}[]|$)" <<<"$synopsis" || [ "$option" = --help ] ||
      [ "$option" = -h ] || fail "$command $option is not in the SYNOPSIS"
  done
  # A value that may be left out shows so in both places: --wait[=SECONDS].
  for option in $("$cli" "$command" --help | grep -oE -- '--[a-z-]+\[=' | sed 's/\[=$//' |
                    LC_ALL=C sort -u); do
    grep -qE -- "^       $option\[=" <<<"$options_section" ||
      fail "$command $option takes an optional value, but OPTIONS shows it otherwise"
  done
  echo "ok   $command: $(tr '\n' ' ' <<<"$options")"
done

# The exit statuses the program gives: the table that ends --help.
statuses=$(section "EXIT STATUS")
table=$(sed -n '/^Exit status:/,$p' <<<"$help" | awk 'NR > 1 && NF { print $1 }')
[ -n "$table" ] || fail "quorvel-cli --help lists no exit status"
for status in $table; do
  grep -qE "^       $status( |$)" <<<"$statuses" || fail "exit status $status is not explained"
done

[ "$failures" -eq 0 ] || { echo "$failures failures"; exit 1; }
echo PASS
