#!/usr/bin/env bash
# A game played to its end with Down held: straight to the Top Five against high scores, or
# through the initials prompt against low ones, whose initials then stand in quadrone.dat.
. "$(dirname "$0")/lib.sh"

# Five rows of a 20-byte name and a little-endian score.
write_scores() {
    local file=$1 score=$2 row
    : >"$file"
    for row in 1 2 3 4 5; do
        printf 'CPU' >>"$file"
        head -c 17 /dev/zero >>"$file"
        printf "$(printf '\\%03o\\%03o\\%03o\\%03o' $((score & 255)) $((score >> 8 & 255)) \
            $((score >> 16 & 255)) $((score >> 24 & 255)))" >>"$file"
    done
}

plate_shown() {
    local shot
    shot=$(e2e_screenshot "$1")
    [ "$(e2e_pixels_differing "$shot" 234 136 12 153 "$E2E_PICTURES/topscores.bmp")" = "0" ]
}

play_until_the_end() {
    e2e_click 480 190
    e2e_focus
    xdotool keydown Down 2>/dev/null
    local seconds=0
    while [ "$seconds" -lt 60 ] && ! "$@"; do
        sleep 1
        seconds=$((seconds + 1))
    done
    xdotool keyup Down 2>/dev/null
    [ "$seconds" -lt 60 ]
}

e2e_extract_pictures

step "against scores of a million the game ends on the Top Five screen"
e2e_prepare_game
write_scores "$E2E_GAME/quadrone.dat" 1000000
write_scores "$E2E_WORK/high-scores.dat" 1000000
e2e_start_game
e2e_move 5 5
play_until_the_end plate_shown ended-top-five || fail "no Top Five screen within 60 s of Down"
e2e_close_game
cmp -s "$E2E_GAME/quadrone.dat" "$E2E_WORK/high-scores.dat" ||
    fail "a result that did not rank changed quadrone.dat"

step "against scores of 1 the game asks for initials, which are saved on close"
e2e_prepare_game
write_scores "$E2E_GAME/quadrone.dat" 1
e2e_start_game
e2e_move 5 5
# The prompt's line "Enter your initials:" is the only pure white across the board at top 220.
prompt_row() {
    local shot
    shot=$(e2e_screenshot "$1")
    convert "$shot" -crop "240x14+$((ORIGIN_X + 200))+$((ORIGIN_Y + 220))" +repage \
        -fill black +opaque white -format '%[fx:round(mean*w*h)]' info: | grep -qvx 0
}
play_until_the_end prompt_row initials-prompt || fail "no initials prompt within 60 s of Down"
e2e_key A B C
e2e_screenshot initials-typed >/dev/null
e2e_key Return
sleep 0.5
plate_shown after-initials || fail "Enter did not lead to the Top Five screen"
e2e_close_game
[ "$GAME_STATUS" = "0" ] || fail "exit code $GAME_STATUS"
[ "$(head -c 4 "$E2E_GAME/quadrone.dat" | tr -d '\0')" = "ABC" ] || fail "ABC is not the best row of quadrone.dat"
echo "game_over: passed"
