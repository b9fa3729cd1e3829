#!/usr/bin/env bash
# Measures the renderer under Wine on virtual screens that report 60 Hz
# (Xvfb with -extension RANDR): frames per second and the renderer's
# processor time per second of run, paced (as every run draws) and unpaced
# (TREMBLIX_BENCH_UNPACED=1, the benchmark build only), at 1280 x 1024 and
# 1920 x 1080, the window over the whole screen. Before that, the time from
# process start to the first frame with three screen-sized pictures. Prints
# medians; asserts nothing.
#   tools/bench-renderer.sh [seconds] [--runs N] [--compare FOLDER] [--edition x86|x64]
# --compare FOLDER also runs the renderer_bench.exe kept in FOLDER (a build
# from before the pace, which always draws unpaced), alternating with this
# build's. The processor time is read from outside, from /proc, the same way
# for both: Wine's process holds llvmpipe's drawing threads too.
# TREMBLIX_BENCH_SIZES overrides the screen sizes ("1280x1024 1920x1080").
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
seconds=5
runs=3
compare=
edition=
while [ $# -gt 0 ]; do
  case $1 in
    --edition) edition=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --compare) compare=$(realpath "$2"); shift 2 ;;
    *) seconds=$1; shift ;;
  esac
done
sizes=${TREMBLIX_BENCH_SIZES:-1280x1024 1920x1080}
tools/setup.sh
. tools/wine/harness.sh
edition=${edition:-$(harness_default_edition)}
harness_edition "$edition"
echo "edition: $edition ($PRESET)"
cmake --preset "$PRESET" >/dev/null
cmake --build --preset "$PRESET" -j 2 --target renderer_bench >/dev/null

# "before" is the compared build (unpaced, all it can do); "paced" and
# "unpaced" are this build's.
variants=(paced unpaced)
[ -z "$compare" ] || variants=(before paced unpaced)
program_of() { [ "$1" = before ] && echo "$compare/renderer_bench.exe" || echo "$BUILD/tools/renderer_bench.exe"; }

# The Linux process of the program Wine runs, once it is there.
pid_of_bench() {
  local pid
  for _ in $(seq 100); do
    pid=$(pgrep -n -f 'renderer_bench\.exe' || true)
    [ -n "$pid" ] && { echo "$pid"; return 0; }
    sleep 0.05
  done
  return 1
}
ticks_of() { awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null; }

# One run: prints "first-frame-ms fps cpu-ms-per-second".
one_run() {
  local variant=$1 out=$2
  local unpaced=0
  [ "$variant" = unpaced ] && unpaced=1
  TREMBLIX_BENCH_SECONDS=$seconds TREMBLIX_BENCH_UNPACED=$unpaced \
    wine "$(program_of "$variant")" >"$out" 2>/dev/null </dev/null &
  local wine_pid=$! pid
  pid=$(pid_of_bench) || { wait "$wine_pid"; echo "- - -"; return; }
  # From the first frame on, sampled until the program ends; the last sample
  # closes the run.
  until grep -q 'first frame' "$out" 2>/dev/null; do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  local t0 c0 t1 c1 c t
  t0=$(date +%s.%N); c0=$(ticks_of "$pid")
  t1=$t0; c1=$c0
  while c=$(ticks_of "$pid") && [ -n "$c" ]; do
    t1=$(date +%s.%N); c1=$c
    sleep 0.1
  done
  wait "$wine_pid" || true
  local first fps
  first=$(tr -d '\r' <"$out" | awk '/first frame:/ { print $(NF - 1) }')
  fps=$(tr -d '\r' <"$out" | awk '/frames per second/ { print $4 }')
  awk -v f="${first:--}" -v r="${fps:--}" -v c0="$c0" -v c1="$c1" -v t0="$t0" -v t1="$t1" \
    'BEGIN { printf "%s %s %.0f\n", f, r, (c1 - c0) * 10 / (t1 - t0) }'
}

median() { sort -n | awk '{ v[NR] = $1 } END { print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

for size in $sizes; do
  state=$BUILD/wine-bench/$size
  mkdir -p "$state"
  # A screen of its own that reports its refresh rate (the harness's does not).
  for n in $(seq 200 299); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break
  done
  xvfb=$(setsid Xvfb ":$n" -extension RANDR -screen 0 "${size}x24" -nolisten tcp \
           >"$state/xvfb.log" 2>&1 </dev/null & echo $!)
  for _ in $(seq 100); do xdpyinfo -display ":$n" >/dev/null 2>&1 && break; sleep 0.1; done
  export DISPLAY=:$n HARNESS_USE_DISPLAY=1
  harness_prefix_ready "$state/prefix"
  # Screen-sized pictures in the user's picture folder, where the saver leaves them.
  c=$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/Tremblix
  mkdir -p "$c"
  convert -size "$size" plasma:fractal -seed 7 -type TrueColor "BMP3:$c/Tremblix2.bmp" 2>/dev/null ||
    convert -size "$size" gradient:red-blue -type TrueColor "BMP3:$c/Tremblix2.bmp"
  convert "$c/Tremblix2.bmp" -flop "BMP3:$c/Tremblix1.bmp"
  convert "$c/Tremblix2.bmp" -flip "BMP3:$c/Tremblix3.bmp"
  convert -size 93x85 xc:black -type TrueColor "BMP3:$c/Tremblix4.bmp"
  load=$(cut -d' ' -f1-3 /proc/loadavg)
  rm -f "$state"/*.run
  # A first round fills the caches; it is not counted.
  for run in $(seq 0 "$runs"); do
    for variant in "${variants[@]}"; do
      result=$(one_run "$variant" "$state/out.txt")
      [ "$run" = 0 ] || echo "$result" >>"$state/$variant.run"
    done
  done
  harness_prefix_stop "$state/prefix"
  kill "$xvfb" 2>/dev/null || true
  echo
  echo "== $size, 60 Hz: medians of $runs runs of $seconds s; load average before: $load, after: $(cut -d' ' -f1-3 /proc/loadavg)"
  printf '  %-10s %22s %18s %30s\n' "" "start to first frame" "frames per second" "processor ms per second of run"
  for variant in "${variants[@]}"; do
    printf '  %-10s %19s ms %18s %30s\n' "$variant" \
      "$(cut -d' ' -f1 "$state/$variant.run" | median)" \
      "$(cut -d' ' -f2 "$state/$variant.run" | median)" \
      "$(cut -d' ' -f3 "$state/$variant.run" | median)"
  done
done
