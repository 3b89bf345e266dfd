#!/usr/bin/env bash
# The real binary on Xvfb pages through a folder holding a FIFO, a link to
# /dev/zero and a directory, all named like pictures, and one good picture: each
# bad entry gives one error report and nothing hangs, the good picture is shown,
# and Esc ends the viewer with exit code 0. Skipped (exit 77) without Xvfb,
# openbox, xdotool or ImageMagick.
set -uo pipefail
loupix="$1"
# shellcheck source=scripts/lib/xsession.sh
. "$(dirname "$0")/../../scripts/lib/xsession.sh"
xsession_require Xvfb openbox xdotool import convert
xsession_start 1024x768x16
work=$xsession_files

# In name order: a.jpg (a FIFO no one writes to), b.jpg (a link to /dev/zero),
# d.jpg (a directory: scanned, holds nothing), e.bmp (blue).
folder="$work/hostile"
mkdir -p "$folder/d.jpg"
mkfifo "$folder/a.jpg"
ln -s /dev/zero "$folder/b.jpg"
convert -size 1024x768 'xc:rgb(0,0,255)' -type TrueColor "BMP3:$folder/e.bmp"

xsession_launch "$loupix"

# Waits for exactly one error report, closes it, and checks that no other follows.
expect_one_report() {
  local step=$1 box=""
  for _ in $(seq 100); do
    box=$(xsession_reports | head -1)
    [ -n "$box" ] && break
    sleep 0.1
  done
  [ -n "$box" ] || xsession_fail "$step: no error report (the viewer may hang)"
  xsession_wait_active "=" "$box" "$step: the error report has no focus"
  xdotool key Return
  xsession_wait_active "=" "$main" "$step: the error report did not close"
  sleep 1
  [ -z "$(xsession_reports)" ] || xsession_fail "$step: a second error report came"
  echo "ok: $step"
}

xsession_menu "$kMenuOpenFolder"
xsession_wait_active "!=" "$main" "the folder chooser did not open"
sleep 0.5
xdotool type --delay 20 "$folder"
xdotool key Return
# Entry 0, the FIFO: reported at once, and the index stays on it.
expect_one_report "opening the folder reports the FIFO"
xdotool key Next
expect_one_report "page down reports the link to /dev/zero"
xdotool key Next
xsession_check "page down shows the good picture" 0,0=0,0,255 512,384=0,0,255 1023,767=0,0,255
# The last entry stays on screen; paging back reports the bad entries again, once each.
xdotool key Prior
expect_one_report "page up reports the link again"

xsession_quit
