# Start-up and the title menu: the start-up lines in their order, the title picture with its
# buttons normal, lit under the pointer and pressed, Scores and back, and the close box saving.
startup_log() {
    printf '%s\n' "-----------------" "Initializing..." "Window Created" "DirectDraw initialized" \
        "DirectInput initialized" "DirectSound initialized"
    printf '%s.bmp\nBitmap loaded\n' titlescreen background controls block{1..7}{,-ghost} spark{1..3} \
        topscores static1 static2 {play,scores,quit}-{1..3} "${OWN_PICTURES[@]}"
    printf '%s\n' "Graphics loaded" "Sounds loaded" "Starting game..."
}

step "start-up writes its lines in order, two for each picture"
start_game
diff <(startup_log) <(log_lines | head -n "$(startup_log | wc -l)") || fail "the start-up log differs"

step "the title picture and the three buttons in their normal state"
move_mouse 5 5
see title "${TITLE[@]}"
see play play-1 470 180
see scores scores-1 410 260
see quit quit-1 470 338

step "hover shows the second picture, a held button the third; sliding off before the release gives no click"
move_mouse 480 190
see hover play-2 470 180
xdotool mousedown 1 && sleep 0.5
see pressed play-3 470 180
move_mouse 5 5
xdotool mouseup 1 && sleep 0.5
see slid-off play-1 470 180

step "Scores shows the Top Five plate; Escape comes back"
click 420 270
see top-five "${PLATE[@]}"
press Escape && sleep 0.5
see back-to-title "${TITLE[@]}"

step "the close box ends the program with exit code 0 and saves the scores"
close_game
within "$(stat -c %s "$E2E_GAME/quadrone.dat")" 120 120 "bytes in quadrone.dat"
