# Shared by the end-to-end scripts: each script runs its cases in its own Wine
# prefix (TREMBLIX_WINEPREFIX) with the programs of the build (TREMBLIX_BUILD).
# A script names its cases case_*; "--list" prints them, NAME runs one.

set -uo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/../../tools/wine/harness.sh"

# Window titles: the settings dialog, its file chooser, the renderer.
readonly kDialog="<Tremblix>" kChooser="ﾌｧｲﾙを開く" kRenderer=Tremblix_VC

E2E_PIDS=()
E2E_IMMUTABLE=()

e2e_fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# A capability this machine lacks: CTest counts the case as skipped.
e2e_skip() {
  echo "SKIP: $*"
  exit 77
}

# Makes files that not even root can write; e2e_cleanup undoes it.
e2e_make_unwritable() {
  local file
  for file in "$@"; do
    chattr +i "$file" 2>/dev/null || e2e_skip "chattr +i does not work on this file system"
    E2E_IMMUTABLE+=("$file")
  done
}

e2e_setup() {
  E2E_BUILD=${TREMBLIX_BUILD:?set TREMBLIX_BUILD to the windows build folder}
  E2E_PREFIX=${TREMBLIX_WINEPREFIX:?set TREMBLIX_WINEPREFIX}
  E2E_SHOTS=$E2E_BUILD/e2e-screenshots
  # Runs under the users' own code page keep their pictures apart.
  [ "${TREMBLIX_CODEPAGE:-1252}" = 1252 ] || E2E_SHOTS=$E2E_SHOTS/cp$TREMBLIX_CODEPAGE
  harness_display_ready "$(dirname "$E2E_PREFIX")"
  harness_prefix_ready "$E2E_PREFIX"
  E2E_DRIVE_C=$WINEPREFIX/drive_c
  # The user's own folders; Wine names the user after the Unix one.
  E2E_LOCAL_DATA=$E2E_DRIVE_C/users/$(id -un)/AppData/Local
  E2E_ROAMING_DATA=$E2E_DRIVE_C/users/$(id -un)/AppData/Roaming
  E2E_PICTURES=$E2E_LOCAL_DATA/Tremblix
  E2E_ROAMING=$E2E_ROAMING_DATA/Tremblix
  mkdir -p "$E2E_SHOTS"
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
  wine "$E2E_BUILD/tools/winprobe.exe" "$@"
}

# Starts a Windows program in the background; its pid is in E2E_PID.
e2e_start() {
  wine "$@" >/dev/null 2>&1 </dev/null &
  E2E_PID=$!
  E2E_PIDS+=("$E2E_PID")
}

# A window titled $1 that stands for the display settings' preview area, 152 x
# 112, for $2 seconds; its handle is in E2E_HOST.
e2e_preview_host() {
  coproc HOST_PROBE { exec wine "$E2E_BUILD/tools/winprobe.exe" host "$1" 152 112 "$2" 2>/dev/null; }
  E2E_PIDS+=("$HOST_PROBE_PID")
  read -r E2E_HOST <&"${HOST_PROBE[0]}"
  E2E_HOST=${E2E_HOST%$'\r'}
}

# Waits up to $2 seconds for pid $1 to end. Sets E2E_RC (124 when it had to be
# killed) and E2E_MS, the milliseconds it took.
e2e_wait_exit() {
  local pid=$1 timeout=$2 start=${EPOCHREALTIME/./}
  local deadline=$((SECONDS + timeout))
  while kill -0 "$pid" 2>/dev/null && [ $SECONDS -lt $deadline ]; do sleep 0.05; done
  if kill -0 "$pid" 2>/dev/null; then
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    E2E_RC=124
  else
    wait "$pid"
    E2E_RC=$?
  fi
  E2E_MS=$(((${EPOCHREALTIME/./} - start) / 1000))
}

# Waits up to $2 seconds for a window titled $1 to exist inside Wine.
e2e_wait_window() {
  local title=$1 deadline=$((SECONDS + ${2:-10}))
  while [ $SECONDS -le $deadline ]; do
    e2e_probe exists "$title" && return 0
    sleep 0.1
  done
  return 1
}

# A made-up desktop, so that the photograph has something to show.
e2e_show_desktop() {
  e2e_start "$E2E_BUILD/tools/winprobe.exe" desktop 120
  sleep 1.5
}

e2e_same_picture() {
  local metric
  metric=$(compare -metric AE "$1" "$2" null: 2>&1)
  [ "$metric" = 0 ] || e2e_fail "$3 ($metric pixels differ)"
}

# Fails unless pixel (x, y) of the picture is within 16 of r g b.
e2e_expect_pixel() {
  local shot=$1 x=$2 y=$3 what=$5
  local r g b
  read -r r g b <<<"$(harness_pixel "$shot" "$x" "$y")"
  echo "$what at ($x, $y): $r $g $b"
  local want=($4) i=0 got=("$r" "$g" "$b")
  for i in 0 1 2; do
    local d=$((got[i] - want[i]))
    [ ${d#-} -le 16 ] || e2e_fail "$what at ($x, $y) is $r $g $b, expected ${want[*]}"
  done
}

# Waits up to 5 s for the renderer to have drawn a scene that shows a picture:
# the ball's middle no longer black.
e2e_wait_drawn() {
  local deadline=$((SECONDS + 5)) shot=$E2E_SHOTS/.drawn.png r g b
  while [ $SECONDS -le $deadline ]; do
    harness_screenshot "$shot"
    read -r r g b <<<"$(harness_pixel "$shot" 512 220)"
    [ $((r + g + b)) -gt 60 ] && return 0
    sleep 0.3
  done
  return 1
}

e2e_shot() {
  harness_screenshot "$E2E_SHOTS/$1.png"
}

# Pids of the project's programs running in this script's prefix; a run's
# renderer is started by the screen saver, not by us.
e2e_program_pids() {
  local pid
  for pid in $(pgrep -f 'Tremblix\.(scr|dll)'); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" &&
      echo "$pid"
  done
}

# --- The settings dialog and the full-screen run ------------------------------

# Installs the programs (unless $2 is "again"), starts the dialog and waits
# until it is painted. Sets SCR, DIR (the program's folder on the Unix side)
# and INI.
e2e_open_dialog() {
  if [ "${2:-}" = again ]; then
    SCR="C:\\e2e\\$1\\Tremblix.scr"
  else
    SCR=$(e2e_install "$1")
  fi
  DIR=$E2E_DRIVE_C/e2e/$1
  INI=$(e2e_settings_file "$1")
  [ "${2:-}" = again ] || xdotool mousemove 0 0
  e2e_start "$SCR" /c
  DIALOG_PID=$E2E_PID
  e2e_wait_window "$kDialog" 10 || e2e_fail "the dialog did not appear"
  sleep 1
}

# Clicks the middle of the dialog's child window whose text is $1.
e2e_click_control() {
  local x y
  read -r x y <<<"$(e2e_probe where "$kDialog" "$1")" || e2e_fail "no control '$1'"
  xdotool mousemove "$x" "$y"
  sleep 0.3
  xdotool click 1
  sleep 0.3
}

# The settings file's text, from code page 932.
e2e_ini_text() {
  iconv -f CP932 -t UTF-8 "$INI" | tr -d '\r'
}

# Clicks "..." and chooses a file in the chooser by typing $1 into its name
# box; $2, when given, names a screenshot of the chooser.
e2e_choose_file() {
  e2e_click_control "..."
  e2e_wait_window "$kChooser" 10 || e2e_fail "no file chooser titled $kChooser"
  sleep 1
  [ -z "${2:-}" ] || e2e_shot "$2"
  e2e_probe choose "$kChooser" "$1" || e2e_fail "could not type into the chooser"
  local deadline=$((SECONDS + 10))
  while e2e_probe exists "$kChooser" && [ $SECONDS -lt $deadline ]; do sleep 0.1; done
  e2e_probe exists "$kChooser" && e2e_fail "the chooser did not close"
  sleep 0.5
}

e2e_expect_file_label() {
  e2e_probe texts "$kDialog" | grep -qxF "TremblixLabel|50000000|-|$1" ||
    e2e_fail "the file label does not show $1: $(e2e_probe texts "$kDialog" | grep Label)"
}

# Writes the settings file of the screen saver in C:\e2e\$1, or the file $5.
e2e_write_settings() {
  local kind=$2 repeat=$3 file=$4 ini=${5:-$(e2e_settings_file "$1")}
  mkdir -p "$(dirname "$ini")"
  printf '[Section]\r\nBGM\x8b\xe6\x95\xaa=%s\r\nBGM\xd8\xcb\xdf\xb0\xc4=%s\r\nBGM\xcc\xa7\xb2\xd9=%s\r\n' \
    "$kind" "$repeat" "$file" >"$ini"
}

# Starts a run and waits for the renderer's window; E2E_RUN is the run's pid.
e2e_start_run() {
  e2e_start "$1" "${2-/s}"
  E2E_RUN=$E2E_PID
  e2e_wait_window "$kRenderer" 15 || e2e_fail "the renderer's window did not appear"
}

e2e_renderer_pids() {
  local pid
  for pid in $(e2e_program_pids); do
    grep -q 'Tremblix\.dll' "/proc/$pid/cmdline" 2>/dev/null && echo "$pid"
  done
}

# Presses Escape on the renderer and expects the run to end within $1 ms.
e2e_end_with_escape() {
  harness_press "$kRenderer" Escape || e2e_fail "could not press Escape"
  e2e_wait_exit "$E2E_RUN" 10
  echo "the run ended ${E2E_MS} ms after Escape, code $E2E_RC"
  [ "$E2E_RC" = 0 ] || e2e_fail "run exit code $E2E_RC"
  [ "$E2E_MS" -lt "${1:-2500}" ] || e2e_fail "the run took ${E2E_MS} ms to end"
  sleep 0.3
  [ -z "$(e2e_renderer_pids)" ] || e2e_fail "a renderer is left: $(e2e_renderer_pids)"
}

e2e_cleanup() {
  [ ${#E2E_IMMUTABLE[@]} -eq 0 ] || chattr -i "${E2E_IMMUTABLE[@]}" 2>/dev/null
  local pid
  for pid in "${E2E_PIDS[@]}" $(e2e_program_pids); do kill -9 "$pid" 2>/dev/null; done
  wait 2>/dev/null
}

e2e_main() {
  if [ "${1:-}" = --list ]; then
    declare -F | awk '{print $3}' | sed -n 's/^case_//p'
    return 0
  fi
  local case=${1:?name a case}
  trap e2e_cleanup EXIT
  e2e_setup
  "case_$case"
  echo "ok: $case"
}
