#!/bin/bash
# End to end with real loopback traffic: the usage file's row for today grows by the bytes
# that crossed lo while the meter ran, after a close; after a kill -9 it is whole and holds
# what the last periodic save (a minute apart) wrote; two copies on one file keep both
# their counts; a row the meter never wrote survives every save.
#   usage.sh <build-dir> <ripplet.exe>     (the locale comes from RIPPLET_TEST_LANG)
build=$(cd "$1" && pwd) exe=$2 name=usagemeter
source "$(dirname "$0")/lib.sh"
scripts=$(cd "$(dirname "$0")/../../scripts" && pwd)
csv=$work/$name-usage.csv
ini='[Settings]\r\nAdapterName=lo\r\nInterval=250\r\n[Window]\r\nLeft=300\r\nTop=400\r\n'
lo_bytes() { cat /sys/class/net/lo/statistics/rx_bytes; }

# today's received and sent bytes of lo in the file, "0 0" without a row; fails on a file
# that is not whole: a header, then only rows of four fields that end in CRLF.
row() {
  python3 - "$csv" "$(date +%F)" <<'PY'
import csv, io, sys
data = open(sys.argv[1], "rb").read() if __import__("os").path.exists(sys.argv[1]) else None
if data is None: print(0, 0); sys.exit(0)
assert data.startswith(b"\xef\xbb\xbfdate,adapter,received,sent\r\n"), "no header"
assert data.endswith(b"\r\n"), "not whole"
rows = list(csv.reader(io.StringIO(data[3:].decode("utf-8"), newline="")))[1:]
assert all(len(r) == 4 for r in rows), "a broken row"
got = [r for r in rows if r[0] == sys.argv[2] and r[1] == "lo"]
assert len(got) <= 1, "two rows for one day"
print(*(got[0][2:] if got else (0, 0)))
PY
}

# A row of another day and adapter: never the meter's to change.
printf '\xEF\xBB\xBFdate,adapter,received,sent\r\n2020-01-01,"Old, adapter",5,6\r\n' >"$csv"
xdotool mousemove 1279 1023

# 1. Paced traffic, a close: the row holds at least every payload byte and at most what
# crossed lo (other programs' traffic included) while the meter ran.
before=$(lo_bytes)
start "$ini"
payload=$((1500000 * 4))
python3 "$scripts/loopback-traffic" 1500000 4
sleep 1
stop
after=$(lo_bytes)
read -r recv sent <<<"$(row)" || fail "the file after a close is not whole"
echo "close: file $recv B received, $sent B sent; payload $payload B; lo counted $((after - before)) B"
[ "$recv" -ge "$payload" ] || fail "the file lost bytes: $recv < $payload"
[ "$recv" -le $((after - before)) ] || fail "the file counted bytes lo never carried"
[ "$sent" -ge "$payload" ] || fail "sent bytes lost: $sent < $payload"
# Without traffic of others on lo the file is within 1 % of the payload (headers and acks).
if [ $((after - before)) -le $((payload * 101 / 100)) ]; then
  [ "$recv" -le $((payload * 101 / 100)) ] || fail "more than 1 % over the payload"
  echo "close: within 1 % of the payload"
fi
grep -q '^2020-01-01,"Old, adapter",5,6'$'\r''$' "$csv" || fail "the old row was lost"

# 2. Traffic until a periodic save has added to the row, then kill -9: the file is whole
# and holds that save.
saved=$recv
start "$ini"
python3 "$scripts/loopback-traffic" 300000 150 &
traffic=$!
for _ in $(seq 150); do
  read -r recv sent <<<"$(row)" || fail "a periodic save left a file that is not whole"
  [ "$recv" -gt "$saved" ] && break
  sleep 1
done
[ "$recv" -gt "$saved" ] || fail "no periodic save within 150 s"
kill -9 "$meter"; wait "$meter" 2>/dev/null || true; meter=
kill "$traffic" 2>/dev/null; wait "$traffic" 2>/dev/null || true
read -r killed _ <<<"$(row)" || fail "the file after kill -9 is not whole"
echo "kill -9: the file holds $killed B (the periodic save wrote $recv B)"
[ "$killed" -eq "$recv" ] || fail "the file changed after the kill"
rm -f "$work"/*.tmp

# 3. Two copies on the same file: each counts every byte of lo; after both close, the row
# has grown by both counts.
saved=$killed
start "$ini"; first=$meter
meter=
start "$ini"; second=$meter
before=$(lo_bytes)
python3 "$scripts/loopback-traffic" 1000000 3
after=$(lo_bytes)
sleep 1
stop  # closes both: taskkill asks every copy of the image
meter=$first
wait_exit || fail "the first copy did not close"
read -r recv _ <<<"$(row)" || fail "the file after two copies is not whole"
echo "two copies: the row grew by $((recv - saved)) B; payload 3000000 B each"
[ $((recv - saved)) -ge 6000000 ] || fail "a copy's count was lost: $((recv - saved)) < 2 x 3000000"
grep -q '^2020-01-01,"Old, adapter",5,6'$'\r''$' "$csv" || fail "the old row was lost"
echo "3 passed, 0 failed"
