#!/bin/bash
# Every command over every kind of target, page, confirmation and format, against the private
# cupsd (the queue Virtual) and the virtual printer (`quorvel-cli listen --pjl`): no run may end
# by a signal or outlast its time limit, and a run that does not succeed must say why.
# usage: crash_sweep.sh QUORVEL-CLI SPOOLER-DIR WORK-DIR
set -u
cli=$1
spooler=$2
work=$3
rm -rf "$work"
mkdir -p "$work"
set -a
# shellcheck disable=SC1091
. "$spooler/env"
set +a
limit=30  # seconds: far beyond any run's wait, so that only a hang reaches it

"$cli" listen --port 0 --out "$work/captures" --pjl --device-id "MFG:HP;CMD:PCL,PJL;MDL:Sweep;" \
  >"$work/listen.out" 2>&1 &
listener=$!
trap 'kill -INT $listener 2>/dev/null; wait $listener 2>/dev/null' EXIT
port=""
for _ in $(seq 100); do
  port=$(sed -n 's/^quorvel-cli listen: 127\.0\.0\.1:\([0-9]*\),.*/\1/p' "$work/listen.out")
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || { echo "FAIL: the virtual printer did not start"; exit 1; }
down=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')

failures=0
runs=0
# Where a report, not standard error, says why: a text or JSON line's outcome, a JUnit failure.
why=': "\?\(failed\|not \|refused\)\|<failure '

# Runs quorvel-cli with the words given; judges how it ended.
sweep() {
  runs=$((runs + 1))
  timeout -s KILL "$limit" "$cli" "$@" >"$work/out" 2>"$work/err"
  local status=$?
  if [ "$status" -ge 124 ]; then
    echo "FAIL (status $status: a signal or a hang): quorvel-cli $*"
    cat "$work/err"
    failures=$((failures + 1))
  elif [ "$status" -ne 0 ] && [ ! -s "$work/err" ] && ! grep -q "$why" "$work/out"; then
    echo "FAIL (status $status without a word why): quorvel-cli $*"
    failures=$((failures + 1))
  fi
}

targets=(
  "--printer Virtual"
  "--printer Virtual --printer Second"
  "--printer Nope"
  "--to 127.0.0.1:$port"
  "--to ipp://$CUPS_SERVER/printers/Virtual"
  "--all"
  "--server $CUPS_SERVER --all"
  "--server $CUPS_SERVER --printer Virtual"
  "--server 127.0.0.1:$down --printer Virtual"
)
asks=("" "--wait=2" "--pjl" "--snmp --snmp-port $down --wait=1" "--format json" "--format junit")
for target in "${targets[@]}"; do
  for ask in "${asks[@]}"; do
    for page in dot-matrix pcl auto; do
      # shellcheck disable=SC2086
      sweep print $page $target $ask
    done
    [ "$ask" = "--wait=2" ] && continue
    # shellcheck disable=SC2086
    sweep check $target $ask
  done
done
sweep printers
sweep printers --server "$CUPS_SERVER" --server "127.0.0.1:$down"
for page in dot-matrix pcl; do
  sweep dump $page
  sweep explain $page
  sweep render $page -o "$work/sheet.png" --dpi 50
done
sweep verify "$work/no-such-scan.png"

echo "crash sweep: $runs runs, $failures failed"
[ "$failures" -eq 0 ]
