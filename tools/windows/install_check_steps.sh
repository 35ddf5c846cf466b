#!/bin/bash
# The steps of install_check.sh inside the virtual X display.
#   install_check_steps.sh ZIP SETUP OUT_DIR
set -u
zip=$1
setup=$2
out=$3
failures=0
say() { echo "install_check: $*"; }
fail() { echo "install_check: FAILED: $*" >&2; failures=$((failures + 1)); }
shot() { sleep 1; import -window root "$out/$1.png"; }
key() { xdotool key --clearmodifiers "$@"; sleep 0.8; }
# Starts a program, keeps a picture of its window, checks that it made its
# configuration beside itself, and ends it: WHERE TITLE PICTURE CONFIG PROGRAM [ARGS...]
try_program() {
  local where=$1 title=$2 picture=$3 config=$4 program=$5 pid
  shift 5
  wine "$program" "$@" > /dev/null 2>&1 &
  pid=$!
  if timeout 60 xdotool search --sync --name "$title" > /dev/null; then
    sleep 3
    shot "$picture"
    [ -f "$(dirname "$program")/$config" ] && say "$where: $config made beside the program" ||
      fail "$where: no $config beside the program"
    key alt+f x
  else
    fail "$where: no window $title"
  fi
  wait $pid 2> /dev/null
}
drive=$WINEPREFIX/drive_c
user=$(ls "$drive/users" | grep -v Public | head -1)
programs=$drive/users/$user/AppData/Local/Programs/VantorFlash
menu="$drive/users/$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/VantorFlash"

# ---- the zip ----
mkdir -p "$drive/Tools" && unzip -q -o "$zip" -d "$drive/Tools"
unpacked=$(ls -d "$drive/Tools"/VantorFlash-*-windows)
for file in VantorFlash.exe ORV_KDM9Update.exe vantor.exe README.md FONT-LICENSE.txt FIRMWARE.txt; do
  [ -f "$unpacked/$file" ] || fail "the zip has no $file"
done
version=$(wine "$unpacked/VantorFlash.exe" --version 2>&1 | tr -d '\r')
say "zip: VantorFlash.exe --version: $version"
wine "$unpacked/vantor.exe" --help > /dev/null 2>&1 || fail "vantor.exe --help from the zip"
try_program zip '^ORV_KDM9Update$' zip_update_started ORV_KDM9Update.cfg "$unpacked/ORV_KDM9Update.exe" --demo

# ---- the installer, through its pages ----
wine "$setup" > /dev/null 2>&1 &
installer=$!
timeout 60 xdotool search --sync --name 'VantorFlash.*Setup' > /dev/null || fail "no installer window"
shot installer_welcome
key Return; shot installer_folder
key Return; sleep 3; shot installer_finish
key Return
wait $installer 2> /dev/null
for file in VantorFlash.exe ORV_KDM9Update.exe vantor.exe README.md FONT-LICENSE.txt FIRMWARE.txt Uninstall.exe; do
  [ -f "$programs/$file" ] || fail "installed: no $file"
done
say "installed into $(wine winepath -w "$programs" 2> /dev/null | tr -d '\r'): $(ls "$programs" | tr '\n' ' ')"
say "Start menu: $(ls "$menu" 2> /dev/null | tr '\n' ',')"
[ "$(ls "$menu" 2> /dev/null | wc -l)" = 4 ] || fail "the Start menu does not hold the four entries"
wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\VantorFlash' /v DisplayName > /dev/null 2>&1 ||
  fail "no uninstall entry"

try_program installed '^Vantor$' installed_vantorflash ORV_KDM-9_Vantor.cfg "$programs/VantorFlash.exe" --demo

# ---- the uninstaller: the programs go, the user's files stay ----
wine "$programs/Uninstall.exe" /S > /dev/null 2>&1
for i in $(seq 1 30); do [ -f "$programs/VantorFlash.exe" ] || break; sleep 1; done
[ -f "$programs/VantorFlash.exe" ] && fail "uninstalled: VantorFlash.exe is still there"
[ -d "$menu" ] && fail "uninstalled: the Start-menu folder is still there"
say "after uninstalling: $(ls "$programs" 2> /dev/null | tr '\n' ' ')(left: the user's own files)"
exit $((failures > 0))
