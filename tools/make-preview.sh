#!/usr/bin/env bash
# Renders the preview's still picture again (saver/run/preview.bmp) with the
# renderer's own scene, under Wine on a virtual screen.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
tools/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)" --target preview_still winprobe
. tools/wine/harness.sh
state=$root/build/windows/wine-tools
harness_display_ready "$state"
harness_prefix_ready "$state/prefix"
trap 'harness_prefix_stop "$state/prefix"; harness_display_stop "$state"' EXIT
wine build/windows/tools/preview_still.exe 'C:\preview.bmp'
cp "$state/prefix/drive_c/preview.bmp" saver/run/preview.bmp
echo "saver/run/preview.bmp: $(identify -format '%wx%h' saver/run/preview.bmp)"
