#!/usr/bin/env bash
# The real binary on Xvfb: it shows one borderless window covering the screen,
# and Esc ends it with exit code 0. Skipped (exit 77) without Xvfb or xdotool.
set -uo pipefail
loupix="$1"
for tool in Xvfb xdotool openbox; do
  if ! command -v "$tool" > /dev/null; then
    echo "SKIPPED: $tool is not installed (scripts/deps installs it)"
    exit 77
  fi
done
# Some of the desktop's libraries keep allocations until exit; not ours to free.
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"
# The test runner may ask for the offscreen platform; this test wants the X server.
unset QT_QPA_PLATFORM
display=":$((100 + RANDOM % 400))"
export DISPLAY="$display"
pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2> /dev/null; wait "${pids[i]}" 2> /dev/null; done
}
trap cleanup EXIT
Xvfb "$display" -screen 0 1024x768x16 -nolisten tcp > /dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do xdotool getdisplaygeometry > /dev/null 2>&1 && break; sleep 0.1; done
openbox > /dev/null 2>&1 &
pids+=($!)
sleep 1

"$loupix" &
app=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Form1$' | head -1)
if [ -z "$window" ]; then
  echo "FAILED: no visible window named Form1"
  kill "$app"
  exit 1
fi
sleep 1
geometry=$(xdotool getwindowgeometry "$window")
echo "$geometry"
if ! grep -q 'Position: 0,0' <<< "$geometry" || ! grep -q 'Geometry: 1024x768' <<< "$geometry"; then
  echo "FAILED: the main window does not cover the 1024x768 screen"
  kill "$app"
  exit 1
fi
# Borderless: the window manager's frame adds nothing around the client area.
frame=""
command -v xprop > /dev/null && frame=$(xprop -id "$window" _NET_FRAME_EXTENTS 2> /dev/null || true)
echo "frame: $frame"
if grep -qE '= [1-9]|, [1-9]' <<< "$frame"; then
  echo "FAILED: the main window has a frame"
  kill "$app"
  exit 1
fi
xdotool key Escape
for _ in $(seq 100); do kill -0 "$app" 2> /dev/null || break; sleep 0.1; done
if kill -0 "$app" 2> /dev/null; then
  echo "FAILED: Esc did not end Loupix"
  kill "$app"
  exit 1
fi
wait "$app"
status=$?
echo "exit code $status"
[ "$status" -eq 0 ]
