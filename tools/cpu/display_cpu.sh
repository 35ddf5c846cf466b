#!/bin/sh
# CPU of VantorFlash on each of the five live displays and with no port open,
# as user + system ticks of the whole process (/proc/PID/stat) over a span.
#   tools/cpu/display_cpu.sh [BUILD_DIR] [SECONDS]
# BUILD_DIR (default build) holds apps/VantorFlash/VantorFlash and
# apps/vantor/vantor; SECONDS is the span per figure (default 12, at least 10).
# Three runs: --demo (the simulated ECM inside the program), the same module
# served by "vantor sim" on a pseudo-terminal (paced), and a port that does
# not exist. Runs itself under xvfb-run; needs xdotool.
set -eu
build=${1:-build}
span=${2:-12}
flash="$build/apps/VantorFlash/VantorFlash"
vantor="$build/apps/vantor/vantor"
[ -x "$flash" ] && [ -x "$vantor" ] || { echo "display_cpu: build first ($flash, $vantor)" >&2; exit 1; }
[ "$span" -ge 10 ] || { echo "display_cpu: SECONDS must be at least 10" >&2; exit 2; }
if [ -z "${VANTOR_CPU_UNDER_XVFB:-}" ]; then
  VANTOR_CPU_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$build" "$span"
fi

work=$(mktemp -d)
program=""
sim=""
cleanup() {
  [ -n "$program" ] && kill "$program" 2>/dev/null || true
  [ -n "$sim" ] && kill "$sim" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
hz=$(getconf CLK_TCK)

# utime + stime of a process, in clock ticks (the fields after "(comm) ").
ticks() { sed 's/^.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }
now() { date +%s.%N; }

# Prints "<label> <per cent of one core>" for the program over the span.
measure() {
  t0=$(ticks "$program"); w0=$(now)
  sleep "$span"
  t1=$(ticks "$program"); w1=$(now)
  awk -v l="$1" -v t="$((t1 - t0))" -v hz="$hz" -v w0="$w0" -v w1="$w1" \
    'BEGIN { printf "  %-12s %5.2f %% of a core (%d ticks in %.1f s)\n", l, 100 * t / hz / (w1 - w0), t, w1 - w0 }'
}

# Starts VantorFlash with a configuration naming the port, waits for its window.
start_program() {
  printf '[PORT] %s\r\n' "$1" > "$work/program.cfg"
  shift
  "$flash" "$@" --config "$work/program.cfg" > "$work/program.log" 2>&1 &
  program=$!
  window=""
  for _ in $(seq 50); do
    window=$(xdotool search --pid "$program" --name '^Vantor$' 2>/dev/null | head -1) || true
    [ -n "$window" ] && break
    sleep 0.2
  done
  [ -n "$window" ] || { echo "display_cpu: no window" >&2; cat "$work/program.log" >&2; exit 1; }
  xdotool windowfocus --sync "$window"
  sleep 3  # start-up, port open, first frames
}

stop_program() {
  kill "$program"
  wait "$program" 2>/dev/null || true
  program=""
}

live_displays() {
  for display in 1:gauges 2:trip 3:ve-learn 4:knock 5:diagnostics; do
    xdotool key --window "$window" "${display%%:*}"
    sleep 2
    measure "${display#*:}"
  done
}

echo "VantorFlash --demo (simulated ECM in the program), ${span} s per display:"
start_program SIM --demo
live_displays
stop_program

"$vantor" sim > "$work/sim.out" 2> "$work/sim.err" &
sim=$!
for _ in $(seq 50); do [ -s "$work/sim.out" ] && break; sleep 0.1; done
slave=$(head -1 "$work/sim.out")
echo "VantorFlash on $slave (vantor sim, paced), ${span} s per display:"
start_program "$slave"
live_displays
stop_program
kill "$sim"; wait "$sim" 2>/dev/null || true; sim=""

echo "VantorFlash with no port open (the port does not exist), ${span} s:"
start_program /dev/vantor-none
measure idle
stop_program
