#!/usr/bin/env bash
# Decode-ahead on the real binary on Xvfb: paging through a folder of large JPEGs
# with pauses (the next picture is prepared meanwhile) and without them (key
# repeat), with a corrupt file among them and files replaced on disk after they
# were prepared and while they are shown. The screen must always show the right
# picture, and the corrupt file must give exactly one error report.
# Skipped (exit 77) without Xvfb, openbox, xdotool or ImageMagick.
set -uo pipefail
loupix="$1"
# shellcheck source=scripts/lib/xsession.sh
. "$(dirname "$0")/../../scripts/lib/xsession.sh"
xsession_require Xvfb openbox xdotool import convert
xsession_start 1024x768x16
work=$xsession_files

red=255,0,0 green=0,255,0 blue=0,0,255 yellow=255,255,0 magenta=255,0,255 cyan=0,255,255
white=255,255,255 grey=128,128,128

# A 6-megapixel JPEG of one colour.
photo() { convert -size 3000x2000 "xc:rgb($2)" -quality 90 "$1"; }

# Entries in the folder's (natural) order: p1 .. p8; p4 is not a JPEG at all.
pictures="$work/pictures"
mkdir "$pictures"
photo "$pictures/p1.jpg" "$red"
photo "$pictures/p2.jpg" "$green"
photo "$pictures/p3.jpg" "$blue"
printf '\377\330\377\340not a picture' > "$pictures/p4.jpg"
photo "$pictures/p5.jpg" "$yellow"
photo "$pictures/p6.jpg" "$magenta"
photo "$pictures/p7.jpg" "$cyan"
photo "$pictures/p8.jpg" "$grey"
# Files written a moment ago are read again when shown; these are an hour old.
touch -d '1 hour ago' "$pictures"/*.jpg

LOUPIX_TRACE=1 "$loupix" 2> "$work/trace" &
app=$!
xsession_track "$app"
main=$(xsession_window '^Form1$')
[ -n "$main" ] || xsession_fail "no visible window named Form1"
sleep 1

check() { xsession_check "$@"; }
# Waits until no frame has been presented for a while: queued keys are done.
settle() {
  local lines=-1 now
  for _ in $(seq 120); do
    now=$(wc -l < "$work/trace")
    [ "$now" -eq "$lines" ] && return
    lines=$now
    sleep 1.5
  done
}
# The number of error reports on the screen.
reports() { xsession_reports | wc -l; }

xsession_menu "$kMenuOpenFolder"
xsession_wait_active "!=" "$main" "the folder chooser did not open"
sleep 0.5
xdotool type --delay 20 "$pictures"
xdotool key Return
xsession_wait_active "=" "$main" "the folder chooser did not close"
check "p1 shown" 0,0=$red 1023,767=$red

# With pauses: opening left the index on p2, so Page Down shows p3.
sleep 1.5
xdotool key Next
check "page down shows p3" 0,0=$blue 512,384=$blue

# The corrupt file was prepared (and failed) during the pause; its error comes
# now, once, and the screen keeps p3.
sleep 1.5
[ "$(reports)" -eq 0 ] || xsession_fail "an error was reported before paging to p4"
xdotool key Next
for _ in $(seq 100); do [ "$(reports)" -ge 1 ] && break; sleep 0.1; done
[ "$(reports)" -eq 1 ] || xsession_fail "expected one error report, saw $(reports)"
check "p3 stays behind the report" 5,5=$blue 1018,762=$blue
xdotool key Return
for _ in $(seq 100); do [ "$(reports)" -eq 0 ] && break; sleep 0.1; done
sleep 1
[ "$(reports)" -eq 0 ] || xsession_fail "a second error report appeared"
xsession_wait_active "=" "$main" "the viewer did not get the focus back"

# p5 is prepared during the pause, then replaced on disk: Page Down shows the new one.
sleep 1.5
photo "$work/new.jpg" "$white"
mv "$work/new.jpg" "$pictures/p5.jpg"
xdotool key Next
check "p5 replaced after it was prepared" 0,0=$white 1023,767=$white

# Replaced while shown: paging away and back shows the new picture.
photo "$work/new.jpg" "$green"
mv "$work/new.jpg" "$pictures/p5.jpg"
sleep 1.5
xdotool key Next
check "p6 shown" 0,0=$magenta
sleep 1.5
xdotool key Prior
check "p5 replaced while it was shown" 0,0=$green 1023,767=$green

# Without pauses: the key held down repeats; the end of the list holds on p8.
xdotool keydown Next
sleep 1.2
xdotool keyup Next
settle
check "key repeat ends on p8" 0,0=$grey 1023,767=$grey
xdotool key --delay 0 Prior Prior Prior
settle
check "three quick presses back show p5" 0,0=$green 1023,767=$green
[ "$(reports)" -eq 0 ] || xsession_fail "an error was reported while paging"

grep -q "(decoded ahead)" "$work/trace" || xsession_fail "no picture came from decode-ahead"
echo "trace: $(grep -c '(decoded ahead)' "$work/trace") frames from decode-ahead"

xdotool key Escape
xsession_wait_exit "$app"
wait "$app"
status=$?
echo "exit code $status"
[ "$status" -eq 0 ]
