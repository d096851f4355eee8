# Sourced by the sound tests after lib.sh: a private ALSA file device whose capture is measured
# in stretches between marks, the analysis of a stretch, and the effect waves as templates.
# The capture runs faster than the wall clock, so every stretch is measured in captured audio.

ANALYSIS=(/usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/sound_analysis.py")
BYTES_PER_SECOND=$((48000 * 2 * 4))
CAPTURE="$E2E_WORK/capture.raw"
FIGURES="$E2E_WORK/figures"
REFS="$E2E_WORK/references"
MARK=0
NOTEPAD_PID=""

# Our own ALSA file device: only this script's sound lands in CAPTURE.
mkdir -p "$E2E_WORK/home" "$REFS"
cat >"$E2E_WORK/home/.asoundrc" <<EOF
pcm.!default {
    type file
    slave.pcm "null"
    file "$CAPTURE"
    format "raw"
}
EOF
export HOME="$E2E_WORK/home"

sound_cleanup() {
    [ -n "$NOTEPAD_PID" ] && kill "$NOTEPAD_PID" 2>/dev/null
    e2e_cleanup
}
trap sound_cleanup EXIT

capture_size() {
    stat -c %s "$CAPTURE" 2>/dev/null || echo 0
}

mark() {
    MARK=$(capture_size)
}

# Waits until `seconds` of audio were captured after the mark; the capture may run at any speed
# up to real time, so the wall-clock bound is the audio length plus a margin.
wait_audio() {
    local target=$((MARK + $1 * BYTES_PER_SECOND))
    [ "$(capture_size)" -ge "$MARK" ] || fail "the capture file started afresh after the mark"
    e2e_wait_until $(($1 + 20)) eval '[ "$(capture_size)" -ge '"$target"' ]' ||
        fail "the capture did not grow by $1 s of audio within $(($1 + 20)) s"
    PHASE_END=$(capture_size)
}

# analyse WHAT COMMAND ARGS...: runs the analysis over MARK..PHASE_END and prints its figures.
analyse() {
    local what=$1 command=$2
    shift 2
    "${ANALYSIS[@]}" "$command" "$CAPTURE" "$MARK" "$PHASE_END" "$@" >"$FIGURES" 2>"$E2E_WORK/analysis.err" ||
        { cat "$E2E_WORK/analysis.err"; fail "the analysis of \"$what\" failed"; }
    echo "  $what: $(tr '\n' ' ' <"$FIGURES")"
}

figure() {
    local value
    value=$(sed -n "s/^$1=//p" "$FIGURES")
    [ -n "$value" ] || fail "no figure $1"
    echo "$value"
}

# expect NAME LOW HIGH WHY: the figure lies within [LOW, HIGH].
expect() {
    local value
    value=$(figure "$1")
    awk -v v="$value" -v lo="$2" -v hi="$3" 'BEGIN { exit !(v >= lo && v <= hi) }' ||
        fail "$4: $1 is $value, not within [$2, $3]"
}

# Music all through a stretch at a level (dB against the decoded file) within a dB of `level`.
expect_music_at() {
    local what=$1 level=$2 seconds=$3
    analyse "$what" music "$REFS/music.raw"
    expect music_seconds "$((seconds - 2))" 1000 "$what: the music does not fill the stretch"
    expect sound_to "$(figure seconds | awk '{ print $1 - 0.1 }')" 1000 "$what: the sound ends early"
    expect gain_db "$(awk -v l="$level" 'BEGIN { print l - 1 }')" \
        "$(awk -v l="$level" 'BEGIN { print l + 1 }')" "$what: the music level"
}

# The sound must end within two seconds of audio after the mark, and stay away for the rest.
expect_silence() {
    local what=$1
    analyse "$what" silence
    expect sound_until 0 2 "$what: the sound did not stop"
    expect seconds 4 1000 "$what: too short a stretch"
}

notepad_window() {
    xdotool search --onlyvisible --name 'Notepad' 2>/dev/null | head -n 1
}

# The effect waves at the capture's rate, as the matched filter's templates.
"$VBFTOOL" extract "$GAME_DIR/audio.vbf" "$E2E_WORK/effects" >/dev/null || fail "cannot extract the effects"
for effect in rotate attach zap2 static static2; do
    sox "$E2E_WORK/effects/$effect.wav" -t raw -r 48000 -e float -b 32 -c 1 "$REFS/$effect.raw" ||
        fail "sox cannot convert $effect.wav"
done
sox "$GAME_DIR/loop1.dat" -t raw -r 48000 -e float -b 32 -c 2 "$REFS/music.raw" || fail "cannot decode loop1.dat"
EFFECTS=()
for effect in rotate attach zap2 static static2; do
    EFFECTS+=("$effect=$REFS/$effect.raw")
done


# The ALSA file device starts its file afresh each time the game's sound device is (re)opened
# while starting up; marks are taken only once the capture has begun to grow for good.
settle_capture() {
    local size tries=200
    size=$(capture_size)
    while [ "$tries" -gt 0 ]; do
        sleep 0.1
        local now
        now=$(capture_size)
        [ "$now" -ge "$BYTES_PER_SECOND" ] && [ "$now" -gt "$size" ] && return 0
        size=$now
        tries=$((tries - 1))
    done
    fail "the capture did not start growing within 20 s"
}

eval "$(declare -f e2e_start_game | sed '1s/e2e_start_game/start_game_unsettled/')"
e2e_start_game() {
    start_game_unsettled "$@"
    settle_capture
}
eval "$(declare -f e2e_start_answering_boxes | sed '1s/e2e_start_answering_boxes/start_answering_unsettled/')"
e2e_start_answering_boxes() {
    start_answering_unsettled "$@"
    settle_capture
}
