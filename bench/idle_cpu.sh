#!/usr/bin/env bash
# Idle cost of the display in each of its three main views, measured on this machine.
#   bench/idle_cpu.sh [SECONDS] [BINARY...]
# Runs `orvandry --simulate --view V` off-screen for SECONDS (default 60) of steady running in the
# chart view, the graph view and staged batch, and prints per view the CPU share (user + system
# time of the process over wall time, as a share of one core) and the resident memory at the end
# (and its peak). With several binaries (e.g. a build before and after a change) they run side by
# side, at the same time, so both see the same load from the rest of the machine.
set -euo pipefail
seconds=${1:-60}
shift || true
bins=("$@")
[ ${#bins[@]} -gt 0 ] || bins=(build/app/orvandry)
for bin in "${bins[@]}"; do
  [ -x "$bin" ] || { echo "build first: $bin not found" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
ticks=$(getconf CLK_TCK)
settle=3  # start-up and the first frames are not the steady state

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
kib() { awk -v k="$2" '$1 == k":" {print $2}' "/proc/$1/status"; }

printf '%-6s %-40s %8s %9s %9s\n' view binary "cpu %" "rss MiB" "peak MiB"
for view in chart graph batch; do
  pids=()
  for i in "${!bins[@]}"; do
    data="$work/$view-$i"
    mkdir -p "$data"
    ORVANDRY_INSTANCE="orvandry-idle-$$-$view-$i" "${bins[$i]}" --simulate --view "$view" \
      --data-dir "$data" --usb-dir "$data/usb" --screenshot-every 86400 \
      --run-seconds $(( settle + seconds + 5 )) >/dev/null 2>&1 &
    pids+=($!)
  done
  sleep "$settle"
  declare -A c0=()
  for pid in "${pids[@]}"; do c0[$pid]=$(cpu_ticks "$pid"); done
  t0=$(date +%s%N)
  sleep "$seconds"
  t1=$(date +%s%N)
  for i in "${!bins[@]}"; do
    pid=${pids[$i]}
    c1=$(cpu_ticks "$pid")
    rss=$(kib "$pid" VmRSS)
    hwm=$(kib "$pid" VmHWM)
    awk -v v="$view" -v b="${bins[$i]}" -v c=$(( c1 - ${c0[$pid]} )) -v t="$ticks" \
      -v w=$(( (t1 - t0) / 1000000 )) -v r="$rss" -v h="$hwm" \
      'BEGIN { printf "%-6s %-40s %8.2f %9.1f %9.1f\n", v, b, 100 * c * 1000 / t / w, r / 1024, h / 1024 }'
  done
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; done
  unset c0
done
