# Damaged or missing pictures never stop the game: each case starts it (answering the archive
# reader's boxes where it must show them), finds what the loaders log, and closes it cleanly.
bad_signature() { printf 'XBF' | dd of="$E2E_GAME/graphics.vbf" conv=notrunc 2>/dev/null; }

# repack PICTURE COMMAND...: graphics.vbf packed again with COMMAND run on that picture's file.
repack() {
    extract_pictures && rm -rf "$E2E_WORK/repack" && cp -r "$PICTURES" "$E2E_WORK/repack" &&
        "${@:2}" "$E2E_WORK/repack/$1" &&
        "$VBFTOOL" pack "$E2E_GAME/graphics.vbf" "$E2E_WORK/repack" >/dev/null || fail "repacking failed"
}

step "a wrong signature shows \"Invalid signature\" and the game runs without pictures"
bad_signature
start_answering Error 1
log_in_order "DirectSound initialized" "Graphics loaded" "Sounds loaded"

step "a table three records short gives three notices, then every load fails to seek"
prepare_game truncate -s -828 graphics.vbf
start_answering Notice 3
log_in_order "titlescreen.bmp" "Error seeking in VBF file" "Error loading blocks!" \
    "Error loading ghost blocks!" "Failed to load spark images" "Graphics loaded" "Sounds loaded"

step "a cut-short bitmap is refused before anything is read, and the others load"
prepare_game repack block3.bmp truncate -s 1000
start_game
log_in_order "block2-ghost.bmp" "Bitmap loaded" "block3.bmp" "Invalid bitmap file header" \
    "Error loading blocks!" "block3-ghost.bmp" "Bitmap loaded" "Graphics loaded"
log_count "Bitmap loaded" $((31 + ${#OWN_PICTURES[@]}))

step "a missing block picture is logged, the other pictures load, and a game runs"
prepare_game repack block3.bmp rm
start_game
log_in_order "block3.bmp" "Error finding file in VBF" "Error loading blocks!" "block3-ghost.bmp" \
    "Bitmap loaded" "Graphics loaded"
log_count "Bitmap loaded" $((31 + ${#OWN_PICTURES[@]}))
click 480 190
hold_key Down 1

step "F6, M and F1 under the \"Invalid signature\" box do nothing; a close there keeps the saved table"
prepare_game bad_signature
scores CPU 900 700 500 300 100 >"$E2E_GAME/quadrone.dat"
cp "$E2E_GAME/quadrone.dat" "$E2E_WORK/saved.dat"
launch
wait_until 30 box_shown Error || fail "no \"Invalid signature\" box"
wait_until 10 game_window_exists || fail "no game window behind the box"
press F6 m F1
close_by_message
cmp -s "$E2E_WORK/saved.dat" "$E2E_GAME/quadrone.dat" || fail "the saved table was replaced"
! log_has "Starting game..." || fail "start-up went on after the close"
