#!/usr/bin/env bash
# The full-screen run and the preview as Windows starts them: the pictures
# handed to the renderer, the music, and how the run ends.
. "$(dirname "$0")/lib.sh"

# As a standard user on Windows: the root of C: cannot be written, nor, for
# the 64-bit edition, which Windows never redirects, the program's folder.
# The pictures land in the user's own folder, made for them.
case_hand_off_pictures_hold_the_screen() {
  local scr
  scr=$(e2e_install run)
  rm -f "$E2E_DRIVE_C"/Tremblix[1-4].bmp
  rm -rf "$E2E_PICTURES"
  e2e_make_unwritable "$E2E_DRIVE_C" || true
  ! e2e_is_64bit || e2e_make_unwritable "$E2E_DRIVE_C/e2e/run" || true
  e2e_show_desktop
  local before=$E2E_SHOTS/run-desktop-before.png
  harness_screenshot "$before"
  e2e_start_run "$scr"
  local c=$E2E_PICTURES i
  for i in 1 2 3 4; do
    [ -f "$c/Tremblix$i.bmp" ] || e2e_fail "Tremblix$i.bmp is missing from the user's folder"
    [ ! -e "$E2E_DRIVE_C/Tremblix$i.bmp" ] || e2e_fail "Tremblix$i.bmp was written to C:\\"
    [ "$(od -An -tu2 -j28 -N2 "$c/Tremblix$i.bmp" | tr -d ' ')" = 24 ] ||
      e2e_fail "Tremblix$i.bmp is not 24 bits per pixel"
  done
  for i in 1 2 3; do
    [ "$(identify -format '%wx%h' "$c/Tremblix$i.bmp")" = 1280x1024 ] ||
      e2e_fail "Tremblix$i.bmp is $(identify -format '%wx%h' "$c/Tremblix$i.bmp")"
  done
  [ "$(identify -format '%wx%h %[fx:maxima]' "$c/Tremblix4.bmp")" = "93x85 0" ] ||
    e2e_fail "Tremblix4.bmp is not a black 93 x 85 picture"
  e2e_same_picture "$before" "$c/Tremblix2.bmp" "picture 2 is not the screen"
  convert "$c/Tremblix2.bmp" -flop "$E2E_SHOTS/run-expected-1.png"
  convert "$c/Tremblix2.bmp" -flip "$E2E_SHOTS/run-expected-3.png"
  e2e_same_picture "$E2E_SHOTS/run-expected-1.png" "$c/Tremblix1.bmp" "picture 1 is not the mirror"
  e2e_same_picture "$E2E_SHOTS/run-expected-3.png" "$c/Tremblix3.bmp" "picture 3 is not upside down"
  e2e_wait_drawn
  e2e_shot run-renderer-with-desktop
  e2e_expect_textured_scene "$E2E_SHOTS/run-renderer-with-desktop.png" "the desktop reflected"
  e2e_end_with_escape
}

# On a screen of 1366 x 768, whose rows are padded to 4100 bytes, at 16 bits,
# after a run on a larger screen: the pictures have exactly this screen's
# size, and show it as closely as 16 bits can.
case_a_smaller_16_bit_screen_gets_pictures_of_its_size() {
  e2e_display 1366x768x16
  local scr c=$E2E_PICTURES i size
  scr=$(e2e_install run-small)
  mkdir -p "$c"
  for i in 1 2 3; do
    convert -size 1600x1200 xc:'rgb(10,20,30)' -type TrueColor "BMP3:$c/Tremblix$i.bmp"
  done
  e2e_show_desktop
  local before=$E2E_SHOTS/run-small-desktop.png
  harness_screenshot "$before"
  e2e_start_run "$scr"
  e2e_wait_drawn
  e2e_shot run-small-renderer
  e2e_end_with_escape
  for i in 1 2 3; do
    size=$(stat -c %s "$c/Tremblix$i.bmp")
    [ "$size" = $((54 + 4100 * 768)) ] ||
      e2e_fail "Tremblix$i.bmp has $size bytes, not those of a 1366 x 768 picture"
    [ "$(identify -format '%wx%h' "$c/Tremblix$i.bmp")" = 1366x768 ] ||
      e2e_fail "Tremblix$i.bmp is $(identify -format '%wx%h' "$c/Tremblix$i.bmp")"
  done
  local differ
  differ=$(compare -metric AE -fuzz 5% "$before" "$c/Tremblix2.bmp" null: 2>&1)
  [ "$differ" = 0 ] || e2e_fail "picture 2 is not the 16-bit screen ($differ pixels differ)"
}

case_renderer_killed_from_outside_ends_the_run() {
  local scr
  scr=$(e2e_install run-killed)
  e2e_start_run "$scr"
  local renderer
  renderer=$(e2e_renderer_pids)
  [ -n "$renderer" ] || e2e_fail "no renderer to kill"
  kill -9 $renderer
  e2e_expect_exit "$E2E_RUN" 10 "the run, its renderer killed,"
}

case_another_window_titled_like_the_renderer_keeps_the_run() {
  local scr
  scr=$(e2e_install run-other)
  e2e_start_run "$scr"
  e2e_hold "$kRenderer" 30
  local holder=$E2E_PID renderer
  renderer=$(e2e_renderer_pids)
  [ -n "$renderer" ] || e2e_fail "no renderer to kill"
  kill -9 $renderer
  # Four of the run's looks for the renderer's window; the same run ends
  # within them once no window is so titled (the case above).
  e2e_wait_marks "scr looked for the renderer" 4 "$E2E_RUN"
  kill -0 "$E2E_RUN" || e2e_fail "the run ended while a window so titled was there"
  kill "$holder"
  e2e_expect_exit "$E2E_RUN" 10 "the run, once the other window went,"
}

case_a_second_start_during_a_run_ends_at_once() {
  local scr
  scr=$(e2e_install run-twice)
  e2e_start_run "$scr"
  local first=$E2E_RUN
  e2e_start "$scr" /s
  e2e_expect_exit "$E2E_PID" 10 "the second start"
  [ "$(e2e_renderer_pids | wc -l)" = 1 ] || e2e_fail "a second renderer started"
  E2E_RUN=$first
  e2e_end_with_escape
}

# The song plays; while the display is off, and while the machine sleeps, it
# is closed (an open audio stream keeps Windows awake) and then opened again,
# with notices delivered as Windows delivers them. A wake of the machine's
# own starts nothing: the display may still be dark. So with the session locked.
music_case() {
  local name=$1 file=$2
  local scr
  scr=$(e2e_install "$name")
  local dir=$E2E_DRIVE_C/e2e/$name
  mkdir -p "$dir/my music"
  sox -n -r 44100 -c 2 "$dir/my music/tone.wav" synth 1 sine 440 vol 0.3 2>/dev/null
  [ "$file" = tone.wav ] || lame --quiet "$dir/my music/tone.wav" "$dir/my music/$file"
  e2e_write_settings "$name" " 2" " 0" "C:\\e2e\\$name\\my music\\$file"
  e2e_start_run "$scr"
  e2e_wait_open "$E2E_RUN" "my music/$file"
  e2e_power off
  e2e_wait_closed "$E2E_RUN" "my music/$file"
  e2e_power on
  e2e_wait_open "$E2E_RUN" "my music/$file"
  e2e_power suspend
  e2e_wait_closed "$E2E_RUN" "my music/$file"
  e2e_power wake
  ! e2e_has_open "$E2E_RUN" "my music/$file" || e2e_fail "a wake alone opened the music again"
  e2e_power on
  e2e_wait_open "$E2E_RUN" "my music/$file"
  e2e_probe session Tremblix_Main lock || e2e_fail "the lock did not reach the run"
  e2e_wait_closed "$E2E_RUN" "my music/$file"
  e2e_probe session Tremblix_Main unlock || e2e_fail "the unlock did not reach the run"
  e2e_wait_open "$E2E_RUN" "my music/$file"
  e2e_end_with_escape
}

case_an_mp3_plays_during_the_run() { music_case run-mp3 tone.mp3; }
case_a_wav_plays_during_the_run() { music_case run-wav tone.wav; }

# Windows gives the front to a new window only when the program in front
# allows it: the saver allows its renderer before it runs. Under Wine, which
# has no such rule, the renderer takes the focus either way; the times file
# says what Windows answered, and the order of the calls is checked on the
# Windows side.
case_the_keyboard_reaches_the_run_from_another_programs_window() {
  local scr
  scr=$(e2e_install run-focus)
  e2e_start notepad
  local notepad=$E2E_PID
  e2e_until 10 "notepad does not hold the keyboard" e2e_focus_is "Notepad"
  e2e_start_run "$scr"
  e2e_wait_frame 1
  e2e_until 5 "the renderer's window does not hold the keyboard" e2e_focus_is "$kRenderer"
  grep -q ' scr allowed the renderer the foreground: yes' "$E2E_TIMES" ||
    e2e_fail "the saver did not allow the renderer the foreground: $(grep 'allowed' "$E2E_TIMES")"
  grep -q ' dll foreground yes' "$E2E_TIMES" ||
    e2e_fail "the renderer's window is not in front: $(grep 'dll foreground' "$E2E_TIMES")"
  # Typed as a keyboard does, to whatever holds the focus.
  xdotool keydown Escape
  sleep 0.05
  xdotool keyup Escape
  e2e_expect_exit "$E2E_RUN" 10 "the run, after Escape typed at the keyboard,"
  kill "$notepad" 2>/dev/null
}

# Libraries named as the system's, planted beside the programs as a web page
# may drop one into a download folder, are never loaded, though Wine is told
# to prefer a library beside the program as Windows does for any that is not
# among its KnownDLLs: the run with music (saver, renderer and the sound
# drivers), the settings and the preview all work, and no marker appears.
case_libraries_planted_beside_the_programs_are_never_loaded() {
  local name=run-planted scr dir
  scr=$(e2e_install $name)
  dir=$E2E_DRIVE_C/e2e/$name
  cp "$E2E_BUILD"/tests/planted/*.dll "$dir/"
  mkdir -p "$dir/my music"
  sox -n -r 44100 -c 2 "$dir/my music/tone.wav" synth 3 sine 440 vol 0.3 2>/dev/null
  lame --quiet "$dir/my music/tone.wav" "$dir/my music/tone.mp3"
  e2e_write_settings $name " 2" " 0" "C:\\e2e\\$name\\my music\\tone.mp3"
  export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winmm,msimg32,opengl32,glu32,mciqtz32,oleacc=n,b"

  e2e_start_run "$scr"
  e2e_wait_open "$E2E_RUN" "my music/tone.mp3"
  e2e_wait_drawn
  e2e_end_with_escape
  e2e_open_dialog $name again
  e2e_click_control "ｷｬﾝｾﾙ"
  e2e_expect_exit "$DIALOG_PID" 10 "the dialog, after ｷｬﾝｾﾙ,"
  e2e_preview_host "Preview Host" 8
  e2e_start "$scr" /p "$E2E_HOST"
  e2e_until 5 "no preview window in its host" e2e_probe child "Preview Host" "Preview Window"

  local loaded
  loaded=$(cd "$dir" && ls -- *.loaded 2>/dev/null)
  [ -z "$loaded" ] || e2e_fail "planted libraries were loaded: $loaded"
  local planted
  for planted in winmm msimg32 opengl32 glu32 mciqtz32 oleacc; do
    [ -f "$dir/$planted.dll" ] || e2e_fail "$planted.dll was not planted"
  done
}

# The CD's driver planted beside the program is not loaded either.
case_a_cd_without_a_drive_leaves_the_run_silent() {
  local scr dir=$E2E_DRIVE_C/e2e/run-cd
  scr=$(e2e_install run-cd)
  cp "$E2E_BUILD/tests/planted/mcicda.dll" "$dir/"
  export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;mcicda=n,b"
  e2e_write_settings run-cd " 1" " 3" ""
  e2e_start_run "$scr"
  # The CD failed to open before the renderer started; two of the run's
  # looks after, it goes on.
  e2e_wait_frame 2
  e2e_wait_marks "scr looked for the renderer" 2 "$E2E_RUN"
  kill -0 "$E2E_RUN" || e2e_fail "the run ended"
  e2e_end_with_escape
  [ ! -e "$dir/mcicda.dll.loaded" ] || e2e_fail "the planted mcicda.dll was loaded"
}

case_pictures_that_cannot_be_written_are_left_as_they_were() {
  local scr c=$E2E_PICTURES i
  scr=$(e2e_install run-readonly)
  mkdir -p "$c"
  # A desktop worth photographing: a blank screen would keep them anyway.
  e2e_show_desktop
  for i in 1 2 3 4; do
    convert -size 64x48 xc:'rgb(10,20,30)' -type TrueColor "BMP3:$c/Tremblix$i.bmp"
  done
  e2e_make_unwritable "$c"/Tremblix[1-4].bmp ||
    e2e_skip "this file system cannot make a file unwritable"
  local sums
  sums=$(md5sum "$c"/Tremblix[1-4].bmp)
  e2e_start_run "$scr"
  e2e_wait_drawn
  e2e_end_with_escape
  [ "$(md5sum "$c"/Tremblix[1-4].bmp)" = "$sums" ] || e2e_fail "a picture that could not be written changed"
}

case_preview_is_embedded_in_its_host() {
  local scr
  scr=$(e2e_install preview)
  e2e_preview_host "Preview Host" 8
  e2e_start "$scr" /p "$E2E_HOST"
  local place deadline=$((SECONDS + $(e2e_limit 5)))
  until place=$(e2e_probe child "Preview Host" "Preview Window"); do
    [ $SECONDS -le $deadline ] || e2e_fail "no preview window in its host"
    sleep 0.05
  done
  place=${place//$'\r'/}
  kill -0 "$E2E_PID" || e2e_fail "the preview ended by itself"
  echo "preview window in its host: $place"
  [ "$place" = "0 0 152 112" ] || e2e_fail "the preview window is at '$place'"
  e2e_texts "Preview Host" | grep -q '^TremblixForm|5.......|-|Preview Window$' ||
    e2e_fail "the preview window is not a visible child: $(e2e_texts "Preview Host")"
  # Wine does not draw a child window of another process into its host, so
  # the picture itself is checked by the Windows-side tests.
  e2e_shot preview-host
}

# A host with a caption and a border: the preview covers its client area,
# not its window.
case_preview_covers_the_client_area_of_a_framed_host() {
  local scr
  scr=$(e2e_install preview-framed)
  e2e_preview_host "Framed Host" 8 200 150 framed
  local hx hy hw hh
  e2e_read_numbers "the host's client area" "$(e2e_probe client "Framed Host")" hx hy hw hh
  e2e_start "$scr" /p "$E2E_HOST"
  local place
  e2e_until 5 "no preview window in its host" e2e_preview_in "Framed Host"
  echo "host client area ${hw}x$hh; preview window in it: $PLACE"
  [ "$PLACE" = "0 0 $hw $hh" ] || e2e_fail "the preview window is at '$PLACE', not over the client area"
  e2e_shot preview-framed-host
}

e2e_preview_in() {
  PLACE=$(e2e_probe child "$1" "Preview Window") || return 1
  PLACE=${PLACE//$'\r'/}
}

case_preview_ends_when_its_host_goes() {
  local scr
  scr=$(e2e_install preview-gone)
  e2e_preview_host "Preview Host" 3
  e2e_start "$scr" /p "$E2E_HOST"
  e2e_expect_exit "$E2E_PID" 10 "the preview (its host lived 3 s)"
}

# Windows tells every top-level window of a session that ends: the run ends
# as its own end does, the music closed and code 0, and leaves the renderer,
# which Windows tells for itself.
case_log_off_during_a_run_ends_it() {
  local name=run-log-off scr
  scr=$(e2e_install $name)
  local dir=$E2E_DRIVE_C/e2e/$name
  mkdir -p "$dir/my music"
  sox -n -r 44100 -c 2 "$dir/my music/tone.wav" synth 1 sine 440 vol 0.3 2>/dev/null
  lame --quiet "$dir/my music/tone.wav" "$dir/my music/tone.mp3"
  e2e_write_settings $name " 2" " 0" "C:\\e2e\\$name\\my music\\tone.mp3"
  e2e_start_run "$scr"
  e2e_wait_open "$E2E_RUN" "my music/tone.mp3"
  local answer
  answer=$(e2e_probe logoff Tremblix_Main | tr -d '\r') ||
    e2e_fail "the log-off did not reach the run's window (${answer:-no answer})"
  echo "$answer"
  e2e_expect_exit "$E2E_RUN" 10 "the run, at the log-off,"
  [ -n "$(e2e_renderer_pids)" ] || e2e_fail "the run closed the renderer"
}

e2e_main "$@"
