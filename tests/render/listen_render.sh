#!/bin/sh
# quorvel-cli listen --render: a job sent to the virtual printer is saved and its expected sheet
# drawn beside it, job-000001.png next to job-000001.prn. Loopback only; the listener started
# here is stopped here, by its PID.
# usage: listen_render.sh QUORVEL-CLI WORKDIR
set -u
cli=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
"$cli" listen --port 0 --port-file "$work/port" --out "$work" --render --idle 2 \
  > "$work/listen.log" 2>&1 &
listener=$!
trap 'kill "$listener" 2>/dev/null; wait "$listener" 2>/dev/null' EXIT
for _ in $(seq 50); do [ -s "$work/port" ] && break; sleep 0.1; done
[ -s "$work/port" ] || { echo "the listener did not start"; cat "$work/listen.log"; exit 1; }
# A Windows listener ends its port file's line with CR LF.
"$cli" print dot-matrix --to "127.0.0.1:$(tr -d '\r\n' < "$work/port")" || exit 1
for _ in $(seq 100); do
  if [ -s "$work/job-000001.png" ] && grep -q "job-000001.png" "$work/listen.log"; then
    if [ "$(head -c 8 "$work/job-000001.png" | od -A n -t x1 | tr -d ' ')" = "89504e470d0a1a0a" ]; then
      echo "job-000001.png drawn beside job-000001.prn"
      exit 0
    fi
  fi
  sleep 0.1
done
echo "no picture beside the captured job:"
ls -l "$work"
cat "$work/listen.log"
exit 1
