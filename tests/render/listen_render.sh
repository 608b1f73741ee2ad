#!/bin/sh
# quorvel-cli listen --render: a job sent to the virtual printer is saved and its expected sheet
# drawn beside it, job-000001.png next to job-000001.prn. Loopback only; the listener started
# here is stopped here, by its PID. A PJL job gives one sheet with no @PJL text on it; a PJL
# query is kept apart (pjl-NNNNNN.prn) with no sheet; a connection with no data leaves no file.
# usage: listen_render.sh QUORVEL-CLI WORKDIR
set -u
cli=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
"$cli" listen --port 0 --port-file "$work/port" --out "$work" --render --pjl --idle 2 \
  > "$work/listen.log" 2>&1 &
listener=$!
trap 'kill "$listener" 2>/dev/null; wait "$listener" 2>/dev/null' EXIT
for _ in $(seq 50); do [ -s "$work/port" ] && break; sleep 0.1; done
[ -s "$work/port" ] || { echo "the listener did not start"; cat "$work/listen.log"; exit 1; }
# A Windows listener ends its port file's line with CR LF.
"$cli" print dot-matrix --to "127.0.0.1:$(tr -d '\r\n' < "$work/port")" || exit 1
fail() { echo "FAIL: $*"; ls -l "$work"; cat "$work/listen.log"; exit 1; }
# wait_for TEXT: until the listener has said TEXT.
wait_for() {
  for _ in $(seq 100); do grep -qF "$1" "$work/listen.log" && return 0; sleep 0.1; done
  fail "the listener never said $1"
}
pjl_jobs() {
  port=$(tr -d '\r\n' < "$work/port")
  "$cli" print pcl --to "127.0.0.1:$port" --pjl >"$work/print.out" 2>&1 || fail "print --pjl: $?"
  wait_for "job-000002.png"
  [ ! -e "$work/job-000002-2.png" ] || fail "the PJL job drew a second page"
  # The sheet's text, read back from its PDF (the Windows build writes PNG only and says so).
  if "$cli" render "$work/job-000002.prn" -o "$work/pjl.pdf" 2>"$work/pdf.err"; then
    pdftotext "$work/pjl.pdf" "$work/pjl.txt" || fail "pdftotext"
    grep -q "Quorvelprint" "$work/pjl.txt" || fail "the page's text is not on the sheet"
    ! grep -q "PJL" "$work/pjl.txt" || fail "PJL printed on the sheet: $(cat "$work/pjl.txt")"
  else
    grep -q "PDF is not drawn on Windows" "$work/pdf.err" || fail "render pjl.pdf: $(cat "$work/pdf.err")"
  fi
  # check --pjl first connects to see the port answers (no data), then asks its questions.
  "$cli" check --to "127.0.0.1:$port" --pjl >/dev/null 2>&1 || fail "check --pjl: $?"
  wait_for "job control only (a query): no sheet"
  wait_for "no data: nothing saved"
  [ -z "$(ls "$work" | grep -e '^pjl-.*\.png' -e '^job-00000[3-9]')" ] ||
    fail "a query or an empty connection was drawn or saved"
  echo "PJL job: one page, no PJL text; the query kept apart; the empty connection not saved"
}
for _ in $(seq 100); do
  if [ -s "$work/job-000001.png" ] && grep -q "job-000001.png" "$work/listen.log"; then
    if [ "$(head -c 8 "$work/job-000001.png" | od -A n -t x1 | tr -d ' ')" = "89504e470d0a1a0a" ]; then
      echo "job-000001.png drawn beside job-000001.prn"
      pjl_jobs
      exit 0
    fi
  fi
  sleep 0.1
done
echo "no picture beside the captured job:"
ls -l "$work"
cat "$work/listen.log"
exit 1
