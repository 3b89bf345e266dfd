#!/usr/bin/env bash
# The real binary on Xvfb under openbox, driven by xdotool: the stay-on-top
# jump list stays visible after the main window is activated and a key is
# pressed in it; and holding Ctrl over several ticks of a 300 ms slideshow
# keeps the same picture, while releasing it lets the next tick advance.
# Skipped (exit 77) without Xvfb, openbox, xdotool or ImageMagick.
set -uo pipefail
loupix="$1"
# shellcheck source=scripts/lib/xsession.sh
. "$(dirname "$0")/../../scripts/lib/xsession.sh"
xsession_require Xvfb openbox xdotool import convert
xsession_start 1024x768x16
work=$xsession_files

# Twenty small pictures of distinct colours, none of them white.
for ((i = 1; i <= 20; i++)); do
  convert -size 64x48 "xc:rgb($(xsession_level_colour "$i"))" -type TrueColor "BMP3:$work/p$i.bmp"
done

xsession_launch "$loupix"

# The colour of one screen pixel as r,g,b.
colour_at() {
  xsession_shot "$work/shot.png"
  xsession_colour_in "$work/shot.png" "$1,$2"
}

xsession_menu "$kMenuOpenFolder"
xsession_wait_active "!=" "$main" "the folder chooser did not open"
sleep 0.5
xdotool type --delay 20 "$work"
xdotool key Return
xsession_wait_active "=" "$main" "the folder chooser did not close"

xsession_menu "$kMenuJumpList"
list=$(timeout 10 xdotool search --sync --onlyvisible --name '^任意位置跳转$' | head -1)
[ -n "$list" ] || xsession_fail "no jump list"
eval "$(xdotool getwindowgeometry --shell "$list")"
# Below its twenty lines the list is empty and white.
middle="$((X + WIDTH / 2)),$((Y + HEIGHT * 3 / 4))"
xsession_check "jump list shown" "$middle=255,255,255"
xdotool windowactivate --sync "$main"
xsession_wait_active "=" "$main" "the main window was not activated"
xdotool key Next
sleep 1
xsession_check "jump list still above the main window" "$middle=255,255,255"

# A 300 ms slideshow.
xsession_menu "$kMenuInterval"
timeout 10 xdotool search --sync --onlyvisible --name '^时间设置$' > /dev/null ||
  xsession_fail "no interval dialog"
xsession_wait_active "!=" "$main" "the interval dialog has no focus"
sleep 0.5
xdotool key ctrl+a
xdotool type 300
xdotool key Tab space
sleep 0.3
xdotool key alt+F4
xsession_wait_active "=" "$main" "the interval dialog did not close"
xsession_menu "$kMenuSlideshowOn"
trap 'xdotool keyup ctrl; xsession_cleanup' EXIT
xdotool keydown ctrl
sleep 0.6
held=$(colour_at 10 10)
sleep 1.5
[ "$(colour_at 10 10)" = "$held" ] || xsession_fail "the slideshow went on while Ctrl was held"
echo "ok: Ctrl held over five ticks keeps $held"
xdotool keyup ctrl
for _ in $(seq 100); do
  [ "$(colour_at 10 10)" != "$held" ] && break
  sleep 0.1
done
[ "$(colour_at 10 10)" != "$held" ] || xsession_fail "the slideshow did not go on after Ctrl was released"
echo "ok: released, the slideshow goes on"

xsession_quit
