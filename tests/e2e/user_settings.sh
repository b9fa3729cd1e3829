#!/usr/bin/env bash
# The 64-bit edition's settings, which Windows never redirects: kept in the
# user's roaming folder, saved there by the dialog where neither the root of
# C: nor the program's folder can be written, played from there by the next
# run; and the choice the 32-bit edition left, taken over on the first start.
# The 32-bit edition keeps its file beside itself: it has no cases here.
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
  local shared=$E2E_DRIVE_C/windows/syswow64/Tremblix.ini
  local own=$E2E_LOCAL_DATA/VirtualStore/windows/syswow64/Tremblix.ini
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

if [ "${1:-}" = --list ] && ! e2e_is_64bit; then exit 0; fi
e2e_main "$@"
