#!/bin/bash
# Pictures of both window programs on both hosts, through the same steps
# (tools/window_pictures_steps.sh): the Qt programs of a Linux build and the
# Windows programs under Wine; then the canvas of every main-window picture
# compared pixel for pixel (compare_pictures.sh).
#   pictures.sh LINUX_BUILD WINDOWS_BUILD OUT_DIR
# Exit status 0 when every canvas is identical.
set -u
linux=$(cd "${1:?usage: pictures.sh LINUX_BUILD WINDOWS_BUILD OUT_DIR}" && pwd) || exit 2
windows=$(cd "${2:?usage: pictures.sh LINUX_BUILD WINDOWS_BUILD OUT_DIR}" && pwd) || exit 2
out=${3:?usage: pictures.sh LINUX_BUILD WINDOWS_BUILD OUT_DIR}
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out/linux" "$out/wine" && out=$(cd "$out" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$linux/apps/vantor/vantor" record --port SIM --seconds 12 "$work/drive.dat" > /dev/null || exit 2

xvfb-run -a -s "-screen 0 1280x1024x24" bash "$here/../window_pictures_steps.sh" "$linux" "$out/linux" "$work/drive.dat"
export WINEPREFIX=$windows/wine-pictures WINEDEBUG=-all
"$here/wine_prefix.sh" "$WINEPREFIX" || exit 2
# The Windows dialog's tabs are as wide as their captions: the second begins near x = 100.
VANTOR_RUN=wine VANTOR_TAB_X=130 xvfb-run -a -s "-screen 0 1280x1024x24" \
  bash "$here/../window_pictures_steps.sh" "$windows" "$out/wine" "$work/drive.dat"
wineserver -k 2> /dev/null
"$here/compare_pictures.sh" "$out/linux" "$out/wine" "$out/compare"
