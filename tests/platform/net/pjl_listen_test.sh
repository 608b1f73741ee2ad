#!/bin/sh
# print --to --pjl against quorvel-cli listen: the printer's own report of the job decides. The
# listener answers PJL (or stays silent, or fails as told); the page reaches it unchanged inside
# the PJL job; check --pjl shows what the printer says of itself.
# Usage: pjl_listen_test.sh QUORVEL_CLI WORK_DIR
set -u
cli=$1
dir=$2
rm -rf "$dir"
mkdir -p "$dir"
pid=""
fail() { echo "FAIL: $*"; cat "$dir/listen.out" 2>/dev/null; exit 1; }
stop() {
  [ -n "$pid" ] && kill -INT "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  pid=""
}
trap stop EXIT

# Starts a listener with the options given; sets $port.
start() {
  stop
  rm -f "$dir/port"
  "$cli" listen --port 0 --port-file "$dir/port" --out "$dir/captures" --idle 20 "$@" \
    >"$dir/listen.out" 2>&1 &
  pid=$!
  for _ in $(seq 100); do
    [ -s "$dir/port" ] && break
    sleep 0.1
  done
  [ -s "$dir/port" ] || fail "the listener did not start"
  port=$(cat "$dir/port")
}

# expect STATUS TEXT OPTIONS...: print pcl --pjl ends with STATUS and says TEXT.
expect() {
  want=$1
  text=$2
  shift 2
  "$cli" print pcl --to "127.0.0.1:$port" --pjl "$@" >"$dir/print.out" 2>&1
  status=$?
  [ "$status" -eq "$want" ] || fail "status $status, not $want: $(cat "$dir/print.out")"
  grep -qF "$text" "$dir/print.out" || fail "no \"$text\" in: $(cat "$dir/print.out")"
}

start --pjl
expect 0 "Printed (pjl): 1 page"
"$cli" dump pcl >"$dir/page.prn"
python3 - "$dir/captures/job-000001.prn" "$dir/page.prn" <<'PY' || fail "the page is not in the PJL job unchanged"
import sys
job = open(sys.argv[1], "rb").read()
page = open(sys.argv[2], "rb").read()
uel = b"\x1b%-12345X"
assert job.startswith(uel + b'@PJL JOB NAME="Command Print ')
assert b"\r\n@PJL USTATUS JOB=ON\r\n" + page + uel + b"@PJL EOJ NAME=" in job
assert job.endswith(b'"\r\n' + uel)
PY

"$cli" check --to "127.0.0.1:$port" --pjl >"$dir/check.out" 2>&1 || fail "check --pjl: status $?"
grep -q "^pjl id: Virtual printer$" "$dir/check.out" || fail "check: $(cat "$dir/check.out")"
grep -q "^pjl status: CODE=10001" "$dir/check.out" || fail "check: $(cat "$dir/check.out")"

"$cli" print dot-matrix --to "127.0.0.1:$port" --pjl >"$dir/refused.out" 2>&1
status=$?
[ "$status" -eq 2 ] || fail "dot-matrix with --pjl: status $status"
grep -q "dot-matrix page goes to printers that speak no PJL" "$dir/refused.out" ||
  fail "no reason: $(cat "$dir/refused.out")"

# The printer's own word needs a printer named with --to, for check as for print: a queue or a
# whole fleet with --pjl or --snmp is refused before anything is asked.
for args in "check --pjl" "check --all --snmp" "check --to ipp://127.0.0.1:$port/ipp/print --pjl" \
            "print pcl --all --snmp=private"; do
  # shellcheck disable=SC2086
  CUPS_SERVER=127.0.0.1:1 "$cli" $args >"$dir/refused.out" 2>&1
  status=$?
  [ "$status" -eq 2 ] || fail "$args: status $status"
  grep -q -- "--to" "$dir/refused.out" || fail "$args: no reason: $(cat "$dir/refused.out")"
done

start
expect 6 "Not confirmed (pjl): the printer did not answer PJL." --wait 5

start --pjl --pjl-fault zero-pages
expect 5 "Not printed (pjl): the printer reported the job's end with 0 pages."

start --pjl --pjl-fault canceled
expect 5 "Not printed (pjl): the printer canceled the job (RESULT=USER_CANCELED)."

start --pjl --pjl-fault endless
expect 6 "went past 64 KiB without the job's end" --wait 20

start --pjl --pjl-fault unfinished
expect 6 "did not report the job's end in time" --wait 1

# Ctrl-C while the printer's word is awaited ends the wait long before --wait=30 is up, for one
# printer (not confirmed) and for a run (the printer awaited not confirmed, the rest not sent).
# interrupt WANT TEXT OPTIONS...: SIGINT once the listener is taking the job in (its .part file
# is there), so that a slow start on a busy machine does not turn the test into another one.
interrupt() {
  want=$1
  text=$2
  shift 2
  before=$(ls "$dir/captures" 2>/dev/null | grep '\.part$')
  "$cli" print pcl --pjl --wait=30 "$@" >"$dir/print.out" 2>&1 &
  printing=$!
  for _ in $(seq 150); do
    [ "$(ls "$dir/captures" 2>/dev/null | grep '\.part$')" != "$before" ] && break
    sleep 0.1
  done
  sleep 0.5
  began=$(date +%s)
  kill -INT "$printing"
  wait "$printing"
  status=$?
  took=$(($(date +%s) - began))
  [ "$status" -eq "$want" ] || fail "Ctrl-C: status $status, not $want: $(cat "$dir/print.out")"
  [ "$took" -lt 20 ] || fail "Ctrl-C: the wait went on for $took s"
  grep -qF "$text" "$dir/print.out" || fail "Ctrl-C: no \"$text\" in: $(cat "$dir/print.out")"
}
interrupt 6 "Not confirmed (pjl): stopped waiting (Ctrl-C) before the printer reported the job's" \
  --to "127.0.0.1:$port"
interrupt 4 "localhost:$port: not sent" --to "127.0.0.1:$port" --to "localhost:$port" --jobs 1
grep -qF "127.0.0.1:$port: not confirmed (pjl), " "$dir/print.out" ||
  fail "Ctrl-C in a run: $(cat "$dir/print.out")"

# A printer that takes check's questions and answers none, on its raw port (PJL) and to SNMP:
# Ctrl-C once it has been asked.
stop
python3 "$(dirname "$0")/silent_printer.py" "$dir/silent-ports" "$dir/asked" &
silent=$!
trap 'stop; kill "$silent" 2>/dev/null' EXIT
for _ in $(seq 100); do [ -s "$dir/silent-ports" ] && break; sleep 0.1; done
read -r raw agent < "$dir/silent-ports" || fail "the silent printer did not start"
# asked_then_interrupt TEXT CHECK-OPTIONS...: check ends with 4, "not checked" and TEXT.
asked_then_interrupt() {
  text=$1
  shift
  rm -f "$dir/asked"
  "$cli" check --to "127.0.0.1:$raw" "$@" >"$dir/check.out" 2>&1 &
  checking=$!
  for _ in $(seq 150); do [ -s "$dir/asked" ] && break; sleep 0.1; done
  kill -INT "$checking"
  wait "$checking"
  status=$?
  [ "$status" -eq 4 ] || fail "check $*, Ctrl-C: status $status: $(cat "$dir/check.out")"
  for want in "not checked (stopped waiting (Ctrl-C) before the printer answered)" "$text"; do
    grep -qF "$want" "$dir/check.out" || fail "check $*, Ctrl-C: no \"$want\" in: $(cat "$dir/check.out")"
  done
}
asked_then_interrupt "pjl: stopped waiting (Ctrl-C) before the printer answered" --pjl
if [ "${QUORVEL_TEST_HAVE_SNMP:-1}" = 1 ]; then
  asked_then_interrupt "snmp: stopped waiting (Ctrl-C) before the agent answered" --snmp \
    --snmp-port "$agent"
fi
kill "$silent"
stop
echo "print --pjl against listen: passed"
