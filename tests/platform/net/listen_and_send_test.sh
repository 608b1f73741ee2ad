#!/bin/sh
# quorvel-cli listen receives, byte for byte, what quorvel-cli print --to sends; Ctrl-C (SIGINT)
# stops it cleanly; a port with nothing listening makes print exit 4 with the system's reason.
# Usage: listen_and_send_test.sh QUORVEL_CLI WORK_DIR
set -u
cli=$1
dir=$2
rm -rf "$dir"
mkdir -p "$dir"
fail() { echo "FAIL: $*"; cat "$dir/listen.out" 2>/dev/null; exit 1; }

"$cli" listen --port 0 --out "$dir/captures" --explain >"$dir/listen.out" 2>&1 &
pid=$!
trap 'kill -INT $pid 2>/dev/null' EXIT

port=""
for _ in $(seq 100); do
  port=$(sed -n 's/^quorvel-cli listen: 127\.0\.0\.1:\([0-9]*\),.*/\1/p' "$dir/listen.out")
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || fail "the listener did not start"

"$cli" print dot-matrix --to "127.0.0.1:$port" >"$dir/print.out" 2>&1 || fail "print --to: status $?"
[ "$(cat "$dir/print.out")" = "Executed" ] || fail "print --to said: $(cat "$dir/print.out")"
"$cli" dump dot-matrix >"$dir/expected.prn"
for _ in $(seq 100); do
  grep -q "6 spelled out, 16 bytes differ" "$dir/listen.out" && break
  sleep 0.1
done
cmp "$dir/captures/job-000001.prn" "$dir/expected.prn" || fail "the capture differs"
grep -q "1154 bytes  $dir/captures/job-000001.prn" "$dir/listen.out" || fail "no summary line"
grep -q "6 spelled out, 16 bytes differ" "$dir/listen.out" || fail "no listing"

kill -INT $pid
status=0
wait $pid || status=$?
trap - EXIT
[ "$status" -eq 0 ] || fail "listen ended with status $status after SIGINT"

"$cli" print pcl --to "127.0.0.1:$port" >"$dir/refused.out" 2>&1
status=$?
[ "$status" -eq 4 ] || fail "print to a closed port: status $status"
grep -q "^connect to 127.0.0.1:$port: ." "$dir/refused.out" || fail "no reason: $(cat "$dir/refused.out")"

"$cli" print pcl --to "127.0.0.1:$port" --printer Virtual >/dev/null 2>&1
status=$?
[ "$status" -eq 2 ] || fail "--to with --printer: status $status"
echo "listen and print --to: passed"
