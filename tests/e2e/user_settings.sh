#!/usr/bin/env bash
# Either edition's settings: kept in the user's roaming folder, saved there by
# the dialog where neither the root of C: nor the program's folder can be
# written, played from there by the next run; the choice the 32-bit edition
# left beside itself, taken over on the first start; and a save that cannot
# be written, said so, with the dialog left open.
. "$(dirname "$0")/lib.sh"

readonly kFileKey=$'BGM\xcc\xa7\xb2\xd9='

# A short MP3 at C:\e2e\$1\tone.mp3.
make_tone() {
  local dir=$E2E_DRIVE_C/e2e/$1
  mkdir -p "$dir"
  sox -n -r 44100 -c 2 "$dir/tone.wav" synth 3 sine 440 vol 0.3 2>/dev/null
  lame --quiet "$dir/tone.wav" "$dir/tone.mp3"
  rm "$dir/tone.wav"
}

case_the_dialog_saves_where_the_next_run_plays() {
  local scr
  scr=$(e2e_install user-settings)
  make_tone user-music
  e2e_make_unwritable "$E2E_DRIVE_C" "$E2E_DRIVE_C/e2e/user-settings" || true
  e2e_open_dialog user-settings again
  e2e_click_control "MP3、WAV"
  e2e_choose_file 'C:\e2e\user-music\tone.mp3'
  e2e_click_control "設定"
  e2e_expect_exit "$DIALOG_PID" 10 "the dialog, after 設定,"
  [ -f "$INI" ] || e2e_fail "no settings file in the user's roaming folder"
  [ ! -e "$E2E_DRIVE_C/e2e/user-settings/Tremblix.ini" ] || e2e_fail "a settings file beside the program"
  tr -d '\r' <"$INI" | LC_ALL=C grep -qxF "${kFileKey}C:\\e2e\\user-music\\tone.mp3" ||
    e2e_fail "the choice was not saved: $(tr -d '\r' <"$INI")"

  e2e_start_run "$scr"
  e2e_wait_open "$E2E_RUN" "user-music/tone.mp3"
  e2e_end_with_escape
}

case_the_32bit_choice_is_taken_over_on_the_first_start() {
  e2e_install user-takeover >/dev/null
  make_tone user-takeover/shared
  make_tone user-takeover/own
  # The 64-bit edition looks beside the 32-bit one, the 32-bit one beside itself.
  local shared=$E2E_DRIVE_C/windows/syswow64/Tremblix.ini
  local own=$E2E_LOCAL_DATA/VirtualStore/windows/syswow64/Tremblix.ini
  if ! e2e_is_64bit; then
    shared=$E2E_DRIVE_C/e2e/user-takeover/Tremblix.ini
    own=$E2E_LOCAL_DATA/VirtualStore/e2e/user-takeover/Tremblix.ini
  fi
  e2e_write_settings - " 2" " 0" 'C:\e2e\user-takeover\shared\tone.mp3' "$shared"
  e2e_write_settings - " 2" " 0" 'C:\e2e\user-takeover\own\tone.mp3' "$own"

  # The user's own copy of the 32-bit edition's file comes first.
  e2e_open_dialog user-takeover again
  e2e_expect_file_label 'C:\e2e\user-takeover\own\tone.mp3'
  e2e_click_control "ｷｬﾝｾﾙ"
  e2e_expect_exit "$DIALOG_PID" 10 "the dialog, after ｷｬﾝｾﾙ,"
  cmp -s "$own" "$INI" || e2e_fail "the user's copy was not taken over as it was"

  # Without one, the file in the 32-bit system folder.
  rm -f "$own" "$INI"
  e2e_open_dialog user-takeover again
  e2e_expect_file_label 'C:\e2e\user-takeover\shared\tone.mp3'
  e2e_click_control "ｷｬﾝｾﾙ"
  e2e_expect_exit "$DIALOG_PID" 10 "the dialog, after ｷｬﾝｾﾙ,"
  cmp -s "$shared" "$INI" || e2e_fail "the shared file was not taken over as it was"

  # Taken once: a later change there no longer reaches this user.
  e2e_write_settings - " 1" " 4" "" "$shared"
  e2e_open_dialog user-takeover again
  e2e_expect_file_label 'C:\e2e\user-takeover\shared\tone.mp3'
  e2e_click_control "ｷｬﾝｾﾙ"
  e2e_expect_exit "$DIALOG_PID" 10 "the dialog, after ｷｬﾝｾﾙ,"
  rm -f "$shared"
}

case_a_save_that_cannot_be_written_says_so_and_stays_open() {
  e2e_install user-save-fails >/dev/null
  e2e_write_settings user-save-fails " 1" " 3" ""
  local before
  before=$(md5sum <"$(e2e_settings_file user-save-fails)")
  e2e_make_unwritable "$E2E_ROAMING" || e2e_skip "this file system cannot make a folder unwritable"
  e2e_open_dialog user-save-fails again
  e2e_click_control "なし"
  e2e_click_control "設定"
  e2e_wait_window "Tremblix (ScreenSaver)" || e2e_fail "no message that the save failed"
  e2e_shot user-save-fails
  e2e_texts "Tremblix (ScreenSaver)" | grep -qF "設定を保存できませんでした。" ||
    e2e_fail "the message says: $(e2e_texts "Tremblix (ScreenSaver)")"
  e2e_probe press "Tremblix (ScreenSaver)" OK || e2e_fail "could not close the message"
  e2e_until 5 "the message did not close" e2e_window_gone "Tremblix (ScreenSaver)"
  # A dialog that closed after the message would be going by now.
  e2e_wait_still
  kill -0 "$DIALOG_PID" 2>/dev/null && e2e_probe exists "$kDialog" ||
    e2e_fail "the dialog closed after a save that failed"
  [ "$(md5sum <"$INI")" = "$before" ] || e2e_fail "the settings file changed"
  [ -z "$(ls "$E2E_ROAMING" | grep -vx Tremblix.ini)" ] || e2e_fail "files left: $(ls "$E2E_ROAMING")"
  e2e_texts "$kDialog" | grep -q '^TremblixLabel' || e2e_fail "the dialog lost its controls"
  # Once the folder can be written, a second click on 設定 saves the choice
  # still on the dialog and ends it. The message was closed from the keyboard
  # and the pointer still rests on 設定: the click comes without a move.
  chattr -i "$E2E_ROAMING" || e2e_fail "could not make the folder writable again"
  e2e_control_at "設定"
  [ "$(xdotool getmouselocation | sed 's/x:\([0-9]*\) y:\([0-9]*\).*/\1 \2/')" = "$X $Y" ] ||
    e2e_fail "the pointer left 設定: $(xdotool getmouselocation)"
  xdotool click 1
  e2e_expect_exit "$DIALOG_PID" 10 "the dialog, after 設定 clicked again,"
  e2e_ini_text | grep -qx 'BGM区分=0' || e2e_fail "the second save wrote: $(e2e_ini_text)"
}

e2e_main "$@"
