# shellcheck shell=bash
# Shared by scripts/run and the end-to-end tests: a virtual X display with a
# window manager, and the few things a user does on it (find a window, wait for
# the focus, pick a menu command, read screen pixels).
#
#   . scripts/lib/xsession.sh
#   xsession_require Xvfb openbox xdotool     # exit 77 (skipped) when missing
#   xsession_start 1024x768x16                # sets DISPLAY; stops it all at exit
#   xsession_track "$pid"                     # one more process to stop at exit
#   xsession_launch "$loupix"                 # sets app and main, main has the focus
#   xsession_quit                             # Esc; fails unless exit code 0
#
# Xvfb picks a free display itself (-displayfd), so parallel runs never collide.

xsession_pids=()
xsession_dir=""

xsession_cleanup() {
  local i
  for ((i = ${#xsession_pids[@]} - 1; i >= 0; i--)); do
    kill "${xsession_pids[i]}" 2> /dev/null || true
    wait "${xsession_pids[i]}" 2> /dev/null || true
  done
  xsession_pids=()
  [ -n "$xsession_dir" ] && rm -rf "$xsession_dir"
  xsession_dir=""
}

xsession_fail() {
  echo "FAILED: $*"
  exit 1
}

# Exits 77, which CTest reports as skipped, when a tool is not installed.
xsession_require() {
  local tool
  for tool in "$@"; do
    if ! command -v "$tool" > /dev/null; then
      echo "SKIPPED: $tool is not installed (scripts/deps installs it)"
      exit 77
    fi
  done
}

xsession_track() { xsession_pids+=("$1"); }

# A scratch folder $xsession_files for the caller's files, gone when the shell
# exits, and the leak suppressions for the desktop's libraries. xsession_start
# does this itself; a script that starts the X server later, or never, calls it.
xsession_prepare() {
  [ -n "$xsession_dir" ] && return
  xsession_dir=$(mktemp -d)
  xsession_files="$xsession_dir/files"
  mkdir "$xsession_files"
  trap xsession_cleanup EXIT
  # Some of the desktop's libraries keep allocations until exit; not ours to free.
  export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/tests/lsan-suppressions.txt}"
}

# Starts Xvfb with one screen of the given size (default 1024x768x16) and
# openbox on it; exports DISPLAY. Everything started stops when the shell exits,
# and the scratch folder goes (see xsession_prepare).
xsession_start() {
  local screen=${1:-1024x768x16} number=""
  xsession_prepare
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3> "$xsession_dir/display" \
    > /dev/null 2>&1 &
  xsession_track $!
  for _ in $(seq 100); do
    number=$(head -n 1 "$xsession_dir/display" 2> /dev/null || true)
    [ -n "$number" ] && break
    sleep 0.1
  done
  [ -n "$number" ] || xsession_fail "Xvfb did not start"
  export DISPLAY=":$number"
  # The test runner may ask for Qt's offscreen platform; this wants the X server.
  unset QT_QPA_PLATFORM
  openbox > /dev/null 2>&1 &
  xsession_track $!
  for _ in $(seq 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2> /dev/null | grep -q 'window id' && break
    sleep 0.1
  done
}

# The error reports on the screen now (message boxes titled with the
# application's name), one window per line.
xsession_reports() { xdotool search --onlyvisible --name '^Loupix$' 2> /dev/null || true; }

# The first visible window whose name matches the pattern, within 30 s.
xsession_window() {
  timeout 30 xdotool search --sync --onlyvisible --name "$1" 2> /dev/null | head -1
}

# Starts Loupix (the binary given), waits for its main window and gives it the
# focus; sets app (the process) and main (the window).
xsession_launch() {
  "$1" &
  app=$!
  xsession_track "$app"
  main=$(xsession_window '^Form1$')
  [ -n "$main" ] || xsession_fail "no visible window named Form1"
  sleep 1
  xdotool windowactivate --sync "$main"
  xsession_wait_active "=" "$main" "the main window did not get the focus"
}

# Ends Loupix with Esc in its main window; fails unless it exits with code 0.
xsession_quit() {
  local status
  xdotool windowactivate --sync "$main" key Escape
  xsession_wait_exit "$app"
  wait "$app"
  status=$?
  echo "exit code $status"
  [ "$status" -eq 0 ] || xsession_fail "Loupix ended with exit code $status"
}

# Waits until the active window is (=) or is not (!=) the given window; fails
# with the message otherwise.
xsession_wait_active() {
  local relation=$1 window=$2 message=$3 active
  for _ in $(seq 200); do
    active=$(xdotool getactivewindow 2> /dev/null || true)
    if [ "$relation" = "=" ] && [ "$active" = "$window" ]; then return; fi
    if [ "$relation" = "!=" ] && [ -n "$active" ] && [ "$active" != "$window" ]; then return; fi
    sleep 0.1
  done
  xsession_fail "$message"
}

# Opens the context menu with a right click at (x, y) (default 300, 200) and
# picks its n-th command (separators are skipped).
xsession_menu() {
  local n=$1 x=${2:-300} y=${3:-200} before
  before=$(xdotool search --onlyvisible --class '^loupix$' | wc -l)
  xdotool mousemove "$x" "$y" click 3
  for _ in $(seq 100); do
    [ "$(xdotool search --onlyvisible --class '^loupix$' | wc -l)" -gt "$before" ] && break
    sleep 0.1
  done
  [ "$(xdotool search --onlyvisible --class '^loupix$' | wc -l)" -gt "$before" ] ||
    xsession_fail "the context menu did not open"
  sleep 0.3
  # shellcheck disable=SC2046 # one "Down" word per step
  xdotool key --delay 40 $(printf 'Down %.0s' $(seq "$n")) Return
}

# Context-menu positions of the commands (separators not counted).
# shellcheck disable=SC2034 # used by the scripts that source this file
kMenuMagnification=1 kMenuSlideshowOn=7 kMenuInterval=9 kMenuJumpList=12 kMenuGrid=13 kMenuOpenFile=15 kMenuOpenFolder=16

# Saves a screenshot of the whole screen.
xsession_shot() { import -window root "$1"; }

# The colour of pixel X,Y of a screenshot file as r,g,b.
xsession_colour_in() {
  convert "$1" -format "%[fx:int(255*p{$2}.r+.5)],%[fx:int(255*p{$2}.g+.5)],%[fx:int(255*p{$2}.b+.5)]" info:
}

# The i-th (1 to 26) of the distinct colours made of the channel levels 0, 128
# and 255, as r,g,b; none of them is white.
xsession_level_colour() {
  local levels=(0 128 255)
  echo "${levels[$1 / 9]},${levels[$1 / 3 % 3]},${levels[$1 % 3]}"
}

# Each "x,y=r,g,b" must hold on one screenshot; the screen gets a few seconds to
# settle. Channels may differ by 8 for a 16-bit screen's rounding.
xsession_check() {
  local step=$1 shot bad="" point want got
  shift
  shot=$(mktemp --suffix=.png)
  for _ in $(seq 12); do
    bad=""
    xsession_shot "$shot" || xsession_fail "$step: no screenshot"
    for point in "$@"; do
      want=${point#*=}
      got=$(xsession_colour_in "$shot" "${point%=*}")
      if ! awk -F, -v w="$want" -v g="$got" 'BEGIN { split(w, a); split(g, b)
             for (i = 1; i <= 3; i++) if (a[i] - b[i] > 8 || b[i] - a[i] > 8) exit 1 }'; then
        bad+=" (${point%=*}) is $got, expected $want;"
      fi
    done
    [ -z "$bad" ] && break
    sleep 0.5
  done
  rm -f "$shot"
  [ -z "$bad" ] || xsession_fail "$step:$bad"
  echo "ok: $step"
}

# Waits up to 10 s for a process to end; fails when it does not.
xsession_wait_exit() {
  local pid=$1
  for _ in $(seq 100); do kill -0 "$pid" 2> /dev/null || return 0; sleep 0.1; done
  xsession_fail "process $pid did not end"
}
