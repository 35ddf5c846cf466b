#!/bin/bash
# Installs the Windows packages under Wine in a prefix of their own and looks:
# the zip unpacked and its programs run; the installer run through its pages
# (a picture of each), the files and Start-menu entries it made, the installed
# VantorFlash.exe started; then the uninstaller, and what it left.
#   install_check.sh WINDOWS_BUILD [OUT_DIR]
set -u
windows=$(cd "${1:?usage: install_check.sh WINDOWS_BUILD [OUT_DIR]}" && pwd) || exit 2
out=${2:-$windows/install_check}
here=$(cd "$(dirname "$0")" && pwd)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$windows/CMakeCache.txt")
zip=$windows/VantorFlash-$version-windows.zip
setup=$windows/VantorFlash-$version-setup.exe
[ -f "$zip" ] && [ -f "$setup" ] || { echo "install_check: make windows-package first" >&2; exit 2; }
mkdir -p "$out" && out=$(cd "$out" && pwd)
export WINEPREFIX=$windows/wine-install WINEDEBUG=-all
rm -rf "$WINEPREFIX"
"$here/wine_prefix.sh" "$WINEPREFIX" || exit 2
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$here/install_check_steps.sh" "$zip" "$setup" "$out"
status=$?
wineserver -k 2> /dev/null
exit $status
