#!/usr/bin/env bash
# The real binary on Xvfb: it shows one borderless window covering the screen,
# and Esc ends it with exit code 0. Skipped (exit 77) without Xvfb or xdotool.
set -uo pipefail
loupix="$1"
# shellcheck source=scripts/lib/xsession.sh
. "$(dirname "$0")/../../scripts/lib/xsession.sh"
xsession_require Xvfb xdotool openbox xprop
# Some of the desktop's libraries keep allocations until exit; not ours to free.
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"
xsession_start 1024x768x16

xsession_launch "$loupix"
geometry=$(xdotool getwindowgeometry "$main")
echo "$geometry"
if ! grep -q 'Position: 0,0' <<< "$geometry" || ! grep -q 'Geometry: 1024x768' <<< "$geometry"; then
  xsession_fail "the main window does not cover the 1024x768 screen"
fi
# Borderless: the window manager's frame adds nothing around the client area.
frame=$(xprop -id "$main" _NET_FRAME_EXTENTS 2> /dev/null || true)
echo "frame: $frame"
grep -qE '= [1-9]|, [1-9]' <<< "$frame" && xsession_fail "the main window has a frame"
xsession_quit
