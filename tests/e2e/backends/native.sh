# Sourced by lib.sh: what the native (SDL2) build needs of the verbs. It is the sanitized build of
# the unit tests; it keeps its table and log in the data folder XDG_DATA_HOME/Quadrone, which is
# the game folder here, and reads its data files beside itself, which is the same folder.
# shellcheck disable=SC2034  # its variables are read by lib.sh and the scenarios
PROGRAM=quadrone
# The glyph sheet of its own font, and the window's icon.
OWN_PICTURES=(font icon)
export XDG_DATA_HOME="$E2E_WORK" SDL_AUDIODRIVER=dummy
# Leaks of the system's D-Bus library are not the game's; the quarantine is kept small so that
# memory freed at a display switch shows as freed in the soak.
export LSAN_OPTIONS="suppressions=$E2E_DIR/backends/native-leaks.supp:print_suppressions=0"
export ASAN_OPTIONS="quarantine_size_mb=16"

launch() {
    (cd "$E2E_GAME" && exec ./quadrone "$@") >"$E2E_WORK/game.out" 2>&1 </dev/null &
    GAME_PID=$!
}

# The window is the game area, or the whole screen with the area in its middle.
area_corner() { echo "$(($1 + ($3 - 640) / 2)) $(($2 + ($4 - 480) / 2))"; }

# The test display has no window manager: the close box's message is sent as one would send it.
ask_to_close() { /usr/bin/python3 "$E2E_DIR/close_window.py" "$GAME_WINDOW"; }

# SDL's boxes hold the game until they are answered; the close takes effect then.
answer_boxes_after_close() {
    local id
    windows_named 'Error|Notice' | while read -r id _; do
        xdotool windowfocus "$id" key Return 2>/dev/null
    done
}

# Resident memory, open files, threads; the Windows-only counts are -1.
process_figures() {
    echo "$(sed -n 's/^VmRSS:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$1/status")" \
        "$(find "/proc/$1/fd" -mindepth 1 2>/dev/null | wc -l)" \
        "$(sed -n 's/^Threads:[[:space:]]*//p' "/proc/$1/status")" -1 -1 -1
}

start_saver() {
    (cd "$E2E_GAME" && exec "$BUILD_DIR/native/tests/reliability/save_loop" ./) >"$E2E_WORK/saver.out" 2>&1 </dev/null &
    GAME_PID=$!
}

open_other_window() {
    xmessage -title Other "another window" >/dev/null 2>&1 &
    OTHER_PID=$!
    on_exit "kill $OTHER_PID 2>/dev/null"
    OTHER_NAME=Other
}

# Without a window manager the focus does not come back by itself.
close_other_window() {
    kill "$OTHER_PID" 2>/dev/null
    focus_game
}

# SDL's disk driver writes what the game plays to CAPTURE, in the device's format, paced in real
# time, and all of it: no gaps of its own.
CAPTURE_RATE=44100 CAPTURE_SAMPLE=s16 CAPTURE_DEVICE_GAPS=no
listen_device() { export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$CAPTURE"; }
