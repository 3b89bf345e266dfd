#!/usr/bin/env bash
# Installs the build into a temporary prefix and runs the installed Loupix from
# another working folder, one that holds a decoy display-services module:
# --version answers, and on Xvfb (skipped without it) it shows a picture given
# on the command line with every project library and module loaded from the
# prefix, none from the build tree or the working folder.
set -uo pipefail
# The build tree is the folder above the executable's bin/.
build="$(cd "$(dirname "$1")/.." && pwd)"
version="$2"
repo="$(cd "$(dirname "$0")/../.." && pwd)"
# shellcheck source=scripts/lib/xsession.sh
. "$repo/scripts/lib/xsession.sh"
xsession_prepare
work=$xsession_files
prefix="$work/prefix"

cmake --install "$build" --prefix "$prefix" > "$work/install.log" ||
  { cat "$work/install.log"; xsession_fail "cmake --install failed"; }
for file in bin/loupix lib/loupix/libloupix_ddraw.so lib/loupix/libloupix_ui.so \
  lib/loupix/libloupix_framework.so lib/loupix/libloupix_gdi.so \
  share/applications/loupix.desktop share/icons/hicolor/scalable/apps/loupix.svg \
  share/icons/hicolor/48x48/apps/loupix.png share/man/man1/loupix.1.gz; do
  [ -e "$prefix/$file" ] || xsession_fail "not installed: $file"
done
ls "$prefix"/share/metainfo/*.metainfo.xml > /dev/null || xsession_fail "no AppStream metainfo installed"
echo "ok: installed into $prefix"

elsewhere="$work/elsewhere"
mkdir "$elsewhere"
echo "not a module" > "$elsewhere/libloupix_ddraw.so"
cd "$elsewhere" || exit 1
got=$(env -u DISPLAY "$prefix/bin/loupix" --version) || xsession_fail "installed --version failed"
[ "$got" = "loupix $version" ] || xsession_fail "installed --version printed '$got'"
echo "ok: $got"

xsession_require Xvfb openbox xdotool import convert
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"
convert -size 64x48 'xc:rgb(255,0,0)' -type TrueColor "BMP3:$elsewhere/red.bmp"
xsession_start 1024x768x16
"$prefix/bin/loupix" red.bmp &
app=$!
xsession_track "$app"
window=$(xsession_window '^Form1$')
[ -n "$window" ] || xsession_fail "the installed Loupix showed no window"
xsession_check "installed Loupix shows the picture" 0,0=255,0,0 63,47=255,0,0 64,10=0,0,0

loaded=$(grep -o '/[^ ]*libloupix[^ ]*' "/proc/$app/maps" | sort -u)
echo "$loaded"
grep -q "libloupix_ddraw.so" <<< "$loaded" || xsession_fail "the display services are not loaded"
if grep -v "^$prefix/" <<< "$loaded"; then
  xsession_fail "libraries above were loaded from outside the prefix"
fi
echo "ok: every project library comes from the prefix"
xdotool key Escape
xsession_wait_exit "$app"
wait "$app" || xsession_fail "the installed Loupix ended with status $?"
