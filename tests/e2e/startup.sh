#!/usr/bin/env bash
# Start-up of Tremblix.scr as a user meets it: the switches, the instance guard
# and the message for a missing renderer.
. "$(dirname "$0")/lib.sh"

readonly kMessageTitle="Tremblix (ScreenSaver)"
readonly kMessageText="Tremblix.dll が同じﾌｫﾙﾀﾞに見つかりません！"

case_missing_renderer_shows_the_message() {
  local scr
  scr=$(e2e_install no-renderer no-renderer)
  e2e_start "$scr" /c
  e2e_wait_window "$kMessageTitle" || e2e_fail "no message box appeared"
  e2e_shot missing-renderer-message

  local texts
  texts=$(e2e_texts "$kMessageTitle")
  echo "$texts"
  grep -qx "window|.*|$kMessageTitle" <<<"$texts" || e2e_fail "the caption is not exact"
  grep -qx "Static|.*|-|$kMessageText" <<<"$texts" || e2e_fail "the message text is not exact"
  [ "$(grep -c '^Button|' <<<"$texts")" = 1 ] || e2e_fail "expected one button"
  grep -qx 'Button|.*|OK' <<<"$texts" || e2e_fail "the button is not OK"
  grep -q '^Static|.*|image|' <<<"$texts" && e2e_fail "the message shows an icon"
  # The system's dialog font, or the fonts it falls back to, draws every
  # character: no boxes.
  e2e_probe glyphs "MS Shell Dlg" "$kMessageText" || e2e_fail "glyphs missing from the message font"

  e2e_probe exists "<Tremblix>" && e2e_fail "the settings dialog opened"
  e2e_probe press "$kMessageTitle" OK || e2e_fail "could not press OK"
  e2e_expect_exit "$E2E_PID" 10 "the program, its message closed,"
}

# Asked for by a page (/c:HWND), the message is the page's, as the dialog
# would have been: the page waits until it is closed.
case_missing_renderer_message_is_owned_by_the_page() {
  local scr
  scr=$(e2e_install no-renderer-owned no-renderer)
  e2e_preview_host "Screen Saver Page" 30 420 300 framed
  local page=$E2E_HOST
  e2e_start "$scr" "/c:$page"
  e2e_wait_window "$kMessageTitle" || e2e_fail "no message box appeared"
  local owner
  owner=$(e2e_probe owner "$kMessageTitle" | tr -d '\r')
  [ "$owner" = "$page" ] || e2e_fail "the message's owner is $owner, not the page $page"
  e2e_probe enabled "Screen Saver Page"
  [ $? = 5 ] || e2e_fail "the page takes input while the message is open"
  e2e_probe press "$kMessageTitle" OK || e2e_fail "could not press OK"
  e2e_expect_exit "$E2E_PID" 10 "the program, its message closed,"
  e2e_probe enabled "Screen Saver Page" || e2e_fail "the page was left disabled"
}

case_missing_renderer_in_full_screen_too() {
  local scr
  scr=$(e2e_install no-renderer-s no-renderer)
  e2e_start "$scr" /s
  e2e_wait_window "$kMessageTitle" || e2e_fail "no message box appeared"
  e2e_probe exists Tremblix_Main && e2e_fail "the run started without its renderer"
  e2e_probe press "$kMessageTitle" OK || e2e_fail "could not press OK"
  e2e_expect_exit "$E2E_PID" 10 "the program, its message closed,"
}

case_unknown_switch_ends_silently() {
  local scr
  scr=$(e2e_install unknown)
  e2e_watch_window "$kMessageTitle"
  e2e_start "$scr" /x
  e2e_expect_exit "$E2E_PID" 10 "'/x'"
  e2e_watched && e2e_fail "a message appeared"
  return 0
}

case_a_running_full_screen_keeps_others_out() {
  local scr
  scr=$(e2e_install guard)
  e2e_hold Tremblix_Main 30
  local holder=$E2E_PID
  # A real host: a preview that got through would stay in it.
  e2e_preview_host "Preview Host" 15
  for args in /s /c "/p $E2E_HOST" ""; do
    # Watched from before the start until its end: a dialog that came and
    # went at once is seen too.
    e2e_watch_window "<Tremblix>"
    e2e_start "$scr" $args
    e2e_expect_exit "$E2E_PID" 10 "'$args'"
    e2e_watched && e2e_fail "'$args' opened the dialog"
  done
  e2e_probe child "Preview Host" "Preview Window" && e2e_fail "a preview was embedded"
  kill -0 "$holder" || e2e_fail "the first instance was disturbed"
}

case_an_open_dialog_keeps_others_out() {
  local scr
  scr=$(e2e_install guard-dialog)
  e2e_hold "<Tremblix>" 30
  e2e_preview_host "Preview Host" 15
  e2e_start "$scr" /p "$E2E_HOST"
  e2e_expect_exit "$E2E_PID" 10 "the preview"
  e2e_probe child "Preview Host" "Preview Window" && e2e_fail "a preview was embedded"
  return 0
}

case_settings_mode_shows_its_dialog_and_ends() {
  local scr
  scr=$(e2e_install settings)
  e2e_start "$scr" /c
  e2e_wait_window "<Tremblix>" || e2e_fail "the dialog did not appear"
  e2e_shot settings-mode
  e2e_probe close "<Tremblix>" || e2e_fail "no dialog to close"
  e2e_expect_exit "$E2E_PID" 10 "the dialog, closed,"
}

# Explorer's Configure starts a saver without arguments: the settings, no run.
case_no_arguments_open_the_settings_dialog() {
  local scr
  scr=$(e2e_install no-arguments)
  e2e_watch_window "$kRenderer"
  e2e_start "$scr"
  e2e_wait_window "<Tremblix>" || e2e_fail "no settings dialog appeared"
  e2e_probe exists Tremblix_Main && e2e_fail "a full-screen run started"
  e2e_shot no-arguments
  e2e_probe close "<Tremblix>" || e2e_fail "no dialog to close"
  e2e_expect_exit "$E2E_PID" 10 "the dialog, closed,"
  e2e_watched && e2e_fail "the renderer was started"
  return 0
}

case_full_screen_mode_carries_its_marker() {
  local scr
  scr=$(e2e_install fullscreen)
  e2e_start "$scr" /s
  e2e_wait_window Tremblix_Main || e2e_fail "the run's marker window did not appear"
  e2e_wait_window Tremblix_VC || e2e_fail "the renderer did not start"
  harness_press Tremblix_VC Escape || e2e_fail "could not press Escape"
  e2e_expect_exit "$E2E_PID" 10 "the run, after Escape,"
}

case_preview_without_a_host_ends_at_once() {
  local scr
  scr=$(e2e_install preview)
  e2e_start "$scr" /p 1234567
  e2e_expect_exit "$E2E_PID" 10 "the preview without a host"
}

e2e_main "$@"
