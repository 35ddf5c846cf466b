#!/bin/bash
# Wall time and CPU of the bank jobs and the update run of "vantor" against
# the simulated module served by "vantor sim" (paced at 11,520 bytes/s) on a
# pseudo-terminal, with the time the module's replies need on that line.
#   tools/cpu/flash_jobs_cpu.sh [BUILD_DIR]
# CPU is user + system time of the whole vantor process over its wall time,
# to the millisecond (bash's time).
set -eu
TIMEFORMAT="%3R %3U %3S"
build=${1:-build}
vantor="$build/apps/vantor/vantor"
[ -x "$vantor" ] || { echo "flash_jobs_cpu: build first ($vantor is missing)" >&2; exit 1; }

work=$(mktemp -d)
sim=""
cleanup() {
  [ -n "$sim" ] && kill "$sim" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# Reply lengths on the wire: 'A' 16 bytes, 'C' (a calibration) 8,197, 'B' (a whole bank) 32,773.
ack=16 cal=8197 bin=32773
# bank read: Info, RequestCal, Stop.
read_bytes=$((ack + cal + ack))
# bank program with verify: Info, 2 erases, Info, 64 pages, RequestCal, Stop.
program_bytes=$(((1 + 2 + 1 + 64) * ack + cal + ack))
# update of 8 banks at layout 1.0: per bank Info and RequestCal to read it; then
# per bank Info, RequestCal, 8 erases, 63 pages, RequestCal, 192 pages,
# RequestBin, page 0; then Stop.
update_bytes=$((8 * (ack + cal) + 8 * ((1 + 8 + 63 + 192 + 1) * ack + 2 * cal + bin) + ack))

start_sim() {
  "$vantor" sim > "$work/sim.out" 2> "$work/sim.err" &
  sim=$!
  for _ in $(seq 50); do [ -s "$work/sim.out" ] && break; sleep 0.1; done
  port=$(head -1 "$work/sim.out")
  [ -n "$port" ] || { echo "flash_jobs_cpu: vantor sim did not start" >&2; cat "$work/sim.err" >&2; exit 1; }
}

stop_sim() {
  kill "$sim"
  wait "$sim" 2>/dev/null || true
  sim=""
}

# run LABEL REPLY_BYTES ARGS...: one job on a freshly started module.
run() {
  label=$1 bytes=$2
  shift 2
  start_sim
  if ! { time "$vantor" "$@" --port "$port" > "$work/job.log" 2>&1; } 2> "$work/time"; then
    echo "flash_jobs_cpu: $label failed:" >&2
    tail -5 "$work/job.log" >&2
    exit 1
  fi
  stop_sim
  awk -v l="$label" -v b="$bytes" '{
    wire = b / 11520
    printf "  %-13s wall %6.2f s, CPU %6.3f s = %5.2f %% of a core, replies on the wire %6.2f s, wall / wire %.2f\n",
           l, $1, $2 + $3, 100 * ($2 + $3) / $1, wire, $1 / wire }' "$work/time"
}

head -c 24576 /dev/urandom > "$work/firmware.bin"  # any image serves the simulated module
mkdir "$work/update"

echo "vantor against vantor sim on a pseudo-terminal (paced):"
run "bank read" "$read_bytes" bank read --bank 2 "$work/read.bin"
run "bank program" "$program_bytes" bank program --bank 2 "$work/read.bin"
run "update" "$update_bytes" update --firmware "$work/firmware.bin" --dir "$work/update"
