# Sourced by lib.sh: what the Windows build under Wine needs of the verbs.
# shellcheck disable=SC2034  # its variables are read by lib.sh and the scenarios
PROGRAM=quadrone.exe
# Pictures this build loads beyond the ones both builds share: none.
OWN_PICTURES=()
RELIABILITY="$BUILD_DIR/windows/tests/reliability"

# launch ARGS...: the game under Wine in the game folder, in the background; its id in GAME_PID.
launch() {
    (cd "$E2E_GAME" && exec wine quadrone.exe "$@") >"$E2E_WORK/game.out" 2>&1 </dev/null &
    GAME_PID=$!
}

# area_corner X Y WIDTH HEIGHT: the game area's corner inside Wine's window, which lies inside the X
# window by its border, the same on every side (a window that does not fit the screen is cut at the
# bottom).
area_corner() { echo "$(($1 + ($3 - 640) / 2)) $(($2 + ($3 - 640) / 2))"; }

# ask_to_close: the close as the close box sends it, whatever window has the keyboard.
ask_to_close() { wine "$RELIABILITY/close_window.exe" SpriteAnimate </dev/null; }

# answer_boxes_after_close: a close ends the game under a box of its loaders; nothing to answer.
answer_boxes_after_close() { :; }

# process_figures PID: working set, handles, threads, GDI and USER objects and windows, from Windows.
process_figures() { wine "$RELIABILITY/process_probe.exe" quadrone.exe 2>/dev/null </dev/null | tr -d '\r'; }

# start_saver: the program that saves two tables in turn through the game's own save.
start_saver() {
    (cd "$E2E_GAME" && exec wine "$RELIABILITY/save_loop.exe") >"$E2E_WORK/saver.out" 2>&1 </dev/null &
    GAME_PID=$!
}

# open_other_window: a second window of the same desktop takes the activation (Wine's notepad).
open_other_window() {
    (cd "$E2E_WORK" && exec wine notepad.exe) >"$E2E_WORK/notepad.out" 2>&1 </dev/null &
    on_exit "kill $! 2>/dev/null"
    OTHER_NAME=Notepad
}

# close_other_window: closing it hands the activation back to the game.
close_other_window() { xdotool windowfocus "$OTHER" key alt+F4 2>/dev/null; }

# listen_device: an ALSA file device over null in a private HOME, so everything Wine plays lands in
# CAPTURE. The null device holds nothing, so Wine plays into it 3.6 times faster than real time
# (measured: 1.38 MB of capture per wall second) and pads it with periods of silence whenever its
# mixer is late; the analysis cuts those out.
CAPTURE_RATE=48000 CAPTURE_SAMPLE=f32 CAPTURE_DEVICE_GAPS=yes
listen_device() {
    mkdir -p "$E2E_WORK/home"
    printf 'pcm.!default {\n type file\n slave.pcm "null"\n file "%s"\n format "raw"\n}\n' "$CAPTURE" >"$E2E_WORK/home/.asoundrc"
    export HOME="$E2E_WORK/home"
}
