#!/usr/bin/env bash
# Missing or damaged sound data never stops the game: without audio.vbf the music plays and the
# effects are silent; without loop1.dat, or with one that is no Ogg Vorbis stream, the game shows
# the decoder's boxes, logs why, stays silent on the title and plays its effects in a game; a
# missing graphics.vbf does not silence the effects.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/sound_capture.bash"

# Play from the title menu and turn the piece three times; the capture is marked at Play.
play_three_turns() {
    e2e_click 480 190
    mark
    for turn in 1 2 3; do
        e2e_hold_key space 0.1
    done
    wait_audio "$1"
}

# Without music: the title is silent, a game plays the turns' effects, and the keys that touch
# the music's volume or playback leave the game running.
expect_silent_game_with_effects() {
    mark
    wait_audio 5
    analyse "title without music" silence
    expect peak 0 0.0001 "sound on the title without music"
    play_three_turns 3
    analyse "turns without music" effects "$REFS/music.raw" "${EFFECTS[@]}"
    expect music_seconds 0 0 "music from nowhere"
    expect rotate 3 3 "the turns' effects"
    e2e_key Escape m m
    game_window_exists || fail "the game went away after Escape and M"
    e2e_close_game
    [ "$GAME_STATUS" = "0" ] || fail "exit code $GAME_STATUS"
}

step "without audio.vbf the music plays, the effects are silent, and nothing is logged as an error"
e2e_prepare_game
rm "$E2E_GAME/audio.vbf"
e2e_start_game
[ -z "$(e2e_boxes)" ] || fail "a box came up"
e2e_expect_log_in_order "Graphics loaded" "Sounds loaded" "Starting game..."
if e2e_log_lines | grep -i error; then fail "an error was logged"; fi
mark
wait_audio 6
expect_music_at "title without effects" 0 6
play_three_turns 4
analyse "turns without effects" effects "$REFS/music.raw" "${EFFECTS[@]}"
expect gain_db -6 -4 "the music during play"
expect rotate 0 0 "an effect without audio.vbf"
e2e_close_game
[ "$GAME_STATUS" = "0" ] || fail "exit code $GAME_STATUS"

step "a missing graphics.vbf leaves the effects audible, and pictures come back with F6 once it is there"
e2e_prepare_game
mv "$E2E_GAME/graphics.vbf" "$E2E_WORK/graphics.vbf"
e2e_start_game
[ -z "$(e2e_boxes)" ] || fail "a box came up"
mv "$E2E_WORK/graphics.vbf" "$E2E_GAME/graphics.vbf"
e2e_key F6
sleep 1.5
e2e_find_origin
play_three_turns 4
analyse "turns after a missing graphics.vbf" effects "$REFS/music.raw" "${EFFECTS[@]}"
expect rotate 3 3 "the turns' effects"
e2e_close_game
[ "$GAME_STATUS" = "0" ] || fail "exit code $GAME_STATUS"

step "without loop1.dat: \"Error opening file\", the decoder's box, the log lines, and silence"
e2e_prepare_game
rm "$E2E_GAME/loop1.dat"
e2e_start_answering_boxes Error 2
e2e_expect_log_in_order "Sounds loaded" "Starting game..." "Error opening ogg file" "Error playing ogg file"
expect_silent_game_with_effects

step "a loop1.dat that is no Ogg stream: the decoder's box, the log lines, and silence"
e2e_prepare_game
head -c 200000 /dev/urandom >"$E2E_GAME/loop1.dat"
e2e_start_answering_boxes Error 1
e2e_expect_log_in_order "Sounds loaded" "Starting game..." "Error opening ogg file" "Error playing ogg file"
expect_silent_game_with_effects

step "an Ogg stream whose Vorbis headers are damaged: one box, the log lines, and silence"
e2e_prepare_game
# The identification header starts at byte 28 of the first page; its packet type and "vorbis".
printf 'XXXXXXX' | dd of="$E2E_GAME/loop1.dat" bs=1 seek=28 conv=notrunc 2>/dev/null
e2e_start_answering_boxes Error 1
e2e_expect_log_in_order "Sounds loaded" "Starting game..." "Error opening ogg file" "Error playing ogg file"
expect_silent_game_with_effects
echo "sound_failures: passed"
