# Sourced by lib.sh: the verbs that capture what the game plays and judge it with sound_analysis.py.

# Sound: listen gives the game a device that writes everything it plays to CAPTURE (the back end's
# listen_device, stereo at CAPTURE_RATE in CAPTURE_SAMPLE samples, CAPTURE_DEVICE_GAPS saying
# whether the device writes gaps of its own), and prepares the decoded music
# and the two effects the checks look for as references, as 32-bit float at the same rate.
# Stretches start at a mark and are measured in captured audio.
CAPTURE="$E2E_WORK/capture.raw" REFS="$E2E_WORK/references" MARK=0

listen() {
    mkdir -p "$REFS"
    listen_device
    # shellcheck disable=SC2034  # read by started in lib.sh
    LISTENING=yes BYTES_PER_SECOND=$((CAPTURE_RATE * 2 * ${CAPTURE_SAMPLE#?} / 8))
    export CAPTURE_RATE CAPTURE_SAMPLE CAPTURE_DEVICE_GAPS
    "$VBFTOOL" extract "$GAME_DIR/audio.vbf" "$E2E_WORK/effects" >/dev/null &&
        sox "$E2E_WORK/effects/rotate.wav" -t raw -r "$CAPTURE_RATE" -e float -b 32 -c 1 "$REFS/rotate.raw" &&
        sox "$E2E_WORK/effects/attach.wav" -t raw -r "$CAPTURE_RATE" -e float -b 32 -c 1 "$REFS/attach.raw" &&
        decode_twice "$GAME_DIR/loop1.dat" music || fail "cannot decode the references"
}

# decode_twice LOOP NAME: the loop twice in one piece, as the game's decoder joins it, in REFS/NAME.raw.
decode_twice() { sox "$1" "$1" -t raw -r "$CAPTURE_RATE" -e float -b 32 -c 2 "$REFS/$2.raw"; }

capture_reaches() { [ "$(capture_size)" -ge "$1" ]; }
capture_size() { stat -c %s "$CAPTURE" 2>/dev/null || echo 0; }
mark() { MARK=$(capture_size); }

# The file device starts its file afresh each time the game's sound device is (re)opened while
# starting up; marks are taken only once the capture has begun to grow for good.
capture_grows() {
    local before
    before=$(capture_size) && sleep 0.1
    [ "$before" -ge "$BYTES_PER_SECOND" ] && [ "$(capture_size)" -gt "$before" ]
}

# hear WHAT SECONDS COMMAND MUSIC CHECK...: waits for SECONDS of audio after the mark, then
# sound_analysis.py judges the stretch against the reference MUSIC; no stretch may skip or repeat
# music or fall silent inside it.
hear() {
    local target=$((MARK + $2 * BYTES_PER_SECOND))
    [ "$(capture_size)" -ge "$MARK" ] || fail "the capture file started afresh after the mark"
    wait_until $(($2 + 20)) capture_reaches "$target" || fail "the capture did not grow by $2 s of audio within $(($2 + 20)) s"
    echo "  $1:"
    /usr/bin/python3 "$E2E_DIR/sound_analysis.py" "$3" "$CAPTURE" "$MARK" "$(capture_size)" "$REFS/$4.raw" "$REFS" \
        "${@:5}" "jumps == 0" "silent_blocks_inside == 0" || fail "$1: the sound is not what it must be"
}
hear_music() { hear "$1" "$2" music music "music_seconds >= $2 - 2" "sound_to >= seconds - 0.1" "abs(gain_db) <= 1"; }
# The sound ends within two seconds of audio after the mark and stays away.
hear_silence() { hear "$1" "$2" music music "sound_to <= 2" "seconds >= 4"; }

# Play from the title menu and turn the piece three times; the capture is marked at Play.
play_three_turns() {
    click 480 190
    mark
    hold_key space 0.1
    hold_key space 0.1
    hold_key space 0.1
}
