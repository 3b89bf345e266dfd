#!/usr/bin/env bash
# Builds the screen benchmark in release mode and runs it on Xvfb at 1920x1080
# and 3840x2160 (24 bits, openbox): the frame scaling for both monitors in each
# mode, then the lens frame on each screen in each LOUPIX_SCALE mode (the
# pointer jumps a few hundred pixels each time, more than a hand moves it between
# two events). The lens frame should stay within 8 ms at 1920x1080 and 16 ms at
# 3840x2160.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build/bench}
(cd "$root" && cmake --preset bench -B "$build" > /dev/null)
cmake --build "$build" -j2 --target loupix_bench_screen loupix_ddraw
bench="$build/bin/loupix_bench_screen"
QT_QPA_PLATFORM=offscreen "$bench" --benchmark_filter=ScaleFrame "$@"
for screen in 1920x1080x24 3840x2160x24; do
  (
    # shellcheck source=scripts/lib/xsession.sh
    . "$root/scripts/lib/xsession.sh"
    xsession_start "$screen"
    for mode in auto integer smooth nearest; do
      LOUPIX_SCALE=$mode LOUPIX_BENCH_MONITOR=${screen%x*} "$bench" --benchmark_filter=LensFrame "$@"
    done
  )
done
