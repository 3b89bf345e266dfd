#!/usr/bin/env bash
# Key press to presented frame, in one run for Loupix (Page Down / Page Up), feh
# (-F --zoom 100, Right / Left) and nsxiv (-f -Z, n / p), on Xvfb 1024x768x16 with
# openbox, over generated camera-like JPEGs (plasma and noise, 4:2:0, quality 90)
# of 2, 12 and 24 megapixels, 8 files per set. Each viewer pages back and forth
# through its set: "sequential" waits 1 s (and a random part of a frame) before
# each press, "burst" presses as soon as the previous picture is on the screen (one
# process does all the presses of a run, so no program start stands in between).
# Prints the median, 90th percentile and peak memory (VmHWM) per viewer, and
# djpeg's time for one file of the set.
# Then Loupix's grid, 3 x 3, of 24 MP and of 50 MP JPEGs: the first page switched on
# cold, pages changed after 3 s pauses (median and slowest of six), and the peak
# memory.
#   bench/key_to_frame.sh [PRESSES] [SIZES]   (default 30 presses; sizes "2 12 24";
#   "" for the grid part alone)
#   NO_GRID=1 skips the grid part; LOUPIX_DECODE_AHEAD=0 measures Loupix without it.
# Needs Xvfb, openbox, xdotool, feh, nsxiv and djpeg; the machine should be quiet.
set -euo pipefail
presses=${1:-30}
sizes=${2-"2 12 24"}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build/bench-frame}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLOUPIX_BENCH=ON \
  -DLOUPIX_TESTS=OFF > /dev/null
cmake --build "$build" -j2 --target loupix loupix_ddraw loupix_make_photos loupix_key_to_frame \
  > /dev/null
bin=$build/bin
# shellcheck source=scripts/lib/xsession.sh
. "$root/scripts/lib/xsession.sh"
xsession_require Xvfb openbox xdotool feh nsxiv djpeg
work=$(mktemp -d)
xsession_start 1024x768x16
trap 'xsession_cleanup; rm -rf "$work"' EXIT

declare -A width=([2]=1728 [12]=4240 [24]=6000 [50]=8688)
declare -A height=([2]=1152 [12]=2832 [24]=4000 [50]=5792)

# make_set MP COUNT: a folder of COUNT photos; old enough that decode-ahead trusts
# their modification times (files written a moment ago are read again when shown).
make_set() {
  local dir="$work/$1mp_$2"
  mkdir -p "$dir"
  "$bin/loupix_make_photos" "$dir" "${width[$1]}" "${height[$1]}" "$2"
  touch -d '1 hour ago' "$dir"/*.jpg
  echo "$dir"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
p90() { sort -n | awk '{ v[NR] = $1 } END { i = int(NR * 0.9 + 0.5); print v[i < 1 ? 1 : i] }'; }
# signature [SETTLE_MS [BEFORE]]: the probes once settled (and changed from BEFORE).
signature() { "$bin/loupix_key_to_frame" signature "${1:-700}" "${2:-}"; }
press() { "$bin/loupix_key_to_frame" press "$1" "$2"; }

# Starts a viewer on a folder; sets viewer_pid and the viewer's keys.
start_viewer() {
  local name=$1 dir=$2
  case $name in
    loupix)
      forward=Next backward=Prior
      "$bin/loupix" 2> "$work/loupix.err" &
      viewer_pid=$!
      xsession_track "$viewer_pid"
      local main
      main=$(xsession_window '^Form1$')
      [ -n "$main" ] || xsession_fail "Loupix did not start"
      sleep 1
      xsession_menu "$kMenuOpenFolder"
      xsession_wait_active "!=" "$main" "the folder chooser did not open"
      sleep 0.5
      xdotool type --delay 10 "$dir"
      xdotool key Return
      xsession_wait_active "=" "$main" "the folder chooser did not close"
      signature 1000 > /dev/null
      ;;
    feh)
      forward=Right backward=Left
      feh -F --zoom 100 --sort filename "$dir" &
      viewer_pid=$!
      xsession_track "$viewer_pid"
      ;;
    nsxiv)
      forward=n backward=p
      nsxiv -f -Z "$dir"/*.jpg &
      viewer_pid=$!
      xsession_track "$viewer_pid"
      ;;
  esac
}

stop_viewer() {
  kill "$viewer_pid" 2> /dev/null || true
  wait "$viewer_pid" 2> /dev/null || true
}

peak_mib() { awk '/VmHWM/ { printf "%.0f", $2 / 1024 }' "/proc/$1/status"; }

# Learns the signature of each position 0..count-1 by paging forward slowly.
calibrate() {
  local count=$1 i
  sig=()
  sig[0]=$(signature 1500)
  for ((i = 1; i < count; i++)); do
    xdotool key "$forward"
    sig[i]=$(signature 700 "${sig[i - 1]}") || xsession_fail "position $i never showed"
  done
  position=$((count - 1)) direction=-1
}

# Pages back and forth; prints one time per press.
measure() {
  local mode=$1 count=$2 n key steps=""
  for ((n = 0; n < presses; n++)); do
    if ((position + direction < 0 || position + direction >= count)); then
      direction=$((-direction))
    fi
    position=$((position + direction))
    key=$backward
    ((direction > 0)) && key=$forward
    steps+="$key ${sig[position]}"$'\n'
  done
  printf '%s' "$steps" | "$bin/loupix_key_to_frame" run "$mode" ||
    xsession_fail "a picture never showed"
}

echo "load: $(uptime)"
printf '%-6s %-10s %-8s %12s %12s %10s\n' size mode viewer median_ms p90_ms peak_MiB
for mp in $sizes; do
  dir=$(make_set "$mp" 8)
  djpeg_ms=$(for f in "$dir"/*.jpg; do
    start=$(date +%s%N)
    djpeg -dct float -outfile /dev/null "$f"
    echo $((($(date +%s%N) - start) / 1000000))
  done | median)
  for viewer in loupix feh nsxiv; do
    start_viewer "$viewer" "$dir"
    # Opening shows entry 0 with the index on entry 1; Page Up puts it on 0.
    [ "$viewer" = loupix ] && xdotool key Prior
    calibrate 8
    for mode in sequential burst; do
      measure "$mode" 8 > "$work/times"
      printf '%-6s %-10s %-8s %12s %12s %10s\n' "${mp}MP" "$mode" "$viewer" \
        "$(median < "$work/times")" "$(p90 < "$work/times")" "$(peak_mib "$viewer_pid")"
    done
    stop_viewer
  done
  printf '%-6s %-10s %-8s %12s\n' "${mp}MP" "one file" djpeg "$djpeg_ms"
  rm -rf "$dir"
done

[ "${NO_GRID:-}" = 1 ] && exit 0

# grid_run MP: Loupix on 27 photos (three pages); the grid switched on cold (page 0),
# then pages changed after 3 s pauses (switching on leaves the index on page 1, so
# Page Down shows page 2; from there Page Up and Page Down go back and forth). A
# first run learns the pages; a second, fresh one is measured, so its peak memory is
# that of the grid (after the folder's first picture, which opening always shows).
grid_run() {
  local mp=$1 dir single cold key page times=""
  local -a pages=()
  dir=$(make_set "$mp" 27)
  start_viewer loupix "$dir"
  single=$(signature 1000)
  # The menu opens between the probe columns: until a long load ends, what it
  # covered is not redrawn.
  xsession_menu "$kMenuGrid" 140 100
  pages[0]=$(signature 1500 "$single")
  xdotool key Next
  pages[2]=$(signature 1500 "${pages[0]}")
  xdotool key Prior
  pages[1]=$(signature 1500 "${pages[2]}")
  stop_viewer
  start_viewer loupix "$dir"
  signature 1000 > /dev/null
  xdotool mousemove 140 100 click 3
  sleep 0.5
  # shellcheck disable=SC2046 # one "Down" word per step
  xdotool key --delay 40 $(printf 'Down %.0s' $(seq "$kMenuGrid"))
  cold=$(press Return "${pages[0]}")
  for step in Next:2 Prior:1 Prior:0 Next:1 Next:2 Prior:1; do
    key=${step%:*} page=${step#*:}
    sleep 3
    times+="$(press "$key" "${pages[page]}")"$'\n'
  done
  printf '%-6s grid 3x3: first page cold %s ms; page changes after 3 s: median %s ms, ' \
    "${mp}MP" "$cold" "$(printf '%s' "$times" | median)"
  printf 'slowest %s ms; peak %s MiB\n' "$(printf '%s' "$times" | sort -n | tail -1)" \
    "$(peak_mib "$viewer_pid")"
  stop_viewer
  start=$(date +%s%N)
  djpeg -scale 1/8 -outfile /dev/null "$dir/photo_000.jpg"
  printf '%-6s djpeg -scale 1/8 of one file: %s ms\n' "${mp}MP" \
    $((($(date +%s%N) - start) / 1000000))
  rm -rf "$dir"
}
grid_run 24
grid_run 50
