#!/bin/bash
# Compares the main windows' pictures of two hosts (the Qt programs and the
# Windows programs under Wine, taken by window_pictures_steps.sh): the client
# area of each, less the native controls (each toolkit draws its own), must
# be the same pixel for pixel. Also puts every pair side by side.
#   compare_pictures.sh QT_SHOTS WINE_SHOTS OUT_DIR
# Exit status 0 when every canvas is identical.
set -u
qt=${1:?usage: compare_pictures.sh QT_SHOTS WINE_SHOTS OUT_DIR}
wine=${2:?usage: compare_pictures.sh QT_SHOTS WINE_SHOTS OUT_DIR}
out=${3:?usage: compare_pictures.sh QT_SHOTS WINE_SHOTS OUT_DIR}
mkdir -p "$out/canvas" "$out/side_by_side"

# The native controls of each picture, client rectangles "left,top right,bottom".
group() {  # X Y W H: a group box's caption band and frame edges
  echo "$1,$2 $(($1 + $3)),$(($2 + 20))" "$1,$2 $(($1 + 3)),$(($2 + $4))" \
       "$(($1 + $3 - 3)),$2 $(($1 + $3)),$(($2 + $4))" "$1,$(($2 + $4 - 3)) $(($1 + $3)),$(($2 + $4))"
}
box() { echo "$1,$2 $(($1 + $3)),$(($2 + $4))"; }
controls() {
  case $1 in
    flash_trip) box 705 74 80 30 ;;
    flash_ve*) box 675 80 105 120; box 686 220 80 30 ;;
    flash_knock*) box 650 80 120 150; box 670 250 80 30 ;;
    flash_analysis*)
      for x in 45 155 485 595; do box $x 30 80 30; done
      box 243 30 120 34; box 774 104 18 443 ;;
    flash_flash)
      group 100 60 420 50; group 100 140 170 92; group 330 140 390 42; group 330 192 390 42
      group 100 304 170 92; group 330 304 394 161
      for k in 0 1 2 3 4 5 6 7; do box $((120 + 50 * k)) 80 30 20; done
      box 120 170 130 20; box 120 200 130 20; box 330 242 80 30; box 120 334 130 20; box 120 364 130 20
      box 540 500 80 30; box 640 500 80 30 ;;
    update_*) box 300 480 200 40; group 30 110 730 365 ;;
  esac
}
pixel() { convert "$1" -crop 1x1+$2+$3 +repage -depth 8 rgb:- | od -An -tx1 | tr -d ' \n'; }
client_top() {  # PICTURE FACE: the first row of the face under the menu bar, left of x = 110
  for y in $(seq 50 110); do
    [ "$(pixel "$1" 110 "$y")" = "$2" ] && { echo "$y"; return; }
  done
  echo 0
}
client_left() {  # PICTURE TOP FACE: the first column of the face (the frames differ in width)
  for x in $(seq 90 130); do
    [ "$(pixel "$1" "$x" $(($2 + 3)))" = "$3" ] && { echo "$x"; return; }
  done
  echo 100
}
canvas() {  # PICTURE NAME FACE OUT: the client area with the controls blacked out
  local top left draw=()
  top=$(client_top "$1" "$3")
  left=$(client_left "$1" "$top" "$3")
  while read -r from to; do
    [ -n "$from" ] && draw+=(-draw "rectangle $from ${to%,*},${to#*,}")
  done < <(controls "$2" | tr ' ' '\n' | paste - -)
  convert "$1" -crop 800x600+"$left"+"$top" +repage -fill black "${draw[@]}" "$4"
}

status=0
for picture in "$qt"/*.png; do
  name=$(basename "$picture" .png)
  [ -f "$wine/$name.png" ] || { echo "missing under Wine: $name"; status=1; continue; }
  convert "$picture" "$wine/$name.png" +append "$out/side_by_side/$name.png"
  case $name in
    flash_gauges|flash_trip|flash_ve|flash_ve_new|flash_ve_corrections|flash_knock|flash_knock_boost|flash_knock_peak| \
    flash_diag|flash_analysis|flash_analysis_table|flash_flash) face=141414 ;;
    update_start|update_after_run) face=dcdcdc ;;
    *) continue ;;
  esac
  canvas "$picture" "$name" $face "$out/canvas/${name}_qt.png"
  canvas "$wine/$name.png" "$name" $face "$out/canvas/${name}_wine.png"
  differing=$(compare -metric AE "$out/canvas/${name}_qt.png" "$out/canvas/${name}_wine.png" "$out/canvas/${name}_diff.png" 2>&1)
  if [ "$differing" = "0" ]; then
    rm -f "$out/canvas/${name}_diff.png"
    echo "same canvas  $name"
  else
    echo "DIFFERENT    $name ($differing pixels)"
    status=1
  fi
done
exit $status
