#!/bin/sh
# Builds the viewer benchmarks in release mode and runs them on Qt's offscreen
# platform (needs djpeg from libjpeg-turbo-progs on the path).
set -e
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build/bench}
cmake --preset bench -B "$build" >/dev/null
cmake --build "$build" -j2 --target loupix_bench_viewer loupix_ddraw
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/bin/loupix_bench_viewer" "$@"
