#!/bin/sh
# Builds the JPEG route benchmark in release mode and runs it (needs djpeg from
# libjpeg-turbo-progs on the path).
set -e
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build/bench}
cmake --preset bench -B "$build" >/dev/null
cmake --build "$build" -j2 --target loupix_bench_jpeg
"$build/bin/loupix_bench_jpeg"
