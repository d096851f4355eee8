#!/usr/bin/env bash
# Damaged or missing pictures never stop the game: each case starts, logs what the loaders say,
# shows the archive reader's boxes where it must, and closes cleanly.
. "$(dirname "$0")/lib.sh"

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
e2e_expect_log_in_order "DirectSound initialized" "Graphics loaded" "Sounds loaded" "Starting game..."
e2e_log_lines | grep -qx "Bitmap loaded" && fail "a picture was loaded from nowhere"
[ -z "$(e2e_boxes)" ] || fail "a box came up"
e2e_move 480 190
e2e_click 480 190
close_cleanly

step "a wrong signature shows \"Invalid signature\" and the game runs without pictures"
e2e_prepare_game
printf 'XBF' | dd of="$E2E_GAME/graphics.vbf" conv=notrunc 2>/dev/null
e2e_start_answering_boxes Error 1
e2e_expect_log_in_order "DirectSound initialized" "Graphics loaded" "Sounds loaded"
close_cleanly

step "F6, M and F1 under the \"Invalid signature\" box do nothing; a close there keeps the saved table"
e2e_prepare_game
printf 'XBF' | dd of="$E2E_GAME/graphics.vbf" conv=notrunc 2>/dev/null
python3 -c 'import struct, sys; sys.stdout.buffer.write(b"".join(
    struct.pack("<20sI", n.encode(), s) for n, s in [("ANN", 900), ("BOB", 700), ("CY", 500), ("DI", 300), ("ED", 100)]))' \
    >"$E2E_GAME/quadrone.dat"
cp "$E2E_GAME/quadrone.dat" "$E2E_WORK/saved.dat"
cp "$BUILD_DIR/windows/tests/reliability/close_window.exe" "$E2E_GAME/" || fail "no close_window.exe"
(cd "$E2E_GAME" && exec wine quadrone.exe) >"$E2E_WORK/wine.out" 2>&1 </dev/null &
GAME_PID=$!
e2e_wait_until 30 eval '[ -n "$(xdotool search --onlyvisible --name "^Error\$" 2>/dev/null)" ]' ||
    fail "no \"Invalid signature\" box"
e2e_wait_until 10 game_window_exists || fail "no game window behind the box"
e2e_key F6 m F1
(cd "$E2E_GAME" && wine close_window.exe SpriteAnimate) </dev/null || fail "the game window took no close"
e2e_wait_game_exit 30 || fail "the game did not end after a close under the box"
[ "$GAME_STATUS" = "0" ] || fail "exit code $GAME_STATUS"
cmp -s "$E2E_WORK/saved.dat" "$E2E_GAME/quadrone.dat" || fail "the saved table was replaced"
e2e_log_lines | grep -qx "Starting game..." && fail "start-up went on after the close"

step "a table three records short gives three notices, then every load fails to seek"
e2e_prepare_game
truncate -s -828 "$E2E_GAME/graphics.vbf"
e2e_start_answering_boxes Notice 3
e2e_expect_log_in_order "titlescreen.bmp" "Error seeking in VBF file" "Error loading blocks!" \
    "Error loading ghost blocks!" "Failed to load spark images" "Graphics loaded" "Sounds loaded"
close_cleanly

step "a cut-short bitmap is refused before anything is read, and the others load"
e2e_prepare_game
rm -rf "$E2E_WORK/repack" && cp -r "$E2E_PICTURES" "$E2E_WORK/repack"
truncate -s 1000 "$E2E_WORK/repack/block3.bmp"
repack_pictures
e2e_start_game
e2e_expect_log_in_order "block2-ghost.bmp" "Bitmap loaded" "block3.bmp" "Invalid bitmap file header" \
    "Error loading blocks!" "block3-ghost.bmp" "Bitmap loaded" "Graphics loaded"
[ "$(e2e_log_lines | grep -cx 'Bitmap loaded')" = 31 ] || fail "not 31 pictures loaded"
close_cleanly

step "a missing block picture is logged and the other pictures load"
e2e_prepare_game
rm -rf "$E2E_WORK/repack" && cp -r "$E2E_PICTURES" "$E2E_WORK/repack"
rm "$E2E_WORK/repack/block3.bmp"
repack_pictures
e2e_start_game
e2e_expect_log_in_order "block3.bmp" "Error finding file in VBF" "Error loading blocks!" "block3-ghost.bmp" \
    "Bitmap loaded" "Graphics loaded"
[ "$(e2e_log_lines | grep -cx 'Bitmap loaded')" = 31 ] || fail "not 31 pictures loaded"
e2e_click 480 190
e2e_hold_key Down 1
close_cleanly
echo "damaged_data: passed"
