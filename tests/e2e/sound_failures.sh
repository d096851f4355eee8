#!/usr/bin/env bash
# Missing or damaged sound data never stops the game: without audio.vbf the music plays and the
# effects are silent; without loop1.dat, or with one that is no Ogg Vorbis stream, the game shows
# the decoder's boxes, logs why, stays silent on the title and plays its effects in a game.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/sound_capture.bash"

# Starts the game, answering the "Error" boxes one by one; then no further box may come.
start_answering_errors() {
    local count=$1 answered=0 box
    (cd "$E2E_GAME" && exec wine quadrone.exe) >"$E2E_WORK/wine.out" 2>&1 </dev/null &
    GAME_PID=$!
    while [ "$answered" -lt "$count" ]; do
        e2e_wait_until 30 eval 'box=$(xdotool search --onlyvisible --name "^Error\$" 2>/dev/null | head -n 1); [ -n "$box" ]' ||
            fail "box $((answered + 1)) of $count captioned \"Error\" did not come"
        xdotool windowfocus "$box" key Return 2>/dev/null
        e2e_wait_until 10 eval '! xwininfo -id "$box" 2>/dev/null | grep -q IsViewable' ||
            fail "the \"Error\" box did not go away"
        answered=$((answered + 1))
    done
    e2e_wait_until 30 game_window_exists || fail "no game window within 30 s"
    e2e_wait_log "Starting game..." 30 || fail "start-up did not finish"
    sleep 0.5
    [ -z "$(e2e_boxes)" ] || fail "more boxes than the $count expected"
    e2e_find_origin
}

expect_log_in_order() {
    local log line at=0 found
    log=$(e2e_log_lines)
    for line in "$@"; do
        found=$(echo "$log" | tail -n "+$((at + 1))" | grep -nxF -- "$line" | head -n 1 | cut -d: -f1)
        [ -n "$found" ] || fail "the log lacks \"$line\" (after line $at)"
        at=$((at + found))
    done
}

# Without music: the title is silent, a game plays the turns' effects, and the keys that touch
# the music's volume or playback leave the game running.
expect_silent_game_with_effects() {
    mark
    wait_audio 5
    analyse "title without music" silence
    expect peak 0 0.0001 "sound on the title without music"
    e2e_click 480 190
    mark
    for turn in 1 2 3; do
        e2e_hold_key space 0.1
    done
    wait_audio 3
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
expect_log_in_order "Graphics loaded" "Sounds loaded" "Starting game..."
if e2e_log_lines | grep -i error; then fail "an error was logged"; fi
mark
wait_audio 6
expect_music_at "title without effects" 0 6
e2e_click 480 190
mark
for turn in 1 2 3; do
    e2e_hold_key space 0.1
done
wait_audio 4
analyse "turns without effects" effects "$REFS/music.raw" "${EFFECTS[@]}"
expect gain_db -6 -4 "the music during play"
expect rotate 0 0 "an effect without audio.vbf"
e2e_close_game
[ "$GAME_STATUS" = "0" ] || fail "exit code $GAME_STATUS"

step "without loop1.dat: \"Error opening file\", the decoder's box, the log lines, and silence"
e2e_prepare_game
rm "$E2E_GAME/loop1.dat"
start_answering_errors 2
expect_log_in_order "Sounds loaded" "Starting game..." "Error opening ogg file" "Error playing ogg file"
expect_silent_game_with_effects

step "a loop1.dat that is no Ogg stream: the decoder's box, the log lines, and silence"
e2e_prepare_game
head -c 200000 /dev/urandom >"$E2E_GAME/loop1.dat"
start_answering_errors 1
expect_log_in_order "Sounds loaded" "Starting game..." "Error opening ogg file" "Error playing ogg file"
expect_silent_game_with_effects

step "an Ogg stream whose Vorbis headers are damaged: one box, the log lines, and silence"
e2e_prepare_game
# The identification header starts at byte 28 of the first page; its packet type and "vorbis".
printf 'XXXXXXX' | dd of="$E2E_GAME/loop1.dat" bs=1 seek=28 conv=notrunc 2>/dev/null
start_answering_errors 1
expect_log_in_order "Sounds loaded" "Starting game..." "Error opening ogg file" "Error playing ogg file"
expect_silent_game_with_effects
echo "sound_failures: passed"
