# F6 between a window and full screen, twice, with every picture back and the game still
# playable, and "/full" on the command line. The Windows build asks for a 640 x 480 mode, which
# the shared virtual display lacks: there each switch must log why it failed and come back to the
# window. The native build fills the desktop, the picture in its middle. Full screen in 640 x 480
# runs on a private display whose one mode that is.
MODE_LINES='^(Failed setting 32 bit display, attempting 16 bit|Failed setting 16 bit dispaly mode, attempting 8 bit|Failed setting 8 bit display mode\.\.\. giving up|Display switch failed, returning to the previous mode)$'

play_screen_shown() {
    see "$1" background 0 0 190 40
    within "$(lit "${BOARD[@]}")" 1 1e9 "lit pixels on the board after $1"
    ! log_lines | grep -E 'Failed|Error|failed' | grep -vE "$MODE_LINES" || fail "the switches logged other failures"
}

# Wine's desktop process belongs to the display it started on; a game on another display must
# not share it, or its mode switch can hang. Both displays get a session of their own.
restart_wine_session() {
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    wineserver -p
}

# switch_round ROUND: Windows: F6 is refused and the window stays. Native: F6 fills the screen,
# black around the picture, and F6 again gives the window back.
switch_round() {
    if [ "$E2E_BACKEND" = windows ]; then
        step "round $1: F6 where full screen is refused comes back to the window"
        press F6 && sleep 1.5
        find_origin
        play_screen_shown "refused-$1"
        return
    fi
    step "round $1: F6 fills the screen with the picture in its middle; F6 again brings the window back"
    press F6 && sleep 1.5
    find_origin
    play_screen_shown "full-$1"
    [ "$ORIGIN_X,$ORIGIN_Y" = 192,144 ] ||
        fail "the game area's corner is at $ORIGIN_X,$ORIGIN_Y, not in the middle of the 1024 x 768 screen"
    within "$(lit $((-ORIGIN_X)) $((-ORIGIN_Y)) "$ORIGIN_X" 768)" 0 0 "lit pixels left of the picture"
    press F6 && sleep 1.5
    find_origin
    play_screen_shown "window-$1"
}

start_game
click 480 190
switch_round 1
switch_round 2
[ "$E2E_BACKEND" = native ] || log_count "Display switch failed, returning to the previous mode" 2
hold_key Left 1.2
shot after-refusals
within "$(lit 200 48 24 384)" 1 1e9 "lit pixels at the left wall after Left"
close_game

step "/full starts full screen on a 640 x 480 display"
if [ "$E2E_BACKEND" = windows ]; then
    on_exit "DISPLAY=$DISPLAY restart_wine_session"
    private_display 130 640x480x24
    restart_wine_session
else
    private_display 130 640x480x24
fi
prepare_game
start_game /full
move_mouse 5 5
see full-start "${TITLE[@]}"
click 480 190
play_screen_shown full-play

step "F6 from full screen to the window: the play screen goes on in the window's place"
counters=$SHOT
press F6 && sleep 1.5
find_origin
# Only a repaint draws the background, and Wine shows the restyled window no repaint here: the
# frames draw the board with its tetrad and the unchanged counters.
shot after-f6
within "$(lit "${BOARD[@]}")" 1 19999 "lit pixels on the board after F6, one tetrad's"
within "$(differing "$counters" 478 215 60 45 478 215)" 0 0 "pixels of the counters that differ after F6"
close_by_message
