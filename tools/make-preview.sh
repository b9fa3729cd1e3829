#!/usr/bin/env bash
# Renders the preview's still picture again (saver/run/preview.bmp) with the
# renderer's own scene, under Wine on a virtual screen.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
tools/setup.sh
. tools/wine/harness.sh
harness_edition "$(harness_default_edition)"
cmake --preset "$PRESET" >/dev/null
cmake --build --preset "$PRESET" -j "$(nproc)" --target preview_still winprobe
state=$BUILD/wine-tools
harness_display_ready "$state"
harness_prefix_ready "$state/prefix"
trap 'harness_prefix_stop "$state/prefix"; harness_display_stop "$state"' EXIT
wine "$BUILD/tools/preview_still.exe" 'C:\preview.bmp'
cp "$state/prefix/drive_c/preview.bmp" saver/run/preview.bmp
echo "saver/run/preview.bmp: $(identify -format '%wx%h' saver/run/preview.bmp)"
