#!/usr/bin/env bash
# Idle cost of the display in each of its three main views, measured on this machine.
#   [SETTLE=S] bench/idle_cpu.sh [SECONDS] [BINARY...]
# Runs the display off-screen against the simulated dryer for SECONDS (default 60) of steady
# running in the chart view, the graph view and staged batch, and prints per view the display's
# CPU share (user + system time of the process over wall time, as a share of one core) and its
# resident memory at the end (and its peak).
#
# The simulated dryer runs as its own process (orvandry-sim, as the controller is its own board on
# the panel's serial line), so the display's figure is the display's alone; the simulator's share
# is printed beside it. SIM=in-process measures `orvandry --simulate` instead, the simulator then
# counting in the display's figure. SIM_BINARY names the simulator (default: build/sim/orvandry-sim).
#
# With several binaries (e.g. a build before and after a change) they run side by side, at the
# same time, each with its own simulator, so all see the same load from the rest of the machine.
set -euo pipefail
seconds=${1:-60}
shift || true
bins=("$@")
[ ${#bins[@]} -gt 0 ] || bins=(build/app/orvandry)
sim_binary=${SIM_BINARY:-build/sim/orvandry-sim}
in_process=false
[ "${SIM:-}" = in-process ] && in_process=true
for bin in "${bins[@]}"; do
  [ -x "$bin" ] || { echo "build first: $bin not found" >&2; exit 1; }
done
$in_process || [ -x "$sim_binary" ] || { echo "build first: $sim_binary not found" >&2; exit 1; }
work=$(mktemp -d)
all_pids=()
cleanup() {
  for pid in "${all_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export QT_QPA_PLATFORM=offscreen
# The steady state is the dryer riding its setpoints, as it runs for most of a season: the simulated
# dryer starts cold, and in its first minute its plenums purge, fire and climb, every reading a
# new one. The measurement starts after SETTLE seconds (default 90); SETTLE=3 measures that first
# minute instead.
settle=${SETTLE:-90}

# CPU time of all the process's threads in ns, as the scheduler counts it (/proc/PID/task/*/schedstat),
# rather than in the 10 ms steps of /proc/PID/stat: at half a percent a minute holds only about 30
# of those. (The display's threads, the GUI and the link thread, live as long as it does.)
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%d", s }'; }
kib() { awk -v k="$2" '$1 == k":" {print $2}' "/proc/$1/status"; }

# Starts a simulator in VIEW, its output in FILE; prints its pid once it has printed its path.
start_sim() {
  local view=$1 out=$2
  # The same steady demonstration as `orvandry --simulate`: the panel switch inputs keep moving.
  "$sim_binary" --view "$view" --switch-test 0-100000000 >"$out" 2>/dev/null &
  local pid=$!
  for _ in $(seq 100); do
    [ -s "$out" ] && break
    sleep 0.05
  done
  [ -s "$out" ] || { echo "the simulator printed no terminal" >&2; exit 1; }
  echo "$pid"
}

printf '%-6s %-40s %8s %9s %9s %8s\n' view binary "cpu %" "rss MiB" "peak MiB" "sim cpu %"
for view in chart graph batch; do
  pids=()
  sims=()
  for i in "${!bins[@]}"; do
    data="$work/$view-$i"
    mkdir -p "$data"
    link=(--simulate --view "$view")
    sim_pid=""
    if ! $in_process; then
      sim_pid=$(start_sim "$view" "$work/sim-$view-$i")
      all_pids+=("$sim_pid")
      link=(--port "$(head -n1 "$work/sim-$view-$i")")
    fi
    sims+=("$sim_pid")
    ORVANDRY_INSTANCE="orvandry-idle-$$-$view-$i" "${bins[$i]}" "${link[@]}" \
      --data-dir "$data" --usb-dir "$data/usb" --screenshot-every 86400 \
      --run-seconds $(( settle + seconds + 5 )) >/dev/null 2>&1 &
    pids+=($!)
    all_pids+=($!)
  done
  sleep "$settle"
  declare -A c0=()
  for pid in "${pids[@]}" "${sims[@]}"; do [ -n "$pid" ] && c0[$pid]=$(cpu_ns "$pid"); done
  t0=$(date +%s%N)
  sleep "$seconds"
  t1=$(date +%s%N)
  wall_ms=$(( (t1 - t0) / 1000000 ))
  share() { awk -v c="$1" -v w="$wall_ms" 'BEGIN { printf "%.2f", 100 * c / 1e6 / w }'; }
  for i in "${!bins[@]}"; do
    pid=${pids[$i]}
    sim_pid=${sims[$i]}
    cpu=$(share $(( $(cpu_ns "$pid") - ${c0[$pid]} )))
    sim_cpu="-"
    [ -n "$sim_pid" ] && sim_cpu=$(share $(( $(cpu_ns "$sim_pid") - ${c0[$sim_pid]} )))
    awk -v v="$view" -v b="${bins[$i]}" -v c="$cpu" -v r="$(kib "$pid" VmRSS)" \
      -v h="$(kib "$pid" VmHWM)" -v s="$sim_cpu" \
      'BEGIN { printf "%-6s %-40s %8s %9.1f %9.1f %8s\n", v, b, c, r / 1024, h / 1024, s }'
  done
  for pid in "${pids[@]}" "${sims[@]}"; do
    [ -n "$pid" ] || continue
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  unset c0
done
