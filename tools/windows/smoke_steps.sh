#!/bin/bash
# The steps of smoke.sh inside the virtual X display.
#   smoke_steps.sh WINDOWS_BUILD LINUX_BUILD OUT_DIR
set -u
windows=$1
linux=$2
out=$3
export WINEDEBUG=-all
vantor=$linux/apps/vantor/vantor
run=$(mktemp -d)
sim=""
failures=0
trap 'rm -rf "$run"; [ -n "$sim" ] && kill $sim 2> /dev/null' EXIT
cd "$run"

say() { echo "smoke: $*"; }
fail() { echo "smoke: FAILED: $*" >&2; failures=$((failures + 1)); }
key() { xdotool key --clearmodifiers "$@"; sleep 0.4; }
# The window of that title, waited for; sets left and top of its X window.
window() {
  local id
  id=$(timeout 60 xdotool search --sync --name "$1" | head -1) || return 1
  xdotool windowfocus "$id" 2> /dev/null
  eval "$(xdotool getwindowgeometry --shell "$id" | sed -n 's/^X=/left=/p; s/^Y=/top=/p')"
}
pixel() {  # X Y (screen): the colour as RRGGBB
  import -window root -crop 1x1+$1+$2 +repage -depth 8 rgb:- 2> /dev/null | od -An -tx1 | tr -d ' \n'
}
# The client area starts with the first row of the window's face under the menu bar.
client_top() {  # FACE (RRGGBB)
  for y in $(seq "$top" $((top + 60))); do
    [ "$(pixel $((left + 10)) "$y")" = "$1" ] && { echo "$y"; return; }
  done
  echo $((top + 20))
}
client_shot() {  # NAME: the 800 x 600 client area
  import -window root -crop 800x600+$left+$client +repage "$out/$1.png"
}
differ() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" != "0" ]; }
click() { xdotool mousemove $((left + $1)) $((client + $2)) click 1; sleep 0.4; }
ended() {  # PID NAME: waits for the program to end by itself, else ends it
  for i in $(seq 1 30); do kill -0 "$1" 2> /dev/null || return 0; sleep 0.5; done
  fail "$2 did not close"
  kill "$1" 2> /dev/null
}
# The colours along a row of the screen: X0 X1 Y (one a line, RRGGBB, sorted).
row_colours() {
  import -window root -crop $(($2 - $1))x1+$1+$3 +repage -depth 8 rgb:- 2> /dev/null | od -An -tx1 -v |
    tr -d ' \n' | fold -w6 | sort -u
}
# Waits (up to 15 minutes) for the update pane's result: its last written
# line after a blank one, in the success (67f567) or failure (f55050)
# colour with blanks where "    -Update Successful-" and "     -Update
# Failed-" start; prints that colour, or "none".
update_result() {
  local mid lead
  for i in $(seq 1 300); do
    sleep 3
    for line in $(seq 19 -1 1); do
      mid=$((client + 127 + 17 * line + 8))
      [ "$(row_colours $((left + 35)) $((left + 400)) $mid)" = dcdcdc ] && continue
      lead=$(row_colours $((left + 35)) $((left + 64)) $mid)
      if { [ "$lead" = 67f567 ] || [ "$lead" = f55050 ]; } &&
         [ "$(row_colours $((left + 35)) $((left + 400)) $((mid - 17)))" = dcdcdc ]; then
        echo "$lead"
        return
      fi
      break
    done
  done
  echo none
}
update_run() {  # NAME: presses the button, waits for the result and keeps a picture
  click 400 500
  result=$(update_result)
  client_shot "$1"
  case $result in
    67f567) say "$1: ends with -Update Successful-" ;;
    f55050) fail "$1: ends with -Update Failed-"; key Return ;;  # and its error box
    *) fail "$1: no result in 15 minutes" ;;
  esac
}

# ---- 1. VantorFlash.exe --demo: each live display shown, each moving ----
printf '[PORT] COM9\r\n[XPOSHWND] 100\r\n[YPOSHWND] 50\r\n' > flash.cfg
wine "$windows/apps/VantorFlash/VantorFlash.exe" --demo --config flash.cfg > flash.log 2>&1 &
flash=$!
window '^Vantor$' || { fail "no VantorFlash window"; exit 1; }
sleep 3
client=$(client_top 141414)
previous=""
for n in 1 2 3 4 5; do
  key $n
  sleep 2
  client_shot "flash_display_${n}_a"
  sleep 2
  client_shot "flash_display_${n}_b"
  if differ "$out/flash_display_${n}_a.png" "$out/flash_display_${n}_b.png"; then
    say "display $n moves"
  else
    fail "display $n does not move"
  fi
  if [ -n "$previous" ] && ! differ "$previous" "$out/flash_display_${n}_a.png"; then fail "key $n changed nothing"; fi
  previous=$out/flash_display_${n}_a.png
done
key alt+f x
ended $flash VantorFlash

# ---- 2. ORV_KDM9Update.exe --demo ----
printf '[PORT] COM9\r\n[XPOSHWND] 100\r\n[YPOSHWND] 50\r\n' > update.cfg
wine "$windows/apps/ORV_KDM9Update/ORV_KDM9Update.exe" --demo --config update.cfg > update.log 2>&1 &
update=$!
window '^ORV_KDM9Update$' || { fail "no ORV_KDM9Update window"; exit 1; }
sleep 2
client=$(client_top dcdcdc)
client_shot update_demo_start
update_run update_demo_done
key alt+f x
ended $update ORV_KDM9Update

# ---- 3. ORV_KDM9Update.exe on COM5: a pseudo-terminal of `vantor sim` ----
"$vantor" sim --no-pace > sim.out 2> sim.err &
sim=$!
for i in $(seq 1 50); do [ -s sim.out ] && break; sleep 0.2; done
pty=$(head -1 sim.out)
[ -c "$pty" ] || { fail "vantor sim gave no pseudo-terminal"; exit 1; }
# Wine remakes its dosdevices links from the machine's serial ports at each
# start (a fifth /dev/ttyS would take com5); a mapping in the registry holds.
wine reg add 'HKLM\Software\Wine\Ports' /v COM5 /d "$pty" /f > /dev/null 2>&1
wineserver -w
mkdir com5 && cd com5
cp "$windows/apps/ORV_KDM9Update/ORV_KDM9Update.exe" .
python3 -c "import sys; sys.stdout.buffer.write(bytes((i * 7 + 3) % 256 for i in range(24576)))" > ORV_KDM9_firmware.bin
printf '[PORT] COM5\r\n[XPOSHWND] 100\r\n[YPOSHWND] 50\r\n' > ORV_KDM9Update.cfg
wine ./ORV_KDM9Update.exe > update.log 2>&1 &
update=$!
window '^ORV_KDM9Update$' || { fail "no ORV_KDM9Update window on COM5"; exit 1; }
mapped=$(readlink "$WINEPREFIX/dosdevices/com5")
[ "$mapped" = "$pty" ] || fail "Wine maps COM5 to ${mapped:-nothing}, not to $pty"
sleep 2
client=$(client_top dcdcdc)
update_run update_com5_done
key alt+f x
ended $update "ORV_KDM9Update on COM5"
same=0
for bank in 0 1 2 3 4 5 6 7; do
  if ! "$vantor" bank read --port "$pty" --bank $bank "read_$bank.bin" > /dev/null 2>> bank_read.err; then
    fail "vantor bank read of bank $bank"
  elif cmp -s "read_$bank.bin" "Bank_${bank}_new.bin" && ! cmp -s -n 8192 "read_$bank.bin" "Bank_${bank}_old.bin"; then
    same=$((same + 1))
  else
    fail "bank $bank differs from Bank_${bank}_new.bin"
  fi
done
say "COM5: $same of 8 banks read back equal to Bank_N_new.bin (and unlike Bank_N_old.bin)"
exit $((failures > 0))
