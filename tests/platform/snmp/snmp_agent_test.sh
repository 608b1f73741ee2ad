#!/bin/sh
# print --to --snmp and check --snmp against a test agent: snmpd on a loopback UDP port, its
# printer values from printer_agent.py, whose page counter moves with each job the virtual printer
# (quorvel-cli listen) receives. Both are started here and stopped by their PIDs.
# Usage: snmp_agent_test.sh QUORVEL_CLI WORK_DIR
set -u
cli=$1
dir=$2
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$dir"
mkdir -p "$dir/state/captures" "$dir/persist"
listener=""
agent=""
fail() { echo "FAIL: $*"; cat "$dir/agent.log" 2>/dev/null | grep -v "Cannot find module"; exit 1; }
stop_agent() { [ -n "$agent" ] && kill "$agent" 2>/dev/null && wait "$agent" 2>/dev/null; agent=""; }
stop_all() {
  stop_agent
  [ -n "$listener" ] && kill -INT "$listener" 2>/dev/null && wait "$listener" 2>/dev/null
  listener=""
}
trap stop_all EXIT
command -v snmpd >/dev/null || command -v /usr/sbin/snmpd >/dev/null || fail "snmpd is not installed"
snmpd=$(command -v snmpd || echo /usr/sbin/snmpd)

udp=$(python3 -c 'import socket; s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
for tree in .1.3.6.1.2.1.43 .1.3.6.1.2.1.25.3 .1.3.6.1.4.1.2699; do
  echo "pass_persist -p 1 $tree $here/printer_agent.py $dir/state"
done >"$dir/snmpd.conf"
echo "rocommunity public 127.0.0.1" >>"$dir/snmpd.conf"
# Only the values of printer_agent.py: the agent's own host resources tables are left out.
SNMP_PERSISTENT_DIR=$dir/persist MIBS="" "$snmpd" -f -Lf "$dir/agent.log" -C -c "$dir/snmpd.conf" \
  -I -hr_print,hr_device,hr_system "udp:127.0.0.1:$udp" &
agent=$!

"$cli" listen --port 0 --port-file "$dir/port" --out "$dir/state/captures" >"$dir/listen.out" 2>&1 &
listener=$!
for _ in $(seq 100); do
  [ -s "$dir/port" ] && grep -q "Turning on\|NET-SNMP version" "$dir/agent.log" 2>/dev/null && break
  sleep 0.1
done
[ -s "$dir/port" ] || fail "the listener did not start"
port=$(cat "$dir/port")
to="127.0.0.1:$port"

# run STATUS TEXT ARGS...: quorvel-cli ARGS ends with STATUS and says TEXT.
run() {
  want=$1
  text=$2
  shift 2
  "$cli" "$@" >"$dir/out" 2>&1
  status=$?
  [ "$status" -eq "$want" ] || fail "$*: status $status, not $want: $(cat "$dir/out")"
  grep -qF -- "$text" "$dir/out" || fail "$*: no \"$text\" in: $(cat "$dir/out")"
}

# snmpd starts each pass_persist script at its first question: on a busy machine that takes
# longer than quorvel's 2 s per request, so each is asked once first, with time to start.
for tree in .1.3.6.1.2.1.43 .1.3.6.1.2.1.25.3 .1.3.6.1.4.1.2699; do
  snmpgetnext -v2c -c public -t 30 "127.0.0.1:$udp" "$tree" >/dev/null 2>&1 ||
    fail "the agent does not answer for $tree"
done
run 0 "Printed (snmp): 1 page (counter 48211 -> 48212)" print pcl --to "$to" --snmp --snmp-port "$udp" --wait 10
run 0 "page counter: 48212" check --to "$to" --snmp --snmp-port "$udp"
run 0 "snmp errors: none" check --to "$to" --snmp=public --snmp-port "$udp"

echo stuck >"$dir/state/state"
run 5 "Not printed (snmp): the page counter did not move (counter 48211 -> 48211)." \
  print dot-matrix --to "$to" --snmp --snmp-port "$udp" --wait 1

echo paper-out >"$dir/state/state"
run 5 "the printer reports: paper out, alert: Tray 1 empty: load paper" \
  print pcl --to "$to" --snmp --snmp-port "$udp" --wait 1
run 5 "not ready (the printer reports paper out" check --to "$to" --snmp --snmp-port "$udp"
grep -q "^snmp errors: paper out$" "$dir/out" || fail "check: $(cat "$dir/out")"
rm -f "$dir/state/state"

run 6 "Not confirmed (snmp): the page counter could not be read: SNMP 127.0.0.1: no answer" \
  print pcl --to "$to" --snmp=wrong --snmp-port "$udp" --wait 1

# Two raw printers in one run: one with its agent, one (a second virtual printer on 127.0.0.2)
# without.
"$cli" listen --bind 127.0.0.2 --port 0 --port-file "$dir/port2" --out "$dir/captures2" \
  >"$dir/listen2.out" 2>&1 &
second=$!
for _ in $(seq 100); do
  [ -s "$dir/port2" ] && break
  sleep 0.1
done
[ -s "$dir/port2" ] || fail "the second listener did not start"
silent="127.0.0.2:$(cat "$dir/port2")"
run 6 "$to: printed (snmp), " print pcl --to "$to" --to "$silent" --snmp --snmp-port "$udp" \
  --wait 3
grep -q "^$silent: not confirmed (snmp), .*: the page counter could not be read" "$dir/out" ||
  fail "the silent printer: $(cat "$dir/out")"
grep -q "^2 printers in .*: 1 printed, 1 not confirmed; confirmed by the printers: 1 snmp$" \
  "$dir/out" || fail "the summary: $(cat "$dir/out")"
run 6 "\"confirmedBy\": \"snmp\"" print pcl --to "$to" --to "$silent" --snmp \
  --snmp-port "$udp" --wait 3 --format json
kill -INT "$second"
wait "$second"

# print auto: the device ID the agent gives chooses the page.
"$cli" dump pcl >"$dir/pcl.prn"
"$cli" dump dot-matrix >"$dir/dot-matrix.prn"
for pair in "MFG:HP;MDL:LaserJet;CMD:PCL,PJL;|pcl|CMD:PCL,PJL -> the PCL page" \
  "MFG:EPSON;CMD:ESCP9;MDL:LQ-590;|dot-matrix|CMD:ESCP9 -> the dot-matrix page" \
  "CMD:PCLXL,PJL;|pcl|CMD:PCLXL,PJL -> the PCL page"; do
  id=${pair%%|*}
  rest=${pair#*|}
  page=${rest%%|*}
  why=${rest#*|}
  printf '%s\n' "$id" >"$dir/state/device-id"
  before=$(ls "$dir/state/captures" | wc -l)
  run 0 "$why" print auto --to "$to" --snmp --snmp-port "$udp"
  last=$(ls "$dir/state/captures"/*.prn | sort | tail -1)
  for _ in $(seq 50); do
    [ "$(ls "$dir/state/captures" | wc -l)" -gt "$before" ] && break
    sleep 0.1
  done
  last=$(ls "$dir/state/captures"/*.prn | sort | tail -1)
  cmp -s "$last" "$dir/$page.prn" || fail "auto with $id did not send the $page page"
  run 0 "device id: $id" check --to "$to" --snmp --snmp-port "$udp"
done
printf 'CMD:POSTSCRIPT,PDF;\n' >"$dir/state/device-id"
run 2 "can't tell which page suits $to: name it" print auto --to "$to" --snmp --snmp-port "$udp"
# A run of one refuses as one printer does: the same status, the same words on its line.
run 2 "\"outcome\": \"refused\"" print auto --to "$to" --snmp --snmp-port "$udp" --format json
printf 'MFG:EPSON;CMD:ESCP9;\n' >"$dir/state/device-id"
for format in text json; do
  run 2 "--pjl: the dot-matrix page goes to printers that speak no PJL" \
    print auto --to "$to" --pjl --snmp --snmp-port "$udp" --format "$format"
done
rm -f "$dir/state/device-id"
run 2 "can't tell which page suits $to: name it (its SNMP agent gives no device ID)" \
  print auto --to "$to" --snmp --snmp-port "$udp"

stop_agent
run 2 "can't tell which page suits $to: name it (no device ID: SNMP 127.0.0.1: no answer" \
  print auto --to "$to" --snmp-port "$udp"
run 6 "no answer from the printer's SNMP agent" print pcl --to "$to" --snmp --snmp-port "$udp" --wait 1
run 0 "snmp: SNMP 127.0.0.1: no answer" check --to "$to" --snmp --snmp-port "$udp"
stop_all
echo "print and check --snmp against the test agent: passed"
