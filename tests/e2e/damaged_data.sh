#!/usr/bin/env bash
# Damaged or missing pictures never stop the game: each case starts, logs what the loaders say,
# shows the archive reader's boxes where it must, and closes cleanly.
. "$(dirname "$0")/lib.sh"

# Starts the game and answers `count` boxes with the given caption as they come up.
start_answering_boxes() {
    local caption=$1 count=$2
    shift 2
    (cd "$E2E_GAME" && exec wine quadrone.exe "$@") >"$E2E_WORK/wine.out" 2>&1 </dev/null &
    GAME_PID=$!
    local answered=0 box
    while [ "$answered" -lt "$count" ]; do
        e2e_wait_until 30 eval 'box=$(xdotool search --onlyvisible --name "^$caption\$" 2>/dev/null | head -n 1); [ -n "$box" ]' ||
            fail "box $((answered + 1)) of $count captioned \"$caption\" did not come"
        xdotool windowfocus "$box" key Return 2>/dev/null
        e2e_wait_until 10 eval '! xwininfo -id "$box" 2>/dev/null | grep -q IsViewable' ||
            fail "the \"$caption\" box did not go away"
        answered=$((answered + 1))
    done
    e2e_wait_until 30 game_window_exists || fail "no game window within 30 s"
    e2e_wait_log "Starting game..." 30 || fail "start-up did not finish"
    sleep 0.5
    e2e_find_origin
}

expect_lines_in_order() {
    local log
    log=$(e2e_log_lines)
    local line at=0 found
    for line in "$@"; do
        found=$(echo "$log" | tail -n "+$((at + 1))" | grep -nxF -- "$line" | head -n 1 | cut -d: -f1)
        [ -n "$found" ] || fail "the log lacks \"$line\" (after line $at)"
        at=$((at + found))
    done
}

close_cleanly() {
    e2e_close_game
    [ "$GAME_STATUS" = "0" ] || fail "exit code $GAME_STATUS"
}

repack_pictures() {
    "$VBFTOOL" pack "$E2E_GAME/graphics.vbf" "$E2E_WORK/repack" >/dev/null || fail "repacking failed"
}

e2e_extract_pictures

step "without graphics.vbf the game starts with no pictures and no box"
e2e_prepare_game
rm "$E2E_GAME/graphics.vbf"
e2e_start_game
expect_lines_in_order "DirectSound initialized" "Graphics loaded" "Sounds loaded" "Starting game..."
e2e_log_lines | grep -qx "Bitmap loaded" && fail "a picture was loaded from nowhere"
[ -z "$(e2e_boxes)" ] || fail "a box came up"
e2e_move 480 190
e2e_click 480 190
close_cleanly

step "a wrong signature shows \"Invalid signature\" and the game runs without pictures"
e2e_prepare_game
printf 'XBF' | dd of="$E2E_GAME/graphics.vbf" conv=notrunc 2>/dev/null
start_answering_boxes Error 1
expect_lines_in_order "DirectSound initialized" "Graphics loaded" "Sounds loaded"
close_cleanly

step "a table three records short gives three notices, then every load fails to seek"
e2e_prepare_game
truncate -s -828 "$E2E_GAME/graphics.vbf"
start_answering_boxes Notice 3
expect_lines_in_order "titlescreen.bmp" "Error seeking in VBF file" "Error loading blocks!" \
    "Error loading ghost blocks!" "Failed to load spark images" "Graphics loaded" "Sounds loaded"
close_cleanly

step "a cut-short bitmap is refused before anything is read, and the others load"
e2e_prepare_game
rm -rf "$E2E_WORK/repack" && cp -r "$E2E_PICTURES" "$E2E_WORK/repack"
truncate -s 1000 "$E2E_WORK/repack/block3.bmp"
repack_pictures
e2e_start_game
expect_lines_in_order "block2-ghost.bmp" "Bitmap loaded" "block3.bmp" "Invalid bitmap file header" \
    "Error loading blocks!" "block3-ghost.bmp" "Bitmap loaded" "Graphics loaded"
[ "$(e2e_log_lines | grep -cx 'Bitmap loaded')" = 31 ] || fail "not 31 pictures loaded"
close_cleanly

step "a missing block picture is logged and the other pictures load"
e2e_prepare_game
rm -rf "$E2E_WORK/repack" && cp -r "$E2E_PICTURES" "$E2E_WORK/repack"
rm "$E2E_WORK/repack/block3.bmp"
repack_pictures
e2e_start_game
expect_lines_in_order "block3.bmp" "Error finding file in VBF" "Error loading blocks!" "block3-ghost.bmp" \
    "Bitmap loaded" "Graphics loaded"
[ "$(e2e_log_lines | grep -cx 'Bitmap loaded')" = 31 ] || fail "not 31 pictures loaded"
e2e_click 480 190
e2e_hold_key Down 1
close_cleanly
echo "damaged_data: passed"
