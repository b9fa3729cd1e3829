#!/usr/bin/env bash
# Measures the renderer under Wine on a virtual screen: the time from process
# start to the first frame with three 1920 x 1080 pictures (and each texture
# load), then the frame rate at 1024 x 768. Prints figures; asserts nothing.
#   tools/bench-renderer.sh [seconds] [--edition x86|x64]
# The edition is by default the one this machine runs (the 32-bit one where
# it can).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
seconds=5
edition=
while [ $# -gt 0 ]; do
  case $1 in
    --edition) edition=$2; shift 2 ;;
    *) seconds=$1; shift ;;
  esac
done
tools/setup.sh
. tools/wine/harness.sh
harness_edition "${edition:-$(harness_default_edition)}"
echo "edition: ${edition:-$(harness_default_edition)} ($PRESET)"
cmake --preset "$PRESET" >/dev/null
cmake --build --preset "$PRESET" -j "$(nproc)" --target renderer_bench >/dev/null
state=$BUILD/wine-bench
TREMBLIX_SCREEN=1920x1080 harness_display_ready "$state"
harness_prefix_ready "$state/prefix"
trap 'harness_prefix_stop "$state/prefix"; harness_display_stop "$state"' EXIT
# The user's picture folder, where the screen saver leaves them.
c=$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/Tremblix
mkdir -p "$c"
convert -size 1920x1080 plasma:fractal -seed 7 -type TrueColor "BMP3:$c/Tremblix2.bmp" 2>/dev/null ||
  convert -size 1920x1080 gradient:red-blue -type TrueColor "BMP3:$c/Tremblix2.bmp"
convert "$c/Tremblix2.bmp" -flop "BMP3:$c/Tremblix1.bmp"
convert "$c/Tremblix2.bmp" -flip "BMP3:$c/Tremblix3.bmp"
convert -size 93x85 xc:black -type TrueColor "BMP3:$c/Tremblix4.bmp"
echo "machine load before: $(cut -d' ' -f1-3 /proc/loadavg)"
for run in 1 2 3; do
  echo "-- run $run"
  TREMBLIX_BENCH_SECONDS=$seconds wine "$BUILD/tools/renderer_bench.exe" | tr -d '\r'
done
