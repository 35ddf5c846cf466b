#!/bin/bash
# The Windows programs under Wine on a virtual display:
#   1. VantorFlash.exe --demo shows each of the five live displays (keys 1-5)
#      and each moves;
#   2. ORV_KDM9Update.exe --demo ends with "    -Update Successful-";
#   3. ORV_KDM9Update.exe updates a module of `vantor sim` through COM5 (Wine's
#      port mapping to its pseudo-terminal), and `vantor bank read` finds
#      every bank equal to the Bank_N_new.bin the run wrote.
#   smoke.sh WINDOWS_BUILD LINUX_BUILD [OUT_DIR]
# LINUX_BUILD has apps/vantor/vantor. Exit status 0 when every check holds;
# the pictures stay in OUT_DIR (default WINDOWS_BUILD/smoke).
set -u
windows=$(cd "${1:?usage: smoke.sh WINDOWS_BUILD LINUX_BUILD [OUT_DIR]}" && pwd) || exit 2
linux=$(cd "${2:?usage: smoke.sh WINDOWS_BUILD LINUX_BUILD [OUT_DIR]}" && pwd) || exit 2
out=${3:-$windows/smoke}
here=$(cd "$(dirname "$0")" && pwd)
for tool in wine xvfb-run xdotool import convert; do
  command -v $tool > /dev/null || { echo "smoke: $tool is missing" >&2; exit 2; }
done
[ -x "$linux/apps/vantor/vantor" ] || { echo "smoke: $linux/apps/vantor/vantor is missing" >&2; exit 2; }
mkdir -p "$out" && out=$(cd "$out" && pwd)
export WINEPREFIX=$windows/wine-smoke
"$here/wine_prefix.sh" "$WINEPREFIX" || exit 2
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$here/smoke_steps.sh" "$windows" "$linux" "$out"
status=$?
WINEDEBUG=-all wineserver -k 2> /dev/null
exit $status
