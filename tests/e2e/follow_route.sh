#!/bin/bash
# End to end against real interfaces: the meter, on the automatic adapter, runs under wine
# inside a network namespace of the test's own with two veth links to a second namespace,
# each carrying steady traffic of its own rate. The default route moves from one link to
# the other, goes away and comes back; a screen reader's view of the meter (watch_meter)
# shows which adapter it follows and what it reads. Private prefixes, inside the two
# namespaces only: nothing of the machine's own network is touched.
#   follow_route.sh <build-dir> <ripplet.exe> <watch_meter.exe>
set -euo pipefail
build=$(cd "$1" && pwd) exe=$2 watch=$3
state=$build/wine
export DISPLAY; DISPLAY=$(cat "$state/display")
fail() { echo "FAIL: $*"; exit 1; }

ns=rplm$$ peer=rplp$$
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  [ -d "$work/prefix" ] && ip netns exec "$ns" env WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true
  wait 2>/dev/null || true
  ip netns del "$ns" 2>/dev/null || true
  ip netns del "$peer" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM  # a stopped test also takes its namespaces and wineserver down

if ! command -v ip >/dev/null || ! ip netns add "$ns" 2>/dev/null; then
  echo "SKIP: no network namespace can be made here (ip netns add needs root and iproute2)"
  exit 77
fi
ip netns add "$peer"
# The meter's side: rpl1 (10.77.1.1) and rpl2 (10.77.2.1); the peer's: 10.77.x.2.
for i in 1 2; do
  ip -n "$ns" link add "rpl$i" type veth peer name "peer$i" netns "$peer"
  ip -n "$ns" addr add "10.77.$i.1/24" dev "rpl$i"
  ip -n "$peer" addr add "10.77.$i.2/24" dev "peer$i"
  ip -n "$ns" link set "rpl$i" up
  ip -n "$peer" link set "peer$i" up
done
ip -n "$ns" link set lo up
ip -n "$peer" link set lo up
ip -n "$ns" route replace default via 10.77.1.2 dev rpl1

# Steady UDP traffic from the peer into each link: 60000 bytes/s on rpl1, 180000 on rpl2.
# A sender that falls behind catches up 100 ms at most, so a 500 ms tick sees 1.2 times the
# rate at the very most, while a loaded machine still gets the rate on average.
ip netns exec "$peer" python3 - <<'PY' &
import socket, time
links = [("10.77.1.1", 60000), ("10.77.2.1", 180000)]
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
payload = b"\0" * 1000
start = time.monotonic()
sent = [0, 0]
while True:
    now = time.monotonic() - start
    for i, (address, rate) in enumerate(links):
        due = int(now * rate)
        if due - sent[i] > rate // 10:
            sent[i] = due - rate // 10  # far behind: skip ahead
        while sent[i] + 1042 <= due:  # 1000 bytes of data: 1042 on the wire
            try:
                s.sendto(payload, (address, 9))
            except OSError:
                pass
            sent[i] += 1042
    time.sleep(0.01)
PY
pids+=($!)

# A wine prefix of its own, so that its wineserver and services live in the namespace and
# see its interfaces. It shares drive C with the harness' prefix.
mkdir -p "$work/prefix" "$work/meter"
cp -a "$state/prefix"/*.reg "$state/prefix/.update-timestamp" "$state/prefix/dosdevices" "$work/prefix/"
ln -s "$state/prefix/drive_c" "$work/prefix/drive_c"
inns() {
  ip netns exec "$ns" env WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
    LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8 DISPLAY="$DISPLAY" "$@"
}
inns setsid wineserver -p </dev/null >/dev/null 2>&1 || true
inns wine wineboot </dev/null >/dev/null 2>&1 || true

cp "$exe" "$work/meter/followmeter.exe"
printf '[Settings]\r\nAdapterName=\r\nAutoAdapter=1\r\nInterval=500\r\nValueInterval=1\r\n' \
  >"$work/meter/followmeter.ini"
(cd "$work/meter" && inns wine followmeter.exe </dev/null >/dev/null 2>&1) &
pids+=($!)
log=$work/watch.log
inns wine "$watch" </dev/null >"$log" 2>/dev/null &
pids+=($!)

# Lines after the mark: "<ms> TAB <description> TAB <value>".
mark=0
since() { tr -d '\r' <"$log" | awk -F'\t' -v t="$mark" '$1 >= t'; }  # wine writes CRLF
now_ms() { date +%s%3N; }
# wait_for <what> <awk condition on $2, $3>: up to 90 s for a line after the mark that
# meets it; prints how long after the mark it came.
wait_for() {
  local what=$1 cond=$2 line
  for _ in $(seq 900); do
    line=$(since | awk -F'\t' "$cond { print; exit }")
    if [ -n "$line" ]; then
      echo "$what: after $(( ${line%%$'\t'*} - mark )) ms"
      return 0
    fi
    sleep 0.1
  done
  tail -5 "$log"
  fail "$what did not come within 90 s"
}
# The receive value as a number of k bytes/s ("-" gives -1).
value='($3 == "-" ? -1 : $3 + 0)'
on() { echo "\$2 ~ /: $1\$/ && $value > $2 && $value <= $3"; }
# No tick may read more than the faster link carries, with a quarter for the sender's pacing:
# the two links' sum (about 234 k) or a spike at a switch is more.
check_no_spike() {
  local high
  high=$(since | awk -F'\t' "{ v = $value; if (v > m) m = v } END { print m + 0 }")
  awk -v h="$high" 'BEGIN { exit !(h <= 225) }' || { since | tail -40; fail "a value of $high k above the traffic's rate"; }
}

mark=$(now_ms)
wait_for "rpl1 followed at start" "$(on rpl1 20 80)"
check_no_spike

mark=$(now_ms)
ip -n "$ns" route replace default via 10.77.2.2 dev rpl2
wait_for "rpl2 followed" "$(on rpl2 100 225)"
latency=$(since | awk -F'\t' "$(on rpl2 100 225) { print \$1 - $mark; exit }")
[ "$latency" -le 5000 ] || fail "the rates followed the route after $latency ms, not within 5 s"
check_no_spike

mark=$(now_ms)
ip -n "$ns" route del default
wait_for "offline" '$2 ~ /: なし$/ && $3 == "-"'
sleep 2
# Offline stays "-": no value while there is no default route.
since | awk -F'\t' -v t="$(( $(now_ms) - 1500 ))" '$1 >= t && $3 != "-" { exit 1 }' ||
  fail "a value while offline"

mark=$(now_ms)
ip -n "$ns" route replace default via 10.77.1.2 dev rpl1
wait_for "rpl1 followed again" "$(on rpl1 20 80)"
check_no_spike
echo "1 passed, 0 failed"
