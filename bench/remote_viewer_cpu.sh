#!/usr/bin/env bash
# CPU of the display with one live remote viewer connected, measured on this machine.
#   bench/remote_viewer_cpu.sh [BUILD_DIR] [SECONDS]
# Runs `orvandry --simulate` with the remote view on a loopback port, first with no viewer, then
# with a real headless Chromium showing the remote page (pictures of the screen pushed over the
# WebSocket). Reports user + system time of the display's process (the browser's own time is not
# counted) divided by wall time, as a share of one core, for each half.
set -euo pipefail
build=${1:-build}
seconds=${2:-30}
bin="$build/app/orvandry"
[ -x "$bin" ] || { echo "build first: $bin not found" >&2; exit 1; }
command -v chromium >/dev/null || { echo "chromium not found: scripts/install-deps" >&2; exit 1; }
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export QT_QPA_PLATFORM=offscreen ORVANDRY_INSTANCE="orvandry-remote-bench-$$"
token="bench-token-$(od -An -N8 -tx8 /dev/urandom | tr -d ' ')"
echo "$token" >"$work/token"
port=$(( 20000 + $$ % 20000 ))

"$bin" --simulate --data-dir "$work/data" --usb-dir "$work/usb" --screenshot-every 3600 \
  --remote-listen "127.0.0.1:$port" --remote-token-file "$work/token" \
  --run-seconds $(( 2 * seconds + 30 )) >"$work/display.log" 2>&1 &
display=$!
pids+=("$display")
sleep 3  # let start-up settle

ticks=$(getconf CLK_TCK)
measure() {  # prints the display's CPU over $seconds as a share of one core
  local u0 s0 u1 s1 t0 t1
  read -r u0 s0 < <(awk '{print $14, $15}' "/proc/$display/stat")
  t0=$(date +%s%N)
  sleep "$seconds"
  read -r u1 s1 < <(awk '{print $14, $15}' "/proc/$display/stat")
  t1=$(date +%s%N)
  awk -v c=$(( ( (u1 - u0) + (s1 - s0) ) * 1000 / ticks )) -v w=$(( (t1 - t0) / 1000000 )) \
    'BEGIN { printf "%.2f %% of one core (cpu %d ms over %d ms)\n", 100 * c / w, c, w }'
}

echo "== no viewer, ${seconds} s"
measure

chromium --headless --no-sandbox --disable-gpu --user-data-dir="$work/profile" \
  --remote-debugging-port=0 "http://127.0.0.1:$port/?token=$token" >/dev/null 2>&1 &
pids+=("$!")
sleep 5  # the browser starts, loads the page and takes its first pictures
connected=$(command -v curl >/dev/null && curl -s -H "Authorization: Bearer $token" "http://127.0.0.1:$port/api/status" | head -c 120 || echo "curl not installed")
echo "status while the viewer watches: $connected"
echo "== one viewer (headless Chromium), ${seconds} s"
measure
