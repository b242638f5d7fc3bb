#!/usr/bin/env bash
# CPU of the display while it publishes to an MQTT broker, beside the same run without MQTT.
#   bench/mqtt_cpu.sh [BUILD_DIR] [SECONDS]
# A mosquitto of its own runs on a free loopback port with a subscriber to everything the
# display sends (so every message is really delivered); `orvandry --simulate` runs off-screen for
# SECONDS (default 60) of steady running, once without and once with --mqtt-broker. The figure is
# the process's user + system time over wall time, as a share of one core (target: under 3 %).
# The broker's own CPU is printed separately: it is not the display's.
set -euo pipefail
build=${1:-build}
seconds=${2:-60}
bin="$build/app/orvandry"
[ -x "$bin" ] || { echo "build first: $bin not found" >&2; exit 1; }
broker_bin=$(command -v mosquitto || echo /usr/sbin/mosquitto)
[ -x "$broker_bin" ] || { echo "mosquitto is not installed (make deps)" >&2; exit 1; }
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
export QT_QPA_PLATFORM=offscreen ORVANDRY_INSTANCE="orvandry-mqtt-bench-$$"
ticks=$(getconf CLK_TCK)

port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
{
  echo "listener $port 127.0.0.1"
  echo "allow_anonymous true"
  echo "user $(id -un)"
} >"$work/mosquitto.conf"
"$broker_bin" -c "$work/mosquitto.conf" >"$work/broker.log" 2>&1 &
broker=$!
pids+=("$broker")
sleep 0.5
mosquitto_sub -h 127.0.0.1 -p "$port" -q 1 -t 'orvandry/#' -v >"$work/received.txt" 2>&1 &
pids+=("$!")

cpu_of() {  # PID SECONDS -> prints "cpu_ms wall_ms"
  local pid=$1 u0 s0 u1 s1 t0 t1
  read -r u0 s0 < <(awk '{print $14, $15}' "/proc/$pid/stat")
  t0=$(date +%s%N)
  sleep "$2"
  read -r u1 s1 < <(awk '{print $14, $15}' "/proc/$pid/stat")
  t1=$(date +%s%N)
  echo "$(( ((u1 - u0) + (s1 - s0)) * 1000 / ticks )) $(( (t1 - t0) / 1000000 ))"
}

run() {  # LABEL [extra options...]
  local label=$1
  shift
  "$bin" --simulate --data-dir "$work/data-$label" --usb-dir "$work/usb" \
    --run-seconds $(( seconds + 5 )) --screenshot-every 3600 "$@" >/dev/null 2>&1 &
  local pid=$!
  sleep 3  # let start-up settle
  read -r b0 _ < <(awk '{print $14 + $15, 0}' "/proc/$broker/stat")
  read -r cpu wall < <(cpu_of "$pid" "$seconds")
  read -r b1 _ < <(awk '{print $14 + $15, 0}' "/proc/$broker/stat")
  wait "$pid" || true
  awk -v l="$label" -v c="$cpu" -v w="$wall" \
    'BEGIN { printf "%-16s display CPU: %.2f %% of one core (%d ms over %d ms)\n", l, 100 * c / w, c, w }'
  if [ "$label" = with-mqtt ]; then
    awk -v c="$(( (b1 - b0) * 1000 / ticks ))" -v w="$wall" \
      'BEGIN { printf "%-16s broker CPU:  %.2f %% of one core\n", "", 100 * c / w }'
  fi
}

echo "== orvandry --simulate over ${seconds} s, without and with MQTT publishing"
run without-mqtt
run with-mqtt --mqtt-broker "127.0.0.1:$port" --dryer-name bench
echo "messages received by the subscriber: $(grep -c '^orvandry/bench/' "$work/received.txt" || true)"
