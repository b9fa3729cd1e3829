#!/usr/bin/env bash
# The settings dialog as a user meets it: Tremblix.scr /c on the virtual
# screen, its look, saving, the close box, the file chooser and the instance
# guard while it is open.
. "$(dirname "$0")/lib.sh"

readonly kJapanese="なし音楽CDMP3、WAV曲目をﾘﾋﾟｰﾄ設定ｷｬﾝｾﾙﾌｧｲﾙを開く"

pixel_at_client() {
  local cx cy cw ch
  read -r cx cy cw ch <<<"$(e2e_probe client "$kDialog")"
  harness_pixel "$2" $((cx + $1)) $((cy + $3))
}

case_dialog_shows_bands_and_readable_japanese() {
  e2e_open_dialog look
  local shot=$E2E_SHOTS/settings-dialog-screen.png
  harness_screenshot "$shot"
  local x y w h
  read -r x y w h <<<"$(harness_rect "$kDialog")" || e2e_fail "the dialog is not on the display"
  convert "$shot" -crop "${w}x${h}+${x}+${y}" +repage "$E2E_SHOTS/settings-dialog.png"
  echo "dialog screenshot: $E2E_SHOTS/settings-dialog.png"

  local cx cy cw ch
  read -r cx cy cw ch <<<"$(e2e_probe client "$kDialog")"
  [ "$cw $ch" = "496 243" ] || e2e_fail "client area $cw x $ch, not 496 x 243"
  # Column 490 lies right of the panel and the buttons.
  local row expect got
  for row in 0:"0 0 30" 121:"220 220 250" 122:"220 220 250"; do
    expect=${row#*:}
    got=$(harness_pixel "$shot" $((cx + 490)) $((cy + ${row%%:*})))
    echo "row ${row%%:*}: $got"
    [ "$got" = "$expect" ] || e2e_fail "row ${row%%:*} is ($got), not ($expect)"
  done
  # The panel's middle row is a light grey.
  got=$(harness_pixel "$shot" $((cx + 470)) $((cy + 16 + 82)))
  echo "panel middle: $got"
  read -r r g b <<<"$got"
  [ "$r" = "$g" ] && [ "$g" = "$b" ] && [ "$r" -ge 200 ] || e2e_fail "panel middle is ($got)"

  local texts
  texts=$(e2e_probe texts "$kDialog")
  echo "$texts"
  local text
  for text in "BGM" "なし" "音楽CD" "MP3、WAV" "曲目をﾘﾋﾟｰﾄ" "https://tremblix.example/"; do
    grep -q "^TremblixLabel|.*|$text\$" <<<"$texts" || e2e_fail "no label '$text'"
  done
  for text in "設定" "ｷｬﾝｾﾙ" "..."; do
    grep -qF "|$text" <<<"$(grep '^TremblixCommand|' <<<"$texts")" || e2e_fail "no button '$text'"
  done
  grep -q '^ComboBox|' <<<"$texts" || e2e_fail "no repeat box"
  # Every Japanese character has a glyph in the labels' font: no boxes.
  e2e_probe glyphs "ＭＳ Ｐゴシック" "$kJapanese" || e2e_fail "glyphs missing from the label font"
  # The caption "音楽CD" is drawn in dark ink over the light band.
  local lx ly dark=0 i
  read -r lx ly <<<"$(e2e_probe where "$kDialog" "音楽CD")"
  for i in -12 -8 -4 0 4 8 12; do
    read -r r g b <<<"$(harness_pixel "$shot" $((lx + i)) "$ly")"
    [ "$r" -lt 100 ] && dark=$((dark + 1))
  done
  [ "$dark" -ge 1 ] || e2e_fail "the caption 音楽CD shows no ink"
  e2e_probe close "$kDialog"
  e2e_wait_exit "$DIALOG_PID" 10
}

case_set_writes_the_file_and_ends() {
  e2e_open_dialog set
  e2e_click_control "音楽CD"
  e2e_click_control "設定"
  e2e_wait_exit "$DIALOG_PID" 10
  echo "ended after ${E2E_MS} ms with code $E2E_RC"
  [ "$E2E_RC" = 0 ] || e2e_fail "exit code $E2E_RC"
  [ -f "$INI" ] || e2e_fail "no settings file was written"
  e2e_ini_text
  grep -qx '\[Section\]' <<<"$(e2e_ini_text)" || e2e_fail "no section"
  grep -qx 'BGM区分=1' <<<"$(e2e_ini_text)" || e2e_fail "kind not saved as 1"
  grep -qx 'BGMﾘﾋﾟｰﾄ=0' <<<"$(e2e_ini_text)" || e2e_fail "repeat not saved as 0"
  grep -qx 'BGMﾌｧｲﾙ=' <<<"$(e2e_ini_text)" || e2e_fail "file not saved empty"
}

case_close_box_writes_nothing() {
  e2e_open_dialog closebox
  local x y w h
  read -r x y w h <<<"$(harness_rect "$kDialog")"
  # The close box sits at the right end of the caption that Wine draws.
  xdotool mousemove $((x + w - 13)) $((y + 12))
  sleep 0.3
  xdotool click 1
  e2e_wait_exit "$DIALOG_PID" 10
  [ "$E2E_RC" = 0 ] || e2e_fail "the close box did not end the program ($E2E_RC)"
  [ ! -e "$INI" ] || e2e_fail "the close box wrote the settings file"
}

case_a_second_start_ends_at_once_while_open() {
  e2e_open_dialog guard
  local args
  for args in /c /s; do
    e2e_start "$SCR" $args
    e2e_wait_exit "$E2E_PID" 10
    echo "'$args' ended after ${E2E_MS} ms with code $E2E_RC"
    [ "$E2E_RC" = 0 ] && [ "$E2E_MS" -lt 3000 ] || e2e_fail "'$args' did not end at once"
  done
  e2e_probe exists Tremblix_Main && e2e_fail "a full-screen run started"
  kill -0 "$DIALOG_PID" || e2e_fail "the open dialog was disturbed"
  e2e_probe close "$kDialog"
  e2e_wait_exit "$DIALOG_PID" 10
}

# A button acts on a click at the pixel where the pointer was when the button
# last saw it: after a file chooser that was cancelled without moving, and
# after the pointer left and came back to the very pixel it rested on when
# the dialog opened under it.
case_a_click_at_the_same_pixel_again_acts() {
  e2e_open_dialog same-pixel
  e2e_click_control "MP3、WAV"
  e2e_click_control "..."
  local round
  for round in 1 2; do
    e2e_wait_window "$kChooser" 10 || e2e_fail "click $round on ... opened no chooser"
    sleep 0.5
    e2e_probe close "$kChooser"
    local deadline=$((SECONDS + 5))
    while e2e_probe exists "$kChooser" && [ $SECONDS -lt $deadline ]; do sleep 0.1; done
    sleep 0.3
    [ "$round" = 2 ] || xdotool click 1  # the pointer has not moved
  done
  local x y
  read -r x y <<<"$(e2e_probe where "$kDialog" "設定")" || e2e_fail "no button 設定"
  e2e_probe close "$kDialog"
  e2e_wait_exit "$DIALOG_PID" 10

  # The dialog opens at the same place, now under a pointer resting on 設定.
  xdotool mousemove "$x" "$y"
  e2e_open_dialog same-pixel again
  xdotool mousemove $((x - 80)) "$y"  # the dialog's background beside it
  sleep 0.4
  xdotool mousemove "$x" "$y"
  sleep 0.3
  xdotool click 1
  e2e_wait_exit "$DIALOG_PID" 10
  [ "$E2E_RC" = 0 ] || e2e_fail "the click on 設定 did nothing ($E2E_RC)"
  [ -f "$INI" ] || e2e_fail "the click on 設定 saved nothing"
}

case_file_chooser_picks_a_file_that_is_saved() {
  e2e_open_dialog chooser
  mkdir -p "$DIR/music"
  printf 'x' >"$DIR/music/tune.mp3"
  local path='C:\e2e\chooser\music\tune.mp3'
  e2e_click_control "MP3、WAV"
  e2e_choose_file "$path" settings-file-chooser
  e2e_expect_file_label "$path"
  e2e_shot settings-file-chosen
  e2e_click_control "設定"
  e2e_wait_exit "$DIALOG_PID" 10
  [ "$E2E_RC" = 0 ] || e2e_fail "exit code $E2E_RC"
  e2e_ini_text
  grep -qx 'BGM区分=2' <<<"$(e2e_ini_text)" || e2e_fail "kind not saved as 2"
  grep -qxF "BGMﾌｧｲﾙ=$path" <<<"$(e2e_ini_text)" || e2e_fail "the file was not saved"
}

e2e_main "$@"
