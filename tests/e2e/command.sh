#!/usr/bin/env bash
# The push button as a reviewer sees it: the gallery program shows every face
# and state; its screenshot is kept for a look.
. "$(dirname "$0")/lib.sh"

readonly kGalleryTitle="Tremblix Command gallery"

case_gallery_shows_every_face_and_state() {
  e2e_start "$E2E_BUILD/tools/command_gallery.exe"
  e2e_wait_window "$kGalleryTitle" 10 || e2e_fail "the gallery did not appear"
  sleep 1
  local rect x y w h
  rect=$(harness_rect "$kGalleryTitle") || e2e_fail "the gallery window is not on the display"
  read -r x y w h <<<"$rect"
  harness_screenshot "$E2E_SHOTS/command-gallery-screen.png"
  convert "$E2E_SHOTS/command-gallery-screen.png" -crop "${w}x${h}+${x}+${y}" +repage \
    "$E2E_SHOTS/command-gallery.png"
  echo "gallery screenshot: $E2E_SHOTS/command-gallery.png"

  local texts
  texts=$(e2e_probe texts "$kGalleryTitle")
  local buttons
  buttons=$(grep -c '^TremblixCommand|' <<<"$texts")
  [ "$buttons" = 24 ] || e2e_fail "expected 24 buttons, found $buttons"
  grep -q '^TremblixCommand|.*|設定$' <<<"$texts" || e2e_fail "no button captioned 設定"
  grep -q '^TremblixCommand|.*|ｷｬﾝｾﾙ$' <<<"$texts" || e2e_fail "no button captioned ｷｬﾝｾﾙ"
  e2e_probe close "$kGalleryTitle"
  e2e_wait_exit "$E2E_PID" 10
  [ "$E2E_RC" = 0 ] || e2e_fail "exit code $E2E_RC"
}

e2e_main "$@"
