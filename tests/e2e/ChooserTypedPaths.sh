#!/usr/bin/env bash
# The real binary on Xvfb under openbox: twenty-five pictures of one folder
# whose names share prefixes (photo1, photo10 ... photo19, photo2 ...) are
# opened one after another by typing each full path into the file chooser and
# pressing Return at once, while the completion list shows and the chooser may
# still have the previous file selected; each must be shown.
# Skipped (exit 77) without Xvfb, openbox, xdotool or ImageMagick.
set -uo pipefail
loupix="$1"
# shellcheck source=scripts/lib/xsession.sh
. "$(dirname "$0")/../../scripts/lib/xsession.sh"
xsession_require Xvfb openbox xdotool import convert
xsession_start 1024x768x16
work=$xsession_files

# Small pictures of distinct colours made of the channel levels 0, 128 and 255.
colours=()
for ((i = 1; i <= 25; i++)); do
  colour=$(xsession_level_colour "$i")
  colours[i]=$colour
  convert -size 64x48 "xc:rgb($colour)" -type TrueColor "BMP3:$work/photo$i.bmp"
done

xsession_launch "$loupix"

for ((i = 1; i <= 25; i++)); do
  # Ctrl + left click opens the file chooser.
  xdotool mousemove 500 400 keydown ctrl click 1 keyup ctrl
  xsession_wait_active "!=" "$main" "photo$i: the file chooser did not open"
  sleep 0.3
  # Typed briskly: Return comes while the completion list still updates.
  xdotool type --delay 8 "$work/photo$i.bmp"
  xdotool key Return
  xsession_wait_active "=" "$main" "photo$i: the chooser stayed open after Return"
  xsession_check "photo$i shown" "10,10=${colours[i]}" "100,100=0,0,0"
done

xsession_quit
