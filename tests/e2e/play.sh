#!/usr/bin/env bash
# Play: Play starts a game with board, tetrad and preview; arrows move it; Down scores; F1 pauses
# and a click resumes; Escape, Q and F2 return to the title; Play resumes the game left.
. "$(dirname "$0")/lib.sh"

# Non-black pixels in a game-area rectangle of a screenshot.
lit_pixels() {
    convert "$1" -crop "${4}x${5}+$((ORIGIN_X + $2))+$((ORIGIN_Y + $3))" +repage -threshold 8% \
        -format '%[fx:round(mean*w*h)]' info:
}

differs() {
    local count
    count=$(e2e_pixels_differing "$1" "$3" "$4" "$5" "$6" "$2" "$((ORIGIN_X + $3))" "$((ORIGIN_Y + $4))")
    [ "$count" != "0" ]
}

e2e_prepare_game
e2e_extract_pictures
e2e_start_game
e2e_move 5 5

step "Play starts a game: the board, a falling tetrad and the preview"
e2e_click 480 190
shot=$(e2e_screenshot started)
board=$(lit_pixels "$shot" 200 48 240 384)
[ "$board" -gt 0 ] && [ "$board" -lt 20000 ] || fail "the board shows $board lit pixels, not one tetrad"
[ "$(lit_pixels "$shot" 49 180 120 120)" -gt 0 ] || fail "the preview box is empty"

step "holding Left brings the tetrad to the left wall, holding Right to the right wall"
[ "$(lit_pixels "$shot" 200 48 24 200)" = "0" ] || fail "the left column is lit before any move"
e2e_hold_key Left 1.2
shot=$(e2e_screenshot left)
[ "$(lit_pixels "$shot" 200 48 24 300)" -gt 0 ] || fail "the tetrad did not reach the left wall"
e2e_hold_key Right 1.5
shot=$(e2e_screenshot right)
[ "$(lit_pixels "$shot" 200 48 24 300)" = "0" ] || fail "the tetrad stayed at the left wall"
[ "$(lit_pixels "$shot" 416 48 24 300)" -gt 0 ] || fail "the tetrad did not reach the right wall"

step "Down adds points: the score line changes"
before=$(e2e_screenshot before-down)
e2e_hold_key Down 0.6
after=$(e2e_screenshot after-down)
differs "$before" "$after" 480 215 150 14 || fail "the score line did not change"

step "F1 shows the controls picture; a click resumes"
e2e_key F1
shot=$(e2e_screenshot paused)
e2e_expect_picture "controls picture" "$shot" 80 60 480 360 "$E2E_PICTURES/controls.bmp"
e2e_click 300 470
shot=$(e2e_screenshot resumed)
[ "$(e2e_pixels_differing "$shot" 80 60 480 360 "$E2E_PICTURES/controls.bmp")" != "0" ] ||
    fail "the controls picture stayed after the click"

for key in Escape q F2; do
    step "$key returns to the title; Play resumes the game"
    e2e_key "$key"
    shot=$(e2e_screenshot "title-after-$key")
    e2e_expect_picture "title picture" "$shot" 0 0 400 170 "$E2E_PICTURES/titlescreen.bmp"
    e2e_click 480 190
    shot=$(e2e_screenshot "resumed-after-$key")
    [ "$(lit_pixels "$shot" 416 48 24 384)" -gt 0 ] || fail "the resumed board lost its tetrad at the right wall"
done

e2e_close_game
[ "$GAME_STATUS" = "0" ] || fail "exit code $GAME_STATUS"
echo "play: passed"
