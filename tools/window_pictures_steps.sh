#!/bin/bash
# The steps of window_pictures.sh inside the virtual X display: both window
# programs driven by keys and clicks, a picture of the screen after each.
#   window_pictures_steps.sh BUILD SHOTS_DIR DRIVE_LOG
# VANTOR_RUN names a command that runs the programs ("wine" for the Windows
# build, whose programs end in .exe); VANTOR_TAB_X is where the Preferences
# dialog's second tab lies across it (the toolkits size their tabs apart).
set -u
build=$1
shots=$2
drive=$3
run_with=${VANTOR_RUN:-}
suffix=${run_with:+.exe}
tab_x=${VANTOR_TAB_X:-500}
run=/tmp/vantor_window_pictures  # the same folder for both builds: the choosers show it
rm -rf "$run" && mkdir -p "$run" && cp "$drive" "$run/drive.dat"
touch -d "2026-01-01 12:00" "$run/drive.dat"  # the chooser shows its time
cd "$run"

shot() {  # NAME [CROP]: the screen, or the part CROP (WxH+X+Y) of it
  sleep 0.7
  import -window root ${2:+-crop $2 +repage} "$shots/$1.png"
}
key() {  # KEY...: one at a time, so a menu opened by one is up for the next (Wine is slower)
  if [ "${1#--}" != "$1" ]; then
    xdotool key --clearmodifiers "$@"
  else
    for k in "$@"; do xdotool key --clearmodifiers "$k"; sleep 0.2; done
  fi
  sleep 0.3
}
# The client area's top: the first row of the window's dark face under its menu bar
# (Wine's frame and menu bar are taller than Qt's).
client_top() {
  for y in $(seq 50 120); do
    if import -window root -crop 1x1+110+$y txt:- 2>/dev/null | grep -q "(20,20,20)\|#141414"; then
      echo $y; return
    fi
  done
  echo 72
}
click() {  # client coordinates of the main window
  xdotool mousemove $((100 + $1)) $((top + $2)) click 1
  sleep 0.3
}
# Ends a program that did not close itself (a step went astray): the run goes on.
finish() {
  for i in $(seq 1 20); do
    kill -0 "$1" 2> /dev/null || return 0
    sleep 0.5
  done
  echo "window_pictures: $2 did not close; ended" >&2
  kill "$1"
  wait "$1" 2> /dev/null
}
focus_main() {
  xdotool windowfocus "$(xdotool search --name "$1" | head -1)" 2> /dev/null
  sleep 0.3
}

# ---- VantorFlash ----
printf '[PORT] COM9\r\n[XPOSHWND] 100\r\n[YPOSHWND] 50\r\n' > vantor.cfg
$run_with "$build/apps/VantorFlash/VantorFlash$suffix" --config vantor.cfg > flash.log 2>&1 &
flash=$!
timeout 30 xdotool search --sync --name '^Vantor$' > /dev/null || { echo "window_pictures: no VantorFlash window" >&2; exit 1; }
focus_main '^Vantor$'
shot flash_gauges
top=$(client_top)
key 2; shot flash_trip
key 3; shot flash_ve
click 725 145; shot flash_ve_new
click 725 175; shot flash_ve_corrections
key 4; shot flash_knock
click 299 91; shot flash_knock_boost
click 710 145; shot flash_knock_peak
click 210 91
key 5; shot flash_diag
key 1
key alt+d; shot flash_menu_display
key Escape
key alt+f; shot flash_menu_file
key c; shot flash_menu_commport
key Escape Escape
key question; shot flash_about
key Return
key alt+h h; shot flash_help
key Return
key alt+d m; shot flash_malf
key alt+d b; shot flash_banksel
focus_main '^Vantor$'
key alt+d a
sleep 4  # Wine without a window manager takes seconds to put the tool windows away
shot flash_analysis
key space
key End  # the caret shows from a key on, for half a second
sleep 0.2
import -window root "$shots/flash_analysis_chooser.png"
key --delay 50 d r i v e period d a t Return
# Wine's file name box takes the first Return for its completion list.
for i in 1 2 3; do
  sleep 1
  xdotool search --onlyvisible --name '^Select Data Log File to Analyze$' > /dev/null || break
  key Return
done
shot flash_analysis_table
click 200 240  # a row of the table
click 525 45; shot flash_analysis_graph  # "1/4 Mile"
focus_main '^Vantor$'
# Wine without a window manager gives a window the keys on a click only: the
# title band of the main window, clear of the graph.
[ -n "$run_with" ] && click 790 5
key alt+d f
[ -n "$run_with" ] && sleep 4  # Wine puts the graph away as slowly as the tool windows
shot flash_flash
key alt+f f; shot flash_preferences_general
xdotool mousemove $(( $(xdotool search --name '^Preferences$' getwindowgeometry --shell | awk -F= '/^X=/{print $2}') + tab_x )) \
  $(( $(xdotool search --name '^Preferences$' getwindowgeometry --shell | awk -F= '/^Y=/{print $2}') + 22 )) click 1
shot flash_preferences_adc
key Escape
focus_main '^Vantor$'
key alt+f u; shot flash_user_devices
key Escape
focus_main '^Vantor$'
key 1
# Last, as its frames stay on the displays: a playback; its controls on the gauges
# (the frames under them move, the controls do not).
key alt+f p
key --delay 50 d r i v e period d a t Return
shot flash_playback_controls 90x80+$((100 + 700))+$((top + 41))
key 2; shot flash_playback_pause 90x30+$((100 + 700))+$((top + 41))
key 1; shot flash_playback_back 90x80+$((100 + 700))+$((top + 41))
key alt+f s
focus_main '^Vantor$'  # Stop Playback opens Bank Select again
key alt+f x
finish $flash VantorFlash

# ---- ORV_KDM9Update ----
printf '[PORT] COM9\r\n[XPOSHWND] 100\r\n[YPOSHWND] 50\r\n' > update.cfg
$run_with "$build/apps/ORV_KDM9Update/ORV_KDM9Update$suffix" --config update.cfg > update.log 2>&1 &
update=$!
timeout 30 xdotool search --sync --name '^ORV_KDM9Update$' > /dev/null || { echo "window_pictures: no ORV_KDM9Update window" >&2; exit 1; }
focus_main '^ORV_KDM9Update$'
shot update_start
key alt+f; shot update_menu_file
key Right; shot update_menu_commport
key Escape Escape
key alt+h Return; shot update_about
key Return
# A run on the simulated ECM: the port from the menu's last item, then the button.
key alt+f Right Up Return
sleep 3
click 400 500
# Done when the screen has not changed for 20 seconds (a bank's erase takes a few).
previous=""
unchanged=0
for i in $(seq 1 100); do
  sleep 4
  import -window root "$run/now.png"
  now=$(md5sum < "$run/now.png")
  if [ "$now" = "$previous" ]; then unchanged=$((unchanged + 1)); else unchanged=0; fi
  [ $unchanged -ge 5 ] && break
  previous=$now
done
shot update_after_run
key alt+f Up Return
finish $update ORV_KDM9Update
