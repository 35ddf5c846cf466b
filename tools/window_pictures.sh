#!/bin/bash
# Renders every display, dialog page and both window programs' windows with
# two builds and compares the pictures pixel for pixel: the command-line
# screenshots of every display, then VantorFlash and ORV_KDM9Update under a
# virtual X display, driven by keys and clicks through the same steps.
#   tools/window_pictures.sh BEFORE_BUILD AFTER_BUILD [OUT_DIR]
# Each build is a build folder (with apps/ built). Exit status 0 when every
# picture is identical, 1 otherwise; the pictures stay in OUT_DIR/before,
# OUT_DIR/after, and each differing pair's difference in OUT_DIR/diff.
# Needs xvfb-run, xdotool and ImageMagick (import, compare).
set -u
before=${1:?usage: window_pictures.sh BEFORE_BUILD AFTER_BUILD [OUT_DIR]}
after=${2:?usage: window_pictures.sh BEFORE_BUILD AFTER_BUILD [OUT_DIR]}
out=${3:-$(mktemp -d)}
before=$(cd "$before" && pwd) && after=$(cd "$after" && pwd) || exit 2
mkdir -p "$out" && out=$(cd "$out" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
for tool in xvfb-run xdotool import compare; do
  command -v $tool > /dev/null || { echo "window_pictures: $tool is missing" >&2; exit 2; }
done
mkdir -p "$out/before" "$out/after" "$out/diff"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One recorded drive for both builds: the pictures must differ by nothing but the code.
"$after/apps/vantor/vantor" record --port SIM --seconds 12 "$work/drive.dat" > /dev/null || exit 2

for side in before after; do
  build=${!side}
  shots="$out/$side"
  for display in gauges trip ve knock diag flash malf banksel; do
    "$build/apps/vantor/vantor" screenshot --display $display --log "$work/drive.dat" "$shots/screenshot_$display.png" \
      > /dev/null 2>&1 || echo "window_pictures: $side: screenshot $display failed" >&2
  done
  for display in analysis qtr; do
    "$build/apps/vantor/vantor" screenshot --display $display --log "$work/drive.dat" --line 20 \
      "$shots/screenshot_$display.png" > /dev/null 2>&1 || echo "window_pictures: $side: screenshot $display failed" >&2
  done
  xvfb-run -a -s "-screen 0 1280x1024x24" bash "$here/window_pictures_steps.sh" "$build" "$shots" "$work/drive.dat"
done

status=0
for picture in "$out/before"/*.png; do
  name=$(basename "$picture")
  if [ ! -f "$out/after/$name" ]; then
    echo "missing after: $name"; status=1; continue
  fi
  differing=$(compare -metric AE "$picture" "$out/after/$name" "$out/diff/$name" 2>&1 > /dev/null)
  if [ "$differing" = "0" ]; then
    rm -f "$out/diff/$name"
    echo "same       $name"
  else
    echo "DIFFERENT  $name ($differing pixels)"; status=1
  fi
done
echo "pictures in $out"
exit $status
