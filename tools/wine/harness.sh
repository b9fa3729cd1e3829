# The Wine harness shared by the run command and the tests: private Wine
# prefixes copied from one made per Windows, virtual displays of any size,
# depth and monitor count, and helpers that look at windows as a user would.
# Source it; every function is prefixed with harness_.

HARNESS_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# Made prefixes are kept here, outside any build folder, one per Windows.
HARNESS_CACHE=${TREMBLIX_WINE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tremblix}

harness_fail() {
  echo "harness: $*" >&2
  return 1
}

# Whether to run the 32-bit edition here: no only where Wine's 32-bit loader
# is missing (setup leaves it out where no 32-bit code runs) or cannot be
# started at all (a host that runs 64-bit code only says "Exec format error"),
# or TREMBLIX_NO_32BIT=1 asks to behave so. Any other failure of 32-bit Wine
# is the tests' to report, not a reason to skip them.
harness_runs_32bit() {
  [ "${TREMBLIX_NO_32BIT:-0}" != 1 ] || return 1
  [ -e /usr/lib/wine/wine ] || return 1
  local out
  out=$(/usr/lib/wine/wine --version 2>&1) && return 0
  ! grep -q 'Exec format error' <<<"$out"
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
  arch=${2:-$(harness_prefix_arch "$prefix")}
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

# What a new prefix is given beyond wineboot's: the fonts for Japanese text,
# and Wine drawing its own window frames. Each step must work.
harness_prefix_settings() {
  local reg=$WINEPREFIX/drive_c/tremblix-settings.reg face
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    # Japanese text: the fonts the programs ask for, replaced by ones Debian
    # ships; "MS UI Gothic" is what Windows' own dialogs fall back to (Wine
    # links Tahoma to it, and rewrites that link at every start).
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    printf '"ＭＳ Ｐゴシック"="IPAPGothic"\r\n"ＭＳ ゴシック"="IPAGothic"\r\n'
    printf '"MS UI Gothic"="IPAPGothic"\r\n\r\n'
    # Windows' own dialogs (the message box) fall back to it through font links.
    printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]\r\n'
    for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif" "MS Sans Serif"; do
      # REG_MULTI_SZ "ipagp.ttf,IPAPGothic", as UTF-16 with its two ending NULs.
      printf '"%s"=hex(7):%s\r\n' "$face" \
        "$(printf 'ipagp.ttf,IPAPGothic\0\0' | iconv -f UTF-8 -t UTF-16LE | od -An -tx1 -v |
           tr -s ' \n' ',,' | sed 's/^,//; s/,$//')"
    done
    # There is no window manager on a virtual screen: Wine draws the captions
    # and frames itself, as Windows would.
    printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n'
  } | iconv -f UTF-8 -t UTF-16 >"$reg"
  wine regedit /s 'C:\tremblix-settings.reg' </dev/null >/dev/null 2>&1 ||
    harness_fail "regedit could not import $reg"
  rm -f "$reg"
  wineserver -w
  grep -q 'IPAPGothic' "$WINEPREFIX/user.reg" && grep -q 'ipagp' "$WINEPREFIX/system.reg" &&
    grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" ||
    harness_fail "the prefix's settings did not reach its registry"
}

# What a made prefix depends on: the Wine packages and the code that makes it.
harness_template_key() {
  { dpkg-query -W -f='${Version}\n' wine64 wine32:i386 2>/dev/null
    declare -f harness_make_template harness_prefix_settings; } | sha1sum | cut -c1-12
}

# Makes the prefix of Windows $1 (win32 or win64) that every suite's prefix
# is a copy of, once, on a display of its own (a prefix made without one
# shows its first program a 1024 x 768 screen), and prints its folder.
harness_make_template() {
  local arch=$1 dir
  dir=$HARNESS_CACHE/wine-$arch-$(harness_template_key)
  mkdir -p "$HARNESS_CACHE"
  (
    flock 9
    [ -f "$dir/.tremblix-ready" ] && exit 0
    # Those made by another Wine or another harness are of no more use.
    local old
    for old in "$HARNESS_CACHE/wine-$arch-"*; do
      case $old in "$dir"*) ;; *.lock) ;; *) rm -rf "$old" ;; esac
    done
    rm -rf "$dir" "$dir.home" "$dir".x
    harness_display_ready "$dir.x" 1024x768x24 || exit 1
    harness_wine_env "$dir" "$arch"
    wineboot -i </dev/null >"$dir.log" 2>&1 9>&-
    wineserver -w
    [ -f "$dir/system.reg" ] && [ -d "$dir/drive_c/windows" ] ||
      harness_fail "wineboot made no prefix in $dir (see $dir.log)" || exit 1
    # The user's shell folders are links to the HOME it was made with: each
    # copy's are folders of its own.
    local link
    for link in "$dir"/drive_c/users/*/*; do
      [ -L "$link" ] || continue
      rm "$link" && mkdir "$link" || exit 1
    done
    harness_prefix_settings 9>&- || exit 1
    wineserver -k 2>/dev/null
    wineserver -w
    harness_display_stop "$dir.x"
    rm -rf "$dir.home" "$dir.x"
    touch "$dir/.tremblix-ready"
  ) 9>"$dir.lock" || return 1
  echo "$dir"
}

# Copies a made prefix. Wine's own libraries, over a gigabyte that nothing
# writes, are shared with it as hard links; every other file is a copy of
# its own (the registry among them), all made by one tar rather than a
# program or two per file; then the links.
harness_copy_template() {
  local template=$1 prefix=$2
  mkdir -p "$prefix" || return 1
  (cd "$template" && find . -type f ! -name .tremblix-ready ! -regex \
     '.*/windows/\(system32\|syswow64\|winsxs\)/.*\.\(dll\|exe\|drv\|sys\|ocx\|cpl\|acm\|ax\|tlb\|ds\|manifest\)' \
     -print0 | tar -cf - --null --no-recursion -T -) | tar -xpf - -C "$prefix" || return 1
  cp -aln "$template/." "$prefix/" && rm -f "$prefix/.tremblix-ready"
}

# Whether the wineserver of the prefix in WINEPREFIX runs, and on this
# display (Wine learns the screens when its server starts).
harness_server_runs() {
  local pid
  [ "$(cat "$WINEPREFIX.server" 2>/dev/null)" = "${DISPLAY:-} ${HARNESS_DISPLAY_ID:-}" ] || return 1
  for pid in $(pgrep -f '^/usr/lib/wine/wineserver'); do
    grep -qzxF "WINEPREFIX=$WINEPREFIX" "/proc/$pid/environ" 2>/dev/null &&
      return 0
  done
  return 1
}

# Makes the prefix a copy of its Windows' made prefix when it does not exist
# yet (a second or so), and keeps its wineserver running, on this display, so
# that each program starts in milliseconds.
harness_prefix_ready() {
  local prefix template
  prefix=$(realpath -m "$1")
  mkdir -p "$(dirname "$prefix")"
  (
    flock 9
    if [ ! -f "$prefix/.tremblix-ready" ]; then
      template=$(harness_make_template "$(harness_prefix_arch "$prefix")") || exit 1
      rm -rf "$prefix" "$prefix.home" "$prefix.server"
      harness_copy_template "$template" "$prefix" || exit 1
      touch "$prefix/.tremblix-ready"
    fi
    harness_wine_env "$prefix"
    harness_server_runs && exit 0
    # A server left from another display draws nowhere: start it again.
    wineserver -k >/dev/null 2>&1
    wineserver -w
    # The server, and the services the first program starts, outlive the
    # programs: start them here with nothing of the caller's attached, so that
    # no pipe of a test runner stays open behind them.
    wineserver -p </dev/null >/dev/null 2>&1 9>&- || harness_fail "no wineserver for $prefix" || exit 1
    # So does the desktop's own process (explorer.exe /desktop), which the
    # first program to ask for the desktop starts, handing it that program's
    # standard error: a test program's would keep CTest waiting for its pipe
    # to close until the server ends. Asked for here, by a program that only
    # asks for it.
    wine rundll32.exe user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1 9>&- ||
      harness_fail "Wine does not start a program in $prefix" || exit 1
    echo "${DISPLAY:-} ${HARNESS_DISPLAY_ID:-}" >"$prefix.server"
  ) 9>"$prefix.lock" || return 1
  harness_wine_env "$prefix"
}

harness_prefix_stop() {
  local prefix=$1
  [ -d "$prefix" ] || return 0
  (harness_wine_env "$prefix" && wineserver -k >/dev/null 2>&1; wineserver -w) || true
  rm -f "$prefix.server"
}

# A display for Wine: the one in DISPLAY when HARNESS_USE_DISPLAY=1, otherwise
# a virtual one remembered in state_dir, of the screens asked for (each
# WIDTHxHEIGHT or WIDTHxHEIGHTxDEPTH; depth 24 unless said; two or more make
# monitors as Xinerama heads, which Xvfb lays over one another at the
# origin). A live display of another shape is replaced.
harness_display_ready() {
  local state_dir=$1
  shift
  local screens=("$@")
  [ ${#screens[@]} -gt 0 ] || screens=("${TREMBLIX_SCREEN:-1280x1024}")
  if [ "${HARNESS_USE_DISPLAY:-0}" = 1 ] && [ -n "${DISPLAY:-}" ]; then return 0; fi
  local i args=() shape
  for i in "${!screens[@]}"; do
    [[ ${screens[i]} =~ ^[0-9]+x[0-9]+$ ]] && screens[i]+=x24
    [[ ${screens[i]} =~ ^[0-9]+x[0-9]+x[0-9]+$ ]] || harness_fail "bad screen '${screens[i]}'" || return 1
    args+=(-screen "$i" "${screens[i]}")
  done
  # Several heads are Xinerama's; with RANDR on, Wine would see one monitor.
  [ ${#screens[@]} -eq 1 ] || args+=(-extension RANDR +xinerama)
  shape="${screens[*]}"
  harness_server_ready "$state_dir" "${shape// /,}" "$state_dir/xvfb.log" \
    Xvfb "${args[@]}" -nolisten tcp
}

# Two 1600 x 1200 monitors side by side at 60 Hz, as on a desk, remembered in
# state_dir as any display: the second monitor "right" of the primary or
# "left" of it. Xorg with the dummy driver (run as root) places them apart,
# as Xvfb cannot; its log is state_dir/xorg.log. It shares the console's
# virtual terminal and switches to none, so that a machine's screen stays
# as it is.
harness_desk_ready() {
  local state_dir=$1 side=$2 config
  config=$HARNESS_ROOT/tests/e2e/x11/two-monitors-$side.conf
  [ -f "$config" ] || harness_fail "no desk '$side' (right or left)" || return 1
  harness_server_ready "$state_dir" "desk-$side" "$state_dir/xorg-output.log" \
    Xorg -config "$config" -noreset -nolisten tcp -sharevts -novtswitch \
    -logfile "$state_dir/xorg.log"
}

# Starts the X server of the command after the first three arguments (it is
# given -displayfd), its output in the file $3, as the display of shape $2
# remembered in state_dir: unless the one there lives and has that shape,
# which it then stops first. Sets DISPLAY and HARNESS_DISPLAY_ID.
harness_server_ready() {
  local state_dir=$1 shape=$2 log=$3
  shift 3
  mkdir -p "$state_dir"
  local n pid old i
  (
    flock 9
    if [ -f "$state_dir/display" ]; then
      read -r n pid old <"$state_dir/display"
      if kill -0 "$pid" 2>/dev/null && [ "$old" = "$shape" ]; then exit 0; fi
      kill "$pid" 2>/dev/null
      while kill -0 "$pid" 2>/dev/null; do sleep 0.05; done
      rm -f "$state_dir/display"
    fi
    # The server picks a free number itself and says which once it listens;
    # started from a subshell, so that it is no job of the caller (a script
    # ending with "wait" would otherwise wait for the display forever).
    rm -f "$state_dir/number"
    setsid "$@" -displayfd 3 3>"$state_dir/number" >"$log" 2>&1 </dev/null 9>&- &
    pid=$!
    for i in $(seq $((200 * ${TREMBLIX_SLOW:-1}))); do
      n=$(tr -dc 0-9 2>/dev/null <"$state_dir/number")
      [ -n "$n" ] && [ "$(wc -l <"$state_dir/number")" -ge 1 ] && break
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.05
    done
    if [ -z "$n" ] || ! xdpyinfo -display ":$n" >/dev/null 2>&1; then
      kill "$pid" 2>/dev/null
      harness_fail "$* did not start (see $log)" || exit 1
    fi
    echo "$n $pid $shape" >"$state_dir/display"
  ) 9>"$state_dir/display.lock" || return 1
  read -r n pid old <"$state_dir/display"
  export DISPLAY=:$n
  # A new display may reuse an old one's number: this tells them apart.
  export HARNESS_DISPLAY_ID="$n $pid $old"
}

# A benchmark's display of size $2 (WIDTHxHEIGHT[xDEPTH], or desk-right or
# desk-left for the desk), remembered in state_dir $1, and the prefix beside it.
harness_bench_ready() {
  case $2 in
    desk-*) harness_desk_ready "$1" "${2#desk-}" || return 1 ;;
    *) harness_display_ready "$1" "$2" ;;
  esac
  harness_prefix_ready "$1/prefix"
}

harness_display_stop() {
  local state_dir=$1 n pid
  [ -f "$state_dir/display" ] || return 0
  read -r n pid _ <"$state_dir/display"
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
  local id try
  for try in 1 2 3; do
    # Wine may know a new window a moment before X has mapped and named it,
    # and may replace its X window while the program starts.
    id=$(harness_wait_window "$1" 5) || return 1
    # With nothing focused yet (no window manager gives focus), the key would go nowhere.
    xdotool windowfocus "$id" 2>/dev/null
    xdotool keydown --window "$id" "$2" 2>/dev/null && break
    [ "$try" != 3 ] || return 1
    sleep 0.1
  done
  sleep "${3:-0.2}"
  # The window may be gone by now; the key must come up all the same, or the
  # X server keeps it held for whatever window comes next.
  xdotool keyup --window "$id" "$2" 2>/dev/null || xdotool keyup "$2"
}

# Taps a key on the window titled $1: down and up within microseconds, both
# before the program looks again, as a quick finger does.
harness_tap() {
  local id try
  # Wine may replace a window's X window while the program starts: a key
  # sent to the one that went is looked for again.
  for try in 1 2 3; do
    id=$(harness_wait_window "$1" 5) || return 1
    xdotool windowfocus "$id" 2>/dev/null
    # The press may close the window, or hide it, before the release reaches
    # it; the release then goes nowhere and the X server keeps the key held,
    # repeating into whatever window comes next. So the key always comes up
    # once more (a release of a key that is up changes nothing of ours).
    if xdotool keydown --window "$id" "$2" keyup --window "$id" "$2" 2>/dev/null; then
      xdotool keyup "$2" 2>/dev/null
      return 0
    fi
    xdotool keyup "$2" 2>/dev/null
    [ -n "$(harness_find "$1")" ] || return 0
    sleep 0.1
  done
  return 1
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
