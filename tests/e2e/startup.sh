#!/usr/bin/env bash
# Start-up: the log lines in their order, the title picture and its buttons on the screen, and
# a clean end through the close box with the scores saved.
. "$(dirname "$0")/lib.sh"

expected_log() {
    printf '%s\n' "-----------------" "Initializing..." "Window Created" "DirectDraw initialized" \
        "DirectInput initialized" "DirectSound initialized"
    local name i
    for name in titlescreen background controls; do
        printf '%s\nBitmap loaded\n' "$name.bmp"
    done
    for i in 1 2 3 4 5 6 7; do
        printf 'block%s.bmp\nBitmap loaded\nblock%s-ghost.bmp\nBitmap loaded\n' "$i" "$i"
    done
    for i in 1 2 3; do
        printf 'spark%s.bmp\nBitmap loaded\n' "$i"
    done
    for name in topscores static1 static2 play-1 play-2 play-3 scores-1 scores-2 scores-3 quit-1 quit-2 quit-3; do
        printf '%s\nBitmap loaded\n' "$name.bmp"
    done
    printf '%s\n' "Graphics loaded" "Sounds loaded" "Starting game..."
}

e2e_prepare_game
e2e_extract_pictures
step "start-up writes its lines in order, with 64 lines for the pictures"
e2e_start_game
diff <(expected_log) <(e2e_log_lines | head -n "$(expected_log | wc -l)") || fail "start-up log differs"
[ -z "$(e2e_boxes)" ] || fail "a message box came up at start-up"

step "the title picture and the three buttons in their normal state"
e2e_move 5 5
sleep 0.5
shot=$(e2e_screenshot title)
e2e_expect_picture "title picture" "$shot" 0 0 400 170 "$E2E_PICTURES/titlescreen.bmp"
for button in "play 470 180" "scores 410 260" "quit 470 338"; do
    set -- $button
    size=$(identify -format '%w %h' "$E2E_PICTURES/$1-1.bmp")
    e2e_expect_picture "$1 button" "$shot" "$2" "$3" ${size% *} ${size#* } "$E2E_PICTURES/$1-1.bmp"
done

step "the close box ends the program with exit code 0 and saves the scores"
e2e_close_game
[ "$GAME_STATUS" = "0" ] || fail "exit code $GAME_STATUS"
[ "$(stat -c %s "$E2E_GAME/quadrone.dat")" = "120" ] || fail "quadrone.dat is not 120 bytes"
echo "startup: passed"
