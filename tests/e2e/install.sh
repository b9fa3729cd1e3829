#!/usr/bin/env bash
# The installers as a user meets them: silent and interactive installs into
# the system folder, the screen saver selected, the other edition removed, the
# settings kept, and the uninstaller. TREMBLIX_EDITION names the installer
# (x86: Tremblix-setup-x86.exe, x64: Tremblix-setup-x64.exe; by default that
# of TREMBLIX_WINEARCH's Windows). The 32-bit one runs in a 32-bit prefix and,
# with fewer cases, in a 64-bit one, where its folder is syswow64; the 64-bit
# one in a 64-bit prefix, into system32.
. "$(dirname "$0")/lib.sh"

readonly kWinArch=${TREMBLIX_WINEARCH:-win32}
if [ "$kWinArch" = win64 ]; then
  readonly kEdition=${TREMBLIX_EDITION:-x64}
else
  readonly kEdition=${TREMBLIX_EDITION:-x86}
fi
# Cases that read the build's files only, without Wine.
readonly kHostCases=(the_programs_and_the_installer_carry_their_version)
readonly kWin32Cases=(a_silent_install_selects_the_saver_and_it_runs
                      the_companion_runs_for_the_user_and_goes_with_the_uninstall
                      a_silent_uninstall_removes_what_the_install_wrote
                      the_settings_file_survives_install_upgrade_and_uninstall
                      uninstall_keeps_another_savers_selection
                      an_install_that_cannot_write_a_program_fails
                      installing_twice_gives_the_same_result
                      the_administrators_copy_writes_the_system_folder_only
                      the_interactive_install_and_uninstall_speak_japanese
                      the_interactive_install_ends_by_opening_the_display_settings
                      an_installer_started_elevated_does_not_open_the_display_settings
                      a_removal_leaves_a_logon_command_that_mends_each_accounts_choice
                      an_administrators_copy_that_cannot_start_is_told_apart
                      a_program_in_use_goes_at_restart_and_the_caller_hears_3010
                      "${kHostCases[@]}")
readonly kWow64Cases=(a_silent_install_selects_the_saver_and_it_runs
                      a_silent_uninstall_removes_what_the_install_wrote
                      an_install_over_the_other_edition_removes_it_and_keeps_its_settings
                      an_install_over_the_other_edition_switches_each_account_to_it_at_logon
                      the_other_editions_program_in_use_goes_from_the_real_system_folder_at_restart)
readonly kX64Cases=(a_silent_install_selects_the_saver_and_it_runs
                    the_companion_runs_for_the_user_and_goes_with_the_uninstall
                    an_install_over_the_other_edition_removes_it_and_keeps_its_settings
                    installing_twice_gives_the_same_result
                    an_install_that_cannot_write_a_program_fails
                    the_administrators_copy_writes_the_system_folder_only
                    an_uninstall_keeps_the_settings_and_another_savers_selection
                    a_silent_uninstall_removes_what_the_install_wrote
                    the_interactive_install_and_uninstall_speak_japanese
                    the_interactive_install_ends_by_opening_the_display_settings
                    an_installer_started_elevated_does_not_open_the_display_settings
                    a_removal_leaves_a_logon_command_that_mends_each_accounts_choice
                    an_install_over_the_other_edition_switches_each_account_to_it_at_logon
                    an_administrators_copy_that_cannot_start_is_told_apart
                    a_program_in_use_goes_at_restart_and_the_caller_hears_3010
                    the_other_editions_program_in_use_goes_from_the_real_system_folder_at_restart
                    a_signed_installer_writes_a_signed_uninstaller
                    "${kHostCases[@]}")
readonly kDesktopKey='HKCU\Control Panel\Desktop'
readonly kUninstallKey='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tremblix'
readonly kPoliciesKey='HKLM\Software\Microsoft\Windows\CurrentVersion\Policies\System'
readonly kActiveSetupKey='HKLM\Software\Microsoft\Active Setup\Installed Components\{148071DD-B072-49E3-8B81-93670AFFB2A8}'
readonly kSessionKey='HKLM\System\CurrentControlSet\Control\Session Manager'
readonly kSetupTitle="Tremblix セットアップ"
readonly kUninstallTitle="Tremblix アンインストール"
readonly kSetup=Tremblix-setup-$kEdition.exe

# The edition's system folder, as Windows names it (SYS_WIN) and as it lies
# here (SYS_DIR); the other edition's (OTHER_WIN, OTHER_DIR, empty on 32-bit
# Windows); the registry view of each edition's uninstall entry, and Windows'
# own (NATIVE_VIEW).
system_folder() {
  SYS_WIN='C:\windows\system32' SYS_DIR=$E2E_DRIVE_C/windows/system32 VIEW=/reg:32
  OTHER_WIN='' OTHER_DIR='' OTHER_VIEW='' NATIVE_VIEW=/reg:32
  if [ "$kWinArch" = win64 ]; then
    NATIVE_VIEW=/reg:64
    if [ "$kEdition" = x64 ]; then
      VIEW=/reg:64 OTHER_VIEW=/reg:32
      OTHER_WIN='C:\windows\syswow64' OTHER_DIR=$E2E_DRIVE_C/windows/syswow64
    else
      OTHER_VIEW=/reg:64 OTHER_WIN=$SYS_WIN OTHER_DIR=$SYS_DIR
      SYS_WIN='C:\windows\syswow64' SYS_DIR=$E2E_DRIVE_C/windows/syswow64
    fi
  fi
}

# The user's folders: LOCAL_DIR, ROAMING_DIR, TEMP_DIR (Wine's %TEMP%).
user_folders() {
  LOCAL_DIR=$E2E_LOCAL_DATA
  ROAMING_DIR=$E2E_ROAMING_DATA
  TEMP_DIR=$E2E_DRIVE_C/users/$(id -un)/Temp
  [ -d "$LOCAL_DIR" ] && [ -d "$ROAMING_DIR" ] || e2e_fail "no AppData folders for '$(id -un)'"
}

# Reads key $1 in the edition's registry view (or view $2) with one query:
# KEY_VALUES holds its values by name. Fails when there is no such key.
read_key() {
  local out name type data
  KEY_VALUES=()
  out=$(wine reg query "$1" "${2:-$VIEW}" 2>/dev/null </dev/null | tr -d '\r') || return 1
  while IFS=$'\t' read -r name type data; do
    KEY_VALUES[$name]=$data
  done < <(awk 'BEGIN { FS = "    " } NF >= 4 && $1 == "" { print $2 "\t" $3 "\t" $4 }' <<<"$out")
}
declare -A KEY_VALUES

# Prints value $2 of key $1 as read_key last read it; fails when there is none.
key_value() {
  [ -n "${KEY_VALUES[$1]+set}" ] || return 1
  echo "${KEY_VALUES[$1]}"
}

# Prints the data of value $2 of key $1 in the edition's registry view (or
# view $3); fails when there is none.
reg_value() {
  read_key "$1" "${3:-}" && key_value "$2"
}

reg_key() {
  wine reg query "$1" "${2:-$VIEW}" 2>/dev/null </dev/null | tr -d '\r'
}

# Key $1 of HKLM as a .reg file names it in registry view $2, from the
# installers' 64-bit process.
machine_key() {
  local key=${1#HKLM\\}
  if [ "${2:-}" = /reg:32 ] && [ "$kWinArch" = win64 ]; then
    key=${key/#Software\\/Software\\Wow6432Node\\}
  fi
  echo "HKEY_LOCAL_MACHINE\\$key"
}

# What a machine without Tremblix has: no programs, no entry, no saver chosen,
# no logon command, no removal waiting for a restart; nor an uninstaller a
# failed case left open.
clean_slate() {
  system_folder
  user_folders
  local pid view
  for pid in $(prefix_processes '~nsu.*\.tmp|Tremblix-uninstall'); do kill -9 "$pid"; done
  rm -f "$SYS_DIR"/Tremblix* "$E2E_DRIVE_C"/Tremblix[1-4].bmp
  [ -z "$OTHER_DIR" ] || rm -f "$OTHER_DIR"/Tremblix*
  rm -rf "$LOCAL_DIR/Tremblix" "$ROAMING_DIR/Tremblix" "$LOCAL_DIR"/VirtualStore/Tremblix*
  rm -f "$TEMP_DIR"/Tremblix-uninstall*
  # In one start of Wine; Wine's own: no UAC.
  {
    for view in $VIEW $OTHER_VIEW; do echo "[-$(machine_key "$kUninstallKey" "$view")]"; done
    echo "[-$(machine_key "$kActiveSetupKey" "$NATIVE_VIEW")]"
    printf '[%s]\n"PendingFileRenameOperations"=-\n' "$(machine_key "$kSessionKey")"
    printf '[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"SCRNSAVE.EXE"=-\n"ScreenSaveActive"="0"\n'
    printf '[%s]\n"EnableLUA"=dword:00000000\n' "$(machine_key "$kPoliciesKey")"
  } | e2e_reg_import || e2e_fail "could not write the registry values"
  forget_display_settings
}

# Waits up to 10 s until no program that runs the Install verb of a .scr
# (rundll32 with desk.cpl) is left in the prefix.
wait_for_the_install_verb() {
  e2e_until 10 "the Install verb still runs after 10 s" no_prefix_process 'rundll32'
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
  wine "$E2E_BUILD/$kSetup" /S </dev/null >/dev/null 2>&1
  rc=$?
  echo "silent install: code $rc, $(((${EPOCHREALTIME/./} - start) / 1000)) ms"
  [ "$rc" = 0 ] || e2e_fail "the silent install ended with code $rc"
}

# Processes of this prefix whose command line matches $1, zombies left out.
prefix_processes() {
  local pid
  for pid in $(pgrep -f "$1"); do
    [ "$(awk '{print $3}' "/proc/$pid/stat" 2>/dev/null)" = Z ] && continue
    grep -qzxF "WINEPREFIX=$WINEPREFIX" "/proc/$pid/environ" 2>/dev/null &&
      echo "$pid"
  done
}

no_prefix_process() {
  [ -z "$(prefix_processes "$1")" ]
}

# Runs command line $1 as a program hands it to CreateProcess (Wine's cmd runs
# a line it expands from a variable as it stands) and prints the exit code,
# all of it: Wine gives a Unix parent only the low eight bits. No delayed
# expansion: the line's own !errorlevel! is its cmd's, not this one's; "call"
# reads the code once the line has run. With $2, Wine writes there what the
# line starts (see started_programs).
run_command_line() {
  local out
  out=$(TREMBLIX_COMMAND="$1" WINEDEBUG=${2:+$kStartTrace} wine cmd /c \
          '%TREMBLIX_COMMAND% & call echo exit code %^errorlevel%' </dev/null 2>"${2:-/dev/null}" | tr -d '\r')
  [[ $out =~ exit\ code\ (-?[0-9]+) ]] || e2e_fail "no exit code from '$1': $out"
  echo "${BASH_REMATCH[1]}"
}

# Wine has no UAC. What a program starts shows in Wine's trace of the
# processes it creates, and of ShellExecuteEx, whose "runas" verb is what
# asks Windows for an administrator's rights.
readonly kStartTrace=+process,+exec

# From trace $1: "start<TAB>PROGRAM<TAB>COMMAND LINE" for each process
# created (the program Wine ran, else the command line's first word), and
# "runas<TAB>FILE<TAB>PARAMETERS" for each elevation; escapes undone, and the
# doubled separators Wine's cmd leaves in a path.
started_programs() {
  perl -ne '
    sub text { my $t = shift; $t =~ s/\\(.)/$1/g; $t }
    sub path { my $p = shift; $p =~ s/\\+/\\/g; $p }
    if (/CreateProcessInternalW app (?:L"((?:[^"\\]|\\.)*)"|\(null\)) cmdline L"((?:[^"\\]|\\.)*)/) {
      my ($app, $line) = (defined $1 ? text($1) : "", text($2));
      $app = $line =~ /^"([^"]*)"/ ? $1 : (split / /, $line)[0] if $app eq "";
      print "start\t", path($app), "\t$line\n";
    } elsif (/SHELL_execute .* verb=L"runas" file=L"((?:[^"\\]|\\.)*)" parm=L"((?:[^"\\]|\\.)*)"/) {
      print "runas\t", path(text($1)), "\t", text($2), "\n";
    }' "$1"
}

# The allow-list: in trace $1 every elevation runs the installed uninstaller
# in place (_?= its folder), and with $2 = all every program started lies in
# the edition's system folder too, but the test's own cmd that runs the line.
expect_started_from_the_system_folder() {
  local kind program line elevations=0
  while IFS=$'\t' read -r kind program line; do
    echo "$kind: $program | $line"
    if [ "$kind" = runas ]; then
      elevations=$((elevations + 1))
      expect_equal "the file an elevation starts" "${program,,}" "${SYS_WIN,,}\\tremblix-uninstall.exe"
      [[ ${line,,} == *" _?=${SYS_WIN,,}" ]] || e2e_fail "an elevation does not run in place: $line"
    elif [ "${2:-}" = all ] && [[ $line != *%TREMBLIX_COMMAND%* ]]; then
      program=${program,,}
      expect_equal "the folder of a program started ($program)" "${program%\\*}" "${SYS_WIN,,}"
    fi
  done < <(started_programs "$1")
  [ "$elevations" -gt 0 ] || e2e_fail "no elevation in the trace $1"
}

# What waits for the next restart: one file a line, as Windows keeps them.
pending_removals() {
  wine reg query "$kSessionKey" /v PendingFileRenameOperations </dev/null 2>/dev/null |
    tr -d '\r' | awk 'BEGIN { FS = "    " } NF >= 4 { print $4 }' | sed 's/\\0/\n/g' | grep .
}

# Runs the entry's QuietUninstallString as an uninstall tool does and expects
# exit code $1 (0 unless said). Once it has returned, the uninstall is over:
# nothing of it still runs, the programs, the uninstaller and any copy are
# gone, and nothing waits for a restart but what $1 = 3010 says is in use.
# Everything it started lies in the system folder.
uninstall_silently() {
  local quiet code want=${1:-0} start=${EPOCHREALTIME/./} trace=$E2E_TMP/quiet-uninstall.trace
  quiet=$(reg_value "$kUninstallKey" QuietUninstallString) || e2e_fail "no QuietUninstallString"
  code=$(run_command_line "$quiet" "$trace") || exit 1
  echo "silent uninstall: code $code, $(((${EPOCHREALTIME/./} - start) / 1000)) ms"
  expect_started_from_the_system_folder "$trace" all
  local running
  running=$(prefix_processes 'Tremblix-uninstall|~nsu')
  [ -z "$running" ] || e2e_fail "the quiet uninstall returned while its copy runs: $running"
  expect_equal "the quiet uninstall's exit code" "$code" "$want"
  [ ! -e "$SYS_DIR/Tremblix.dll" ] || e2e_fail "the quiet uninstall returned with Tremblix.dll there"
  # Only one it could not delete, queued for the restart with 3010.
  if [ -e "$SYS_DIR/Tremblix-uninstall.exe" ]; then
    [ "$want" = 3010 ] && grep -qiF '\Tremblix-uninstall.exe' <<<"$(pending_removals)" ||
      e2e_fail "the quiet uninstall left the uninstaller"
  fi
  ! compgen -G "$TEMP_DIR/Tremblix-uninstall*" >/dev/null ||
    e2e_fail "the quiet uninstall left its copy: $(ls "$TEMP_DIR"/Tremblix-uninstall*)"
  reg_key "$kUninstallKey" | grep -q . && e2e_fail "the quiet uninstall returned with its entry there"
  if [ "$want" = 0 ]; then
    [ ! -e "$SYS_DIR/Tremblix.scr" ] || e2e_fail "the quiet uninstall returned with Tremblix.scr there"
    local pending
    pending=$(pending_removals)
    [ -z "$pending" ] || e2e_fail "the quiet uninstall left for the restart: $pending"
  fi
}

# The interactive uninstaller hands over to a copy of itself in %TEMP% and
# ends at once; this waits for the copy.
wait_for_uninstaller() {
  e2e_until 30 "the uninstaller's copy still runs after 30 s" no_prefix_process '~nsu.*\.tmp'
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
  read_key "$kDesktopKey" || e2e_fail "no key $kDesktopKey"
  saver=$(key_value SCRNSAVE.EXE) || e2e_fail "SCRNSAVE.EXE is not set"
  echo "SCRNSAVE.EXE = $saver"
  # Wine's short name of Tremblix.scr is the long one: it fits 8.3.
  expect_equal SCRNSAVE.EXE "${saver,,}" "${SYS_WIN,,}\\tremblix.scr"
  expect_equal ScreenSaveActive "$(key_value ScreenSaveActive)" 1

  read_key "$kUninstallKey" || e2e_fail "no uninstall entry"
  expect_equal DisplayName "$(key_value DisplayName)" Tremblix
  expect_equal Publisher "$(key_value Publisher)" Tremblix
  expect_equal DisplayVersion "$(key_value DisplayVersion)" 1.0.0
  expect_equal DisplayIcon "$(key_value DisplayIcon)" "$SYS_WIN\\Tremblix.scr,0"
  expect_equal UninstallString "$(key_value UninstallString)" \
    "\"$SYS_WIN\\Tremblix-uninstall.exe\""
}

# Writes a settings file choosing a song, beside the programs or at $1.
write_settings() {
  printf '[Section]\r\nBGM\x8b\xe6\x95\xaa=2\r\nBGM\xd8\xcb\xdf\xb0\xc4=0\r\nBGM\xcc\xa7\xb2\xd9=C:\\music\\song.mp3\r\n' \
    >"${1:-$SYS_DIR/Tremblix.ini}"
}

case_a_silent_install_selects_the_saver_and_it_runs() {
  clean_slate
  install_silently
  expect_installed
  if [ -n "$OTHER_DIR" ] && compgen -G "$OTHER_DIR/Tremblix*" >/dev/null; then
    e2e_fail "the $kEdition installer wrote into $OTHER_WIN: $(ls "$OTHER_DIR"/Tremblix*)"
  fi

  # Started as Windows starts the selected saver, by the value's path, over a
  # made-up desktop for the ball to reflect.
  e2e_show_desktop
  local saver
  saver=$(reg_value "$kDesktopKey" SCRNSAVE.EXE) || e2e_fail "SCRNSAVE.EXE is not set"
  e2e_start_run "$saver"
  e2e_wait_drawn
  local shot=install-$kEdition-$kWinArch-run
  e2e_shot "$shot"
  e2e_expect_textured_scene "$E2E_SHOTS/$shot.png" "the installed saver"
  kill -0 "$E2E_RUN" 2>/dev/null || e2e_fail "the run ended before Escape"
  e2e_end_with_escape
}

# This user's pictures of every monitor go, with their temporary files and
# the list of them, and the folder with them; so do those earlier versions
# left in C:\ and in the VirtualStore. The saver was Tremblix: it is switched
# off, as "(None)" does.
case_a_silent_uninstall_removes_what_the_install_wrote() {
  clean_slate
  install_silently
  local i
  mkdir -p "$LOCAL_DIR/Tremblix" "$LOCAL_DIR/VirtualStore"
  for i in 1 2 3 4; do
    convert -size 8x8 xc:black -type TrueColor "BMP3:$LOCAL_DIR/Tremblix/Tremblix$i.bmp"
    cp "$LOCAL_DIR/Tremblix/Tremblix$i.bmp" "$E2E_DRIVE_C/Tremblix$i.bmp"
    cp "$LOCAL_DIR/Tremblix/Tremblix$i.bmp" "$LOCAL_DIR/VirtualStore/Tremblix$i.bmp"
  done
  for i in 1 2 3; do
    cp "$LOCAL_DIR/Tremblix/Tremblix1.bmp" "$LOCAL_DIR/Tremblix/Tremblix-2-$i.bmp"
  done
  touch "$LOCAL_DIR/Tremblix/Tremblix-3-1.bmp.tmp" "$LOCAL_DIR/Tremblix/Tremblix2.bmp.old"
  printf 'all\r\n1 0 0 8 8\r\n2 8 0 16 8\r\n' >"$LOCAL_DIR/Tremblix/Tremblix.monitors"
  uninstall_silently
  local left
  left=$(ls -d "$SYS_DIR"/Tremblix* "$E2E_DRIVE_C"/Tremblix[1-4].bmp "$LOCAL_DIR/Tremblix" \
           "$LOCAL_DIR"/VirtualStore/Tremblix* 2>/dev/null)
  [ -z "$left" ] || e2e_fail "left behind: $left"
  reg_key "$kUninstallKey" >/dev/null && e2e_fail "the uninstall entry is still there"
  reg_value "$kDesktopKey" SCRNSAVE.EXE && e2e_fail "SCRNSAVE.EXE still names Tremblix"
  expect_equal ScreenSaveActive "$(reg_value "$kDesktopKey" ScreenSaveActive)" 0
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

# Selects another saver, uninstalls, and expects that selection kept.
uninstall_with_another_saver_selected() {
  cp "$E2E_BUILD/bin/Tremblix.scr" "$SYS_DIR/Other.scr"
  local other="$SYS_WIN\\Other.scr"
  e2e_reg_set "$kDesktopKey" SCRNSAVE.EXE REG_SZ "$other"
  uninstall_silently
  rm -f "$SYS_DIR/Other.scr"
  expect_equal SCRNSAVE.EXE "$(reg_value "$kDesktopKey" SCRNSAVE.EXE)" "$other"
}

case_uninstall_keeps_another_savers_selection() {
  clean_slate
  install_silently
  uninstall_with_another_saver_selected
}

# Over a program it cannot replace (a running saver, say), a silent install
# must not report success.
case_an_install_that_cannot_write_a_program_fails() {
  clean_slate
  install_silently
  printf 'an older renderer' >"$SYS_DIR/Tremblix.dll"
  e2e_make_unwritable "$SYS_DIR/Tremblix.dll" ||
    e2e_skip "this file system cannot make a file unwritable"
  wine "$E2E_BUILD/$kSetup" /S </dev/null >/dev/null 2>&1
  local rc=$?
  echo "silent install over an unwritable Tremblix.dll: code $rc"
  [ "$rc" != 0 ] || e2e_fail "the install reported success with the old Tremblix.dll in place"
  # The administrator's copy failed; the installer the user ran says so.
  expect_equal "the exit code" "$rc" 2
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
    style=$(e2e_texts "$1" | tr -d '\r' |
            awk -F'|' -v text="$2" '$1 == "Button" && $4 == text { print $2; exit }')
    [ -n "$style" ] && [ $((0x$style & 0x08000000)) = 0 ] && return 0
    [ $SECONDS -lt $deadline ] || e2e_fail "no enabled button '$2' on '$1' after 20 s"
    sleep 0.2
  done
}

# Starts the installer as a user does, and waits for its welcome page;
# E2E_SETUP is its pid.
open_installer() {
  e2e_start "$E2E_BUILD/$kSetup"
  E2E_SETUP=$E2E_PID
  e2e_wait_window "$kSetupTitle" || e2e_fail "the installer's window did not appear"
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
  e2e_expect_exit "$E2E_SETUP" 10 "the installer, finished,"
}

# The style of the finish page's box that opens the display settings.
display_settings_box() {
  e2e_texts "$kFinishTitle" | tr -d '\r' | grep -F '|画面のプロパティを開く' | cut -d'|' -f2
}

# Prints the texts of the window titled $1 and checks that the one naming
# $2 is drawn with glyphs the dialog font has.
page_texts() {
  local texts line
  texts=$(e2e_texts "$1" | tr -d '\r')
  echo "$texts" | grep -v '^Static|[0-9a-f]*|-|$'
  line=$(grep -F "$2" <<<"$texts" | head -n 1 | cut -d'|' -f4-)
  [ -n "$line" ] || e2e_fail "'$1' says nothing of $2"
  e2e_probe glyphs "ＭＳ Ｐゴシック" "$line" >/dev/null ||
    e2e_fail "the dialog font lacks glyphs of: $line"
  PAGE_TEXTS=$texts
}

# Welcome page, install, finish page, then the uninstaller's pages: Japanese
# throughout, saying where it installs, how to choose the music and what
# becomes of the pictures. Opening the display settings, the
# install's last step, is not offered where Wine has none. The uninstaller,
# too, hands the system folder to an administrator's copy: the installed
# file, which then goes at the restart without asking for one. An install
# before that restart keeps its uninstaller.
case_the_interactive_install_and_uninstall_speak_japanese() {
  clean_slate
  open_installer
  e2e_wait_still
  e2e_shot installer-welcome
  page_texts "$kSetupTitle" "$SYS_WIN"
  grep -qF "「設定」ボタン" <<<"$PAGE_TEXTS" || e2e_fail "the welcome page does not say how to choose the music"
  grep -qF 'AppData\Local\Tremblix' <<<"$PAGE_TEXTS" || e2e_fail "the welcome page does not tell of the pictures"

  install_to_the_finish_page
  e2e_wait_still
  e2e_shot installer-finish
  page_texts "$kFinishTitle" "「設定」ボタン"
  local box
  box=$(display_settings_box)
  [ -n "$box" ] || e2e_fail "the finish page has no box for the display settings"
  [ $((0x$box & 0x10000000)) = 0 ] || e2e_fail "the display settings are offered where there are none"
  finish_installer
  expect_installed

  local uninstaller trace=$E2E_TMP/interactive-uninstall.trace
  uninstaller=$(reg_value "$kUninstallKey" UninstallString) || e2e_fail "no UninstallString"
  WINEDEBUG=$kStartTrace wine "${uninstaller//\"/}" </dev/null >/dev/null 2>"$trace" &
  E2E_PIDS+=("$!")
  local uninstall="$kUninstallTitle "
  wait_for_button "$uninstall" "ｱﾝｲﾝｽﾄｰﾙ(&U)"
  e2e_wait_still
  e2e_shot uninstaller-confirm
  page_texts "$uninstall" 'AppData\Local\Tremblix'
  e2e_probe press "$uninstall" "ｱﾝｲﾝｽﾄｰﾙ(&U)" || e2e_fail "no Uninstall button"
  wait_for_button "$uninstall" "閉じる(&C)"
  e2e_probe press "$uninstall" "閉じる(&C)" || e2e_fail "no Close button"
  wait_for_uninstaller
  [ ! -e "$SYS_DIR/Tremblix.scr" ] || e2e_fail "the interactive uninstall left Tremblix.scr"
  expect_started_from_the_system_folder "$trace"
  local pending
  pending=$(pending_removals)
  echo "waiting for the restart: ${pending//$'\n'/, }"
  grep -qiF "\??\\$SYS_WIN\Tremblix-uninstall" <<<"$pending" ||
    e2e_fail "the uninstaller does not go at the restart"
  install_silently
  pending=$(pending_removals)
  ! grep -qixF "\??\\$SYS_WIN\Tremblix-uninstall.exe" <<<"$pending" ||
    e2e_fail "the restart would remove the uninstaller an install wrote since"
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
  wait_for_the_install_verb
  expect_equal "the Install verb's file" "$(tr -d '\r\n' <"$record")" "$SYS_WIN\Tremblix.scr"
  forget_display_settings
  expect_installed
}

# The other edition as its installer leaves it: programs, uninstaller and
# entry in its own folder and registry view, the saver selected.
lay_out_the_other_edition() {
  local program
  for program in Tremblix.scr Tremblix.dll Tremblix-uninstall.exe; do
    printf 'the other edition' >"$OTHER_DIR/$program"
  done
  local win=${OTHER_WIN//\\/\\\\}
  {
    printf '[%s]\n"DisplayName"="Tremblix"\n' "$(machine_key "$kUninstallKey" "$OTHER_VIEW")"
    printf '"UninstallString"="\\"%s\\\\Tremblix-uninstall.exe\\""\n' "$win"
    printf '[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"SCRNSAVE.EXE"="%s\\\\Tremblix.scr"\n' "$win"
  } | e2e_reg_import || e2e_fail "could not write the registry values"
  local entry; entry=$(reg_key "$kUninstallKey" "$OTHER_VIEW")
  grep -q DisplayName <<<"$entry" || e2e_fail "could not lay out the other edition's entry: '$entry'"
}

# The other edition's settings file: the 32-bit edition's beside its
# programs, the 64-bit edition's in the roaming profile.
other_settings_file() {
  if [ "$kEdition" = x64 ]; then
    echo "$OTHER_DIR/Tremblix.ini"
  else
    mkdir -p "$ROAMING_DIR/Tremblix"
    echo "$ROAMING_DIR/Tremblix/Tremblix.ini"
  fi
}

# Installing over the other edition leaves one Tremblix in the screen-saver
# list: its programs, uninstaller and entry go; its settings stay.
case_an_install_over_the_other_edition_removes_it_and_keeps_its_settings() {
  clean_slate
  [ -n "$OTHER_DIR" ] || e2e_fail "there is no other edition on $kWinArch"
  lay_out_the_other_edition
  local settings before
  settings=$(other_settings_file)
  write_settings "$settings"
  before=$(md5sum <"$settings")
  install_silently
  local left
  left=$(ls "$OTHER_DIR"/Tremblix* 2>/dev/null | grep -v '/Tremblix\.ini$')
  [ -z "$left" ] || e2e_fail "the other edition is left in $OTHER_WIN: $left"
  reg_key "$kUninstallKey" "$OTHER_VIEW" | grep -q . &&
    e2e_fail "the other edition's entry ($OTHER_VIEW) is still there"
  [ -f "$settings" ] || e2e_fail "the install removed the other edition's settings"
  expect_equal "the other edition's settings" "$(md5sum <"$settings")" "$before"
  expect_installed
}

# The administrator's copy the installer starts of itself writes the system
# folder and the machine's entry, and nothing of the user's.
case_the_administrators_copy_writes_the_system_folder_only() {
  clean_slate
  wine "$E2E_BUILD/$kSetup" /S /ELEVATED </dev/null >/dev/null 2>&1
  local rc=$?
  expect_equal "the copy's exit code" "$rc" 0
  cmp -s "$E2E_BUILD/bin/Tremblix.scr" "$SYS_DIR/Tremblix.scr" || e2e_fail "no Tremblix.scr in $SYS_WIN"
  expect_equal DisplayName "$(reg_value "$kUninstallKey" DisplayName)" Tremblix
  reg_value "$kDesktopKey" SCRNSAVE.EXE && e2e_fail "the administrator's copy selected the saver"
  expect_equal ScreenSaveActive "$(reg_value "$kDesktopKey" ScreenSaveActive)" 0
}

# The 64-bit edition keeps its settings in the roaming profile; an uninstall
# leaves them, another saver's selection, and the user's own files in the
# pictures' folder.
case_an_uninstall_keeps_the_settings_and_another_savers_selection() {
  clean_slate
  install_silently
  mkdir -p "$ROAMING_DIR/Tremblix" "$LOCAL_DIR/Tremblix"
  write_settings "$ROAMING_DIR/Tremblix/Tremblix.ini"
  local before
  before=$(md5sum <"$ROAMING_DIR/Tremblix/Tremblix.ini")
  convert -size 8x8 xc:black -type TrueColor "BMP3:$LOCAL_DIR/Tremblix/Tremblix1.bmp"
  printf 'mine' >"$LOCAL_DIR/Tremblix/notes.txt"
  uninstall_with_another_saver_selected
  expect_equal ScreenSaveActive "$(reg_value "$kDesktopKey" ScreenSaveActive)" 1
  [ -f "$ROAMING_DIR/Tremblix/Tremblix.ini" ] || e2e_fail "the uninstall removed the settings file"
  expect_equal "the settings after the uninstall" \
    "$(md5sum <"$ROAMING_DIR/Tremblix/Tremblix.ini")" "$before"
  [ ! -e "$LOCAL_DIR/Tremblix/Tremblix1.bmp" ] || e2e_fail "the uninstall left a picture"
  [ -f "$LOCAL_DIR/Tremblix/notes.txt" ] || e2e_fail "the uninstall removed a file of the user's"
  [ ! -e "$SYS_DIR/Tremblix.scr" ] || e2e_fail "the uninstall left Tremblix.scr"
}

# Started elevated where UAC is on, the installer cannot open the display
# settings as the user, and does not offer to. Wine runs every program
# elevated and says UAC is off; this case says it is on.
case_an_installer_started_elevated_does_not_open_the_display_settings() {
  clean_slate
  give_display_settings
  e2e_reg_set "$kPoliciesKey" EnableLUA REG_DWORD 1
  open_installer
  install_to_the_finish_page
  local box
  box=$(display_settings_box)
  [ -n "$box" ] || e2e_fail "the finish page has no box for the display settings"
  [ $((0x$box & 0x10000000)) = 0 ] || e2e_fail "an elevated installer offers the display settings"
  finish_installer
  # Whatever the installer started has been started by now: once it has
  # ended too, the record would be there.
  wait_for_the_install_verb
  [ ! -e "$E2E_DRIVE_C/$kVerbRecord" ] || e2e_fail "the Install verb ran from an elevated installer"
  forget_display_settings
  expect_installed
}

# The logon command's component as the installers left it: LOGON_COMMAND
# (its StubPath), LOGON_VERSION.
read_logon_component() {
  read_key "$kActiveSetupKey" "$NATIVE_VIEW" || e2e_fail "no Active Setup component $kActiveSetupKey"
  LOGON_COMMAND=$(key_value StubPath) || e2e_fail "the component has no StubPath"
  LOGON_VERSION=$(key_value Version) || e2e_fail "the component has no Version"
  expect_equal "the component's name" "$(key_value '(Default)')" Tremblix
  expect_equal IsInstalled "$(key_value IsInstalled)" 0x1
  echo "logon command, version $LOGON_VERSION: $LOGON_COMMAND"
}

# An account whose choice is $1 (the saver on) logs on, and Windows runs the
# component's command as Active Setup does. Expects SCRNSAVE.EXE to read $2
# then, in any case (empty: none), and ScreenSaveActive $3.
logon_with_choice() {
  printf '[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"SCRNSAVE.EXE"="%s"\n"ScreenSaveActive"="1"\n' \
    "${1//\\/\\\\}" | e2e_reg_import
  run_command_line "$LOGON_COMMAND" >/dev/null || exit 1
  read_key "$kDesktopKey" || e2e_fail "no key $kDesktopKey"
  local now
  now=$(key_value SCRNSAVE.EXE) || now=""
  echo "chose '$1', then: SCRNSAVE.EXE '$now', ScreenSaveActive $(key_value ScreenSaveActive)"
  expect_equal "SCRNSAVE.EXE after the logon command (chosen: $1)" "${now,,}" "${2,,}"
  expect_equal "ScreenSaveActive after the logon command (chosen: $1)" \
    "$(key_value ScreenSaveActive)" "$3"
}

# The uninstall takes the programs from every account. Each other account's
# choice is mended at its next logon by a command Windows runs (Active
# Setup), which needs nothing of Tremblix and knows it by the text of
# SCRNSAVE.EXE: off where it named Tremblix, in any case; another saver, or a
# Tremblix.scr of the user's own elsewhere, left alone; Tremblix installed
# again before that logon, kept. Each removal raises the component's
# version, so that accounts which ran it once run it again.
case_a_removal_leaves_a_logon_command_that_mends_each_accounts_choice() {
  clean_slate
  install_silently
  uninstall_silently
  read_logon_component
  expect_equal "the component's version after one removal" "$LOGON_VERSION" 1,0,0,1
  local tremblix="$SYS_WIN\Tremblix.scr"
  logon_with_choice "$tremblix" "" 0
  logon_with_choice "${SYS_WIN^^}\TREMBLIX.SCR" "" 0
  logon_with_choice "$SYS_WIN\Other.scr" "$SYS_WIN\Other.scr" 1
  logon_with_choice 'C:\e2e\mine\Tremblix.scr' 'C:\e2e\mine\Tremblix.scr' 1
  install_silently
  logon_with_choice "$tremblix" "$tremblix" 1
  uninstall_silently
  read_logon_component
  expect_equal "the component's version after two removals" "$LOGON_VERSION" 1,0,0,2
}

# Installing one edition takes the other from every account: at its next
# logon each account that chose the other edition is switched to this one.
case_an_install_over_the_other_edition_switches_each_account_to_it_at_logon() {
  clean_slate
  [ -n "$OTHER_DIR" ] || e2e_fail "there is no other edition on $kWinArch"
  lay_out_the_other_edition
  install_silently
  read_logon_component
  expect_equal "the component's version after the other edition's removal" "$LOGON_VERSION" 1,0,0,1
  logon_with_choice "$OTHER_WIN\Tremblix.scr" "$SYS_WIN\Tremblix.scr" 1
  logon_with_choice "${OTHER_WIN^^}\TREMBLIX.SCR" "$SYS_WIN\Tremblix.scr" 1
  logon_with_choice "$OTHER_WIN\Other.scr" "$OTHER_WIN\Other.scr" 1
  # Installing again removes nothing: no account has anything to mend.
  install_silently
  read_logon_component
  expect_equal "the component's version after an install over itself" "$LOGON_VERSION" 1,0,0,1
}

# The administrator's copy cannot be started for another reason than a
# declined prompt: here its file is gone, as it is for an administrator who
# cannot read the network share it was started from. The installer tells
# Windows' reason, not a want of rights, and ends with 3, not 740.
case_an_administrators_copy_that_cannot_start_is_told_apart() {
  clean_slate
  local copy=$E2E_TMP/setup-gone/$kSetup
  mkdir -p "$(dirname "$copy")"
  cp "$E2E_BUILD/$kSetup" "$copy"
  e2e_start "$copy"
  E2E_SETUP=$E2E_PID
  e2e_wait_window "$kSetupTitle" || e2e_fail "the installer's window did not appear"
  wait_for_button "$kSetupTitle" "インストール(&I)"
  rm -f "$copy"
  e2e_probe press "$kSetupTitle" "インストール(&I)" || e2e_fail "no Install button"
  # The box bears the installer's title; from the install on, the page's has a blank more.
  wait_for_button "$kSetupTitle" OK
  local text
  text=$(e2e_texts "$kSetupTitle" | tr -d '\r')
  echo "$text"
  grep -qF "起動できませんでした" <<<"$text" || e2e_fail "the box does not say the copy could not start"
  grep -qF "(エラー 2)" <<<"$text" || e2e_fail "the box does not give Windows' reason (error 2)"
  ! grep -qF "管理者の権限が必要" <<<"$text" || e2e_fail "the box blames the rights"
  e2e_probe press "$kSetupTitle" OK || e2e_fail "no OK button"
  wait_for_button "$kFinishTitle" "キャンセル"
  e2e_probe press "$kFinishTitle" "キャンセル" || e2e_fail "no Cancel button"
  e2e_expect_exit "$E2E_SETUP" 10 "the installer whose copy could not start" 3
  [ ! -e "$SYS_DIR/Tremblix.scr" ] || e2e_fail "Tremblix.scr was installed all the same"
}

# Puts a stand-in program at $1 (its Windows path; $2 on this side) and runs
# it until release_program: the file is in use as a running saver's is. An
# open file would not do: Windows deletes it once it is closed.
readonly kHolder=TremblixFileHolder
readonly kRunKey='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
companion_runs() { [ -n "$(prefix_processes 'Tremblix\.scr /w')" ]; }
logon_command() {
  reg_value 'HKLM\Software\Microsoft\Active Setup\Installed Components\{3B3BD63E-1E77-489B-BCDC-33876224C727}' \
    StubPath "$NATIVE_VIEW"
}

# The companion: the account's startup entry, and every account's from a
# logon command; started for the installing user; ended by an install over
# it and by the uninstall, which takes the entries out.
case_the_companion_runs_for_the_user_and_goes_with_the_uninstall() {
  clean_slate
  install_silently
  e2e_until 10 "no companion runs after the install" companion_runs
  local entry command
  entry=$(reg_value "$kRunKey" Tremblix) command=$(logon_command)
  expect_equal "the startup entry" "${entry,,}" "${SYS_WIN,,}\tremblix.scr /w"
  [[ ${command,,} == *'reg.exe" add "hkcu\'*'run" /v tremblix /d "'"${SYS_WIN,,}"* ]] || e2e_fail "no logon entry"
  install_silently
  expect_installed
  e2e_until 10 "no companion runs after the second install" companion_runs
  uninstall_silently
  ! companion_runs && ! reg_value "$kRunKey" Tremblix || e2e_fail "the uninstall left the companion"
  [[ $(logon_command) == *'reg.exe" delete "HKCU\'*'Run" /v Tremblix /f' ]] || e2e_fail "a logon entry is left"
}

# Holds the program at $1 open as another program may (a scanner): the
# installers end the programs that run from it, not that one.
hold_program() {
  e2e_start "$E2E_BUILD/tools/winprobe.exe" holdfile "$kHolder" "$1" 300
  HOLDER=$E2E_PID
  e2e_wait_window "$kHolder" || e2e_fail "the program at $1 did not start"
}

release_program() {
  e2e_probe close "$kHolder"
  e2e_expect_exit "$HOLDER" 10 "the program in use"
}

# Expects the files waiting for the restart to be those named, in order.
expect_pending_removal() {
  local pending want=() file
  pending=$(pending_removals)
  echo "waiting for the restart: ${pending//$'\n'/, }"
  for file; do want+=("\\??\\${file,,}"); done
  expect_equal "what waits for the restart" "${pending,,}" "$(printf '%s\n' "${want[@]}")"
}

# A program in use cannot go until the restart: the quiet uninstall removes
# everything else, queues that one file, and tells its caller 3010. An
# uninstaller it cannot delete (held by a scanner) is queued after it.
case_a_program_in_use_goes_at_restart_and_the_caller_hears_3010() {
  clean_slate
  install_silently
  hold_program "$SYS_WIN\Tremblix.scr" "$SYS_DIR/Tremblix.scr"
  local stuck=()
  e2e_make_unwritable "$SYS_DIR/Tremblix-uninstall.exe" && stuck=("$SYS_WIN\Tremblix-uninstall.exe")
  uninstall_silently 3010
  expect_pending_removal "$SYS_WIN\Tremblix.scr" "${stuck[@]}"
  release_program
}

# The other edition's program in use: the install queues it for the restart
# by its folder's real name, the one 64-bit Windows reads then (not the
# Sysnative alias a 32-bit program sees), and tells its caller 3010.
case_the_other_editions_program_in_use_goes_from_the_real_system_folder_at_restart() {
  clean_slate
  [ -n "$OTHER_DIR" ] || e2e_fail "there is no other edition on $kWinArch"
  lay_out_the_other_edition
  hold_program "$OTHER_WIN\Tremblix.scr" "$OTHER_DIR/Tremblix.scr"
  local code
  code=$(run_command_line "\"$(e2e_windows_path "$E2E_BUILD/$kSetup")\" /S") || exit 1
  echo "silent install over the other edition in use: code $code"
  expect_equal "the install's exit code" "$code" 3010
  expect_pending_removal "$OTHER_WIN\Tremblix.scr"
  [ ! -e "$OTHER_DIR/Tremblix.dll" ] || e2e_fail "the other edition's Tremblix.dll is left"
  release_program
  expect_installed
}

# The signed release (the test sign.release makes it, with a throwaway
# authority) installs, and what it writes in the system folder is signed: the
# programs, and the uninstaller makensis had signed before packing it in.
case_a_signed_installer_writes_a_signed_uninstaller() {
  local signed=$E2E_BUILD/tests/sign
  [ -f "$signed/release/$kSetup" ] || e2e_fail "no signed release in $signed (sign.release makes it)"
  clean_slate
  wine "$signed/release/$kSetup" /S </dev/null >/dev/null 2>&1
  expect_equal "the signed installer's exit code" "$?" 0
  [ -f "$SYS_DIR/Tremblix-uninstall.exe" ] || e2e_fail "the signed installer wrote no uninstaller"
  "$(dirname "$0")/../sign/expect-signed.sh" "$signed" "$SYS_DIR/Tremblix-uninstall.exe" \
    "$SYS_DIR/Tremblix.scr" "$SYS_DIR/Tremblix.dll" || e2e_fail "a file the signed installer wrote is not signed"
}

# Prints the version resources of $1 as windres reads them, escapes decoded.
version_resource() {
  local text
  text=$(x86_64-w64-mingw32-windres -i "$1" -O rc 2>/dev/null) || e2e_fail "windres cannot read $1"
  text=$(sed -n '/VERSIONINFO/,/^END/p' <<<"$text")
  text=${text//\\x/\\u}
  printf '%b\n' "$text" | sed 's/L"/"/'
}

# Checks that block $2 (language and code page) of the version resources $1
# of file $4 names Tremblix, describes it as $3 and says the build's version.
readonly kVersion=1.0.0
expect_version_block() {
  local block
  block=$(awk -v id="$2" 'tolower($0) ~ "block \"" id "\"" { on = 1; next }
                          on && /END/ { exit } on' <<<"$1")
  [ -n "$block" ] || e2e_fail "$4 has no version block $2"
  local name value
  while IFS='|' read -r name value; do
    grep -qxF "      VALUE \"$name\", \"$value\"" <<<"$block" ||
      e2e_fail "$4 ($2): $name is not '$value': $(grep -F "\"$name\"" <<<"$block")"
  done <<LIST
ProductName|Tremblix
FileDescription|$3
FileVersion|$kVersion
ProductVersion|$kVersion
LIST
}

# Both programs and the installer say what they are and their version, in
# Japanese and English, as Explorer's properties show it.
case_the_programs_and_the_installer_carry_their_version() {
  command -v x86_64-w64-mingw32-windres >/dev/null || e2e_skip "no windres to read the files"
  local bits=32 file text
  [ "$kEdition" = x86 ] || bits=64
  for file in bin/Tremblix.scr bin/Tremblix.dll "$kSetup"; do
    text=$(version_resource "$E2E_BUILD/$file")
    grep -q "FILEVERSION ${kVersion//./, }, 0" <<<"$text" || e2e_fail "$file: no FILEVERSION $kVersion"
    case $file in
      *.scr) expect_version_block "$text" 041104b0 "Tremblix スクリーンセーバー" "$file"
             expect_version_block "$text" 040904b0 "Tremblix screen saver" "$file" ;;
      *.dll) expect_version_block "$text" 041104b0 "Tremblix 描画プログラム" "$file"
             expect_version_block "$text" 040904b0 "Tremblix renderer" "$file" ;;
      *) expect_version_block "$text" 041104b0 "Tremblix セットアップ ($bits ビット版)" "$file"
         expect_version_block "$text" 040904b0 "Tremblix Setup ($bits-bit edition)" "$file" ;;
    esac
    echo "$file: version $kVersion, Japanese and English"
  done
}

case ${1:-} in
  --list)
    if [ "$kWinArch" = win32 ]; then
      printf '%s\n' "${kWin32Cases[@]}"
    elif [ "$kEdition" = x64 ]; then
      printf '%s\n' "${kX64Cases[@]}"
    else
      printf '%s\n' "${kWow64Cases[@]}"
    fi
    exit 0 ;;
  # Reads the build's files only: no Wine prefix.
  the_programs_and_the_installer_carry_their_version)
    E2E_BUILD=${TREMBLIX_BUILD:?set TREMBLIX_BUILD to the windows build folder}
    "case_$1"
    echo "ok: $1"
    exit 0 ;;
esac
e2e_main "$@"
