# Sourced by the end-to-end runner (run.sh) and the scripted session: the verbs of a scenario.
# They run the real game on the virtual display, drive it with xdotool and check the screen,
# debug.log and the captured sound. Every wait is bounded; a message box is reported by its
# caption. E2E_BACKEND picks the build: windows (quadrone.exe under Wine, the default) or native
# (the SDL2 build); backends/ holds what differs. Needs ROOT, BUILD_DIR, GAME_DIR and DISPLAY, and
# for the Windows build the Wine variables of wine-env.sh.
set -uo pipefail
: "${ROOT:?}" "${BUILD_DIR:?}" "${GAME_DIR:?}"

E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
E2E_NAME=${E2E_NAME:-$(basename "$0" .sh)}
E2E_BACKEND=${E2E_BACKEND:-windows}
E2E_WORK=$(mktemp -d "${TMPDIR:-/tmp}/quadrone-e2e-$E2E_NAME.XXXXXX")
# The folder of the program and its data files, and of quadrone.dat and debug.log.
E2E_GAME="$E2E_WORK/Quadrone"
E2E_SHOTS="$BUILD_DIR/e2e-shots/$E2E_BACKEND/$E2E_NAME"
PICTURES="$E2E_WORK/pictures"
VBFTOOL="$BUILD_DIR/native/tools/vbftool"
# Rectangles of the game area (x y width height), the first two with the picture they show.
# shellcheck disable=SC2034  # read by the scenarios
TITLE=(titlescreen 0 0 400 170) PLATE=(topscores 234 136 12 153) BOARD=(200 48 240 384)
GAME_PID="" GAME_WINDOW="" GAME_STATUS="" SHOT="" ORIGIN_X=0 ORIGIN_Y=0 ON_EXIT="" LISTENING=""
mkdir -p "$E2E_GAME" "$E2E_SHOTS"

# on_exit COMMAND: a scenario's own clean-up, run before the game is killed and the work removed.
on_exit() { ON_EXIT="$1; $ON_EXIT"; }

# The end of every scenario: its own clean-up, then the game killed and the work folder removed.
clean_up() {
    eval "$ON_EXIT"
    kill_game
    rm -rf "$E2E_WORK"
}
trap clean_up EXIT

# fail WHY: reports the failure, the boxes on the screen and the end of debug.log, and ends the scenario.
fail() {
    echo "FAIL ($E2E_NAME): $*"
    box_captions | sort | uniq -c | sed 's/^/message box on the screen: /'
    if [ -f "$E2E_GAME/debug.log" ]; then
        echo "--- the end of debug.log:"
        log_lines | tail -n 15
    fi
    exit 1
}

# step WHAT: announces the next step of the scenario.
step() { echo "* $*"; }

# within VALUE LOW HIGH WHAT: a figure of a check lies in [LOW, HIGH].
within() {
    awk -v v="$1" -v lo="$2" -v hi="$3" 'BEGIN { exit !(v >= lo && v <= hi) }' ||
        fail "$4: $1, not within [$2, $3]"
}

# wait_until SECONDS COMMAND...: tries COMMAND every 0.1 s until it holds; false when time runs out.
wait_until() {
    local tries=$(($1 * 10))
    until "${@:2}"; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.1
    done
}

# prepare_game [COMMAND...]: a fresh copy of the game folder, damaged by COMMAND run in it where a
# case needs; a game still running in the old one is closed as a player closes it (exit code 0).
prepare_game() {
    [ -z "$GAME_PID" ] || close_game
    rm -rf "$E2E_GAME"
    mkdir -p "$E2E_GAME"
    cp "$GAME_DIR"/{"$PROGRAM",graphics.vbf,audio.vbf,loop1.dat} "$E2E_GAME/" || fail "cannot copy the game folder"
    if [ $# -gt 0 ]; then
        (cd "$E2E_GAME" && "$@") || fail "cannot change the game folder: $*"
    fi
}

# scores NAME SCORE...: a high-score table with one row of NAME for each score, as the game stores it.
scores() {
    python3 -c 'import struct, sys; sys.stdout.buffer.write(b"".join(
        struct.pack("<20sI", sys.argv[1].encode(), int(s)) for s in sys.argv[2:]))' "$@"
}

# start_game ARGS...: launches the game and waits until it has started.
start_game() {
    launch "$@"
    started
}

# started: the window is there, start-up has finished without a box, and a capture has begun to grow.
started() {
    if ! wait_until 30 game_window_exists; then
        game_gone && game_ends && fail "the game ended without a window, exit code $GAME_STATUS"
        fail "no game window within 30 s"
    fi
    wait_until 30 log_has "Starting game..." || fail "start-up did not finish within 30 s"
    sleep 0.5
    [ -z "$(box_captions)" ] || fail "a message box came up at start-up"
    find_origin
    if [ -n "$LISTENING" ]; then
        wait_until 10 capture_grows || fail "the capture did not start growing within 20 s"
    fi
}

# start_answering CAPTION COUNT ARGS...: starts the game and answers COUNT boxes of that caption.
start_answering() {
    local answered
    launch "${@:3}"
    for answered in $(seq "$2"); do
        wait_until 30 box_shown "$1" || fail "box $answered of $2 captioned \"$1\" did not come"
        xdotool windowfocus "$BOX" key Return 2>/dev/null
        wait_until 10 box_gone || fail "the \"$1\" box did not go away"
    done
    started
}

# box_gone: the box last found by box_shown is no longer on the screen.
box_gone() { ! xwininfo -id "$BOX" 2>/dev/null | grep -q IsViewable; }

# box_shown CAPTION: a box of that caption is on the screen; its window lands in BOX.
box_shown() {
    BOX=$(windows_named "$1" | head -n 1 | cut -d' ' -f1)
    [ -n "$BOX" ]
}

# box_captions: the caption of each message box on the screen (Error, Notice or Quadrone), a line each.
box_captions() {
    local id name
    windows_named 'Error|Notice|Quadrone' | while read -r id name; do
        [ "$id" = "$GAME_WINDOW" ] || echo "$name"
    done
}

# windows_named PATTERN: the id (decimal, as xdotool gives it) and name of each window on the screen
# whose whole name matches PATTERN, a line each. xdotool cannot read the UTF-8 names SDL's boxes have.
windows_named() {
    local id name
    xwininfo -root -tree 2>/dev/null | sed -nE "s/^ *(0x[0-9a-f]+) \"($1)\": .*/\1 \2/p" | while read -r id name; do
        ! xwininfo -id "$id" 2>/dev/null | grep -q IsViewable || echo "$((id)) $name"
    done
}

# private_display FIRST SIZE: a private Xvfb display on the first free number from FIRST, used from now on.
private_display() {
    local number xvfb
    for number in $(seq "$1" $(($1 + 30))); do
        [ ! -e "/tmp/.X11-unix/X$number" ] && [ ! -e "/tmp/.X$number-lock" ] || continue
        Xvfb ":$number" -screen 0 "$2" -nolisten tcp >/dev/null 2>&1 &
        xvfb=$!
        # A scenario running beside this one may take the same number: then this server ends at once.
        if wait_until 5 test -e "/tmp/.X11-unix/X$number" && sleep 0.2 && kill -0 "$xvfb" 2>/dev/null; then
            on_exit "kill $xvfb 2>/dev/null"
            export DISPLAY=":$number"
            return 0
        fi
        kill "$xvfb" 2>/dev/null
    done
    fail "no private display could start from :$1"
}

# game_window_exists: the game's window is on the screen; it lands in GAME_WINDOW (Wine makes a new
# X window when the style changes with F6).
game_window_exists() {
    GAME_WINDOW=$(xdotool search --onlyvisible --name '^Quadrone$' 2>/dev/null | head -n 1)
    [ -n "$GAME_WINDOW" ]
}

# find_origin: the game area's corner on the screen in ORIGIN_X, ORIGIN_Y, from the window's place.
find_origin() {
    local x y width height
    wait_until 5 game_window_exists || fail "the game window is not on the screen"
    read -r x y width height < <(xwininfo -id "$GAME_WINDOW" 2>/dev/null |
        sed -n 's/.*\(Absolute upper-left [XY]\|Width\|Height\): *\(-\?[0-9]*\).*/\2/p' | tr '\n' ' ')
    [ -n "$height" ] || fail "the game window went away"
    read -r ORIGIN_X ORIGIN_Y < <(area_corner "$x" "$y" "$width" "$height")
}

# log_lines: the lines of the game's debug.log, without their CR; nothing when there is none.
log_lines() {
    if [ -f "$E2E_GAME/debug.log" ]; then
        tr -d '\r' <"$E2E_GAME/debug.log"
    fi
}

# log_has LINE: the log holds that whole line.
log_has() { log_lines | grep -qxF -- "$1"; }

# log_count LINE COUNT: the log holds that line exactly COUNT times.
log_count() { within "$(log_lines | grep -cxF -- "$1")" "$2" "$2" "lines \"$1\" in the log"; }

# log_in_order LINE...: the lines appear in this order, others may stand between them.
log_in_order() {
    local line at=0 found
    for line in "$@"; do
        found=$(log_lines | tail -n "+$((at + 1))" | grep -nxF -- "$line" | head -n 1 | cut -d: -f1)
        [ -n "$found" ] || fail "the log lacks \"$line\" (after line $at)"
        at=$((at + found))
    done
}

# focus_game: gives the game's window the keyboard.
focus_game() {
    game_window_exists || fail "the game window is not on the screen"
    xdotool windowfocus "$GAME_WINDOW" 2>/dev/null
}

# press KEY...: types the keys into the game, 60 ms apart.
press() {
    focus_game
    xdotool key --delay 60 "$@" 2>/dev/null
    sleep 0.3
}

# move_mouse X Y: the pointer to that point of the game area.
move_mouse() {
    xdotool mousemove $((ORIGIN_X + $1)) $((ORIGIN_Y + $2)) 2>/dev/null
    sleep 0.3
}

# hold_key KEY SECONDS: holds the key that long; keys are polled once a frame, so frames see it.
hold_key() {
    focus_game
    xdotool keydown "$1" 2>/dev/null
    sleep "$2"
    xdotool keyup "$1" 2>/dev/null
    sleep 0.2
}

# click X Y: the left button pressed and released at that point of the game area.
click() {
    move_mouse "$1" "$2"
    xdotool mousedown 1 2>/dev/null
    sleep 0.2
    xdotool mouseup 1 2>/dev/null
    sleep 0.5
}

# play_until COMMAND...: Play, then Down held in the new game until COMMAND holds, for up to a minute.
play_until() {
    click 480 190
    focus_game
    xdotool keydown Down 2>/dev/null
    wait_until 60 "$@"
    local status=$?
    xdotool keyup Down 2>/dev/null
    return $status
}

# prompt_shown: the prompt "Enter your initials:" is on the screen, the only pure white across the
# board at top 220.
prompt_shown() {
    shot prompt
    [ "$(area 200 220 240 14 -fill black +opaque white -format '%[fx:round(mean*w*h)]' info:)" != 0 ]
}

# shot NAME: a screenshot of the whole screen, its file in SHOT.
shot() {
    SHOT="$E2E_SHOTS/$1.png"
    import -window root "$SHOT" 2>/dev/null || fail "screenshot $1 failed"
}

# screenshot NAME: takes a shot and prints its file.
screenshot() {
    shot "$1"
    echo "$SHOT"
}

# area X Y WIDTH HEIGHT OPTIONS...: a game-area rectangle of the last screenshot through convert.
area() { convert "$SHOT" -crop "${3}x${4}+$((ORIGIN_X + $1))+$((ORIGIN_Y + $2))" +repage "${@:5}"; }

# lit X Y WIDTH HEIGHT: the number of pixels of that rectangle of the last screenshot that are not black.
lit() { area "$@" -threshold 8% -format '%[fx:round(mean*w*h)]' info:; }

# extract_pictures: the game's pictures as files in PICTURES, once.
extract_pictures() { [ -d "$PICTURES" ] || "$VBFTOOL" extract "$GAME_DIR/graphics.vbf" "$PICTURES" >/dev/null; }

# differing PICTURE X Y [WIDTH HEIGHT [PX PY]]: pixels of the last screenshot's rectangle at X, Y
# that differ from PICTURE's at PX, PY (an extracted picture's name, or a file); its size by default.
differing() {
    local picture=$1 width=${4:-} height=${5:-}
    extract_pictures || return 1
    [ -f "$picture" ] || picture="$PICTURES/$picture.bmp"
    [ -n "$width" ] || read -r width height < <(identify -format '%w %h' "$picture")
    area "$2" "$3" "$width" "$height" "$E2E_WORK/screen-part.png"
    convert "$picture" -crop "${width}x${height}+${6:-0}+${7:-0}" +repage "$E2E_WORK/picture-part.png"
    compare -metric AE "$E2E_WORK/screen-part.png" "$E2E_WORK/picture-part.png" null: 2>&1 | cut -d' ' -f1
}

# shows SHOT PICTURE X Y ...: a new screenshot SHOT has the picture there (differing's arguments).
shows() {
    shot "$1"
    [ "$(differing "${@:2}")" = 0 ]
}

# see SHOT PICTURE X Y ...: as shows, waiting up to 10 s for the picture (a loaded machine redraws
# late); the scenario fails when it does not come.
see() {
    local deadline=$((SECONDS + 10))
    until shows "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || fail "$1: $(differing "${@:2}") pixels differ from $2"
        sleep 0.2
    done
}

# alt_f4: closes the game with Alt+F4, as a player does; its exit code lands in GAME_STATUS.
alt_f4() {
    game_window_exists || GAME_WINDOW=$(xdotool search --name '^Quadrone$' 2>/dev/null | tail -n 1)
    xdotool windowfocus "$GAME_WINDOW" 2>/dev/null
    xdotool key --window "$GAME_WINDOW" alt+F4 2>/dev/null
    game_ends && return 0
    if xdotool search --name '^Quadrone$' >/dev/null 2>&1; then
        fail "the game did not end within 30 s of Alt+F4: its window is still there"
    fi
    fail "the game did not end within 30 s of Alt+F4: its window is gone, the process is not"
}

# close_game: Alt+F4, and the game must end with exit code 0.
close_game() {
    alt_f4
    [ "$GAME_STATUS" = 0 ] || fail "exit code $GAME_STATUS"
}

# close_by_message: the close as the close box sends it, whatever window has the keyboard; exit code 0.
close_by_message() {
    ask_to_close || fail "the game window took no close"
    answer_boxes_after_close
    game_ends || fail "the game did not end within 30 s of its close"
    [ "$GAME_STATUS" = 0 ] || fail "the game ended with exit code $GAME_STATUS after its close"
}

# game_gone: the game's process has ended.
game_gone() { ! kill -0 "$GAME_PID" 2>/dev/null; }

# game_ends: waits up to 30 s for the game to end; its exit code lands in GAME_STATUS.
game_ends() {
    wait_until 30 game_gone || return 1
    wait "$GAME_PID"
    GAME_STATUS=$?
    GAME_PID=""
}

# kill_game [SIGNAL]: kills a game still running, with SIGNAL (TERM by default), and waits for it.
kill_game() {
    [ -n "$GAME_PID" ] || return 0
    # SDL shows a box from a child process of the game's own.
    pkill -KILL -P "$GAME_PID" -x quadrone 2>/dev/null
    kill ${1:+"$1"} "$GAME_PID" 2>/dev/null
    wait "$GAME_PID" 2>/dev/null
    GAME_PID=""
}

# shellcheck source=tests/e2e/sound_lib.sh
. "$E2E_DIR/sound_lib.sh"
# use_backend NAME: the verbs of the windows or the native build from now on.
use_backend() {
    E2E_BACKEND=$1
    # shellcheck source=tests/e2e/backends/windows.sh
    . "$E2E_DIR/backends/$1.sh" || fail "no back end $1"
}
use_backend "$E2E_BACKEND"
