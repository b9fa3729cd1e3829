# The Wine harness shared by the run command and the tests: a private Wine
# prefix, a virtual display, and helpers that look at windows as a user would.
# Source it; every function is prefixed with harness_.

HARNESS_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# Whether this machine runs 32-bit programs: start one, Wine's 32-bit loader,
# and see. Some hosts run 64-bit code only. TREMBLIX_NO_32BIT=1 makes any
# machine answer as those do.
harness_runs_32bit() {
  [ "${TREMBLIX_NO_32BIT:-0}" != 1 ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

# The edition to run when none is asked for: the 32-bit one where this machine
# runs it, otherwise the 64-bit one.
harness_default_edition() {
  if harness_runs_32bit; then echo x86; else echo x64; fi
}

# Sets PRESET, BUILD (its folder) and TREMBLIX_WINEARCH for edition $1 (x86 or
# x64); fails for any other name.
harness_edition() {
  case $1 in
    x86) PRESET=windows; export TREMBLIX_WINEARCH=win32 ;;
    x64) PRESET=windows-x64; export TREMBLIX_WINEARCH=win64 ;;
    *) echo "unknown edition '$1' (x86 or x64)" >&2; return 1 ;;
  esac
  BUILD=$HARNESS_ROOT/build/$PRESET
}

# The Windows of a prefix: that of the edition under test, TREMBLIX_WINEARCH
# (win32 or win64); for a prefix that exists, the one it was made with.
harness_prefix_arch() {
  if [ -f "$1/system.reg" ]; then
    grep -q '^#arch=win64' "$1/system.reg" && echo win64 || echo win32
  else
    echo "${TREMBLIX_WINEARCH:-win32}"
  fi
}

# The environment every Wine call of the project runs in, for one prefix.
# A 64-bit prefix runs through the 64-bit loader and server directly, which
# works on machines that run no 32-bit code (its 32-bit programs, on machines
# that do, run from its syswow64).
harness_wine_env() {
  local prefix arch
  prefix=$(realpath -m "$1")
  arch=$(harness_prefix_arch "$prefix")
  export WINEPREFIX=$prefix WINEARCH=$arch WINEDEBUG=${WINEDEBUG:--all}
  PATH=${PATH//"$HARNESS_ROOT/tools/wine/win64:"/}
  if [ "$arch" = win64 ]; then
    export PATH=$HARNESS_ROOT/tools/wine/win64:$PATH
    export WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
  else
    unset WINELOADER WINESERVER
  fi
  # The system's code page comes from the locale: 932 with the Japanese one,
  # as our users have it, 1252 otherwise. Both keep UTF-8 file names, without
  # which Wine cannot map a non-ASCII name to a file.
  case ${TREMBLIX_CODEPAGE:-1252} in
    932) export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 ;;
    *) export LANG=C.UTF-8 LC_ALL=C.UTF-8 ;;
  esac
  unset LANGUAGE
  # No downloads of Mono or Gecko, no desktop menu entries.
  export WINEDLLOVERRIDES="mscoree=d;mshtml=d;winemenubuilder.exe=d"
  # Wine finds the ALSA null device through this HOME's .asoundrc.
  export HOME=$prefix.home
  mkdir -p "$HOME"
  if [ ! -f "$HOME/.asoundrc" ]; then
    printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$HOME/.asoundrc"
  fi
}

# Creates the prefix when it does not exist yet (about 15 s, a 64-bit one
# about 11 to 19 s), and keeps its wineserver running so that each program starts in
# milliseconds.
harness_prefix_ready() {
  local prefix
  prefix=$(realpath -m "$1")
  harness_wine_env "$prefix"
  mkdir -p "$(dirname "$prefix")"
  (
    flock 9
    if [ ! -f "$prefix/.tremblix-ready" ]; then
      rm -rf "$prefix"
      harness_wine_env "$prefix"
      wineboot -i >/dev/null 2>&1 </dev/null 9>&-
      wineserver -w
      # Japanese text: the font the programs ask for, replaced by one Debian ships.
      wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' /t REG_SZ \
        /d IPAPGothic /f >/dev/null 2>&1 </dev/null 9>&-
      wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ ゴシック' /t REG_SZ \
        /d IPAGothic /f >/dev/null 2>&1 </dev/null 9>&-
      # The font that Windows' own dialogs fall back to for Japanese (Wine links
      # Tahoma to it, and rewrites that link at every start).
      wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'MS UI Gothic' /t REG_SZ \
        /d IPAPGothic /f >/dev/null 2>&1 </dev/null 9>&-
      # Windows' own dialogs (the message box) fall back to it through font links.
      local face
      for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif" "MS Sans Serif"; do
        wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
          /v "$face" /t REG_MULTI_SZ /d 'ipagp.ttf,IPAPGothic' /f >/dev/null 2>&1 </dev/null 9>&-
      done
      # There is no window manager on a virtual screen: Wine draws the captions
      # and frames itself, as Windows would.
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
        >/dev/null 2>&1 </dev/null 9>&-
      wineserver -w
      touch "$prefix/.tremblix-ready"
    fi
    # The server, and the services the first program starts, outlive the
    # programs: start them here with nothing of the caller's attached, so that
    # no pipe of a test runner stays open behind them.
    wineserver -p >/dev/null 2>&1 </dev/null 9>&- || true
    wine cmd /c exit 0 >/dev/null 2>&1 </dev/null 9>&- || true
  ) 9>"$prefix.lock"
}

harness_prefix_stop() {
  local prefix=$1
  [ -d "$prefix" ] || return 0
  (harness_wine_env "$prefix" && wineserver -k >/dev/null 2>&1) || true
}

# A display for Wine: the one in DISPLAY when HARNESS_USE_DISPLAY=1, otherwise
# a virtual one of the given size, started once and remembered in state_dir.
harness_display_ready() {
  local state_dir=$1 size=${2:-${TREMBLIX_SCREEN:-1280x1024}}
  if [ "${HARNESS_USE_DISPLAY:-0}" = 1 ] && [ -n "${DISPLAY:-}" ]; then return 0; fi
  mkdir -p "$state_dir"
  exec 8>"$state_dir/display.lock"
  flock 8
  local n pid
  if [ -f "$state_dir/display" ]; then
    read -r n pid <"$state_dir/display"
    if kill -0 "$pid" 2>/dev/null; then
      export DISPLAY=:$n
      exec 8>&-
      return 0
    fi
  fi
  for n in $(seq 90 199); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break
  done
  # Started from a subshell, so that it is no job of the caller: a script that
  # ends with "wait" would otherwise wait for the display forever.
  pid=$(setsid Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp >"$state_dir/xvfb.log" 2>&1 \
          </dev/null 8>&- & echo $!)
  local i
  for i in $(seq 100); do
    xdpyinfo -display ":$n" >/dev/null 2>&1 && break
    sleep 0.1
  done
  echo "$n $pid" >"$state_dir/display"
  export DISPLAY=:$n
  exec 8>&-
}

harness_display_stop() {
  local state_dir=$1 n pid
  [ -f "$state_dir/display" ] || return 0
  read -r n pid <"$state_dir/display"
  kill "$pid" 2>/dev/null || true
  rm -f "$state_dir/display"
}

# --- Looking at windows -------------------------------------------------------

# X window id of the first window whose title is exactly $1; empty when none.
harness_find() {
  xdotool search --name "^$(printf '%s' "$1" | sed 's/[][\.*^$(){}|+?]/\\&/g')\$" 2>/dev/null | head -n 1
}

# Waits up to $2 seconds (default 10) for a window titled $1 and prints its id.
harness_wait_window() {
  local title=$1 timeout=${2:-10} id deadline=$((SECONDS + ${2:-10}))
  while [ $SECONDS -le $deadline ]; do
    id=$(harness_find "$title")
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# Sends keys (xdotool names: Escape, Return, a, ...) to the window titled $1.
harness_key() {
  local id
  id=$(harness_find "$1") || return 1
  [ -n "$id" ] || return 1
  shift
  xdotool key --window "$id" "$@"
}

# Holds a key down on the window titled $1 for $3 seconds (default 0.2), as a
# person does; programs that poll the key state once a frame need that.
harness_press() {
  local id
  # Wine may know a new window a moment before X has mapped and named it.
  id=$(harness_wait_window "$1" 5) || return 1
  # With nothing focused yet (no window manager gives focus), the key would go nowhere.
  xdotool windowfocus "$id" 2>/dev/null
  xdotool keydown --window "$id" "$2"
  sleep "${3:-0.2}"
  # The window may be gone by now; the key must come up all the same, or the
  # X server keeps it held for whatever window comes next.
  xdotool keyup --window "$id" "$2" 2>/dev/null || xdotool keyup "$2"
}

# Taps a key on the window titled $1: down and up within microseconds, both
# before the program looks again, as a quick finger does.
harness_tap() {
  local id
  id=$(harness_wait_window "$1" 5) || return 1
  xdotool windowfocus "$id" 2>/dev/null
  xdotool keydown --window "$id" "$2" keyup --window "$id" "$2"
}

# Clicks at (x, y) inside the window titled $1 with button $4 (1 left, 3 right).
harness_click() {
  local id
  id=$(harness_wait_window "$1" 5) || return 1
  xdotool mousemove --window "$id" "$2" "$3" click "${4:-1}"
}

# Prints "x y width height" of the window titled $1, in screen pixels.
harness_rect() {
  local id
  id=$(harness_wait_window "$1" 5) || return 1
  xwininfo -id "$id" | awk '
    /Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
    /Width:/ {w=$NF} /Height:/ {h=$NF}
    END {print x, y, w, h}'
}

harness_screenshot() {
  import -window root "$1"
}

# Prints "r g b" of the pixel at (x, y) of a picture file.
harness_pixel() {
  convert "$1" -format '%[fx:int(255*p{'"$2,$3"'}.r)] %[fx:int(255*p{'"$2,$3"'}.g)] %[fx:int(255*p{'"$2,$3"'}.b)]' info:
}
