#!/usr/bin/env bash
# The settings dialog as a user meets it: Tremblix.scr /c on the virtual
# screen, its look, saving, the close box, the file chooser and the instance
# guard while it is open.
. "$(dirname "$0")/lib.sh"

readonly kJapanese="なし音楽CDMP3、WAV曲目をﾘﾋﾟｰﾄ設定ｷｬﾝｾﾙﾌｧｲﾙを開くすべてのﾓﾆﾀｰに表示"
readonly kMonitors="すべてのﾓﾆﾀｰに表示"
# The middle of the monitors choice's mark at 96 dpi, in the client area:
# (300, 2805) twips and half of its 12 pixels. Blue filled, white open.
readonly kMonitorsMarkX=26 kMonitorsMarkY=193
readonly kMarkFilled="0 64 224" kMarkOpen="255 255 255"

# Waits up to 5 s for the monitors choice's mark, on the screen, to be the
# colour $1 ("r g b", within 16); $2 names it in the log.
e2e_expect_monitors_mark() {
  local cx cy cw ch
  e2e_read_numbers "the dialog's client area" "$(e2e_probe client "$kDialog")" cx cy cw ch
  E2E_MARK_AT="$((cx + kMonitorsMarkX)) $((cy + kMonitorsMarkY))"
  e2e_until 5 "$2 is not ($1)" e2e_monitors_mark_is "$1"
  echo "$2: $R $G $B"
}

e2e_monitors_mark_is() {
  local want=($1) got i d
  harness_screenshot "$E2E_TMP/monitors.png"
  e2e_pixel "$E2E_TMP/monitors.png" $E2E_MARK_AT
  got=("$R" "$G" "$B")
  for i in 0 1 2; do
    d=$((got[i] - want[i]))
    [ ${d#-} -le 16 ] || return 1
  done
}

# Whether the control that has the dialog's keyboard focus shows the text $1.
e2e_focus_on() {
  [ "$(e2e_probe focus "$kDialog" | tr -d '\r' | cut -d'|' -f2-)" = "$1" ]
}

case_dialog_shows_bands_and_readable_japanese() {
  e2e_open_dialog look
  local shot=$E2E_SHOTS/settings-dialog-screen.png
  harness_screenshot "$shot"
  local x y w h
  e2e_read_numbers "the dialog's rectangle" "$(harness_rect "$kDialog")" x y w h
  convert "$shot" -crop "${w}x${h}+${x}+${y}" +repage "$E2E_SHOTS/settings-dialog.png"
  echo "dialog screenshot: $E2E_SHOTS/settings-dialog.png"

  local cx cy cw ch
  e2e_read_numbers "the dialog's client area" "$(e2e_probe client "$kDialog")" cx cy cw ch
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
  local r g b
  e2e_pixel "$shot" $((cx + 470)) $((cy + 16 + 82))
  r=$R g=$G b=$B
  echo "panel middle: $r $g $b"
  [ "$r" = "$g" ] && [ "$g" = "$b" ] && [ "$r" -ge 200 ] || e2e_fail "panel middle is ($got)"

  local texts
  texts=$(e2e_texts "$kDialog")
  echo "$texts"
  local text
  for text in "BGM" "なし" "音楽CD" "MP3、WAV" "曲目をﾘﾋﾟｰﾄ" "https://tremblix.example/" "$kMonitors"; do
    grep -q "^TremblixLabel|.*|$text\$" <<<"$texts" || e2e_fail "no label '$text'"
  done
  for text in "設定" "ｷｬﾝｾﾙ" "..."; do
    grep -qF "|$text" <<<"$(grep '^TremblixCommand|' <<<"$texts")" || e2e_fail "no button '$text'"
  done
  grep -q '^ComboBox|' <<<"$texts" || e2e_fail "no repeat box"
  # Every Japanese character has a glyph in the labels' font: no boxes.
  e2e_probe glyphs "ＭＳ Ｐゴシック" "$kJapanese" || e2e_fail "glyphs missing from the label font"
  # The caption "音楽CD" is drawn in dark ink over the light band.
  local dark=0 i
  e2e_control_at "音楽CD"
  for i in -12 -8 -4 0 4 8 12; do
    e2e_pixel "$shot" $((X + i)) "$Y"
    [ "$R" -lt 100 ] && dark=$((dark + 1))
  done
  [ "$dark" -ge 1 ] || e2e_fail "the caption 音楽CD shows no ink"

  # The monitors choice, checked, its caption over the bands: beside its
  # letters each pixel is the band of its row, as the dialog's right edge
  # shows it.
  e2e_expect_pixel "$shot" $((cx + kMonitorsMarkX)) $((cy + kMonitorsMarkY)) "$kMarkFilled" \
    "the monitors mark, checked by default,"
  local lx ly lw lh
  e2e_read_numbers "the monitors caption" "$(e2e_probe child "$kDialog" "$kMonitors")" lx ly lw lh
  convert "$shot" -crop "${lw}x${lh}+$((cx + lx))+$((cy + ly))" +repage "$E2E_TMP/caption.png"
  convert "$shot" -crop "1x${lh}+$((cx + cw - 3))+$((cy + ly))" +repage -scale "${lw}x${lh}!" \
    "$E2E_TMP/caption-bands.png"
  local off
  off=$(e2e_differing_pixels "$E2E_TMP/caption.png" "$E2E_TMP/caption-bands.png")
  echo "monitors caption ${lw}x$lh at ($lx, $ly): $off pixels off the bands"
  [ $((off * 2)) -lt $((lw * lh)) ] || e2e_fail "the monitors caption hides the bands ($off pixels)"
  [ "$off" -gt 20 ] || e2e_fail "the monitors caption shows no letters"
  e2e_probe close "$kDialog" || e2e_fail "no dialog to close"
  e2e_expect_exit "$DIALOG_PID" 10 "the dialog, closed,"
}

# The dialog as a screen reader in another process reads it (winprobe
# accessible): "name|role|state|action", the focus (4) left out of the state,
# but for the marks' windows (invisible, 8000), which stand for their choices.
e2e_read_aloud() {
  local name role state action
  while IFS='|' read -r name role state action; do
    [ -n "$state" ] && (((16#$state & 0x8000) == 0)) && printf '%s|%s|%08x|%s\n' "$name" "$role" $((16#$state & ~0x4)) "$action"
  done < <(e2e_probe accessible "$kDialog" | tr -d '\r')
}

# Every line of $2 is in $1, what the reader read, and its name there once.
e2e_expect_read() {
  local want
  while IFS= read -r want; do
    [ "$(grep -c "^${want%%|*}|" <<<"$1")" = 1 ] && grep -qxF "$want" <<<"$1" || e2e_fail "'$want' not read once: $1"
  done <<<"$2"
}

case_set_writes_the_file_and_ends() {
  e2e_open_dialog set
  local read state
  read=$(e2e_read_aloud)
  echo "$read"
  e2e_expect_read "$read" "なし|45|00100010|選ぶ
音楽CD|45|00100000|選ぶ
MP3、WAV|45|00100000|選ぶ
音楽ファイルを選ぶ|43|00000001|
すべてのﾓﾆﾀｰに表示|44|00100010|切り替える
設定|43|00100100|押す
ｷｬﾝｾﾙ|43|00100000|押す
https://tremblix.example/|30|00500000|開く"
  # The repeat box, Windows' own object, unavailable (1) with no CD chosen, as its edit field
  # (42) says; its name, given by Dynamic Annotation, only a real Windows keeps.
  state=$(grep '^[^|]*|42|' <<<"$read" | head -1 | cut -d'|' -f3)
  [ -n "$state" ] && (((16#$state & 0x1) != 0)) || e2e_fail "the repeat box reads available with no CD chosen"
  e2e_click_control "音楽CD"
  read=$(e2e_read_aloud)
  e2e_expect_read "$read" "なし|45|00100000|選ぶ
音楽CD|45|00100010|選ぶ"
  state=$(grep '^[^|]*|42|' <<<"$read" | head -1 | cut -d'|' -f3)
  [ -n "$state" ] && (((16#$state & 0x1) == 0)) || e2e_fail "the repeat box reads unavailable with the CD chosen"
  # 設定's default action, as a reader performs it.
  e2e_probe act "$kDialog" "設定" || e2e_fail "設定 took no default action"
  e2e_expect_exit "$DIALOG_PID" 10 "the dialog, after 設定,"
  [ -f "$INI" ] || e2e_fail "no settings file was written"
  e2e_ini_text
  grep -qx '\[Section\]' <<<"$(e2e_ini_text)" || e2e_fail "no section"
  grep -qx 'BGM区分=1' <<<"$(e2e_ini_text)" || e2e_fail "kind not saved as 1"
  grep -qx 'BGMﾘﾋﾟｰﾄ=0' <<<"$(e2e_ini_text)" || e2e_fail "repeat not saved as 0"
  grep -qx 'BGMﾌｧｲﾙ=' <<<"$(e2e_ini_text)" || e2e_fail "file not saved empty"
}

# Taps a key on the dialog: down and up together, as xdotool makes them.
e2e_key() {
  harness_tap "$kDialog" "$1" || e2e_fail "could not press $1"
}

# The keyboard alone: the focus starts on the chosen kind, Up twice goes
# round the top to MP3、WAV, Tab passes the disabled repeat box to the file
# button whose Space opens the chooser, Tab reaches the monitors choice and
# Space turns it over, Enter saves all three. The next start, from a file
# that says " 0" as a hand writes it, opens the choice unchecked; a click
# turns it over and Escape leaves the file as it was.
case_the_keyboard_alone_chooses_picks_turns_over_saves_and_cancels() {
  local path='C:\e2e\keyboard\music\tune.mp3'
  e2e_open_dialog keyboard
  mkdir -p "$DIR/music"
  printf 'x' >"$DIR/music/tune.mp3"
  e2e_expect_monitors_mark "$kMarkFilled" "the monitors mark, no settings file,"
  e2e_until 5 "the focus did not start on the chosen kind" e2e_focus_on "なし"
  e2e_key Up
  e2e_key Up
  e2e_until 5 "Up twice from なし did not come round to MP3、WAV" e2e_focus_on "MP3、WAV"
  e2e_key Tab
  e2e_until 5 "Tab from the kinds did not reach the file button" e2e_focus_on "..."
  e2e_key space
  e2e_pick_file "$path"
  e2e_expect_file_label "$path"
  e2e_key Tab
  e2e_until 5 "Tab from the file button did not reach $kMonitors" e2e_focus_on "$kMonitors"
  e2e_wait_still
  e2e_shot settings-dialog-keyboard
  e2e_key space
  e2e_expect_monitors_mark "$kMarkOpen" "the monitors mark after Space"
  e2e_key Return
  e2e_expect_exit "$DIALOG_PID" 10 "the dialog, after Enter,"
  e2e_ini_text
  grep -qx 'Monitors=0' <<<"$(e2e_ini_text)" || e2e_fail "the primary alone was not saved"
  grep -qx 'BGM区分=2' <<<"$(e2e_ini_text)" || e2e_fail "kind not saved as 2"
  grep -qxF "BGMﾌｧｲﾙ=$path" <<<"$(e2e_ini_text)" || e2e_fail "the file was not saved"

  # As an older copy or a hand writes it: the key after the others, its
  # blank kept.
  e2e_write_settings keyboard " 2" " 0" "$path"
  printf 'Monitors= 0\r\n' >>"$INI"
  local before
  before=$(md5sum <"$INI")
  e2e_open_dialog keyboard again
  e2e_expect_monitors_mark "$kMarkOpen" "the monitors mark from ' 0'"
  e2e_click_control "$kMonitors"
  e2e_expect_monitors_mark "$kMarkFilled" "the monitors mark after a click on its caption"
  e2e_key Escape
  e2e_expect_exit "$DIALOG_PID" 10 "the dialog, after Escape,"
  [ "$(md5sum <"$INI")" = "$before" ] || e2e_fail "Escape changed the settings file: $(e2e_ini_text)"
}

case_close_box_writes_nothing() {
  e2e_open_dialog closebox
  local x y w h
  e2e_read_numbers "the dialog's rectangle" "$(harness_rect "$kDialog")" x y w h
  # The close box sits at the right end of the caption that Wine draws.
  xdotool mousemove $((x + w - 13)) $((y + 12)) sleep 0.1 click 1
  e2e_expect_exit "$DIALOG_PID" 10 "the dialog, after its close box,"
  [ ! -e "$INI" ] || e2e_fail "the close box wrote the settings file"
}

case_a_second_start_ends_at_once_while_open() {
  e2e_open_dialog guard
  local args
  # Watched from before the starts until they have ended: a run's window
  # that came and went at once is seen too.
  e2e_watch_window Tremblix_Main
  for args in /c /s; do
    e2e_start "$SCR" $args
    e2e_expect_exit "$E2E_PID" 10 "'$args'"
  done
  e2e_watched && e2e_fail "a full-screen run started"
  kill -0 "$DIALOG_PID" || e2e_fail "the open dialog was disturbed"
  e2e_probe close "$kDialog" || e2e_fail "no dialog to close"
  e2e_expect_exit "$DIALOG_PID" 10 "the dialog, closed,"
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
    e2e_wait_window "$kChooser" || e2e_fail "click $round on ... opened no chooser"
    e2e_probe close "$kChooser" || e2e_fail "no chooser to close"
    e2e_until 5 "the chooser did not close" e2e_window_gone "$kChooser"
    # The pointer has not moved; a person takes a moment before clicking again.
    [ "$round" = 2 ] || xdotool sleep 0.3 click 1
  done
  e2e_control_at "設定"
  local x=$X y=$Y
  e2e_probe close "$kDialog" || e2e_fail "no dialog to close"
  e2e_expect_exit "$DIALOG_PID" 10 "the dialog, closed,"

  # The dialog opens at the same place, now under a pointer resting on 設定.
  xdotool mousemove "$x" "$y"
  e2e_open_dialog same-pixel again
  # To the dialog's background beside it and back, as a hand does.
  local gone; gone=$(grep -c 'saw the resting pointer go' "$E2E_TIMES")
  xdotool mousemove $((x - 80)) "$y"
  e2e_wait_marks 'saw the resting pointer go' 1 "$DIALOG_PID" "$gone"
  xdotool mousemove "$x" "$y" sleep 0.3 click 1
  e2e_expect_exit "$DIALOG_PID" 10 "the dialog, after a click on 設定,"
  [ -f "$INI" ] || e2e_fail "the click on 設定 saved nothing"
}

# The pointer that clicked ｷｬﾝｾﾙ rests where the next dialog shows its ｷｬﾝｾﾙ:
# a click there without a move, as soon as the window is mapped, ends the
# program like any Cancel.
case_a_click_on_cancel_under_a_resting_pointer_ends_the_program() {
  e2e_open_dialog resting-cancel
  e2e_click_control "ｷｬﾝｾﾙ"
  e2e_expect_exit "$DIALOG_PID" 10 "the dialog, after ｷｬﾝｾﾙ,"
  e2e_start "$SCR" /c
  DIALOG_PID=$E2E_PID
  e2e_until 10 "the dialog was not mapped again" xdotool search --onlyvisible --name "^$kDialog\$"
  xdotool click 1
  e2e_expect_exit "$DIALOG_PID" 10 "the dialog, after a click on ｷｬﾝｾﾙ without a move,"
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
  e2e_expect_exit "$DIALOG_PID" 10 "the dialog, after 設定,"
  e2e_ini_text
  grep -qx 'BGM区分=2' <<<"$(e2e_ini_text)" || e2e_fail "kind not saved as 2"
  grep -qxF "BGMﾌｧｲﾙ=$path" <<<"$(e2e_ini_text)" || e2e_fail "the file was not saved"
}

# --- Opened by a page -------------------------------------------------------

readonly kPage="Screen Saver Page"

# The page's window, from another process, as the display settings' Settings
# button starts the saver: /c:HWND.
case_the_page_that_opens_it_owns_it_and_waits() {
  e2e_preview_host "$kPage" 60 420 300 framed
  local page=$E2E_HOST
  e2e_open_dialog owned "" "/c:$page"
  local owner
  owner=$(e2e_probe owner "$kDialog" | tr -d '\r')
  echo "page $page, the dialog's owner $owner"
  [ "$owner" = "$page" ] || e2e_fail "the dialog's owner is $owner, not the page $page"
  e2e_probe enabled "$kPage"
  [ $? = 5 ] || e2e_fail "the page takes input while the dialog is open"
  # Centred over the page.
  local px py pw ph dx dy dw dh
  e2e_read_numbers "the page's rectangle" "$(harness_rect "$kPage")" px py pw ph
  e2e_read_numbers "the dialog's rectangle" "$(harness_rect "$kDialog")" dx dy dw dh
  [ $(((2 * dx + dw) - (2 * px + pw))) -le 2 ] && [ $(((2 * px + pw) - (2 * dx + dw))) -le 2 ] &&
    [ $(((2 * dy + dh) - (2 * py + ph))) -le 2 ] && [ $(((2 * py + ph) - (2 * dy + dh))) -le 2 ] ||
    e2e_fail "the dialog at $dx,$dy ${dw}x$dh is not centred over the page at $px,$py ${pw}x$ph"
  e2e_shot settings-dialog-owned
  e2e_click_control "ｷｬﾝｾﾙ"
  e2e_expect_exit "$DIALOG_PID" 10 "the dialog, after ｷｬﾝｾﾙ,"
  e2e_probe enabled "$kPage" || e2e_fail "the page was left disabled"
}

case_a_page_closed_while_open_leaves_a_dialog_that_closes_cleanly() {
  e2e_preview_host "$kPage" 60 420 300 framed
  local page_pid=$E2E_HOST_PID
  e2e_open_dialog page-gone "" "/c $E2E_HOST"
  e2e_probe close "$kPage" || e2e_fail "no page to close"
  e2e_until 10 "the page did not close" e2e_window_gone "$kPage"
  e2e_wait_exit "$page_pid" 10
  kill -0 "$DIALOG_PID" 2>/dev/null || e2e_fail "the dialog ended with its page"
  e2e_probe exists "$kDialog" || e2e_fail "the dialog went with its page"
  e2e_until 5 "the dialog keeps the page's handle as its owner" e2e_unowned "$kDialog"
  e2e_click_control "ｷｬﾝｾﾙ"
  e2e_expect_exit "$DIALOG_PID" 10 "the dialog, its page gone, after ｷｬﾝｾﾙ,"
}

e2e_unowned() {
  [ "$(e2e_probe owner "$1" | tr -d '\r')" = 0 ]
}

# --- At every scaling --------------------------------------------------------

# Windows' display scaling, as LogPixels sets it; the server reads it when it
# starts. Undone at the case's end.
e2e_scaling() {
  e2e_reg_set 'HKCU\Control Panel\Desktop' LogPixels REG_DWORD "$1"
  harness_prefix_stop "$WINEPREFIX"
  harness_prefix_ready "$WINEPREFIX" || e2e_fail "no Wine prefix at $1 dpi"
}

# At 100, 125, 150 and 200 %: the client area in proportion to 96 dpi's
# within a pixel, every control inside it and no text cut. A screenshot of
# each is kept.
case_the_dialog_is_laid_out_at_every_scaling() {
  local dpi first=1 cx cy cw ch misfits dpis="96 120 144 192"
  # Under 932 the longest texts at the largest scaling; the rest is the same.
  [ "${TREMBLIX_CODEPAGE:-1252}" = 1252 ] || dpis=192
  for dpi in $dpis; do
    e2e_scaling "$dpi"
    if [ "$first" = 1 ]; then e2e_open_dialog scaled; first=0; else e2e_open_dialog scaled again; fi
    e2e_read_numbers "the dialog's client area" "$(e2e_probe client "$kDialog")" cx cy cw ch
    echo "$dpi dpi: client area $cw x $ch"
    # 496 x 243 at 96 dpi; within a pixel of that times dpi / 96.
    local dw=$((cw * 96 - 496 * dpi)) dh=$((ch * 96 - 243 * dpi))
    [ ${dw#-} -le 96 ] && [ ${dh#-} -le 96 ] ||
      e2e_fail "at $dpi dpi the client area is $cw x $ch, not 496 x 243 scaled by $dpi / 96"
    # The labels' and buttons' font, 9.75 points at this dpi.
    misfits=$(e2e_probe fits "$kDialog" "ＭＳ Ｐゴシック" $(((195 * dpi + 720) / 1440))) ||
      e2e_fail "at $dpi dpi: ${misfits//$'\r'/}"
    harness_screenshot "$E2E_TMP/scaled.png"
    convert "$E2E_TMP/scaled.png" -crop "${cw}x${ch}+${cx}+${cy}" +repage \
      "$E2E_SHOTS/settings-dialog-${dpi}dpi.png"
    echo "dialog at $dpi dpi: $E2E_SHOTS/settings-dialog-${dpi}dpi.png"
    # The bands' middle row is lavender at every scale.
    e2e_expect_pixel "$E2E_SHOTS/settings-dialog-${dpi}dpi.png" $((cw - 3)) $((ch / 2)) \
      "220 220 250" "the middle band at $dpi dpi"
    e2e_probe close "$kDialog" || e2e_fail "no dialog to close"
    e2e_expect_exit "$DIALOG_PID" 10 "the dialog at $dpi dpi, closed,"
  done
}

e2e_main "$@"
