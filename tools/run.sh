#!/usr/bin/env bash
# Runs the screen saver under Wine: installs what is missing, builds, prepares
# the project's Wine prefix and starts Tremblix.scr.
#   tools/run.sh [full|settings|preview] [seconds]
# It runs the edition this machine can run: the 32-bit one where 32-bit
# programs start, otherwise the 64-bit one (TREMBLIX_EDITION=x86 or x64 asks).
# With a display (DISPLAY set) it runs there until the program ends. Without
# one it runs on a virtual screen for a few seconds, saves screenshots, ends
# the run itself and says where the pictures are; TREMBLIX_SCREEN=desk (or
# desk-left) makes that screen two monitors side by side.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
mode=${1:-full}
seconds=${2:-6}
case $mode in
  full) switch=/s ;;
  settings) switch=/c ;;
  preview) switch=/p ;;
  *) echo "usage: tools/run.sh [full|settings|preview] [seconds]" >&2; exit 2 ;;
esac

tools/setup.sh
. tools/wine/harness.sh
# The edition this machine runs: the 32-bit one where it can, else the 64-bit one.
edition=${TREMBLIX_EDITION:-$(harness_default_edition)}
harness_edition "$edition"
echo "Edition: $edition ($PRESET)"
cmake --preset "$PRESET" >build-run-configure.log 2>&1 || { cat build-run-configure.log; exit 1; }
rm -f build-run-configure.log
cmake --build --preset "$PRESET" -j "$(nproc)" --target tremblix_scr tremblix_renderer winprobe

state=$BUILD/wine-run
prefix=$state/prefix
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  export HARNESS_USE_DISPLAY=1
  virtual=0
else
  virtual=1
fi
# Two 1600 x 1200 monitors side by side (Xorg's dummy driver), the second
# right or left of the primary, when asked for; else one screen.
case $virtual:${TREMBLIX_SCREEN:-} in
  1:desk | 1:desk-right) harness_desk_ready "$state" right ;;
  1:desk-left) harness_desk_ready "$state" left ;;
  *) harness_display_ready "$state" ;;
esac
harness_prefix_ready "$prefix"
# On a real display its window manager draws the frames; on the virtual one Wine does.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ \
  /d "$([ "$virtual" = 0 ] && echo Y || echo N)" /f >/dev/null 2>&1 </dev/null

# Installed as on Windows: both programs side by side in one folder.
install_dir=$prefix/drive_c/Tremblix
mkdir -p "$install_dir"
cp "$BUILD/bin/Tremblix.scr" "$BUILD/bin/Tremblix.dll" "$install_dir/"
scr='C:\Tremblix\Tremblix.scr'
probe=$BUILD/tools/winprobe.exe

host_pid=
if [ "$mode" = preview ]; then
  # The preview needs a host window, as the display settings give it.
  coproc HOST { wine "$probe" host "Preview Host" 152 112 $((seconds + 30)); }
  host_pid=$HOST_PID
  read -r handle <&"${HOST[0]}"
  switch="/p $handle"
fi

if [ "$virtual" = 0 ]; then
  echo "Running Tremblix.scr $switch on $DISPLAY"
  wine "$scr" $switch || true
  [ -z "$host_pid" ] || kill "$host_pid" 2>/dev/null || true
  exit 0
fi

# An empty virtual screen is black, and so would be every reflection: put a
# made-up desktop on it for the screen saver to photograph.
desktop_pid=
if [ "$mode" = full ]; then
  wine "$probe" desktop $((seconds + 30)) >/dev/null 2>&1 </dev/null &
  desktop_pid=$!
  sleep 1.5
fi

shots=$root/screenshots
mkdir -p "$shots"
rm -f "$shots/$mode"-*.png
echo "Running the $edition edition's Tremblix.scr $switch on a virtual ${TREMBLIX_SCREEN:-1280x1024} screen for $seconds s"
wine "$scr" $switch >/dev/null 2>&1 </dev/null &
pid=$!
for i in $(seq 1 "$seconds"); do
  sleep 0.5
  kill -0 "$pid" 2>/dev/null || { [ "$i" -gt 1 ] && break; }
  harness_screenshot "$shots/$mode-$i.png"
  sleep 0.5
done

# End the run as a user would: Escape for the renderer, the close box for the
# dialog, and the host going away for the preview.
if kill -0 "$pid" 2>/dev/null; then
  case $mode in
    full) harness_press Tremblix_VC Escape 2>/dev/null || true ;;
    settings) wine "$probe" close "<Tremblix>" >/dev/null 2>&1 || true ;;
  esac
fi
[ -z "$host_pid" ] || kill "$host_pid" 2>/dev/null || true
[ -z "$desktop_pid" ] || kill "$desktop_pid" 2>/dev/null || true
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill "$pid" 2>/dev/null || true
harness_prefix_stop "$prefix"
harness_display_stop "$state"
echo "Screenshots: $shots/$mode-*.png"
if [ "$mode" = preview ]; then
  echo "Note: Wine does not draw a child window of another process into its host, so the"
  echo "preview area stays grey here; on Windows it shows saver/run/preview.bmp."
fi
ls "$shots"/"$mode"-*.png 2>/dev/null || echo "(none: the program ended before the first one)"
