#!/bin/bash
# Makes a Wine prefix of its own (once) and waits until Wine has set it up.
#   wine_prefix.sh DIR [null]
# With "null" the prefix uses Wine's null display driver: windows, controls
# and messages work without any display server (the test suites' prefix).
set -eu
prefix=$1
export WINEPREFIX=$prefix WINEDEBUG=-all
if [ ! -f "$prefix/system.reg" ]; then
  mkdir -p "$prefix"
  DISPLAY= wineboot -i > /dev/null 2>&1 || true
  wineserver -w
fi
if [ "${2:-}" = null ]; then
  DISPLAY= wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f > /dev/null 2>&1
  wineserver -w
fi
