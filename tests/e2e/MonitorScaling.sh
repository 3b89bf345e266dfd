#!/usr/bin/env bash
# The real binary on an Xvfb screen larger than its 1024 x 768 display (the
# screen size is the second argument, such as 1920x1080x24), under openbox,
# driven by xdotool: one-pixel stripes come out even (blocks of the integer
# factor, or evenly weighted smooth scaling), the context menu opens at the
# pointer wherever the right click is, the magnification dialog keeps its size
# relative to the display and is centred on the monitor, and the lens stands
# where the pointer is. Skipped (exit 77) without Xvfb, openbox, xdotool or
# ImageMagick.
set -uo pipefail
loupix="$1"
screen="$2"
# shellcheck source=scripts/lib/xsession.sh
. "$(dirname "$0")/../../scripts/lib/xsession.sh"
xsession_require Xvfb openbox xdotool import convert
xsession_start "$screen"
work=$xsession_files

# Where the 1024 x 768 display goes: the largest integer factor of 2 or more
# that fits, else the largest size of its shape (smooth).
IFS=x read -r width height _ <<< "$screen"
factor=$((width / 1024 < height / 768 ? width / 1024 : height / 768))
if [ "$factor" -ge 2 ]; then
  shownWidth=$((1024 * factor)) shownHeight=$((768 * factor)) filter=blocks
elif [ $((width * 768)) -le $((height * 1024)) ]; then
  shownWidth=$width shownHeight=$(((768 * width + 512) / 1024)) filter=smooth
else
  shownWidth=$(((1024 * height + 384) / 768)) shownHeight=$height filter=smooth
fi
left=$(((width - shownWidth) / 2)) top=$(((height - shownHeight) / 2))
scale=$(awk -v w="$shownWidth" 'BEGIN { print w / 1024 }')
echo "display at $left,$top size ${shownWidth}x$shownHeight ($filter, x $scale)"

# The monitor pixel at the middle of a display pixel (x, y).
monitor() { awk -v x="$1" -v y="$2" -v l="$left" -v t="$top" -v s="$scale" \
  'BEGIN { printf "%d,%d", l + (x + 0.5) * s, t + (y + 0.5) * s }'; }
# Moves the pointer onto a display pixel.
point_at() {
  local at
  at=$(monitor "$1" "$2")
  xdotool mousemove "${at%,*}" "${at#*,}"
}

# Top half: one-pixel columns, white first; bottom half: one-pixel rows.
convert \( -size 1x1 xc:white xc:black +append -write mpr:columns +delete -size 1024x384 \
  tile:mpr:columns \) \( -size 1x1 xc:white xc:black -append -write mpr:rows +delete \
  -size 1024x384 tile:mpr:rows \) -append -type TrueColor "BMP3:$work/stripes.bmp"
convert -size 512x768 'xc:rgb(255,0,0)' 'xc:rgb(0,255,0)' +append -type TrueColor \
  "BMP3:$work/halves.bmp"

xsession_launch "$loupix"

# Ctrl + left click opens the file chooser; the typed path opens the picture.
open_picture() {
  xdotool mousemove "$((width / 2))" "$((height / 2))" keydown ctrl click 1 keyup ctrl
  xsession_wait_active "!=" "$main" "the file chooser did not open"
  sleep 0.5
  xdotool type --delay 20 "$1"
  xdotool key Return
  xsession_wait_active "=" "$main" "the file chooser did not close"
}

# Red channel of count pixels from (x, y) along a row (1) or a column (0).
channel_run() {
  local x=$1 y=$2 count=$3 across=$4 crop
  crop=$([ "$across" = 1 ] && echo "${count}x1+$x+$y" || echo "1x$count+$x+$y")
  convert "$work/shot.png" -crop "$crop" -depth 8 txt:- |
    awk -F'[(,)]' 'NR > 1 { print int($3 + 0.5) }'
}

# Even stripes: blocks of exactly the factor, or, when smooth, every three
# neighbouring pixels carrying the same light within 15 %.
check_even() {
  local step=$1 values
  values=$(channel_run "$2" "$3" "$4" "$5")
  if ! awk -v filter="$filter" -v factor="$factor" '
      { v[NR] = $1; sum += $1 }
      END {
        if (filter == "blocks") {
          run = 1
          for (i = 2; i <= NR; i++) {
            if (v[i] != 0 && v[i] != 255) { print "grey value " v[i] " at " i; exit 1 }
            if (v[i] == v[i - 1]) { run++; continue }
            if (first++ && run != factor) { print "run of " run " at " i; exit 1 }
            run = 1
          }
        } else {
          mean = sum / NR * 3
          for (i = 1; i + 2 <= NR; i++) {
            light = v[i] + v[i + 1] + v[i + 2]
            if (light < mean * 0.85 || light > mean * 1.15) { print "light " light " of " mean " at " i; exit 1 }
          }
        }
      }' <<< "$values"; then
    xsession_fail "$step: the stripes are uneven"
  fi
  echo "ok: $step"
}

open_picture "$work/stripes.bmp"
sleep 1
xsession_shot "$work/shot.png"
inner=$((shownWidth - 40))
check_even "one-pixel columns" "$((left + 20))" "$(monitor 0 100 | cut -d, -f2)" "$inner" 1
check_even "one-pixel rows" "$(monitor 300 0 | cut -d, -f1)" "$((top + shownHeight / 2 + 20))" \
  "$((shownHeight / 2 - 40))" 0

# The menu opens with a corner at the pointer (it turns where the screen ends).
X=0 Y=0 WIDTH=0 HEIGHT=0 # set by xdotool getwindowgeometry --shell
for point in "$((width / 4)),$((height / 5))" "$((width / 2)),$((height / 2))" \
  "$((width * 7 / 10)),$((height * 3 / 10))" "$((width * 3 / 10)),$((height * 4 / 5))"; do
  x=${point%,*} y=${point#*,}
  before=$(xdotool search --onlyvisible --class '^loupix$' | sort)
  xdotool mousemove "$x" "$y" click 3
  menu=""
  for _ in $(seq 100); do
    menu=$(comm -13 <(echo "$before") <(xdotool search --onlyvisible --class '^loupix$' | sort) | head -1)
    [ -n "$menu" ] && break
    sleep 0.1
  done
  [ -n "$menu" ] || xsession_fail "no menu after a right click at $x,$y"
  eval "$(xdotool getwindowgeometry --shell "$menu")"
  echo "menu at $X,$Y size ${WIDTH}x$HEIGHT for a click at $x,$y"
  awk -v x="$x" -v y="$y" -v l="$X" -v t="$Y" -v r="$((X + WIDTH))" -v b="$((Y + HEIGHT))" '
    function near(a, b) { return a - b <= 2 && b - a <= 2 }
    BEGIN { exit !((near(x, l) || near(x, r)) && (near(y, t) || near(y, b))) }' ||
    xsession_fail "the menu is not at the pointer ($x,$y)"
  xdotool key Escape
  sleep 0.3
done
echo "ok: menus at the pointer"

# The magnification dialog (225 x 51 on a 1024 x 768 monitor) grows with the display.
xsession_menu "$kMenuMagnification" "$((width / 3))" "$((height / 3))"
dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '^设置放大倍数$' | head -1)
[ -n "$dialog" ] || xsession_fail "no magnification dialog"
eval "$(xdotool getwindowgeometry --shell "$dialog")"
echo "dialog at $X,$Y size ${WIDTH}x$HEIGHT"
awk -v w="$WIDTH" -v h="$HEIGHT" -v s="$scale" -v x="$X" -v y="$Y" -v mw="$width" -v mh="$height" '
  function within(got, want, part) { return got >= want * (1 - part) && got <= want * (1 + part) }
  BEGIN { exit !(within(w, 225 * s, 0.25) && within(h, 51 * s, 0.25) &&
                 within(x + w / 2, mw / 2, 0.02) && within(y + h / 2, mh / 2, 0.05)) }' ||
  xsession_fail "the dialog is not at the display's scale, centred on the monitor"
echo "ok: dialog size and place"
xdotool key alt+F4
xsession_wait_active "=" "$main" "the dialog did not close"

# Lens on; at the display point (490, 300) it shows (458..522, 268..332) four
# times enlarged at (505, 315)-(762, 588): red where the picture is green.
open_picture "$work/halves.bmp"
point_at 100 600
xdotool click 1
sleep 0.5
point_at 489 300
sleep 0.3
point_at 490 300
red=255,0,0 green=0,255,0
xsession_check "lens at the pointer" "$(monitor 516 450)=$red" "$(monitor 700 318)=$red" \
  "$(monitor 700 585)=$red" "$(monitor 700 311)=$green" "$(monitor 700 592)=$green" \
  "$(monitor 750 450)=$green" "$(monitor 490 450)=$red"

xsession_quit
