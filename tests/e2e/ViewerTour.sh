#!/usr/bin/env bash
# The real binary on Xvfb, driven only by xdotool like a user would: open a
# generated folder through the context menu and the folder chooser, page down,
# switch the grid on and off, move the lens, set the magnification in its
# dialog, quit with Esc. Screen pixels are compared with the picture colours.
# Skipped (exit 77) without Xvfb, openbox, xdotool or ImageMagick.
set -uo pipefail
loupix="$1"
# shellcheck source=scripts/lib/xsession.sh
. "$(dirname "$0")/../../scripts/lib/xsession.sh"
xsession_require Xvfb openbox xdotool import convert
xsession_start 1024x768x16
work=$xsession_files

# Four pictures whose names only sort right naturally and without case:
# pic1 (red left half, green right half), Pic2 (blue), pic3.jpg (white), pic10 (yellow).
# Plain 5-6-5 colours come out exact on a 16-bit screen.
pictures="$work/pictures"
mkdir "$pictures"
convert -size 512x768 'xc:rgb(255,0,0)' 'xc:rgb(0,255,0)' +append -type TrueColor "BMP3:$pictures/pic1.bmp"
convert -size 1024x768 'xc:rgb(0,0,255)' -type TrueColor "BMP3:$pictures/Pic2.bmp"
convert -size 1024x768 'xc:rgb(255,255,255)' -quality 95 "$pictures/pic3.jpg"
convert -size 1024x768 'xc:rgb(255,255,0)' -type TrueColor "BMP3:$pictures/pic10.bmp"

xsession_launch "$loupix"

check() { xsession_check "$@"; }
wait_active() { xsession_wait_active "$1" "$main" "$2"; }
menu() { xsession_menu "$1"; }

red=255,0,0 green=0,255,0 blue=0,0,255 white=255,255,255 yellow=255,255,0 black=0,0,0

menu "$kMenuOpenFolder"
wait_active "!=" "the folder chooser did not open"
sleep 0.5
xdotool type --delay 20 "$pictures"
xdotool key Return
wait_active "=" "the folder chooser did not close"
check "first picture at (0,0)" 0,0=$red 511,383=$red 512,383=$green 1023,767=$green 0,767=$red

# Opening leaves the index on the second entry, so Page Down shows the third.
xdotool key Next
check "page down shows pic3.jpg" 0,0=$white 512,384=$white 1023,767=$white

# The grid starts at page 0: four filled cells of 336 x 251 with 5-pixel gaps.
menu "$kMenuGrid"
check "grid page 0" 2,2=$black 5,5=$red 170,130=$red 176,130=$green 340,255=$green 343,130=$black \
  346,5=$blue 681,255=$blue 684,130=$black 687,5=$white 1022,255=$white 1023,130=$black \
  170,258=$black 5,261=$yellow 340,511=$yellow 500,400=$black 850,400=$black 170,600=$black 850,700=$black

# Grid off: the single view shows the entry before the index, the first one.
menu "$kMenuGrid"
check "grid off" 100,100=$red 900,100=$green

# Lens on; at the pointer (490, 300) it shows (458..522, 268..332) four times
# enlarged at (505, 315)-(762, 588): the red-green edge lands near x 722.
xdotool mousemove 100 600 click 1
sleep 0.5
xdotool mousemove 489 300 sleep 0.3 mousemove 490 300
check "lens at 4x" 655,451=$red 699,451=$red 745,451=$green 800,451=$green 300,451=$red 600,600=$green

menu "$kMenuMagnification"
timeout 10 xdotool search --sync --onlyvisible --name '^设置放大倍数$' > /dev/null || xsession_fail "no magnification dialog"
wait_active "!=" "the magnification dialog has no focus"
sleep 0.5
xdotool key ctrl+a
xdotool type 2
xdotool key Tab space
wait_active "=" "Apply did not close the magnification dialog"

# At 2x the lens shows (426..554, 236..364): the edge moves to near x 678.
xdotool mousemove 491 300 sleep 0.3 mousemove 490 300
check "lens at 2x" 655,451=$red 699,451=$green 745,451=$green 800,451=$green

xsession_quit
