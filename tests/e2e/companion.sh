#!/usr/bin/env bash
# The companion (Tremblix.scr /w) and the runs Windows starts on its own
# desktop: the companion copies the desktop a lead before the timeout, the
# run on "Screen-saver" shows that copy while it is fresh, else the
# wallpaper, never an older photograph. Wine's idle time follows input only
# into a Wine window, so the keys go into one of our own.
. "$(dirname "$0")/lib.sh"

readonly kTyping=Typing-here

# The saver chosen and active with a timeout of $2 s, as Windows keeps it, a
# wallpaper of one colour, the made-up desktop and a window to type into.
set_up() {
  mkdir -p "$E2E_DRIVE_C/e2e/wall"
  convert -size 64x48 xc:'rgb(200,0,200)' -type TrueColor "BMP3:$E2E_DRIVE_C/e2e/wall/wall.bmp"
  printf '[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"SCRNSAVE.EXE"="%s"\n"ScreenSaveActive"="1"
"ScreenSaveTimeOut"="%s"\n"Wallpaper"="C:\\\\e2e\\\\wall\\\\wall.bmp"\n' "${1//\\/\\\\}" "$2" | e2e_reg_import
  e2e_show_desktop
  DESK=$E2E_PID
  e2e_preview_host "$kTyping" 120 320 200 framed
}

# A key into the window that takes the typing, as a keyboard gives it.
key() {
  local id
  id=$(harness_wait_window "$kTyping" 5) || e2e_fail "no window to type into"
  xdotool windowfocus "$id" key a 2>/dev/null || e2e_fail "could not type"
}

copies_are() { [ "$(grep -c 'companion copied: held' "$E2E_TIMES")" = "$1" ]; }

# A /s run on a desktop named "Screen-saver", as Windows starts it at the idle
# time, whose pictures of monitor 1 come from $2; ended by Escape.
run_on_saver_desktop() {
  : >"$E2E_TIMES"
  e2e_start "$E2E_BUILD/tools/winprobe.exe" ondesktop Screen-saver "$1" /s
  e2e_wait_said "scr monitor 1 pictures from" "$E2E_PID" "$E2E_TIMES" "the run made no pictures"
  grep -q 'scr desktop Screen-saver' "$E2E_TIMES" || e2e_fail "the run is not on Screen-saver"
  # A copy that aged past its most age before the run looked, or was
  # dropped for it, rightly gives the wallpaper: that only sets OLD.
  local age
  age=$(sed -n "s/.*scr companion's copy \([0-9]*\) ms old.*/\1/p" "$E2E_TIMES")
  OLD=
  grep -q 'pictures from wallpaper' "$E2E_TIMES" && { [ "${age:-0}" -gt 6000 ] ||
    { [ -z "$age" ] && grep -q 'dropped the copy' "$E2E_TIMES"; }; } && OLD=${age:-over 6000}
  [ -n "$OLD" ] || grep -q "scr monitor 1 pictures from $2" "$E2E_TIMES" ||
    e2e_fail "monitor 1 has its $(grep -o "pictures from .*" "$E2E_TIMES"), not from $2"
  harness_press "$kRenderer" Escape || e2e_fail "could not press Escape"
  e2e_expect_exit "$E2E_PID" 10 "the run on Screen-saver"
  [ "$2" != wallpaper ] || e2e_expect_pixel "$E2E_PICTURES/Tremblix2.bmp" 640 512 "200 0 200" "$2"
}

case_the_companion_copies_after_the_last_key_and_the_run_shows_its_copy() {
  local scr shot=$E2E_SHOTS/companion-desktop.png taken input
  scr=$(e2e_install companion)
  set_up "$scr" 8
  e2e_start "$scr" /w
  e2e_wait_said "companion read the keys: active 1, timeout 8 s, chosen 1" "$E2E_PID" \
    "$E2E_TIMES" "the companion did not read the keys"
  wine "$scr" /w </dev/null >/dev/null 2>&1
  grep -q 'companion already runs' "$E2E_TIMES" || e2e_fail "a second companion ran"
  # Twelve seconds of typing, longer than the timeout: no copy; then one.
  local end=$((SECONDS + 12))
  while [ $SECONDS -lt $end ]; do key; sleep 0.5; done
  copies_are 0 || e2e_fail "the companion copied while keys were typed"
  # The desktop as the copy holds it, taken before the copy: from the copy on
  # only the run's start may pass before it looks.
  harness_screenshot "$shot"
  e2e_until 12 "the companion took no copy" copies_are 1
  e2e_read_numbers "the copy's record" \
    "$(sed -n 's/.*held in .*, at tick \([0-9]*\), last input at tick \([0-9]*\)/\1 \2/p' "$E2E_TIMES")" \
    taken input
  [ $((taken - input)) -ge 5000 ] || e2e_fail "the copy at $taken is not after the last key at $input"
  # The screen changes; the run shows the copy. A loaded machine may start
  # the run too late for it: then the next copy, of the desktop shown again.
  local try
  for try in 1 2 3; do
    kill "$DESK"
    run_on_saver_desktop "$scr" "companion's copy"
    [ -n "$OLD" ] || break
    [ "$try" != 3 ] || e2e_fail "each run looked later than the copy's most age, the last $OLD ms after"
    # The desktop again, a key, and the screen before the next copy.
    e2e_show_desktop
    DESK=$E2E_PID
    key
    : >"$E2E_TIMES"
    harness_screenshot "$shot"
    e2e_until 20 "the companion did not copy again" copies_are 1
  done
  e2e_same_picture "$shot" "$E2E_PICTURES/Tremblix2.bmp" "picture 2 is not the companion's copy"
  # A key once the next copy is held (after the Escape): the copy is dropped
  # and the run shows the wallpaper. From the key on, a timeout too long for
  # another copy before the run looks.
  e2e_until 20 "the companion did not copy again" copies_are 1
  : >"$E2E_TIMES"
  key
  printf '[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"ScreenSaveTimeOut"="600"\n' | e2e_reg_import
  e2e_until 20 "the companion kept its copy after a key" grep -q 'dropped the copy' "$E2E_TIMES"
  e2e_until 10 "the companion did not read the timeout" grep -q 'timeout 600 s' "$E2E_TIMES"
  run_on_saver_desktop "$scr" wallpaper
}

case_a_test_runs_photograph_is_never_shown_on_the_saver_desktop() {
  local scr
  scr=$(e2e_install no-companion)
  set_up "$scr" 60
  e2e_start_run "$scr"
  e2e_wait_drawn
  e2e_end_with_escape
  grep -q 'scr monitor 1 pictures from photograph' "$E2E_TIMES" || e2e_fail "no photograph"
  key
  run_on_saver_desktop "$scr" wallpaper
}

e2e_main "$@"
