#!/usr/bin/env bash
# F6 between a window and full screen, twice, with every picture back and the game still
# playable, and "/full" on the command line. The shared virtual display has no 640 x 480 mode,
# so there each switch must log why it failed and come back to the window; full screen itself
# runs on a private display whose one mode is 640 x 480 (there the window does not fit, so only
# the full-screen pictures are compared).
. "$(dirname "$0")/lib.sh"

MODE_LINES='^(Failed setting 32 bit display, attempting 16 bit|Failed setting 16 bit dispaly mode, attempting 8 bit|Failed setting 8 bit display mode\.\.\. giving up|Display switch failed, returning to the previous mode)$'

lit_pixels() {
    convert "$1" -crop "${4}x${5}+$((ORIGIN_X + $2))+$((ORIGIN_Y + $3))" +repage -threshold 8% \
        -format '%[fx:round(mean*w*h)]' info:
}

expect_play_screen() {
    local shot
    shot=$(e2e_screenshot "$1")
    e2e_expect_picture "background after $1" "$shot" 0 0 190 40 "$E2E_PICTURES/background.bmp"
    [ "$(lit_pixels "$shot" 200 48 240 384)" -gt 0 ] || fail "no tetrad on the board after $1"
}

expect_playable() {
    e2e_hold_key Left 1.2
    local shot
    shot=$(e2e_screenshot "$1")
    [ "$(lit_pixels "$shot" 200 48 24 384)" -gt 0 ] || fail "Left no longer moves the tetrad ($1)"
}

expect_no_other_failures() {
    if e2e_log_lines | grep -E 'Failed|Error|failed' | grep -vE "$MODE_LINES"; then
        fail "the switches logged other failures"
    fi
}

# Wine's desktop process belongs to the display it started on; a game on another display must
# not share it, or its mode switch can hang. Both displays get a session of their own.
restart_wine_session() {
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    wineserver -p
}

# Xvfb offers one mode only; this one's is the game's.
start_private_display() {
    local number
    for number in $(seq 130 160); do
        [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ] || break
    done
    Xvfb ":$number" -screen 0 640x480x24 -nolisten tcp >/dev/null 2>&1 &
    PRIVATE_XVFB=$!
    trap 'e2e_cleanup; DISPLAY=$SHARED_DISPLAY restart_wine_session; kill $PRIVATE_XVFB 2>/dev/null' EXIT
    SHARED_DISPLAY=$DISPLAY
    export DISPLAY=":$number"
    e2e_wait_until 5 test -e "/tmp/.X11-unix/X$number" || fail "the 640 x 480 display did not start"
    restart_wine_session
}

e2e_prepare_game
e2e_extract_pictures
e2e_start_game
e2e_click 480 190
for round in 1 2; do
    step "round $round: F6 where full screen is refused comes back to the window"
    e2e_key F6
    sleep 1.5
    e2e_find_origin
    expect_play_screen "refused-$round"
done
[ "$(e2e_log_lines | grep -cx 'Display switch failed, returning to the previous mode')" = 2 ] ||
    fail "each refused switch should say so once"
expect_no_other_failures
expect_playable after-refusals
e2e_close_game
[ "$GAME_STATUS" = "0" ] || fail "exit code $GAME_STATUS"

step "/full starts full screen on a 640 x 480 display"
start_private_display
e2e_prepare_game
e2e_start_game /full
e2e_move 5 5
shot=$(e2e_screenshot full-start)
e2e_expect_picture "title picture" "$shot" 0 0 400 170 "$E2E_PICTURES/titlescreen.bmp"
e2e_click 480 190
expect_play_screen full-play
step "F6 from full screen to the window keeps the game running"
e2e_key F6
sleep 1.5
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended after F6"
expect_no_other_failures
# Under Xvfb, Wine leaves the restyled window unmapped here, so no key can reach it any more.
e2e_kill_game
echo "display_switch: passed"
