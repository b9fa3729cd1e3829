#!/usr/bin/env bash
# What a full-screen run leaves for the renderer, and where: nothing of the
# desktop while the saver asks for the password on resume (the wallpaper,
# Windows' own copy of it first, else the desktop's colour, else no pictures
# at all); only the user's own folder, never the root of C:; and pictures
# that cannot be written leave no earlier ones behind.
. "$(dirname "$0")/lib.sh"

readonly kDesktopKey='HKCU\Control Panel\Desktop'
readonly kColoursKey='HKCU\Control Panel\Colors'

privacy_reg_set() {
  e2e_reg_set "$1" "$2" REG_SZ "$3"
}

# The desktop's colour is read when the server starts.
restart_server() {
  harness_prefix_stop "$WINEPREFIX"
  harness_prefix_ready "$WINEPREFIX"
}

# A wallpaper in four plain quarters: red and blue above, green and yellow below.
make_wallpaper() {
  convert \( -size 160x120 xc:'rgb(255,0,0)' -size 160x120 xc:'rgb(0,0,255)' +append \) \
    \( -size 160x120 xc:'rgb(0,255,0)' -size 160x120 xc:'rgb(255,255,0)' +append \) -append \
    -quality 95 "jpeg:$1"
}

# Pictures an earlier run left: one colour each, small.
earlier_pictures() {
  local i
  mkdir -p "$E2E_PICTURES"
  for i in 1 2 3; do
    convert -size 64x48 xc:"$1" -type TrueColor "BMP3:$E2E_PICTURES/Tremblix$i.bmp"
  done
  convert -size 93x85 xc:black -type TrueColor "BMP3:$E2E_PICTURES/Tremblix4.bmp"
}

# A /s run over the made-up desktop, to its end; the screenshot is $2.
run_over_desktop() {
  e2e_start_run "$1"
  e2e_wait_drawn
  e2e_shot "$2"
  e2e_end_with_escape
}

expect_no_temporary_files() {
  local left
  left=$(ls "$E2E_PICTURES" 2>/dev/null | grep -vx 'Tremblix[1-4]\.bmp\|Tremblix\.monitors' |
    grep -v "${1:-^$}")
  [ -z "$left" ] || e2e_fail "$2: files left in the pictures' folder: $left"
}

# The ball and the floor drawn without pictures.
expect_untextured() {
  local shot=$E2E_SHOTS/$1.png
  e2e_expect_scene_pixel "$shot" 512 220 "255 255 255" "$1: the ball"
  e2e_expect_scene_pixel "$shot" 143 476 "153 153 153" "$1: the floor"
}

case_a_password_protected_saver_shows_nothing_of_the_desktop() {
  local scr c=$E2E_PICTURES
  scr=$(e2e_install privacy-secure)
  privacy_reg_set "$kDesktopKey" ScreenSaverIsSecure 1
  e2e_show_desktop
  earlier_pictures 'rgb(10,20,30)'

  # The file Windows names is gone; its own copy is there.
  privacy_reg_set "$kDesktopKey" Wallpaper 'C:\e2e\moved away.jpg'
  local themes=$E2E_ROAMING_DATA/Microsoft/Windows/Themes
  mkdir -p "$themes"
  make_wallpaper "$themes/TranscodedWallpaper"
  run_over_desktop "$scr" privacy-wallpaper
  e2e_expect_pixel "$c/Tremblix2.bmp" 100 100 "255 0 0" "Windows' copy: picture 2, top left"
  e2e_expect_pixel "$c/Tremblix2.bmp" 1180 900 "255 255 0" "Windows' copy: picture 2, bottom right"
  e2e_expect_pixel "$c/Tremblix1.bmp" 100 100 "0 0 255" "Windows' copy: picture 1 (mirrored)"
  e2e_expect_pixel "$c/Tremblix3.bmp" 100 100 "0 255 0" "Windows' copy: picture 3 (upside down)"
  expect_no_temporary_files "" "the wallpaper"

  # A plain desktop: its colour, not black, and not the copy a wallpaper left.
  privacy_reg_set "$kDesktopKey" Wallpaper ""
  privacy_reg_set "$kColoursKey" Background "0 128 64"
  restart_server
  e2e_show_desktop
  run_over_desktop "$scr" privacy-colour
  local i
  for i in 1 2 3; do
    [ "$(identify -format '%wx%h %k' "$c/Tremblix$i.bmp")" = "1280x1024 1" ] ||
      e2e_fail "Tremblix$i.bmp is not of one colour at the screen's size"
    e2e_expect_pixel "$c/Tremblix$i.bmp" 640 512 "0 128 64" "the desktop's colour: picture $i"
  done
  expect_no_temporary_files "" "the colour"

  # Nothing can be written: the earlier pictures go, rather than stay.
  earlier_pictures 'rgb(10,20,30)'
  touch "$c/Tremblix1.bmp.tmp"
  e2e_make_unwritable "$c/Tremblix1.bmp.tmp" ||
    e2e_skip "this file system cannot make a file unwritable"
  run_over_desktop "$scr" privacy-nothing
  [ -z "$(ls "$c" | grep -x 'Tremblix[1-4]\.bmp')" ] ||
    e2e_fail "pictures are left: $(ls "$c")"
  expect_untextured privacy-nothing
}

case_a_full_disk_or_no_folder_of_the_users_leave_everything_else_alone() {
  local scr c=$E2E_PICTURES
  scr=$(e2e_install privacy-disk)
  e2e_show_desktop

  # A folder with room for the earlier pictures and not for this run's.
  rm -rf "$c"
  mkdir -p "$c"
  e2e_mount_small "$c" 1m || e2e_skip "no small file system can be mounted"
  # They show the desktop as it was: they go, rather than stay.
  earlier_pictures 'rgb(200,150,100)'
  run_over_desktop "$scr" privacy-full-disk
  [ -z "$(ls "$c" | grep -x 'Tremblix[1-4]\.bmp')" ] || e2e_fail "a full disk left: $(ls "$c")"
  expect_no_temporary_files "" "a full disk"
  umount "$c" || e2e_fail "could not unmount the small file system"

  # No folder of the user's can be had: nothing is written anywhere, and what
  # an older version left in C:\ is not shown.
  rm -rf "$c"
  local root=$E2E_DRIVE_C sums
  convert -size 64x48 xc:'rgb(200,0,200)' -type TrueColor "BMP3:$root/Tremblix2.bmp"
  sums=$(ls "$root" | md5sum; md5sum "$root/Tremblix2.bmp")
  e2e_make_unwritable "$E2E_LOCAL_DATA" ||
    e2e_skip "this file system cannot make a folder unwritable"
  run_over_desktop "$scr" privacy-no-folder
  [ ! -e "$c" ] || e2e_fail "the pictures' folder was made"
  [ "$(ls "$root" | md5sum; md5sum "$root/Tremblix2.bmp")" = "$sums" ] ||
    e2e_fail "something was written to the root of C:"
  expect_untextured privacy-no-folder
  rm -f "$root/Tremblix2.bmp"
}

e2e_main "$@"
