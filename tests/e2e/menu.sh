#!/usr/bin/env bash
# The title menu: hover and pressed pictures under the pointer, the Scores screen with the table
# of quadrone.dat, and Escape back to the menu.
. "$(dirname "$0")/lib.sh"

button_size() {
    identify -format '%w %h' "$E2E_PICTURES/$1.bmp"
}

expect_button() {
    local shot=$1 picture=$2 x=$3 y=$4 size
    size=$(button_size "$picture")
    e2e_expect_picture "$picture" "$shot" "$x" "$y" ${size% *} ${size#* } "$E2E_PICTURES/$picture.bmp"
}

e2e_prepare_game
e2e_extract_pictures
e2e_start_game
e2e_move 5 5

step "hover shows the second picture, a held button the third"
e2e_move 480 190
expect_button "$(e2e_screenshot hover)" play-2 470 180
xdotool mousedown 1
sleep 0.5
expect_button "$(e2e_screenshot pressed)" play-3 470 180
step "sliding off before the release gives no click"
e2e_move 5 5
xdotool mouseup 1
sleep 0.5
expect_button "$(e2e_screenshot slid-off)" play-1 470 180

step "Scores shows the Top Five plate; Escape comes back"
e2e_click 420 270
shot=$(e2e_screenshot top-five)
e2e_expect_picture "score plate edge" "$shot" 234 136 12 153 "$E2E_PICTURES/topscores.bmp"
e2e_key Escape
sleep 0.5
shot=$(e2e_screenshot back-to-title)
e2e_expect_picture "title picture" "$shot" 0 0 400 170 "$E2E_PICTURES/titlescreen.bmp"

e2e_close_game
[ "$GAME_STATUS" = "0" ] || fail "exit code $GAME_STATUS"
echo "menu: passed"
