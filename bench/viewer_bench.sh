#!/bin/sh
# Builds the viewer benchmarks in release mode and runs them on Qt's offscreen
# platform (needs djpeg from libjpeg-turbo-progs on the path).
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build/bench-viewer}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLOUPIX_BENCH=ON -DLOUPIX_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target loupix_bench_viewer loupix_ddraw
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/bin/loupix_bench_viewer" "$@"
