# Missing or damaged sound data never stops the game: without audio.vbf the music plays and the
# effects are silent; without loop1.dat, or with one whose Vorbis headers are damaged, the game
# shows the decoder's boxes, logs why, stays silent on the title and plays its effects in a game;
# a missing graphics.vbf starts the game without pictures or box and leaves the effects audible.
listen

# Without music: the decoder's lines, a silent title, the turns' effects, and the keys that touch
# the music's volume or playback leave the game running.
silent_game_with_effects() {
    log_in_order "Sounds loaded" "Starting game..." "Error opening ogg file" "Error playing ogg file"
    mark
    hear "title without music" 5 music music "sound_to == 0"
    play_three_turns
    hear "turns without music" 3 effects music "music_seconds == 0" "rotate == 3"
    press Escape m m
    game_window_exists || fail "the game went away after Escape and M"
}

step "without audio.vbf the music plays, the effects are silent, and nothing is logged as an error"
prepare_game rm audio.vbf
start_game
log_in_order "Graphics loaded" "Sounds loaded" "Starting game..."
! log_lines | grep -i error || fail "an error was logged"
mark
hear_music "title without effects" 6
play_three_turns
hear "turns without effects" 4 effects music "rotate == 0"

step "without graphics.vbf: no picture and no box, the effects audible, and the pictures back with F6 once it is there"
prepare_game mv graphics.vbf ..
start_game
log_in_order "DirectSound initialized" "Graphics loaded" "Sounds loaded" "Starting game..."
! log_has "Bitmap loaded" || fail "a picture was loaded from nowhere"
mv "$E2E_WORK/graphics.vbf" "$E2E_GAME/graphics.vbf"
press F6 && sleep 1.5
find_origin
play_three_turns
hear "turns after a missing graphics.vbf" 4 effects music "rotate == 3"
press F1
see pictures-back controls 80 60 480 360

step "without loop1.dat: \"Error opening file\" and the decoder's box"
prepare_game rm loop1.dat
start_answering Error 2
silent_game_with_effects

step "an Ogg stream whose Vorbis headers are damaged: the decoder's box"
# The identification header starts at byte 28 of the first page; its packet type and "vorbis".
prepare_game dd of=loop1.dat bs=1 seek=28 conv=notrunc status=none < <(printf XXXXXXX)
start_answering Error 1
silent_game_with_effects
