#!/bin/sh
# Builds the JPEG route benchmark in release mode and runs it (needs djpeg from
# libjpeg-turbo-progs on the path).
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build/bench-jpeg}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLOUPIX_BENCH=ON -DLOUPIX_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target loupix_bench_jpeg
"$build/bin/loupix_bench_jpeg"
