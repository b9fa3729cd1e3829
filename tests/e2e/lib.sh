# Shared by the end-to-end scripts: each script runs its cases in its own Wine
# prefix (TREMBLIX_WINEPREFIX) with the programs of the build (TREMBLIX_BUILD).
# A script names its cases case_*; "--list" prints them, NAME runs one.

set -uo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/../../tools/wine/harness.sh"

# Window titles: the settings dialog, its file chooser, the renderer.
readonly kDialog="<Tremblix>" kChooser="ﾌｧｲﾙを開く" kRenderer=Tremblix_VC

E2E_PIDS=()
declare -A E2E_PROGRAM
# One slow-down factor for every wall-clock limit of the suite: a slower
# machine sets TREMBLIX_SLOW=2 and every limit doubles.
E2E_SLOW=${TREMBLIX_SLOW:-1}

e2e_fail() {
  echo "FAIL: $*" >&2
  # What the screen showed then, for whoever reads the failure.
  if [ -n "${E2E_CASE:-}" ] && [ -n "${DISPLAY:-}" ]; then
    harness_screenshot "$E2E_SHOTS/failed-$E2E_CASE.png" 2>/dev/null &&
      echo "the screen at the failure: $E2E_SHOTS/failed-$E2E_CASE.png" >&2
  fi
  exit 1
}

# A capability this machine lacks: CTest counts the case as skipped.
e2e_skip() {
  echo "SKIP: $*"
  exit 77
}

# Reads the whole numbers in $2 into the variables named after it; fails,
# naming what they are ($1), unless there are exactly that many.
e2e_read_numbers() {
  local what=$1 text=${2//$'\r'/} words i=0 name
  shift 2
  read -ra words <<<"$text"
  [ ${#words[@]} = $# ] || e2e_fail "$what is '$text'"
  for name; do
    [[ ${words[i]} =~ ^-?[0-9]+$ ]] || e2e_fail "$what is '$text'"
    printf -v "$name" '%s' "${words[i]}"
    i=$((i + 1))
  done
}

# $1 scaled by the suite's slow-down factor.
e2e_limit() {
  echo $(($1 * E2E_SLOW))
}

# Runs the command after the first two arguments every 50 ms until it
# succeeds, for up to $1 seconds (scaled); fails saying $2 if it never does.
e2e_until() {
  local deadline=$((SECONDS + $(e2e_limit "$1"))) what=$2
  shift 2
  until "$@"; do
    [ $SECONDS -le $deadline ] || e2e_fail "$what"
    sleep 0.05
  done
}

# Waits up to 10 s for the program of pid $2 to have written $1 into the file
# $3; fails saying $4 if it does not, or ends first.
e2e_wait_said() {
  local deadline=$((SECONDS + $(e2e_limit 10)))
  until grep -q "$1" "$3" 2>/dev/null; do
    [ $SECONDS -lt $deadline ] && kill -0 "$2" 2>/dev/null || e2e_fail "$4"
    sleep 0.02
  done
}

# Waits until the program of pid $3 has marked $2 more looks "$1" in its
# times file than now (or than $4), or has ended.
e2e_wait_marks() {
  local want=$((${4:-$(grep -c "$1" "$E2E_TIMES")} + $2))
  until [ "$(grep -c "$1" "$E2E_TIMES")" -ge "$want" ]; do
    kill -0 "$3" 2>/dev/null || return 0
    sleep 0.05
  done
}

# --- What a case changes outside its own files, undone ------------------------
# Every such change is written down before it is made, in a journal beside
# the prefix; the end of the case undoes it, and so does the start of the
# next one when a case was killed before its end.

e2e_journal() {
  printf '%s\t%s\t%s\n' "$1" "$2" "${3:-}" >>"$E2E_PREFIX.undo"
}

# Makes files that not even root can write, as Windows denies a standard user
# the root of C: and the system folders. Fails (and says so) where the file
# system cannot: the case then goes on without the denial, and leaves out
# only what needs it.
e2e_make_unwritable() {
  local file
  for file in "$@"; do
    e2e_journal immutable "$file"
    if ! chattr +i "$file" 2>/dev/null; then
      echo "NOTE: chattr +i does not work here; $file stays writable and what needs it denied is not checked"
      return 1
    fi
  done
}

# Mounts a file system of size $2 (1m, say) on folder $1, as a full disk
# stands; unmounted at the case's end.
e2e_mount_small() {
  e2e_journal mount "$1"
  mount -t tmpfs -o "size=$2" tmpfs "$1" 2>/dev/null
}

# Sets a registry value (reg add's type and data), undone at the case's end:
# back to what a new prefix holds.
e2e_reg_set() {
  local key=$1 name=$2 type=$3 data=$4
  e2e_journal reg "$key" "$name"
  wine reg add "$key" /v "$name" /t "$type" /d "$data" /f </dev/null >/dev/null 2>&1 ||
    e2e_fail "could not set $key\\$name"
}

e2e_reg_delete() {
  e2e_journal reg "$1" "$2"
  wine reg delete "$1" /v "$2" /f </dev/null >/dev/null 2>&1 || true
}

# A key that a case (or a program it runs) may make, deleted at the end
# unless a new prefix has it.
e2e_reg_key() {
  e2e_journal regkey "$1"
}

# Imports the registry text on standard input (a .reg file's, in UTF-8) in
# one start of Wine; every value and key it sets is undone at the case's end.
e2e_reg_import() {
  local text key="" line reg=$E2E_PREFIX.import.reg
  text=$(cat)
  while IFS= read -r line; do
    line=${line%$'\r'}
    case $line in
      '[-'*) key=${line:2:-1}; e2e_journal regkey "$key" ;;
      '['*) key=${line:1:-1}; e2e_journal regkey "$key" ;;
      '"'*) line=${line#\"}; e2e_journal reg "$key" "${line%%\"=*}" ;;
    esac
  done <<<"$text"
  printf 'Windows Registry Editor Version 5.00\r\n\r\n%s\r\n' "${text//$'\n'/$'\r\n'}" |
    iconv -f UTF-8 -t UTF-16 >"$reg"
  wine regedit /s "$(e2e_windows_path "$reg")" </dev/null >/dev/null 2>&1 ||
    e2e_fail "regedit could not import: $text"
  rm -f "$reg"
}

# The Windows path of a file on this side (through drive Z:).
e2e_windows_path() {
  local path
  path=$(realpath -m "$1")
  echo "Z:${path//\//\\}"
}

# What a new prefix holds for value $3 of key $2 (relative to its hive) in the
# registry file $1, as a .reg file writes it; nothing when it has none.
e2e_template_value() {
  local key=${2//\\/\\\\}
  awk -v key="[${key,,}]" -v name="\"${3,,}\"=" '
    /^\[/ { inkey = (index(tolower($0), key " ") == 1); next }
    inkey && index(tolower($0), name) == 1 { print substr($0, length(name) + 1); exit }' "$1"
}

e2e_template_has_key() {
  local key=${2//\\/\\\\}
  grep -qiF "[$key] " "$1"
}

e2e_undo() {
  local journal=$E2E_PREFIX.undo what key name
  [ -s "$journal" ] || { rm -f "$journal"; return 0; }
  local template reg restart=0
  template=$(harness_make_template "$(harness_prefix_arch "$E2E_PREFIX")") || e2e_fail "no made prefix"
  reg=$E2E_PREFIX.undo.reg
  printf 'Windows Registry Editor Version 5.00\r\n' >"$reg"
  while IFS=$'\t' read -r what key name; do
    case $what in
      immutable) chattr -i "$key" 2>/dev/null ;;
      mount) umount "$key" 2>/dev/null ;;
      reg | regkey)
        local hive file rest data
        case ${key%%\\*} in
          HKCU | HKEY_CURRENT_USER) hive=HKEY_CURRENT_USER file=$template/user.reg ;;
          HKLM | HKEY_LOCAL_MACHINE) hive=HKEY_LOCAL_MACHINE file=$template/system.reg ;;
          *) continue ;;
        esac
        rest=${key#*\\}
        if [ "$what" = regkey ]; then
          e2e_template_has_key "$file" "$rest" || printf '\r\n[-%s\\%s]\r\n' "$hive" "$rest" >>"$reg"
          continue
        fi
        data=$(e2e_template_value "$file" "$rest" "$name")
        # Wine's own forms of a few types are not a .reg file's: such a value is deleted.
        [[ $data == str\(* ]] && data=""
        printf '\r\n[%s\\%s]\r\n"%s"=%s\r\n' "$hive" "$rest" "$name" "${data:--}" >>"$reg"
        case ${name,,} in logpixels | background) restart=1 ;; esac
        ;;
    esac
  done <"$journal"
  if [ "$(wc -l <"$reg")" -gt 1 ]; then
    wine regedit /s "$(e2e_windows_path "$reg")" </dev/null >/dev/null 2>&1 ||
      e2e_fail "could not undo the registry values of an earlier case ($reg)"
  fi
  rm -f "$journal" "$reg"
  # These are read when the wineserver starts.
  if [ "$restart" = 1 ]; then
    harness_prefix_stop "$WINEPREFIX"
    harness_prefix_ready "$WINEPREFIX"
  fi
}

e2e_setup() {
  E2E_BUILD=${TREMBLIX_BUILD:?set TREMBLIX_BUILD to the windows build folder}
  E2E_PREFIX=${TREMBLIX_WINEPREFIX:?set TREMBLIX_WINEPREFIX}
  E2E_SHOTS=$E2E_BUILD/e2e-screenshots
  # Runs under the users' own code page keep their pictures apart.
  [ "${TREMBLIX_CODEPAGE:-1252}" = 1252 ] || E2E_SHOTS=$E2E_SHOTS/cp$TREMBLIX_CODEPAGE
  # Each suite has its own display; a case asks for another with e2e_display.
  e2e_screens "${TREMBLIX_SCREEN:-1280x1024x24}"
  harness_display_ready "$E2E_PREFIX.x" "${TREMBLIX_SCREEN:-1280x1024x24}" ||
    e2e_fail "no display"
  harness_prefix_ready "$E2E_PREFIX" || e2e_fail "no Wine prefix"
  # What a case killed before its end left.
  e2e_undo
  E2E_DRIVE_C=$WINEPREFIX/drive_c
  # The user's own folders; Wine names the user after the Unix one.
  E2E_LOCAL_DATA=$E2E_DRIVE_C/users/$(id -un)/AppData/Local
  E2E_ROAMING_DATA=$E2E_DRIVE_C/users/$(id -un)/AppData/Roaming
  E2E_PICTURES=$E2E_LOCAL_DATA/Tremblix
  E2E_ROAMING=$E2E_ROAMING_DATA/Tremblix
  mkdir -p "$E2E_SHOTS"
  # Scratch files of this suite's cases; suites run side by side.
  E2E_TMP=$E2E_PREFIX.tmp
  mkdir -p "$E2E_TMP"
  # The programs' own time stamps: the renderer marks every frame it draws.
  E2E_TIMES=$E2E_BUILD/e2e-times/$(basename "$E2E_PREFIX").txt
  mkdir -p "$(dirname "$E2E_TIMES")"
  : >"$E2E_TIMES"
  TREMBLIX_TIMES=$(e2e_windows_path "$E2E_TIMES")
  export TREMBLIX_TIMES
}

# The screens asked for: E2E_WIDTH and E2E_HEIGHT are the first one's, the
# primary monitor, at the origin (E2E_PRIMARY_X and E2E_PRIMARY_Y, 0);
# E2E_SCREEN_W and E2E_SCREEN_H the whole virtual screen's (Xvfb lays its
# heads over one another at the origin); E2E_SECOND_X, _Y, _W and _H the
# second one's, 0 0 0 0 without one.
e2e_screens() {
  local screen w h
  E2E_WIDTH=0 E2E_SCREEN_W=0 E2E_SCREEN_H=0 E2E_PRIMARY_X=0 E2E_PRIMARY_Y=0 E2E_DESK=
  E2E_SECOND_X=0 E2E_SECOND_Y=0 E2E_SECOND_W=0 E2E_SECOND_H=0
  for screen; do
    IFS=x read -r w h _ <<<"$screen"
    if [ "$E2E_WIDTH" = 0 ]; then
      E2E_WIDTH=$w E2E_HEIGHT=$h
    elif [ "$E2E_SECOND_W" = 0 ]; then
      E2E_SECOND_W=$w E2E_SECOND_H=$h
    fi
    [ "$w" -le "$E2E_SCREEN_W" ] || E2E_SCREEN_W=$w
    [ "$h" -le "$E2E_SCREEN_H" ] || E2E_SCREEN_H=$h
  done
}

# Sets SX and SY to where a scene drawn over the area (x, y, width, height)
# of the screen puts its point ($5, $6) of a 1024 x 768 view: the view keeps
# the area's height and widens or narrows with its shape, centred.
e2e_view_point() {
  SX=$(($1 + ($3 * 768 + ($5 - 512) * 2 * $4 + 768) / (2 * 768)))
  SY=$(($2 + ($6 * $4 + 384) / 768))
}

# Sets SX and SY to where the scene puts its point (x, y) of a 1024 x 768
# view on the primary monitor.
e2e_scene_point() {
  e2e_view_point "$E2E_PRIMARY_X" "$E2E_PRIMARY_Y" "$E2E_WIDTH" "$E2E_HEIGHT" "$1" "$2"
}

# Fails unless the scene's point (x, y) of a 1024 x 768 view is within 16 of
# r g b in the picture.
e2e_expect_scene_pixel() {
  e2e_scene_point "$2" "$3"
  e2e_expect_pixel "$1" "$SX" "$SY" "$4" "$5"
}

# Runs the case on a display of these screens (WIDTHxHEIGHTxDEPTH each; two
# or more are monitors), made afresh when the suite's is of another shape;
# the prefix's server then starts again on it.
e2e_display() {
  e2e_screens "$@"
  harness_display_ready "$E2E_PREFIX.x" "$@" || e2e_fail "no display of $*"
  harness_prefix_ready "$E2E_PREFIX" || e2e_fail "no Wine prefix on the display of $*"
}

# --- A desk of two monitors side by side ---------------------------------------
# Xorg with the dummy driver makes two 1600 x 1200 monitors at 60 Hz side by
# side, which Xvfb cannot. Monitors are named primary, second, left and right
# (left is the one at x 0 of the X screen, right the one at x 1600).

# Runs the case on a desk: "right" puts the second monitor right of the
# primary, "left" left of it (Windows then places it at negative x). Sets
# E2E_WIDTH and E2E_HEIGHT to the primary's size, E2E_SCREEN_W and
# E2E_SCREEN_H to the virtual screen's, E2E_PRIMARY_X, _Y and E2E_SECOND_X,
# _Y, _W, _H to where the monitors are in X's coordinates (those of a
# screenshot), E2E_DESK to the layout and E2E_MONITORS to what Wine reports
# (winprobe monitors), which must be the desk. The prefix's server starts
# again on it; the desk goes at the case's end. Where Xorg does not start,
# the case fails with its log; TREMBLIX_NO_XORG=1 skips it instead.
e2e_desk() {
  local side=$1
  [ "${TREMBLIX_NO_XORG:-0}" != 1 ] ||
    e2e_skip "TREMBLIX_NO_XORG=1: no Xorg, so no desk of two monitors side by side"
  case $side in
    right | left) ;;
    *) e2e_fail "no desk '$side' (right or left)" ;;
  esac
  E2E_DESK_STATE=$E2E_PREFIX.x
  if ! harness_desk_ready "$E2E_DESK_STATE" "$side"; then
    e2e_xorg_log >&2
    e2e_fail "Xorg did not start the desk '$side'"
  fi
  e2e_screens 1600x1200 1600x1200
  E2E_DESK=$side E2E_SCREEN_W=3200 E2E_SECOND_X=1600
  [ "$side" = right ] || E2E_PRIMARY_X=1600 E2E_SECOND_X=0
  harness_prefix_ready "$E2E_PREFIX" || e2e_fail "no Wine prefix on the desk '$side'"
  e2e_expect_desk_monitors
}

# What Xorg said when it started: its output and the end of its log.
e2e_xorg_log() {
  echo "--- Xorg's output ($E2E_DESK_STATE/xorg-output.log):"
  tail -n 20 "$E2E_DESK_STATE/xorg-output.log" 2>/dev/null
  echo "--- the end of Xorg's log ($E2E_DESK_STATE/xorg.log):"
  tail -n 40 "$E2E_DESK_STATE/xorg.log" 2>/dev/null
  echo "---"
}

# Fails unless Wine sees the desk: the primary at (0, 0), the second beside
# it, both at 60 Hz, and the virtual screen over both.
e2e_expect_desk_monitors() {
  local x=$((E2E_SECOND_X - E2E_PRIMARY_X)) want got
  want="virtual $((x < 0 ? x : 0)) 0 $((x < 0 ? E2E_WIDTH : x + E2E_SECOND_W)) $E2E_HEIGHT
monitor 0 0 $E2E_WIDTH $E2E_HEIGHT primary 60
monitor $x 0 $((x + E2E_SECOND_W)) $E2E_SECOND_H secondary 60"
  E2E_MONITORS=$(e2e_probe monitors | tr -d '\r')
  echo "Wine's monitors on the desk '$E2E_DESK':"
  echo "$E2E_MONITORS"
  got=$(cut -d' ' -f1-7 <<<"$E2E_MONITORS")
  [ "$got" = "$want" ] || e2e_fail "Wine does not see the desk '$E2E_DESK': expected
$want"
}

# Sets MON_X, MON_Y, MON_W and MON_H to the rectangle of the desk's monitor
# $1 (primary, second, left or right) in X's coordinates, and MON_SIDE to
# left or right.
e2e_monitor() {
  [ -n "$E2E_DESK" ] || e2e_fail "monitor '$1' asked for without a desk (e2e_desk)"
  local name=$1
  case $name in
    left) [ "$E2E_PRIMARY_X" = 0 ] && name=primary || name=second ;;
    right) [ "$E2E_PRIMARY_X" = 0 ] && name=second || name=primary ;;
  esac
  case $name in
    primary) MON_X=$E2E_PRIMARY_X MON_Y=$E2E_PRIMARY_Y MON_W=$E2E_WIDTH MON_H=$E2E_HEIGHT ;;
    second) MON_X=$E2E_SECOND_X MON_Y=$E2E_SECOND_Y MON_W=$E2E_SECOND_W MON_H=$E2E_SECOND_H ;;
    *) e2e_fail "no monitor '$1' (primary, second, left or right)" ;;
  esac
  if [ "$MON_X" = 0 ]; then MON_SIDE=left; else MON_SIDE=right; fi
}

# The picture the desk's $1 (left or right) monitor shows as its part of the
# desktop (e2e_show_desk_patterns).
e2e_desk_pattern() {
  echo "$E2E_TMP/desk-$1.png"
}

# Shows on each monitor of the desk a picture of its own, stripes 100 pixels
# wide, red and dark red on the left monitor, green and dark green on the
# right, so that no copy of either is of one colour. Each is an X window
# over its monitor (a copy of the screen that a Wine program makes does not
# show the root window's background). Waits until the screen shows them;
# they go at the case's end.
e2e_show_desk_patterns() {
  local side bright dark
  for side in left right; do
    bright='rgb(255,0,0)' dark='rgb(128,0,0)'
    [ "$side" = left ] || bright='rgb(0,255,0)' dark='rgb(0,128,0)'
    e2e_monitor "$side"
    convert -size "100x$MON_H" "xc:$bright" "xc:$dark" +append -write mpr:stripes +delete \
      -size "${MON_W}x$MON_H" tile:mpr:stripes -type TrueColor "$(e2e_desk_pattern "$side")" ||
      e2e_fail "could not make the $side monitor's pattern"
    display -geometry "+$MON_X+$MON_Y" -borderwidth 0 "$(e2e_desk_pattern "$side")" \
      </dev/null >/dev/null 2>&1 &
    E2E_PIDS+=("$!")
  done
  e2e_until 10 "the desk's patterns did not show" e2e_desk_shows_patterns
  echo "the desk shows its patterns"
}

e2e_desk_shows_patterns() {
  local shot=$E2E_TMP/desk-patterns.ppm part=$E2E_TMP/desk-monitor.ppm side
  harness_screenshot "$shot" || return 1
  for side in left right; do
    e2e_monitor "$side"
    convert "$shot" -crop "${MON_W}x${MON_H}+$MON_X+$MON_Y" +repage "$part" || return 1
    [ "$(compare -metric AE "$part" "$(e2e_desk_pattern "$side")" null: 2>&1)" = 0 ] || return 1
  done
}

# Fails unless the picture $1 shows the scene on the desk's monitor $2,
# reflecting that monitor's own part of the desk's patterns: the ball's and
# the floor's boxes of e2e_expect_textured_scene, placed on that monitor's
# view, are lit, not the plain white or grey of a surface without its
# picture, and lean to the monitor's pattern (red over green on the left
# monitor, green over red on the right). $3 names what is checked.
e2e_expect_scene_on_monitor() {
  local shot=$1 what="$3 ($2 monitor)" box name x0 y0 x1 y1 plain lean other
  e2e_monitor "$2"
  # The boxes and the plain colours of e2e_expect_textured_scene.
  for box in "ball 482 212 542 250 255 255 255" "floor 123 466 163 486 153 153 153"; do
    read -r name x0 y0 x1 y1 plain <<<"$box"
    e2e_view_crop "$MON_X" "$MON_Y" "$MON_W" "$MON_H" "$x0" "$y0" "$x1" "$y1"
    e2e_crop_light "$shot" "$CROP" "$plain"
    e2e_read_numbers "the colour of the $name in $shot" \
      "$(convert "$shot" -crop "$CROP" +repage -format \
           '%[fx:round(mean.r*255)] %[fx:round(mean.g*255)] %[fx:round(mean.b*255)]' info:)" \
      RED GREEN BLUE
    echo "$what: the $name's box $CROP: red $RED, green $GREEN, blue $BLUE," \
         "${SHARE} % rgb($plain)"
    # Lit by its brightest channel: a floor of dark reds is dim to the eye.
    [ "$RED" -gt 32 ] || [ "$GREEN" -gt 32 ] || [ "$BLUE" -gt 32 ] ||
      e2e_fail "$what: the $name is dark (red $RED, green $GREEN, blue $BLUE)"
    [ "$SHARE" -lt 90 ] || e2e_fail "$what: the $name is untextured ($SHARE % rgb($plain))"
    if [ "$MON_SIDE" = left ]; then lean=$RED other=$GREEN; else lean=$GREEN other=$RED; fi
    [ "$lean" -gt $((other + 16)) ] ||
      e2e_fail "$what: the $name does not lean to the $MON_SIDE monitor's pattern" \
               "(red $RED, green $GREEN)"
  done
}

# Fails unless the desk's monitor $2 is all black in the picture $1.
e2e_expect_black_monitor() {
  local lit
  e2e_monitor "$2"
  lit=$(convert "$1" -crop "${MON_W}x${MON_H}+$MON_X+$MON_Y" +repage -format '%[fx:maxima]' info:)
  echo "$3 ($2 monitor, ${MON_W}x${MON_H}+$MON_X+$MON_Y): brightest $lit"
  [ "$lit" = 0 ] || e2e_fail "$3: the $2 monitor is not black"
}

e2e_is_64bit() { [ "${TREMBLIX_WINEARCH:-win32}" = win64 ]; }

# The settings file that the programs in C:\e2e\$1 use: either edition's in
# the user's roaming folder.
e2e_settings_file() {
  echo "$E2E_ROAMING/Tremblix.ini"
}

# Copies the programs into C:\e2e\NAME (without the renderer when asked) and
# prints the Windows path of the screen saver. It starts without a settings
# file.
e2e_install() {
  local name=$1 what=${2:-with-renderer} dir=$E2E_DRIVE_C/e2e/$1
  rm -rf "$dir"
  mkdir -p "$dir"
  rm -f "$(e2e_settings_file "$name")"
  cp "$E2E_BUILD/bin/Tremblix.scr" "$dir/"
  [ "$what" = no-renderer ] || cp "$E2E_BUILD/bin/Tremblix.dll" "$dir/"
  echo "C:\\e2e\\$name\\Tremblix.scr"
}

e2e_probe() {
  local as=probe$BASHPID-${EPOCHREALTIME/./} code
  TREMBLIX_STARTED_AS=$as wine "$E2E_BUILD/tools/winprobe.exe" "$@"
  code=$?
  [ "$code" != 137 ] || code=$(e2e_marked_code winprobe "$as")
  return "${code:-137}"
}

# The code program $1 (scr, dll, winprobe), started as $2, marked as it ended.
# Wine's server kills a process that has ended when its Unix side is slow to
# go: the shell then sees 137.
e2e_marked_code() {
  sed -nE "s/^[0-9.]+ $1 ended with code ([0-9]+), started as $2\$/\1/p" "$E2E_TIMES" | tail -n 1
}

# Starts a Windows program in the background; its pid is in E2E_PID, its
# standard error in the file E2E_STDERR names, if any. The program knows
# that pid, to mark its end by (e2e_wait_exit).
e2e_start() {
  (export TREMBLIX_STARTED_AS=$BASHPID
   exec wine "$@" >/dev/null 2>"${E2E_STDERR:-/dev/null}" </dev/null) &
  E2E_PID=$!
  E2E_PIDS+=("$E2E_PID")
  E2E_PROGRAM[$E2E_PID]=${1##*.}
}

# A window titled $1 that stands for the display settings' preview area, 152 x
# 112 (or $3 x $4, "framed" in $5 for a caption and a border), for $2 seconds;
# its handle, as Windows writes it, is in E2E_HOST and its pid in E2E_HOST_PID.
e2e_preview_host() {
  coproc HOST_PROBE {
    exec wine "$E2E_BUILD/tools/winprobe.exe" host "$1" "${3:-152}" "${4:-112}" "$2" ${5:-} 2>/dev/null
  }
  E2E_PIDS+=("$HOST_PROBE_PID")
  E2E_HOST_PID=$HOST_PROBE_PID
  read -r E2E_HOST <&"${HOST_PROBE[0]}"
  E2E_HOST=${E2E_HOST%$'\r'}
  [[ $E2E_HOST =~ ^-?[0-9]+$ ]] || e2e_fail "the preview host gave no handle ('$E2E_HOST')"
}

# Waits up to 10 s for process $1 to have a file open whose path holds $2.
e2e_wait_open() {
  e2e_until 10 "$2 is not open in process $1" e2e_has_open "$1" "$2"
  echo "$2 is open in process $1"
}

e2e_has_open() {
  ls -l "/proc/$1/fd" 2>/dev/null | grep -qF "$2"
}

# Waits up to 10 s until process $1 has no file open whose path holds $2.
e2e_wait_closed() {
  e2e_until 10 "$2 is still open in process $1" e2e_has_no_open "$1" "$2"
  echo "$2 is closed in process $1"
}

e2e_has_no_open() {
  ! e2e_has_open "$@"
}

# Delivers a power notice to the run's window as Windows does (off, on,
# dimmed, suspend, wake, woken); it has been handled when this returns.
e2e_power() {
  e2e_probe power Tremblix_Main "$1" || e2e_fail "the power notice '$1' did not reach the run"
  echo "power notice: $1"
}

# Whether the X window that holds the keyboard focus is titled $1 (in part).
e2e_focus_is() {
  xdotool getwindowfocus getwindowname 2>/dev/null | grep -qF "$1"
}

# Waits up to $2 seconds (scaled) for pid $1 to end. Sets E2E_RC (124 when it
# had to be killed) and E2E_MS, the milliseconds it took.
e2e_wait_exit() {
  local pid=$1 timeout=$2 start=${EPOCHREALTIME/./}
  local deadline=$((SECONDS + $(e2e_limit "$timeout")))
  while kill -0 "$pid" 2>/dev/null && [ $SECONDS -lt $deadline ]; do sleep 0.05; done
  if kill -0 "$pid" 2>/dev/null; then
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    E2E_RC=124
  else
    wait "$pid"
    E2E_RC=$?
  fi
  [ "$E2E_RC" != 137 ] || E2E_RC=$(e2e_marked_code "${E2E_PROGRAM[$pid]:-}" "$pid") E2E_RC=${E2E_RC:-137}
  E2E_MS=$(((${EPOCHREALTIME/./} - start) / 1000))
}

# Waits up to $2 seconds for pid $1, named $3, to end, and fails unless it
# ended by itself with code $4 (0 unless said). E2E_MS is how long it took.
e2e_expect_exit() {
  local pid=$1 timeout=$2 what=$3 want=${4:-0}
  e2e_wait_exit "$pid" "$timeout"
  echo "$what ended after ${E2E_MS} ms with code $E2E_RC"
  [ "$E2E_RC" != 124 ] || [ "$want" = 124 ] ||
    e2e_fail "$what did not end within $(e2e_limit "$timeout") s"
  [ "$E2E_RC" = "$want" ] || e2e_fail "$what ended with code $E2E_RC, not $want"
}

# Watches, from now until e2e_watched, for a window titled $1, so that even
# one that lives for milliseconds is seen.
e2e_watch_window() {
  E2E_WATCH_OUT=$E2E_PREFIX.watch
  : >"$E2E_WATCH_OUT"
  wine "$E2E_BUILD/tools/winprobe.exe" watch "$1" 120 >"$E2E_WATCH_OUT" 2>/dev/null </dev/null &
  E2E_WATCH=$!
  E2E_PIDS+=("$E2E_WATCH")
  e2e_wait_said watching "$E2E_WATCH" "$E2E_WATCH_OUT" "the window watch did not start"
}

# Whether the watched window was seen; ends the watch.
e2e_watched() {
  kill "$E2E_WATCH" 2>/dev/null
  wait "$E2E_WATCH" 2>/dev/null
  grep -q seen "$E2E_WATCH_OUT"
}

# Waits for a window titled $1 to exist inside Wine, up to 60 s: the wait ends
# when it shows, and under the whole test command's load a program's first
# window has taken over 10 s. The probe answers 2 when the time is up; any
# other failure is its own start's: again.
e2e_wait_window() {
  local deadline=$((SECONDS + $(e2e_limit 60))) code
  until e2e_probe wait "$1" $((deadline > SECONDS ? deadline - SECONDS : 1)); do
    code=$?
    [ "$code" != 2 ] && [ $SECONDS -lt $deadline ] ||
      { echo "no window '$1': winprobe wait ended with code $code" >&2; return 1; }
    sleep 0.1
  done
}

# Starts winprobe with these arguments and waits until it prints $1, which it
# does once its window is there.
e2e_probe_window() {
  local said=$1 out=$E2E_PREFIX.probe-$RANDOM
  shift
  wine "$E2E_BUILD/tools/winprobe.exe" "$@" >"$out" 2>/dev/null </dev/null &
  E2E_PID=$!
  E2E_PIDS+=("$E2E_PID")
  e2e_wait_said "$said" "$E2E_PID" "$out" "winprobe $* did not show its window"
  rm -f "$out"
}

# Holds a window titled $1 for $2 seconds; its pid is in E2E_PID.
e2e_hold() {
  e2e_probe_window holding hold "$1" "$2"
}

# Waits until two screenshots a moment apart agree, but for a blinking caret
# (a few dozen pixels): whatever was being drawn is on the screen.
e2e_wait_still() {
  local a=$E2E_TMP/still-a.ppm b=$E2E_TMP/still-b.ppm
  local deadline=$((SECONDS + $(e2e_limit 10)))
  harness_screenshot "$a"
  while [ $SECONDS -le $deadline ]; do
    sleep 0.1
    harness_screenshot "$b"
    cmp -s "$a" "$b" && return 0
    [ "$(compare -metric AE "$a" "$b" null: 2>&1)" -le 40 ] 2>/dev/null && return 0
    mv "$b" "$a"
  done
  e2e_fail "the screen did not settle"
}

# A made-up desktop, so that the photograph has something to show, drawn.
e2e_show_desktop() {
  e2e_probe_window desktop desktop 120
  e2e_wait_still
}

# How many pixels of two pictures differ, as a whole number.
e2e_differing_pixels() {
  compare -metric AE "$1" "$2" null: 2>&1 | awk '{ printf "%d\n", $1 }'
}

e2e_same_picture() {
  local metric
  metric=$(compare -metric AE "$1" "$2" null: 2>&1)
  [ "$metric" = 0 ] || e2e_fail "$3 ($metric pixels differ)"
}

# Sets R, G and B to pixel (x, y) of a picture file; fails for a pixel
# outside it.
e2e_pixel() {
  local w h
  e2e_read_numbers "the size of $1" "$(identify -format '%w %h' "$1")" w h
  [ "$2" -ge 0 ] && [ "$3" -ge 0 ] && [ "$2" -lt "$w" ] && [ "$3" -lt "$h" ] ||
    e2e_fail "pixel ($2, $3) lies outside the $w x $h picture $1"
  e2e_read_numbers "pixel ($2, $3) of $1" "$(harness_pixel "$1" "$2" "$3")" R G B
}

# Fails unless pixel (x, y) of the picture is within 16 of r g b.
e2e_expect_pixel() {
  local shot=$1 x=$2 y=$3 what=$5
  local r g b
  e2e_pixel "$shot" "$x" "$y"
  r=$R g=$G b=$B
  echo "$what at ($x, $y): $r $g $b"
  local want=($4) i=0 got=("$r" "$g" "$b")
  for i in 0 1 2; do
    local d=$((got[i] - want[i]))
    [ ${d#-} -le 16 ] || e2e_fail "$what at ($x, $y) is $r $g $b, expected ${want[*]}"
  done
}

# The renderer's frames drawn since the last start of a run, by its own
# stamps: "<ms> dll frame N" a line.
e2e_frames() {
  grep -c ' dll frame ' "$E2E_TIMES" 2>/dev/null
}

# Waits up to $2 seconds (15 unless said) until the renderer has drawn its
# $1-th frame; it is then on the screen.
e2e_wait_frame() {
  e2e_until "${2:-15}" "the renderer did not draw $1 frames" e2e_has_drawn "$1"
}

e2e_has_drawn() {
  [ "$(e2e_frames)" -ge "$1" ]
}

# The milliseconds of each frame the renderer has drawn, one a line.
e2e_frame_times() {
  awk '/ dll frame / { print $1 }' "$E2E_TIMES"
}

# Waits until the renderer has drawn a frame after its first: the scene with
# its pictures is on the screen.
e2e_wait_drawn() {
  e2e_wait_frame 2
}

# A screenshot, and the renderer's frame it shows at the earliest.
e2e_shot() {
  local frame
  frame=$(e2e_frames)
  harness_screenshot "$E2E_SHOTS/$1.png"
  echo "shot $1 after frame ${frame:-0}"
}

# Sets CROP to ImageMagick's crop of the box ($5, $6)-($7, $8) of a
# 1024 x 768 view drawn over the area (x, y, width, height) of the screen.
e2e_view_crop() {
  local x0 y0
  e2e_view_point "$1" "$2" "$3" "$4" "$5" "$6"
  x0=$SX y0=$SY
  e2e_view_point "$1" "$2" "$3" "$4" "$7" "$8"
  CROP="$((SX - x0))x$((SY - y0))+$x0+$y0"
}

# Over the box (x0, y0)-(x1, y1) of the scene's 1024 x 768 view in a picture,
# sets SHARE to the per cent of pixels within 2 % of the colour "r g b" and
# LIGHT to the mean brightness (0 to 255). The ball moves and turns: a point
# of it may show anything of the desktop it reflects, plain white or grey
# included, but a box that stays on it shows one colour only when it is drawn
# without its picture.
e2e_scene_box() {
  e2e_view_crop "$E2E_PRIMARY_X" "$E2E_PRIMARY_Y" "$E2E_WIDTH" "$E2E_HEIGHT" "$2" "$3" "$4" "$5"
  e2e_crop_light "$1" "$CROP" "$6"
  echo "scene box ($2, $3)-($4, $5) of $1: light $LIGHT, ${SHARE} % rgb($6)"
}

# LIGHT and SHARE, as e2e_scene_box says, of the crop $2 of the picture $1.
e2e_crop_light() {
  local shot=$1 crop=(-crop "$2" +repage) rgb=($3)
  e2e_read_numbers "the light of $shot" \
    "$(convert "$shot" "${crop[@]}" -colorspace Gray -format '%[fx:round(mean*255)]' info:)" LIGHT
  e2e_read_numbers "the share of rgb(${rgb[*]}) in $shot" \
    "$(convert "$shot" "${crop[@]}" -fuzz 2% -fill black \
         +opaque "rgb(${rgb[0]},${rgb[1]},${rgb[2]})" -fill white \
         -opaque "rgb(${rgb[0]},${rgb[1]},${rgb[2]})" -colorspace Gray \
         -format '%[fx:round(mean*100)]' info:)" SHARE
}

# Fails unless the scene in the picture shows its pictures: the ball reflects
# something (not the black of an empty screen), and neither it nor the floor
# is the plain white or grey of a surface drawn without its picture. The
# boxes stay on the ball however it bounces, and on the floor however it turns.
e2e_expect_textured_scene() {
  e2e_scene_box "$1" 482 212 542 250 "255 255 255"
  [ "$LIGHT" -gt 20 ] || e2e_fail "$2: the ball shows no reflection (light $LIGHT)"
  [ "$SHARE" -lt 90 ] || e2e_fail "$2: the ball is untextured white ($SHARE %)"
  e2e_scene_box "$1" 123 466 163 486 "153 153 153"
  [ "$SHARE" -lt 90 ] || e2e_fail "$2: the floor is untextured grey ($SHARE %)"
}

# Pids of the project's programs running in this script's prefix; a run's
# renderer is started by the screen saver, not by us.
e2e_program_pids() {
  local pid
  for pid in $(pgrep -f 'Tremblix\.(scr|dll)'); do
    grep -qzxF "WINEPREFIX=$WINEPREFIX" "/proc/$pid/environ" 2>/dev/null &&
      echo "$pid"
  done
}

# --- The settings dialog and the full-screen run ------------------------------

# Installs the programs (unless $2 is "again"), starts the dialog (with the
# arguments $3, /c unless given) and waits until it is painted and still.
# Sets SCR, DIR (the program's folder on the Unix side) and INI.
e2e_open_dialog() {
  if [ "${2:-}" = again ]; then
    SCR="C:\\e2e\\$1\\Tremblix.scr"
  else
    SCR=$(e2e_install "$1")
  fi
  DIR=$E2E_DRIVE_C/e2e/$1
  INI=$(e2e_settings_file "$1")
  [ "${2:-}" = again ] || xdotool mousemove 0 0
  e2e_start "$SCR" ${3-/c}
  DIALOG_PID=$E2E_PID
  e2e_wait_window "$kDialog" || e2e_fail "the dialog did not appear"
  e2e_until 10 "the dialog shows no 設定 button" e2e_probe where "$kDialog" "設定" >/dev/null
  e2e_wait_still
}

# The texts of the window titled $1 (winprobe texts: its line, then one for
# each child), once the probe has answered. Under load a probe, started as a
# program of its own, now and then answers with nothing at all.
e2e_texts() {
  local out code start deadline=$((SECONDS + $(e2e_limit 5)))
  while :; do
    start=${EPOCHREALTIME/./}
    out=$(e2e_probe texts "$1" 2>/dev/null | tr -d '\r'; exit "${PIPESTATUS[0]}")
    code=$?
    if grep -q '^window|' <<<"$out"; then
      # A reader may stop at the line it looks for (grep -q): under pipefail
      # the write it cut short must not fail the pipe.
      (trap '' PIPE; printf '%s\n' "$out") 2>/dev/null
      return 0
    fi
    if [ $SECONDS -gt $deadline ]; then
      # For the log: what the last look gave, and how long it took.
      echo "texts of '$1': code $code after $(((${EPOCHREALTIME/./} - start) / 1000)) ms," \
           "$(wc -l <<<"$out") lines" >&2
      return 1
    fi
    sleep 0.1
  done
}

# Sets X and Y to the middle of the dialog's child window whose text is $1.
e2e_control_at() {
  E2E_WHERE=
  e2e_until 5 "no control '$1'" e2e_where "$1"
  e2e_read_numbers "the place of control '$1'" "$E2E_WHERE" X Y
}

e2e_where() {
  E2E_WHERE=$(e2e_probe where "$kDialog" "$1")
}

# Clicks the middle of the dialog's child window whose text is $1.
e2e_click_control() {
  e2e_control_at "$1"
  # A person's hand comes onto the button and rests a moment before it presses.
  xdotool mousemove $((X - 6)) "$Y" sleep 0.05 mousemove "$X" "$Y" sleep 0.1 click 1
}

# The settings file's text, from code page 932.
e2e_ini_text() {
  iconv -f CP932 -t UTF-8 "$INI" | tr -d '\r'
}

# Clicks "..." and chooses a file in the chooser by typing $1 into its name
# box; $2, when given, names a screenshot of the chooser.
e2e_choose_file() {
  e2e_click_control "..."
  e2e_pick_file "$@"
}

# Chooses a file, as e2e_choose_file does, in the chooser that opens.
e2e_pick_file() {
  e2e_wait_window "$kChooser" || e2e_fail "no file chooser titled $kChooser"
  e2e_wait_still
  [ -z "${2:-}" ] || e2e_shot "$2"
  # While it still reads the folder it lets Open pass: as a person would, the
  # name is typed and Open pressed again until it closes.
  local deadline=$((SECONDS + $(e2e_limit 15))) pressed
  while e2e_probe exists "$kChooser"; do
    [ $SECONDS -le $deadline ] || e2e_fail "the chooser did not close"
    if e2e_probe choose "$kChooser" "$1"; then
      pressed=$SECONDS
      while e2e_probe exists "$kChooser" && [ $SECONDS -le $((pressed + 2)) ]; do sleep 0.05; done
    else
      sleep 0.05
    fi
  done
}

# Waits up to 5 s for the file label to show $1.
e2e_expect_file_label() {
  local deadline=$((SECONDS + $(e2e_limit 5)))
  until e2e_texts "$kDialog" | grep -qxF "TremblixLabel|50000000|-|$1"; do
    [ $SECONDS -le $deadline ] ||
      e2e_fail "the file label does not show $1: $(e2e_texts "$kDialog" | grep Label)"
    sleep 0.05
  done
}

# Writes the settings file of the screen saver in C:\e2e\$1, or the file $5.
e2e_write_settings() {
  local kind=$2 repeat=$3 file=$4 ini=${5:-$(e2e_settings_file "$1")}
  mkdir -p "$(dirname "$ini")"
  printf '[Section]\r\nBGM\x8b\xe6\x95\xaa=%s\r\nBGM\xd8\xcb\xdf\xb0\xc4=%s\r\nBGM\xcc\xa7\xb2\xd9=%s\r\n' \
    "$kind" "$repeat" "$file" >"$ini"
}

# Starts a run and waits for the renderer's window; E2E_RUN is the run's pid.
# The renderer's frames are counted from here.
e2e_start_run() {
  : >"$E2E_TIMES"
  e2e_start "$1" "${2-/s}"
  E2E_RUN=$E2E_PID
  e2e_wait_window "$kRenderer" || e2e_fail "the renderer's window did not appear"
}

e2e_renderer_pids() {
  local pid
  for pid in $(e2e_program_pids); do
    grep -q 'Tremblix\.dll' "/proc/$pid/cmdline" 2>/dev/null && echo "$pid"
  done
}

# Presses Escape on the renderer and expects the run to end with code 0
# and its renderer with it.
e2e_end_with_escape() {
  harness_press "$kRenderer" Escape || e2e_fail "could not press Escape"
  e2e_expect_exit "$E2E_RUN" 10 "the run, after Escape,"
  e2e_until 10 "a renderer is left" e2e_no_renderer
}

e2e_no_renderer() {
  [ -z "$(e2e_renderer_pids)" ]
}

e2e_window_gone() {
  ! e2e_probe exists "$1"
}

# A case that still runs after 110 s, 10 s before CTest ends it, logs the
# commands it runs, with their ages, and where its programs wait.
e2e_watch_case() {
  trap 'kill $! 2>/dev/null; exit 0' TERM
  sleep 110 </dev/null >/dev/null 2>&1 & wait $!
  echo "still running after 110 s (pid, seconds, command):" >&2
  ps -o pid=,etimes=,args= -p "$(pstree -p "$1" | grep -o '([0-9]*)' | tr -d '()' | paste -sd,)" >&2
  timeout 8 wine winedbg --command "bt all" 2>&1 </dev/null |
    awk '/^Backtracing for thread/ { show = /Tremblix|winprobe/ } show' >&2
}

e2e_cleanup() {
  local pid
  [ -z "${E2E_WATCHDOG:-}" ] || kill "$E2E_WATCHDOG" 2>/dev/null
  for pid in "${E2E_PIDS[@]}" $(e2e_program_pids); do kill -9 "$pid" 2>/dev/null; done
  wait 2>/dev/null
  [ -z "${E2E_PREFIX:-}" ] || (e2e_undo)
  # A desk's Xorg outlives no case; the next case makes its own display.
  local shape
  [ -n "${E2E_DESK_STATE:-}" ] && read -r _ _ shape 2>/dev/null <"$E2E_DESK_STATE/display" &&
    [[ $shape == desk-* ]] || return 0
  harness_prefix_stop "$E2E_PREFIX"
  harness_display_stop "$E2E_DESK_STATE"
}

e2e_main() {
  if [ "${1:-}" = --list ]; then
    declare -F | awk '{print $3}' | sed -n 's/^case_//p'
    return 0
  fi
  local case=${1:?name a case}
  declare -F "case_$case" >/dev/null || e2e_fail "no case named $case"
  trap e2e_cleanup EXIT
  e2e_watch_case $$ &
  E2E_WATCHDOG=$!
  e2e_setup
  E2E_CASE=$case
  "case_$case"
  echo "ok: $case"
}
