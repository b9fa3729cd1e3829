#!/usr/bin/env bash
# A song whose folder and name are spelt in the letters of the system's code
# page, from the file chooser to the music of a run, as a user meets it: under
# 932, C:\音楽\ソング.mp3; under 1252, C:\Música\Canción.mp3. Then names no
# code page spells, long paths, and a program folder of any name.
. "$(dirname "$0")/lib.sh"

# Sets FOLDER and SONG (Windows paths, UTF-8 here) and makes the song.
make_song() {
  local acp
  acp=$(e2e_probe codepage | cut -d' ' -f1)
  [ "$acp" = "${TREMBLIX_CODEPAGE:-1252}" ] ||
    e2e_fail "the programs run with code page $acp, not ${TREMBLIX_CODEPAGE:-1252}"
  local folder name
  case $acp in
    932) folder=音楽 name=ソング.mp3 ;;
    *) folder=Música name=Canción.mp3 ;;
  esac
  FOLDER="C:\\$folder"
  SONG="$FOLDER\\$name"
  SONG_FILE=$E2E_DRIVE_C/$folder/$name
  rm -rf "${E2E_DRIVE_C:?}/$folder"
  mkdir -p "$E2E_DRIVE_C/$folder"
  sox -n -r 44100 -c 2 "$E2E_DRIVE_C/$folder/tone.wav" synth 3 sine 440 vol 0.3 2>/dev/null
  lame --quiet "$E2E_DRIVE_C/$folder/tone.wav" "$SONG_FILE"
  rm "$E2E_DRIVE_C/$folder/tone.wav"
  echo "code page $acp, song $SONG"
}

# A text as Wine's traces write it: a backslash before a backslash or a
# quote, \NNNN (hexadecimal) for a character beyond ASCII.
traced() {
  local text=$1 out="" ch i
  for ((i = 0; i < ${#text}; i++)); do
    ch=${text:i:1}
    if [ "$ch" = '\' ] || [ "$ch" = '"' ]; then
      out+="\\$ch"
    elif [ "$(printf '%d' "'$ch")" -gt 127 ]; then
      out+=$(printf '\\%04x' "'$ch")
    else
      out+=$ch
    fi
  done
  printf '%s' "$out"
}

case_a_song_is_chosen_saved_played_and_found_again() {
  make_song

  # Chosen through the real chooser and saved.
  e2e_open_dialog musicpath
  e2e_click_control "MP3、WAV"
  e2e_choose_file "$SONG"
  e2e_expect_file_label "$SONG"
  e2e_shot musicpath-chosen
  e2e_click_control "設定"
  e2e_expect_exit "$DIALOG_PID" 10 "the dialog, after 設定,"
  local key value
  key=$(printf 'BGM\xcc\xa7\xb2\xd9=')
  value=$(printf '%s' "$SONG" | iconv -f UTF-8 -t "CP${TREMBLIX_CODEPAGE:-1252}")
  tr -d '\r' <"$INI" | LC_ALL=C grep -qxF "$key$value" ||
    e2e_fail "the settings file does not hold the path in the code page's bytes: $(od -c "$INI")"
  echo "saved in the code page's bytes: $(printf '%s' "$value" | od -An -tx1 | tr -s ' ')"

  # Played by a run, which opens it by that path, then stops and closes it.
  local log=$E2E_SHOTS/musicpath-mci.log
  : >"$E2E_TIMES"
  WINEDEBUG=+mci wine "$SCR" /s >/dev/null 2>"$log" </dev/null &
  E2E_RUN=$!
  E2E_PIDS+=("$E2E_RUN")
  e2e_wait_window "$kRenderer" || e2e_fail "the renderer's window did not appear"
  e2e_wait_open "$E2E_RUN" "$SONG_FILE"
  e2e_end_with_escape
  local open
  open=$(traced "open \"$SONG\" type MPEGVideo Alias MP3Play")
  grep -F 'mciSendStringW' "$log" | grep -qF "$open" ||
    e2e_fail "no open command naming $SONG: $(grep -F 'mciSendStringW' "$log" | head -n 3)"
  local command last=0 at
  for command in "$open" "play MP3Play" "stop MP3Play" "close MP3Play"; do
    at=$(grep -F 'mciSendStringW' "$log" | grep -nF "L\"$command" | tail -n 1 | cut -d: -f1)
    [ -n "$at" ] && [ "$at" -gt "$last" ] || e2e_fail "'$command' was not sent in its turn"
    last=$at
  done

  # The next settings dialog opens its chooser in the song's folder: a bare
  # name typed there is a file of that folder.
  e2e_open_dialog musicpath again
  e2e_expect_file_label "$SONG"
  e2e_choose_file "${SONG##*\\}"
  e2e_expect_file_label "$SONG"
  e2e_click_control "ｷｬﾝｾﾙ"
  e2e_expect_exit "$DIALOG_PID" 10 "the dialog, after ｷｬﾝｾﾙ,"
}

# Makes an MP3 at the Windows path $1 (under C:\).
make_mp3() {
  local file=$E2E_DRIVE_C/${1#C:\\}
  file=${file//\\//}
  mkdir -p "$(dirname "$file")"
  sox -n -r 44100 -c 2 "$E2E_TMP/tone.wav" synth 3 sine 440 vol 0.3 2>/dev/null
  lame --quiet "$E2E_TMP/tone.wav" "$file"
  echo "$file"
}

# Chooses $1 in the dialog of the saver in C:\e2e\$2, saves, and expects a run
# to play it; the next dialog shows the whole name.
choose_save_and_play() {
  local song=$1 name=$2 file
  file=$(make_mp3 "$song")
  e2e_open_dialog "$name"
  e2e_click_control "MP3、WAV"
  e2e_choose_file "$song"
  e2e_expect_file_label "$song"
  e2e_click_control "設定"
  e2e_expect_exit "$DIALOG_PID" 10 "the dialog, after 設定,"
  echo "settings file: $(tr -d '\r' <"$INI" | iconv -f "CP${TREMBLIX_CODEPAGE:-1252}" -t UTF-8 -c | tr '\n' ' ')"
  e2e_start_run "$SCR"
  e2e_wait_open "$E2E_RUN" "$file"
  e2e_end_with_escape
  e2e_open_dialog "$name" again
  e2e_expect_file_label "$song"
  e2e_click_control "ｷｬﾝｾﾙ"
  e2e_expect_exit "$DIALOG_PID" 10 "the dialog, after ｷｬﾝｾﾙ,"
}

# Over 150 characters, in five folders: the file chooser, the settings file and
# the run all keep it whole.
case_a_long_japanese_path_is_chosen_saved_and_played() {
  local part=音楽の森の奥の小さな湖のほとりで聴くための曲を集めたフォルダ long i
  long="C:\\"
  for i in 1 2 3 4 5; do long+="$part$i\\"; done
  long+=ソング.mp3
  [ ${#long} -ge 150 ] || e2e_fail "the path has ${#long} characters"
  choose_save_and_play "$long" musicpath-long
}

# The wave dash of many downloads (U+301C, which 932 lacks) and an é: no code
# page of ours spells them, and Wine invents a short name the next dialog
# must not show.
case_a_name_no_code_page_spells_is_chosen_and_played() {
  choose_save_and_play "C:\\Música\\〜 café 〜.mp3" musicpath-any
  tr -d '\r' <"$INI" | LC_ALL=C grep -q '^BGM.*(UTF-8)=.*|.*%E3%80%9C' ||
    e2e_fail "the whole path was not kept beside the short name"
}

# A program folder with a letter 932 lacks: the settings open and a run plays,
# and no message of ours comes up on the way (the renderer not found, say):
# watched for from before the dialog's start until the run has drawn.
case_the_programs_folder_may_have_any_name() {
  e2e_watch_window "Tremblix (ScreenSaver)"
  e2e_open_dialog "Músic ☆"
  e2e_click_control "ｷｬﾝｾﾙ"
  e2e_expect_exit "$DIALOG_PID" 10 "the dialog in a folder of any name, after ｷｬﾝｾﾙ,"
  e2e_start_run "$SCR"
  e2e_wait_drawn
  ! e2e_watched || e2e_fail "a message came up"
  e2e_end_with_escape
}

e2e_main "$@"
