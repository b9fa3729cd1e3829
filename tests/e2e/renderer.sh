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

start_renderer() {
  local dir
  dir=$(e2e_install renderer)
  e2e_start "C:\\e2e\\renderer\\Tremblix.dll"
  e2e_wait_window "$kTitle" 10 || e2e_fail "the renderer's window did not appear"
  sleep 1
}

still_running() {
  kill -0 "$E2E_PID" 2>/dev/null || e2e_fail "the renderer ended: $1"
  e2e_probe exists "$kTitle" || e2e_fail "the window went: $1"
}

case_window_is_1024_by_768_at_the_top_left() {
  prepare_pictures
  start_renderer
  local rect
  rect=$(harness_rect "$kTitle")
  echo "window: $rect"
  [ "$rect" = "0 0 1024 768" ] || e2e_fail "window at $rect"
  e2e_probe texts "$kTitle" | grep -qx "window|96000000|-|$kTitle" ||
    e2e_fail "not a visible pop-up window: $(e2e_probe texts "$kTitle" | head -n 1)"
}

expect_scene() {
  local i shot
  # Two moments of the bounce: the probes hold wherever the ball is.
  for i in 1 2; do
    shot=$E2E_SHOTS/renderer-scene-$1-$i.png
    harness_screenshot "$shot"
    e2e_expect_pixel "$shot" 20 20 "0 0 0" "background"
    e2e_expect_pixel "$shot" 1000 20 "0 0 0" "background"
    e2e_expect_pixel "$shot" 512 220 "255 0 0" "ball"
    e2e_expect_pixel "$shot" 143 476 "0 153 0" "floor"
    e2e_expect_pixel "$shot" 512 650 "0 153 102" "mirrored ball under the floor"
    sleep 1.3
  done
}

case_scene_shows_ball_reflection_and_floor() {
  prepare_pictures
  start_renderer
  expect_scene user
}

# Where the user has no picture folder, the screen saver writes to the root of
# C:, and that is where the renderer looks.
case_without_a_folder_of_the_users_nothing_of_c_is_shown() {
  rm -rf "$E2E_PICTURES"
  prepare_pictures "$E2E_DRIVE_C"
  start_renderer
  local shot=$E2E_SHOTS/renderer-drive-c.png
  harness_screenshot "$shot"
  e2e_expect_pixel "$shot" 512 220 "255 255 255" "ball, untextured"
  e2e_expect_pixel "$shot" 143 476 "153 153 153" "floor, untextured"
  rm -f "$E2E_DRIVE_C"/Tremblix[1-4].bmp
}

case_missing_pictures_still_run() {
  rm -f "$E2E_DRIVE_C"/Tremblix[1-4].bmp "$E2E_PICTURES"/Tremblix[1-4].bmp
  start_renderer
  local shot=$E2E_SHOTS/renderer-no-pictures.png
  harness_screenshot "$shot"
  still_running "without pictures"
  # Untextured: the shine passes add plain white, the floor is 60 % white.
  e2e_expect_pixel "$shot" 512 220 "255 255 255" "ball"
  e2e_expect_pixel "$shot" 143 476 "153 153 153" "floor"
  e2e_expect_pixel "$shot" 20 20 "0 0 0" "background"
}

case_escape_ends_with_code_0() {
  prepare_pictures
  start_renderer
  harness_press "$kTitle" Escape || e2e_fail "could not send Escape"
  e2e_wait_exit "$E2E_PID" 10
  echo "ended ${E2E_MS} ms after Escape with code $E2E_RC"
  [ "$E2E_RC" = 0 ] || e2e_fail "exit code $E2E_RC"
  [ "$E2E_MS" -lt 3000 ] || e2e_fail "took ${E2E_MS} ms"
}

case_a_tap_of_escape_ends_it() {
  prepare_pictures
  start_renderer
  harness_tap "$kTitle" Escape || e2e_fail "could not tap Escape"
  e2e_wait_exit "$E2E_PID" 10
  echo "ended ${E2E_MS} ms after a tap of Escape with code $E2E_RC"
  [ "$E2E_RC" = 0 ] || e2e_fail "a tap shorter than a frame did not end the renderer ($E2E_RC)"
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
  e2e_wait_exit "$E2E_PID" 10
  echo "ended ${E2E_MS} ms after the close message with code $E2E_RC"
  [ "$E2E_RC" = 0 ] || e2e_fail "exit code $E2E_RC"
}

case_other_keys_and_clicks_change_nothing() {
  prepare_pictures
  start_renderer
  local key
  for key in a space Return Tab F1 Up BackSpace q; do harness_press "$kTitle" "$key" 0.05; done
  harness_click "$kTitle" 300 300 1
  harness_click "$kTitle" 700 500 3
  xdotool mousemove 100 100 mousemove 900 600
  sleep 1.5
  still_running "after other keys and clicks"
  local shot=$E2E_SHOTS/renderer-after-input.png
  harness_screenshot "$shot"
  e2e_expect_pixel "$shot" 512 220 "255 0 0" "ball"
}

e2e_main "$@"
