#!/bin/sh
# Builds the viewer benchmarks in release mode and runs them on Qt's offscreen
# platform with a 1024 x 768 screen (needs djpeg from libjpeg-turbo-progs on the path).
set -e
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build/bench}
cmake --preset bench -B "$build" >/dev/null
cmake --build "$build" -j2 --target loupix_bench_viewer loupix_ddraw
# A monitor of the display's own size, so no frame is scaled on its way to it.
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen:configfile=$PWD/bench/Screen1024x768.json} \
  "$build/bin/loupix_bench_viewer" "$@"
