#!/usr/bin/env bash
# The real binary's command line. Without any display: --help, --version,
# unknown options and bad paths answer on the terminal with the right exit
# status. On Xvfb (skipped without it): a file and a folder given on the command
# line are shown on the first screen, Qt's own -display option is honoured, a
# file that cannot be decoded gets the usual error report, and the window's
# class is the desktop entry's StartupWMClass.
set -uo pipefail
loupix="$1"
version="$2"
repo="$(cd "$(dirname "$0")/../.." && pwd)"
# shellcheck source=scripts/lib/xsession.sh
. "$repo/scripts/lib/xsession.sh"
xsession_prepare
work=$xsession_files

# Runs loupix with no display at all; leaves the exit status, stdout and stderr.
run() {
  status=0
  env -u DISPLAY -u WAYLAND_DISPLAY "$loupix" "$@" > "$work/out" 2> "$work/err" || status=$?
  out=$(cat "$work/out")
  err=$(cat "$work/err")
}
expect() {
  local what=$1 want_status=$2
  [ "$status" -eq "$want_status" ] || xsession_fail "$what: exit status $status, expected $want_status (stderr: $err)"
  echo "ok: $what"
}

run --help
expect "--help" 0
[ -z "$err" ] || xsession_fail "--help wrote to standard error: $err"
grep -q '^Usage: loupix \[OPTION\]\.\.\. \[FILE | FOLDER\]$' <<< "$out" || xsession_fail "--help shows no usage line"
for word in --scale --version Esc "Page Down" "Ctrl + left click" "Shift + left click" "right click"; do
  grep -qF -- "$word" <<< "$out" || xsession_fail "--help does not mention $word"
done
[ "$(wc -l <<< "$out")" -le 24 ] || xsession_fail "--help needs more than one screen"

run --version
expect "--version" 0
[ "$out" = "loupix $version" ] || xsession_fail "--version printed '$out', expected 'loupix $version'"

run --frobnicate
expect "unknown option" 2
[ -z "$out" ] || xsession_fail "an unknown option wrote to standard output"
[ "$(sed -n 1p <<< "$err")" = "loupix: unknown option '--frobnicate'" ] || xsession_fail "unknown option: $err"
grep -q -- "--help" <<< "$(sed -n 2p <<< "$err")" || xsession_fail "no usage hint after an unknown option"

run --scale=sideways
expect "bad --scale value" 2

mkfifo "$work/pipe"
for bad in "$work/no such picture.jpg" "$work/pipe" /dev/null; do
  run "$bad"
  expect "bad path $bad" 2
  [ "$(wc -l <<< "$err")" -eq 1 ] || xsession_fail "more than one line for $bad: $err"
  grep -qF -- "$bad" <<< "$err" || xsession_fail "the message does not name $bad: $err"
done

run "$work" "$work"
expect "two paths" 2

# On the X server from here on.
xsession_require Xvfb openbox xdotool xprop import convert
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"
mkdir -p "$work/pictures/inner"
convert -size 200x100 'xc:rgb(0,0,255)' -type TrueColor "BMP3:$work/pictures/a1.bmp"
convert -size 300x200 'xc:rgb(255,0,0)' -type TrueColor "BMP3:$work/pictures/inner/b.bmp"
convert -size 300x200 'xc:rgb(0,255,0)' -type TrueColor "BMP3:$work/pictures/z2.bmp"
printf '\377\330\377\340broken' > "$work/broken.jpg"
xsession_start 1024x768x16

# Starts loupix with the arguments from the given folder; waits for its window.
start() {
  local folder=$1
  shift
  (cd "$folder" && exec "$loupix" "$@") &
  app=$!
  xsession_track "$app"
  window=$(xsession_window '^Form1$')
  [ -n "$window" ] || xsession_fail "no main window for: $*"
}
quit() {
  xdotool key Escape
  xsession_wait_exit "$app"
  wait "$app" || xsession_fail "loupix ended with status $?"
}

# A relative file path, from the picture's own folder.
start "$work/pictures" inner/b.bmp
xsession_check "file from the command line" 0,0=255,0,0 299,199=255,0,0 300,100=0,0,0 100,200=0,0,0
class=$(xprop -id "$window" WM_CLASS)
wanted=$(sed -n 's/^StartupWMClass=//p' "$repo/packaging/loupix.desktop")
grep -q "\"$wanted\"\$" <<< "$class" || xsession_fail "window class $class does not end in \"$wanted\""
echo "ok: window class $class"
quit

# A folder: recursive, natural order, the first picture shown; Page Down goes on.
start "$work" pictures/
xsession_check "folder from the command line" 0,0=0,0,255 199,99=0,0,255 200,50=0,0,0
xdotool key Next
xsession_check "page down in that folder" 0,0=0,255,0 299,199=0,255,0
quit

# Qt's own option: the display comes from -display, not from the environment.
display=$DISPLAY
(unset DISPLAY && exec "$loupix" -display "$display" "$work/pictures/a1.bmp") &
app=$!
xsession_track "$app"
window=$(xsession_window '^Form1$')
[ -n "$window" ] || xsession_fail "-display did not reach Qt"
xsession_check "-display" 0,0=0,0,255
quit

# A file that cannot be decoded: the viewer runs and shows its error report.
start "$work" broken.jpg
report=$(timeout 20 xdotool search --sync --onlyvisible --name '^Loupix$' 2> /dev/null | head -1)
[ -n "$report" ] || xsession_fail "no error report for a file that cannot be decoded"
echo "ok: error report for broken.jpg"
xdotool windowactivate --sync "$report" key Return
xsession_wait_active "=" "$window" "the error report did not close"
quit
echo "all command-line checks passed"
