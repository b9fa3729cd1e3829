#!/usr/bin/env bash
# Tremblix-setup.exe as a user meets it: silent and interactive installs into
# the 32-bit system folder, the screen saver selected, the settings file kept,
# and the uninstaller. With TREMBLIX_WINEARCH=win64 the prefix is 64-bit
# Windows, where that folder is syswow64 and fewer cases run.
. "$(dirname "$0")/lib.sh"

readonly kWin64Cases=(a_silent_install_selects_the_saver_and_it_runs
                      a_silent_uninstall_removes_what_the_install_wrote)
readonly kDesktopKey='HKCU\Control Panel\Desktop'
readonly kUninstallKey='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tremblix'
readonly kSetupTitle="Tremblix セットアップ"
readonly kUninstallTitle="Tremblix アンインストール"

# The 32-bit system folder, as Windows names it and as it lies here.
system_folder() {
  if [ "${TREMBLIX_WINEARCH:-win32}" = win64 ]; then
    SYS_WIN='C:\windows\syswow64'
    SYS_DIR=$E2E_DRIVE_C/windows/syswow64
  else
    SYS_WIN='C:\windows\system32'
    SYS_DIR=$E2E_DRIVE_C/windows/system32
  fi
}

# Prints the data of value $2 of key $1 as a 32-bit program sees it; fails
# when there is none.
reg_value() {
  local out
  out=$(wine reg query "$1" /v "$2" /reg:32 2>/dev/null </dev/null | tr -d '\r') || return 1
  awk -v name="$2" '
    BEGIN { FS = "    " }
    $2 == name { print $4; found = 1 }
    END { exit !found }' <<<"$out"
}

reg_key() {
  wine reg query "$1" /reg:32 2>/dev/null </dev/null | tr -d '\r'
}

# What a machine without Tremblix has: no programs, no entry, no saver chosen;
# nor an uninstaller a failed case left open.
clean_slate() {
  system_folder
  local pid
  for pid in $(prefix_processes '~nsu.*\.tmp'); do kill -9 "$pid"; done
  rm -f "$SYS_DIR"/Tremblix* "$E2E_DRIVE_C"/Tremblix[1-4].bmp
  wine reg delete "$kUninstallKey" /reg:32 /f >/dev/null 2>&1 </dev/null
  wine reg delete "$kDesktopKey" /v SCRNSAVE.EXE /f >/dev/null 2>&1 </dev/null
  wine reg add "$kDesktopKey" /v ScreenSaveActive /t REG_SZ /d 0 /f >/dev/null 2>&1 </dev/null
  forget_display_settings
}

# Wine has no display settings; a stand-in desk.cpl writes down what the
# Install verb gave it.
readonly kVerbRecord=install-verb.txt
give_display_settings() {
  cp "$E2E_BUILD/tests/desk.cpl" "$E2E_DRIVE_C/windows/system32/desk.cpl"
}

forget_display_settings() {
  rm -f "$E2E_DRIVE_C/$kVerbRecord" "$E2E_DRIVE_C/windows/system32/desk.cpl"
}

install_silently() {
  local start=${EPOCHREALTIME/./} rc
  wine "$E2E_BUILD/Tremblix-setup.exe" /S </dev/null >/dev/null 2>&1
  rc=$?
  echo "silent install: code $rc, $(((${EPOCHREALTIME/./} - start) / 1000)) ms"
  [ "$rc" = 0 ] || e2e_fail "the silent install ended with code $rc"
}

# Processes of this prefix whose command line matches $1, zombies left out.
prefix_processes() {
  local pid
  for pid in $(pgrep -f "$1"); do
    [ "$(awk '{print $3}' "/proc/$pid/stat" 2>/dev/null)" = Z ] && continue
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" &&
      echo "$pid"
  done
}

# Runs the entry's QuietUninstallString as Windows would.
uninstall_silently() {
  local quiet program start=${EPOCHREALTIME/./}
  quiet=$(reg_value "$kUninstallKey" QuietUninstallString) || e2e_fail "no QuietUninstallString"
  [[ $quiet =~ ^\"([^\"]+)\"\ /S$ ]] || e2e_fail "QuietUninstallString is '$quiet'"
  program=${BASH_REMATCH[1]}
  wine "$program" /S </dev/null >/dev/null 2>&1 || e2e_fail "the uninstaller ended with code $?"
  wait_for_uninstaller
  echo "silent uninstall: $(((${EPOCHREALTIME/./} - start) / 1000)) ms"
}

# The uninstaller hands over to a copy of itself in %TEMP% and ends at once;
# this waits for the copy.
wait_for_uninstaller() {
  local deadline=$((SECONDS + 30))
  while [ -n "$(prefix_processes '~nsu.*\.tmp')" ]; do
    [ $SECONDS -lt $deadline ] || e2e_fail "the uninstaller's copy still runs after 30 s"
    sleep 0.1
  done
}

expect_equal() {
  [ "$2" = "$3" ] || e2e_fail "$1 is '$2', expected '$3'"
}

# Both programs, the uninstaller, the saver selected, the entry: what an
# install leaves, whichever way it ran.
expect_installed() {
  local program
  for program in Tremblix.scr Tremblix.dll; do
    cmp -s "$E2E_BUILD/bin/$program" "$SYS_DIR/$program" ||
      e2e_fail "$program is not the build's in $SYS_WIN"
  done
  [ -f "$SYS_DIR/Tremblix-uninstall.exe" ] || e2e_fail "no uninstaller in $SYS_WIN"

  local saver
  saver=$(reg_value "$kDesktopKey" SCRNSAVE.EXE) || e2e_fail "SCRNSAVE.EXE is not set"
  echo "SCRNSAVE.EXE = $saver"
  # Wine's short name of Tremblix.scr is the long one: it fits 8.3.
  expect_equal SCRNSAVE.EXE "${saver,,}" "${SYS_WIN,,}\\tremblix.scr"
  expect_equal ScreenSaveActive "$(reg_value "$kDesktopKey" ScreenSaveActive)" 1

  expect_equal DisplayName "$(reg_value "$kUninstallKey" DisplayName)" Tremblix
  expect_equal Publisher "$(reg_value "$kUninstallKey" Publisher)" Tremblix
  expect_equal DisplayVersion "$(reg_value "$kUninstallKey" DisplayVersion)" 1.0.0
  expect_equal DisplayIcon "$(reg_value "$kUninstallKey" DisplayIcon)" "$SYS_WIN\\Tremblix.scr,0"
  expect_equal UninstallString "$(reg_value "$kUninstallKey" UninstallString)" \
    "\"$SYS_WIN\\Tremblix-uninstall.exe\""
}

write_settings() {
  printf '[Section]\r\nBGM\x8b\xe6\x95\xaa=2\r\nBGM\xd8\xcb\xdf\xb0\xc4=0\r\nBGM\xcc\xa7\xb2\xd9=C:\\music\\song.mp3\r\n' \
    >"$SYS_DIR/Tremblix.ini"
}

case_a_silent_install_selects_the_saver_and_it_runs() {
  clean_slate
  install_silently
  expect_installed
  if [ "$SYS_WIN" != 'C:\windows\system32' ] && [ -e "$E2E_DRIVE_C/windows/system32/Tremblix.scr" ]; then
    e2e_fail "the 32-bit installer wrote into the 64-bit system32"
  fi

  # Started as Windows starts the selected saver, by the value's path, over a
  # made-up desktop for the ball to reflect.
  e2e_start "$E2E_BUILD/tools/winprobe.exe" desktop 60
  sleep 1.5
  local saver
  saver=$(reg_value "$kDesktopKey" SCRNSAVE.EXE)
  e2e_start "$saver" /s
  local run=$E2E_PID
  e2e_wait_window "$kRenderer" 20 || e2e_fail "the renderer's window did not appear"
  sleep 1
  local shot=install-${TREMBLIX_WINEARCH:-win32}-run r g b
  e2e_shot "$shot"
  read -r r g b <<<"$(harness_pixel "$E2E_SHOTS/$shot.png" 512 220)"
  [ $((r + g + b)) -gt 60 ] || e2e_fail "the ball shows no reflection ($r $g $b)"
  kill -0 "$run" 2>/dev/null || e2e_fail "the run ended before Escape"
  harness_press "$kRenderer" Escape || e2e_fail "could not press Escape"
  e2e_wait_exit "$run" 10
  echo "the run ended ${E2E_MS} ms after Escape, code $E2E_RC"
  [ "$E2E_RC" = 0 ] || e2e_fail "run exit code $E2E_RC"
}

case_a_silent_uninstall_removes_what_the_install_wrote() {
  clean_slate
  install_silently
  local i
  for i in 1 2 3 4; do
    convert -size 8x8 xc:black -type TrueColor "BMP3:$E2E_DRIVE_C/Tremblix$i.bmp"
  done
  uninstall_silently
  local left
  left=$(ls "$SYS_DIR"/Tremblix* "$E2E_DRIVE_C"/Tremblix[1-4].bmp 2>/dev/null)
  [ -z "$left" ] || e2e_fail "left behind: $left"
  reg_key "$kUninstallKey" >/dev/null && e2e_fail "the uninstall entry is still there"
  reg_value "$kDesktopKey" SCRNSAVE.EXE && e2e_fail "SCRNSAVE.EXE still names Tremblix"
  return 0
}

case_the_settings_file_survives_install_upgrade_and_uninstall() {
  clean_slate
  write_settings
  local before
  before=$(md5sum <"$SYS_DIR/Tremblix.ini")
  install_silently
  expect_equal "the settings file after the install" "$(md5sum <"$SYS_DIR/Tremblix.ini")" "$before"
  install_silently
  expect_equal "the settings file after the upgrade" "$(md5sum <"$SYS_DIR/Tremblix.ini")" "$before"
  uninstall_silently
  [ -f "$SYS_DIR/Tremblix.ini" ] || e2e_fail "the uninstall removed the settings file"
  expect_equal "the settings file after the uninstall" "$(md5sum <"$SYS_DIR/Tremblix.ini")" "$before"
  [ ! -e "$SYS_DIR/Tremblix.scr" ] || e2e_fail "the uninstall left Tremblix.scr"
}

case_uninstall_keeps_another_savers_selection() {
  clean_slate
  install_silently
  cp "$E2E_BUILD/bin/Tremblix.scr" "$SYS_DIR/Other.scr"
  local other="$SYS_WIN\\Other.scr"
  wine reg add "$kDesktopKey" /v SCRNSAVE.EXE /t REG_SZ /d "$other" /f >/dev/null 2>&1 </dev/null
  uninstall_silently
  rm -f "$SYS_DIR/Other.scr"
  expect_equal SCRNSAVE.EXE "$(reg_value "$kDesktopKey" SCRNSAVE.EXE)" "$other"
}

# Over a program it cannot replace (a running saver, say), a silent install
# must not report success.
case_an_install_that_cannot_write_a_program_fails() {
  clean_slate
  install_silently
  printf 'an older renderer' >"$SYS_DIR/Tremblix.dll"
  e2e_make_unwritable "$SYS_DIR/Tremblix.dll"
  wine "$E2E_BUILD/Tremblix-setup.exe" /S </dev/null >/dev/null 2>&1
  local rc=$?
  echo "silent install over an unwritable Tremblix.dll: code $rc"
  [ "$rc" != 0 ] || e2e_fail "the install reported success with the old Tremblix.dll in place"
}

# The two keys and the files an install touches, to compare one install with two.
install_state() {
  reg_key "$kDesktopKey"
  reg_key "$kUninstallKey"
  (cd "$SYS_DIR" && md5sum Tremblix*)
}

case_installing_twice_gives_the_same_result() {
  clean_slate
  install_silently
  local once twice
  once=$(install_state)
  install_silently
  twice=$(install_state)
  [ "$once" = "$twice" ] || e2e_fail "a second install changed: $(diff <(echo "$once") <(echo "$twice"))"
  expect_installed
}

# Waits up to 20 s for the window titled $1 to show an enabled button reading
# $2. NSIS names its Close button a moment before it enables it.
wait_for_button() {
  local deadline=$((SECONDS + 20)) style
  while :; do
    style=$(e2e_probe texts "$1" | tr -d '\r' |
            awk -F'|' -v text="$2" '$1 == "Button" && $4 == text { print $2; exit }')
    [ -n "$style" ] && [ $((0x$style & 0x08000000)) = 0 ] && return 0
    [ $SECONDS -lt $deadline ] || e2e_fail "no enabled button '$2' on '$1' after 20 s"
    sleep 0.2
  done
}

# Starts the installer as a user does, and waits for its welcome page;
# E2E_SETUP is its pid.
open_installer() {
  e2e_start "$E2E_BUILD/Tremblix-setup.exe"
  E2E_SETUP=$E2E_PID
  e2e_wait_window "$kSetupTitle" 15 || e2e_fail "the installer's window did not appear"
  wait_for_button "$kSetupTitle" "インストール(&I)"
}

# Presses Install on the welcome page and waits for the finish page. From the
# install on, the pages add their (blank) subcaption to the title.
readonly kFinishTitle="$kSetupTitle "
install_to_the_finish_page() {
  e2e_probe press "$kSetupTitle" "インストール(&I)" || e2e_fail "no Install button"
  wait_for_button "$kFinishTitle" "完了(&F)"
}

# Presses Finish and expects the installer to end well.
finish_installer() {
  e2e_probe press "$kFinishTitle" "完了(&F)" || e2e_fail "no Finish button"
  e2e_wait_exit "$E2E_SETUP" 10
  [ "$E2E_RC" = 0 ] || e2e_fail "the installer ended with code $E2E_RC"
}

# The style of the finish page's box that opens the display settings.
display_settings_box() {
  e2e_probe texts "$kFinishTitle" | tr -d '\r' | grep -F '|画面のプロパティを開く' | cut -d'|' -f2
}

# Prints the texts of the window titled $1 and checks that the one naming
# $2 is drawn with glyphs the dialog font has.
page_texts() {
  local texts line
  texts=$(e2e_probe texts "$1" | tr -d '\r')
  echo "$texts" | grep -v '^Static|[0-9a-f]*|-|$'
  line=$(grep -F "$2" <<<"$texts" | head -n 1 | cut -d'|' -f4-)
  [ -n "$line" ] || e2e_fail "'$1' says nothing of $2"
  e2e_probe glyphs "ＭＳ Ｐゴシック" "$line" >/dev/null ||
    e2e_fail "the dialog font lacks glyphs of: $line"
  PAGE_TEXTS=$texts
}

# Welcome page, install, finish page, then the uninstaller's pages: Japanese
# throughout, saying where it installs, how to choose the music and what
# becomes of the pictures in C:\. Opening the display settings, the
# install's last step, is not offered where Wine has none.
case_the_interactive_install_and_uninstall_speak_japanese() {
  clean_slate
  open_installer
  sleep 0.5
  e2e_shot installer-welcome
  page_texts "$kSetupTitle" "$SYS_WIN"
  grep -qF "「設定」ボタン" <<<"$PAGE_TEXTS" || e2e_fail "the welcome page does not say how to choose the music"
  grep -qF 'C:\Tremblix1.bmp' <<<"$PAGE_TEXTS" || e2e_fail "the welcome page does not tell of the pictures"

  install_to_the_finish_page
  sleep 0.5
  e2e_shot installer-finish
  page_texts "$kFinishTitle" "「設定」ボタン"
  local box
  box=$(display_settings_box)
  [ -n "$box" ] || e2e_fail "the finish page has no box for the display settings"
  [ $((0x$box & 0x10000000)) = 0 ] || e2e_fail "the display settings are offered where there are none"
  finish_installer
  expect_installed

  e2e_start "$SYS_WIN\Tremblix-uninstall.exe"
  local uninstall="$kUninstallTitle "
  wait_for_button "$uninstall" "ｱﾝｲﾝｽﾄｰﾙ(&U)"
  sleep 0.5
  e2e_shot uninstaller-confirm
  page_texts "$uninstall" 'C:\Tremblix1.bmp'
  e2e_probe press "$uninstall" "ｱﾝｲﾝｽﾄｰﾙ(&U)" || e2e_fail "no Uninstall button"
  wait_for_button "$uninstall" "閉じる(&C)"
  e2e_probe press "$uninstall" "閉じる(&C)" || e2e_fail "no Close button"
  wait_for_uninstaller
  [ ! -e "$SYS_DIR/Tremblix.scr" ] || e2e_fail "the interactive uninstall left Tremblix.scr"
}

# Where there are display settings, the finish page offers them, ticked, and
# the install ends by running the Install verb of a .scr on the installed saver.
case_the_interactive_install_ends_by_opening_the_display_settings() {
  clean_slate
  give_display_settings
  open_installer
  install_to_the_finish_page
  local box
  box=$(display_settings_box)
  [ -n "$box" ] && [ $((0x$box & 0x10000000)) != 0 ] ||
    e2e_fail "the finish page does not offer the display settings"
  finish_installer
  local record=$E2E_DRIVE_C/$kVerbRecord deadline=$((SECONDS + 10))
  until [ -s "$record" ]; do
    [ $SECONDS -lt $deadline ] || e2e_fail "the Install verb did not run"
    sleep 0.1
  done
  sleep 0.2
  expect_equal "the Install verb's file" "$(tr -d '\r\n' <"$record")" "$SYS_WIN\Tremblix.scr"
  forget_display_settings
  expect_installed
}

if [ "${1:-}" = --list ] && [ "${TREMBLIX_WINEARCH:-win32}" = win64 ]; then
  printf '%s\n' "${kWin64Cases[@]}"
  exit 0
fi
e2e_main "$@"
