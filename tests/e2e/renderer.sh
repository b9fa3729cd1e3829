#!/usr/bin/env bash
# Tremblix.dll as a user sees it: the window, the scene drawn from the four
# hand-off pictures, and the two ways it ends.
. "$(dirname "$0")/lib.sh"

readonly kTitle=Tremblix_VC

# Plain pictures make the scene easy to probe: the ball reflects red, the
# mirrored ball blue, the floor is green, the ball's own surface black. They
# go in the user's picture folder, or in the folder $1.
prepare_pictures() {
  local c=${1:-$E2E_PICTURES}
  mkdir -p "$c"
  convert -size 1280x1024 xc:'rgb(0,255,0)' -type TrueColor "BMP3:$c/Tremblix1.bmp"
  convert -size 1280x1024 xc:'rgb(255,0,0)' -type TrueColor "BMP3:$c/Tremblix2.bmp"
  convert -size 1280x1024 xc:'rgb(0,0,255)' -type TrueColor "BMP3:$c/Tremblix3.bmp"
  convert -size 93x85 xc:black -type TrueColor "BMP3:$c/Tremblix4.bmp"
}

# A black 24-bit picture of the given size, written in a moment: the header,
# then a sparse file of zeros for the rows.
black_bmp() {
  local file=$1 width=$2 height=$3
  local size=$(((width * 3 + 3) / 4 * 4 * height))
  le32() { printf '\\x%02x' $(($1 & 255)) $((($1 >> 8) & 255)) $((($1 >> 16) & 255)) $(($1 >> 24)); }
  printf "BM$(le32 $((54 + size)))$(le32 0)$(le32 54)$(le32 40)$(le32 "$width")$(le32 "$height")\
\\x01\\x00\\x18\\x00$(le32 0)$(le32 "$size")$(le32 3780)$(le32 3780)$(le32 0)$(le32 0)" >"$file"
  truncate -s $((54 + size)) "$file"
}

# Starts the renderer and waits until it has drawn its second frame.
start_renderer() {
  e2e_install renderer >/dev/null
  : >"$E2E_TIMES"
  e2e_start "C:\\e2e\\renderer\\Tremblix.dll"
  e2e_wait_window "$kTitle" || e2e_fail "the renderer's window did not appear"
  e2e_wait_drawn
}

still_running() {
  kill -0 "$E2E_PID" 2>/dev/null || e2e_fail "the renderer ended: $1"
  e2e_probe exists "$kTitle" || e2e_fail "the window went: $1"
}

# Frames come no faster than a 60 Hz display refreshes (Xvfb says no rate):
# any ten in a row, once the pace has settled, span at least nine refreshes.
# A machine too slow for 60 frames a second passes as well.
expect_paced() {
  e2e_wait_frame 60
  e2e_frame_times | awk '
    NR > 20 { t[++n] = $1 }
    END {
      for (i = 1; i + 10 <= n; i++)
        if (t[i + 10] - t[i] < 9 * 1000 / 60 * 0.97) {
          printf "ten frames in %.1f ms\n", t[i + 10] - t[i]; exit 1
        }
      printf "%d frames in %.0f ms: %.1f a second\n", n, t[n] - t[1], (n - 1) * 1000 / (t[n] - t[1])
    }' || e2e_fail "frames come faster than the display refreshes"
}

end_renderer() {
  harness_press "$kTitle" Escape || e2e_fail "could not press Escape"
  e2e_expect_exit "$E2E_PID" 10 "the renderer, after Escape,"
}

# On today's screens of either shape and on the smallest: the window is the
# whole screen, a visible pop-up above the rest; nothing of the desktop stays
# in view once a frame is drawn; the scene fills the screen by its height,
# widening with it; frames come at the display's pace.
case_the_window_covers_screens_of_every_shape() {
  local screen rect shot desktop same
  for screen in 1280x1024x24 1600x900x24 1024x768x24; do
    e2e_display "$screen"
    prepare_pictures
    e2e_show_desktop
    desktop=$E2E_TMP/desktop.png
    harness_screenshot "$desktop"
    start_renderer
    rect=$(harness_rect "$kTitle") || e2e_fail "the renderer's window is not on the display"
    echo "$screen: window $rect"
    [ "$rect" = "0 0 $E2E_WIDTH $E2E_HEIGHT" ] || e2e_fail "on $screen the window is at $rect"
    e2e_texts "$kTitle" | grep -qx "window|96000000|-|$kTitle" ||
      e2e_fail "not a visible pop-up window: $(e2e_texts "$kTitle" | head -n 1)"
    shot=$E2E_SHOTS/renderer-$screen.png
    harness_screenshot "$shot"
    same=$((E2E_WIDTH * E2E_HEIGHT - $(e2e_differing_pixels "$desktop" "$shot")))
    echo "$screen: $same pixels as the desktop showed them"
    [ "$same" -lt $((E2E_WIDTH * E2E_HEIGHT / 1000)) ] ||
      e2e_fail "on $screen, $same pixels of the desktop are still in view"
    e2e_expect_scene_pixel "$shot" 512 220 "255 0 0" "$screen: ball"
    e2e_expect_scene_pixel "$shot" 143 476 "0 153 0" "$screen: floor"
    e2e_expect_scene_pixel "$shot" 512 650 "0 153 102" "$screen: mirrored ball under the floor"
    expect_paced
    end_renderer
  done
}

# Two monitors, the primary the smaller, both at the origin (Xvfb lays its
# heads so): the primary lies inside the other, so they are one monitor, and
# the scene fills the larger one, beyond the primary too.
case_two_monitors_one_inside_the_other_are_one_scene() {
  e2e_display 1024x768x24 1280x1024x24
  prepare_pictures
  start_renderer
  local rect shot=$E2E_SHOTS/renderer-two-monitors.png
  rect=$(harness_rect "$kTitle") || e2e_fail "the renderer's window is not on the display"
  echo "window: $rect"
  [ "$rect" = "0 0 1280 1024" ] || e2e_fail "the window is at $rect, not over both monitors"
  harness_screenshot "$shot"
  E2E_WIDTH=1280 E2E_HEIGHT=1024
  e2e_expect_scene_pixel "$shot" 512 220 "255 0 0" "ball"
  e2e_expect_scene_pixel "$shot" 143 476 "0 153 0" "floor"
  # The floor's near corner reaches below the smaller head.
  e2e_expect_scene_pixel "$shot" 143 700 "0 153 0" "floor below the smaller monitor"
  end_renderer
}

# A full-screen run on the desk (e2e_desk), over its patterns; the shot is
# $E2E_SHOTS/$1.png, the run ended with Escape once it is taken.
run_on_the_desk() {
  local rect
  e2e_start_run "$SCR"
  e2e_wait_drawn
  rect=$(harness_rect "$kTitle") || e2e_fail "the renderer's window is not on the desk"
  echo "desk $E2E_DESK: window $rect"
  [ "$rect" = "0 0 $E2E_SCREEN_W $E2E_SCREEN_H" ] ||
    e2e_fail "on the desk $E2E_DESK the window is at $rect, not over both monitors"
  e2e_shot "$1"
  e2e_end_with_escape
}

# The desk $1 (right or left) over its patterns, a run on it, and each
# monitor's scene reflecting its own part; the shot is renderer-desk-$1.png.
run_on_the_desk_with_every_monitor() {
  e2e_desk "$1"
  e2e_show_desk_patterns
  SCR=$(e2e_install desk)
  run_on_the_desk "renderer-desk-$1"
  local shot=$E2E_SHOTS/renderer-desk-$1.png
  e2e_expect_scene_on_monitor "$shot" primary "every monitor"
  e2e_expect_scene_on_monitor "$shot" second "every monitor"
}

expect_monitors_file() {
  local got
  got=$(tr -d '\r' <"$E2E_PICTURES/Tremblix.monitors" 2>/dev/null)
  [ "$got" = "$1" ] || e2e_fail "Tremblix.monitors holds '$got', not '$1'"
}

# Each monitor's ball and floor reflect its own part of the desktop, and its
# pictures are of its own size; chosen so, the primary alone shows the scene
# and the second monitor's pictures go.
case_on_a_desk_each_monitor_reflects_its_own_part() {
  run_on_the_desk_with_every_monitor right
  local shot c=$E2E_PICTURES i
  for i in 1 2 3; do
    [ "$(identify -format '%wx%h' "$c/Tremblix-2-$i.bmp")" = 1600x1200 ] ||
      e2e_fail "Tremblix-2-$i.bmp is not of the second monitor's size"
  done
  e2e_expect_pixel "$c/Tremblix2.bmp" 50 50 "255 0 0" "the primary's picture"
  e2e_expect_pixel "$c/Tremblix-2-2.bmp" 50 50 "0 255 0" "the second monitor's picture"
  e2e_expect_pixel "$c/Tremblix-2-1.bmp" 50 50 "0 128 0" "the second monitor's mirrored picture"
  expect_monitors_file "all
1 0 0 1600 1200
2 1600 0 3200 1200"

  e2e_write_settings desk 0 0 ""
  printf 'Monitors= 0\r\n' >>"$(e2e_settings_file desk)"
  run_on_the_desk renderer-desk-primary-alone
  shot=$E2E_SHOTS/renderer-desk-primary-alone.png
  e2e_expect_scene_on_monitor "$shot" primary "the primary alone"
  e2e_expect_black_monitor "$shot" second "the primary alone"
  [ -z "$(ls "$c" | grep -i 'Tremblix-')" ] || e2e_fail "the second monitor's set is left: $(ls "$c")"
  expect_monitors_file "primary
1 0 0 1600 1200"
}

# The second monitor left of the primary lies at negative coordinates: it is
# photographed and shown all the same. While the saver asks for the password,
# no monitor's picture is a photograph.
case_on_a_desk_a_monitor_left_of_the_primary_shows_its_own_part() {
  run_on_the_desk_with_every_monitor left
  local c=$E2E_PICTURES set
  e2e_expect_pixel "$c/Tremblix-2-2.bmp" 50 50 "255 0 0" "the left monitor's picture"
  expect_monitors_file "all
1 0 0 1600 1200
2 -1600 0 0 1200"

  e2e_reg_set 'HKCU\Control Panel\Desktop' ScreenSaverIsSecure REG_SZ 1
  run_on_the_desk renderer-desk-secure
  for set in Tremblix2.bmp Tremblix-2-2.bmp; do
    [ "$(identify -format '%k' "$c/$set")" = 1 ] ||
      e2e_fail "with the password $set is no plain picture: it may be a photograph"
  done

  # A set that does not load shows the primary's pictures, not a white ball.
  prepare_pictures
  printf 'not a picture' >"$c/Tremblix-2-2.bmp"
  start_renderer
  e2e_shot renderer-desk-broken-set
  e2e_monitor second
  e2e_view_crop "$MON_X" "$MON_Y" "$MON_W" "$MON_H" 482 212 542 250
  e2e_crop_light "$E2E_SHOTS/renderer-desk-broken-set.png" "$CROP" "255 0 0"
  [ "$SHARE" -gt 90 ] ||
    e2e_fail "the second monitor's ball does not show the primary's red picture ($SHARE %)"
  end_renderer
}

# The ball's part of the screen, as a crop: it moves within it.
ball_area() {
  e2e_scene_point 362 40
  local x=$SX y=$SY
  e2e_scene_point 662 460
  echo "$((SX - x))x$((SY - y))+$x+$y"
}

expect_scene() {
  local i shot frame
  # Two moments of the bounce, a good part of a second apart: the probes hold
  # wherever the ball is, and the ball has moved.
  for i in 1 2; do
    [ "$i" = 1 ] || e2e_wait_frame $(($(e2e_frames) + 20))
    frame=$(e2e_frames)
    shot=$E2E_SHOTS/renderer-scene-$1-$i.png
    harness_screenshot "$shot"
    echo "screenshot $i after frame $frame"
    e2e_expect_pixel "$shot" 20 20 "0 0 0" "background"
    e2e_expect_pixel "$shot" $((E2E_WIDTH - 24)) 20 "0 0 0" "background"
    e2e_expect_scene_pixel "$shot" 512 220 "255 0 0" "ball"
    e2e_expect_scene_pixel "$shot" 143 476 "0 153 0" "floor"
    e2e_expect_scene_pixel "$shot" 512 650 "0 153 102" "mirrored ball under the floor"
  done
  local moved
  convert "$E2E_SHOTS/renderer-scene-$1-1.png" -crop "$(ball_area)" +repage "$E2E_TMP/ball-1.png"
  convert "$shot" -crop "$(ball_area)" +repage "$E2E_TMP/ball-2.png"
  moved=$(e2e_differing_pixels "$E2E_TMP/ball-1.png" "$E2E_TMP/ball-2.png")
  echo "the ball's area differs in $moved pixels"
  [[ $moved =~ ^[0-9]+$ ]] && [ "$moved" -gt 100 ] || e2e_fail "the frame is frozen: the ball did not move"
}

# With the adapter's OpenGL driver named in a folder of the driver store, as
# a vendor's is, that folder joins the library search before the context is
# made; the times file says which OpenGL drew.
case_scene_shows_ball_reflection_and_floor() {
  prepare_pictures
  local folder=tremblix_e2e.inf_amd64_1 key log=$E2E_TMP/module-trace.log
  local unix=$E2E_DRIVE_C/windows/system32/DriverStore/FileRepository/$folder
  mkdir -p "$unix" && : >"$unix/icd.dll"
  # Wine writes the adapter's key afresh at its server's first window.
  e2e_probe monitors >/dev/null 2>&1
  key=$(wine reg query 'HKLM\System\CurrentControlSet\Enum\PCI' /s /v Driver </dev/null |
    tr -d '\r' | awk '$1 == "Driver" && tolower($3) ~ /^\{4d36e968-/ { print $3; exit }')
  e2e_reg_set "HKLM\\System\\CurrentControlSet\\Control\\Class\\$key" OpenGLDriverName REG_SZ \
    "C:\\windows\\system32\\DriverStore\\FileRepository\\$folder\\icd.dll"
  e2e_install renderer >/dev/null
  WINEDEBUG=trace+module E2E_STDERR=$log e2e_start "C:\\e2e\\renderer\\Tremblix.dll"
  e2e_wait_drawn
  expect_scene user
  grep -F 'LdrAddDllDirectory' "$log" | grep -F "FileRepository\\\\$folder\"" ||
    e2e_fail "the driver's folder was not added to the library search"
  grep -F ' dll opengl ' "$E2E_TIMES" || e2e_fail "the times file does not say which OpenGL drew"
  rm -rf "$unix"
}

# Where the user has no picture folder, the renderer reads nothing else: what
# another account or an older version left in the root of C: is not shown.
case_without_a_folder_of_the_users_nothing_of_c_is_shown() {
  rm -rf "$E2E_PICTURES"
  prepare_pictures "$E2E_DRIVE_C"
  start_renderer
  local shot=$E2E_SHOTS/renderer-drive-c.png
  harness_screenshot "$shot"
  e2e_expect_scene_pixel "$shot" 512 220 "255 255 255" "ball, untextured"
  e2e_expect_scene_pixel "$shot" 143 476 "153 153 153" "floor, untextured"
  rm -f "$E2E_DRIVE_C"/Tremblix[1-4].bmp
}

case_missing_pictures_still_run() {
  rm -f "$E2E_DRIVE_C"/Tremblix[1-4].bmp "$E2E_PICTURES"/Tremblix[1-4].bmp
  start_renderer
  local shot=$E2E_SHOTS/renderer-no-pictures.png
  harness_screenshot "$shot"
  still_running "without pictures"
  # Untextured: the shine passes add plain white, the floor is 60 % white.
  e2e_expect_scene_pixel "$shot" 512 220 "255 255 255" "ball"
  e2e_expect_scene_pixel "$shot" 143 476 "153 153 153" "floor"
  e2e_expect_pixel "$shot" 20 20 "0 0 0" "background"
}

case_escape_ends_with_code_0() {
  prepare_pictures
  start_renderer
  harness_press "$kTitle" Escape || e2e_fail "could not send Escape"
  e2e_expect_exit "$E2E_PID" 10 "the renderer, after Escape,"
}

case_a_tap_of_escape_ends_it() {
  prepare_pictures
  start_renderer
  harness_tap "$kTitle" Escape || e2e_fail "could not tap Escape"
  e2e_expect_exit "$E2E_PID" 10 "the renderer, after a tap of Escape shorter than a frame,"
}

case_escape_pressed_while_large_pictures_load_ends_it() {
  local c=$E2E_PICTURES i
  mkdir -p "$c"
  for i in 1 2 3; do black_bmp "$c/Tremblix$i.bmp" 7680 4320; done
  black_bmp "$c/Tremblix4.bmp" 93 85
  e2e_install renderer >/dev/null
  e2e_start "C:\\e2e\\renderer\\Tremblix.dll"
  local start=${EPOCHREALTIME/./}
  # The window shows before the pictures load; the press comes at once.
  harness_tap "$kTitle" Escape || e2e_fail "could not tap Escape"
  echo "tapped Escape $(((${EPOCHREALTIME/./} - start) / 1000)) ms after the start"
  e2e_wait_exit "$E2E_PID" 30
  rm -f "$c"/Tremblix[1-3].bmp
  echo "ended ${E2E_MS} ms after the tap with code $E2E_RC"
  [ "$E2E_RC" = 0 ] || e2e_fail "Escape pressed while loading did not end the renderer ($E2E_RC)"
}

case_close_message_ends_with_code_0() {
  prepare_pictures
  start_renderer
  e2e_probe close "$kTitle" || e2e_fail "no window to close"
  e2e_expect_exit "$E2E_PID" 10 "the renderer, after the close message,"
}

case_other_keys_and_clicks_change_nothing() {
  prepare_pictures
  start_renderer
  local key
  for key in a space Return Tab F1 Up BackSpace q; do
    harness_press "$kTitle" "$key" 0.05 || e2e_fail "could not press $key"
  done
  harness_click "$kTitle" 300 300 1 || e2e_fail "could not click"
  harness_click "$kTitle" 700 500 3 || e2e_fail "could not click"
  xdotool mousemove 100 100 mousemove 900 600
  # Frames go on after all of it.
  e2e_wait_frame $(($(e2e_frames) + 10))
  still_running "after other keys and clicks"
  local shot=$E2E_SHOTS/renderer-after-input.png
  harness_screenshot "$shot"
  e2e_expect_scene_pixel "$shot" 512 220 "255 0 0" "ball"
}

e2e_main "$@"
