#!/bin/sh
# Makes the README's pictures again: records a minute of the simulated ECM's
# drive (warm-up, a standing start at full throttle, cruise), then renders the
# gauges at the launch, the Analysis table and the "1/4 Mile Graph" from the
# line before it. Run from the top of the checkout after a build:
#   tools/docs/make_pictures.sh [BUILD_DIR]
set -eu
build=${1:-build}
vantor="$build/apps/vantor/vantor"
[ -x "$vantor" ] || { echo "make_pictures: build first ($vantor is missing)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
log="$work/drive.dat"
"$vantor" record --port SIM --seconds 60 "$log"

# The launch: the first frame over 3,000 rpm; the run is measured from a
# second before it, with the car still at the line.
launch=$("$vantor" frames "$log" | awk -F, 'NR > 1 && $5 > 3000 { print $1; exit }')
[ -n "$launch" ] || { echo "make_pictures: the recording holds no launch" >&2; exit 1; }
start=$((launch - 17))
"$vantor" screenshot --display gauges --log "$log" --frames $((launch + 60)) docs/gauge_display.png
"$vantor" screenshot --display analysis --log "$log" --line "$start" docs/analysis_display.png
"$vantor" screenshot --display qtr --log "$log" --line "$start" docs/qtr_graph.png
echo "docs pictures made from line $start of a $(wc -c < "$log")-byte recording"
