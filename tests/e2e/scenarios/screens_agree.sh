# The Windows and the native build draw the same pictures: the same states of each, shot on the
# same display, agree pixel for pixel outside the areas of text (each build has its own font), of
# the falling tetrads (random) and of the static (random too). Runs once, over both builds.
scores CPU 900 700 500 300 100 >"$E2E_WORK/table.dat"
# Areas left out of each state's comparison ("x y width height|..."): the two screens of static
# behind the Top Five and the play screen, the board, and the text.
STATIC="49 180 120 120|465 190 175 100"
declare -A LEFT_OUT=([title]="" [hover]="" [pressed]="" [top_five]="190 150 260 26|250 192 190 84|$STATIC"
    [play]="${BOARD[*]}|$STATIC" [controls]="200 48 240 12|200 420 240 12|$STATIC")

# keep STATE: the game area of the last screenshot, as this build's picture of the state.
keep() { area 0 0 640 480 "$E2E_WORK/$E2E_BACKEND-$1.png"; }

shoot_states() {
    step "$E2E_BACKEND build: the title and its Play button lit and held, the Top Five, play and the controls"
    prepare_game cp "$E2E_WORK/table.dat" quadrone.dat
    start_game
    move_mouse 5 5
    see title "${TITLE[@]}" && keep title
    move_mouse 480 190
    see hover play-2 470 180 && keep hover
    xdotool mousedown 1 && sleep 0.5
    see pressed play-3 470 180 && keep pressed
    move_mouse 5 5
    xdotool mouseup 1 && sleep 0.5
    click 420 270
    see top-five "${PLATE[@]}" && keep top_five
    press Escape
    see back "${TITLE[@]}"
    click 480 190
    see play background 0 0 190 40 && keep play
    press F1
    see controls controls 80 60 480 360 && keep controls
    close_game
}

# blank STATE FILE: the build's picture with the left-out areas black.
blank() {
    local draw=() rectangle x y width height
    IFS='|' read -ra rectangles <<<"${LEFT_OUT[$1]}"
    for rectangle in "${rectangles[@]}"; do
        read -r x y width height <<<"$rectangle"
        draw+=(-draw "rectangle $x,$y,$((x + width - 1)),$((y + height - 1))")
    done
    convert "$E2E_WORK/$2-$1.png" -fill black "${draw[@]}" "$E2E_WORK/blank-$2-$1.png"
}

shoot_states
use_backend native
shoot_states
step "every state agrees outside the left-out areas"
for state in title hover pressed top_five play controls; do
    blank "$state" windows && blank "$state" native || fail "cannot blank the areas of $state"
    differ=$(compare -metric AE "$E2E_WORK/blank-windows-$state.png" "$E2E_WORK/blank-native-$state.png" \
        "$E2E_SHOTS/difference-$state.png" 2>&1 | cut -d' ' -f1)
    echo "  $state: $differ pixels differ"
    [ "$differ" = 0 ] || fail "$state: $differ pixels differ between the builds (see $E2E_SHOTS/difference-$state.png)"
done
