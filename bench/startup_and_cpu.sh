#!/usr/bin/env bash
# Start-up and steady-state cost of the display, measured on this machine.
#   bench/startup_and_cpu.sh [BUILD_DIR] [SECONDS]
# 1. Start-up to the first painted main screen: from exec (the libraries' loading included) to the
#    first paint of the main window (off-screen), over 10 runs; also the program's own figure
#    (from main()) and the whole run to its exit.
# 2. CPU of `orvandry --simulate` over SECONDS (default 60) of steady running: user + system time
#    of the process divided by wall time, as a share of one core.
set -euo pipefail
build=${1:-build}
seconds=${2:-60}
bin="$build/app/orvandry"
[ -x "$bin" ] || { echo "build first: $bin not found" >&2; exit 1; }
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
export QT_QPA_PLATFORM=offscreen ORVANDRY_INSTANCE="orvandry-bench-$$"

echo "== start-up to first paint (10 runs, ms: exec to the first paint / main() to the first paint / exec to exit)"
total=0
for i in $(seq 1 10); do
  start=$(date +%s%N)
  out=$("$bin" --exit-after-first-paint --data-dir "$data" --port "$data/none" 2>/dev/null)
  end=$(date +%s%N)
  own=$(sed -n 's/first paint after \([0-9]*\) ms/\1/p' <<<"$out")
  painted=$(sed -n 's/first paint at \([0-9]*\) ns/\1/p' <<<"$out")
  first=$(( (painted - start) / 1000000 ))
  total=$(( total + first ))
  echo "run $i: ${first} ms / ${own} ms / $(( (end - start) / 1000000 )) ms"
done
echo "mean exec to first paint: $(( total / 10 )) ms"

echo "== CPU of orvandry --simulate over ${seconds} s"
"$bin" --simulate --data-dir "$data" --usb-dir "$data/usb" --run-seconds $(( seconds + 5 )) \
  --screenshot-every 3600 >/dev/null 2>&1 &
pid=$!
sleep 3  # let start-up settle
ticks=$(getconf CLK_TCK)
read -r u0 s0 < <(awk '{print $14, $15}' "/proc/$pid/stat")
t0=$(date +%s%N)
sleep "$seconds"
read -r u1 s1 < <(awk '{print $14, $15}' "/proc/$pid/stat")
t1=$(date +%s%N)
wait "$pid" || true
cpu_ms=$(( ( (u1 - u0) + (s1 - s0) ) * 1000 / ticks ))
wall_ms=$(( (t1 - t0) / 1000000 ))
echo "cpu ${cpu_ms} ms over ${wall_ms} ms wall"
awk -v c="$cpu_ms" -v w="$wall_ms" 'BEGIN { printf "steady-state CPU: %.2f %% of one core\n", 100 * c / w }'
