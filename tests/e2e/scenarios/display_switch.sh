# F6 between a window and full screen, twice, with every picture back and the game still
# playable, and "/full" on the command line. The shared virtual display has no 640 x 480 mode,
# so there each switch must log why it failed and come back to the window; full screen itself
# runs on a private display whose one mode is 640 x 480.
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

start_game
click 480 190
for round in 1 2; do
    step "round $round: F6 where full screen is refused comes back to the window"
    press F6 && sleep 1.5
    find_origin
    play_screen_shown "refused-$round"
done
log_count "Display switch failed, returning to the previous mode" 2
hold_key Left 1.2
shot after-refusals
within "$(lit 200 48 24 384)" 1 1e9 "lit pixels at the left wall after Left"
close_game

step "/full starts full screen on a 640 x 480 display"
on_exit "DISPLAY=$DISPLAY restart_wine_session"
private_display 130 640x480x24
restart_wine_session
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
