# Sourced by the end-to-end tests: runs the real quadrone.exe under Wine on the virtual display
# and drives it with xdotool. Every wait is bounded; a message box is reported by its caption.
# Needs the environment of scripts/test.sh (or scripts/play.sh): ROOT, BUILD_DIR, GAME_DIR, and
# Wine's variables and DISPLAY from scripts/wine-env.sh.
set -uo pipefail

E2E_NAME=$(basename "$0" .sh)
E2E_WORK=$(mktemp -d "${TMPDIR:-/tmp}/quadrone-e2e-$E2E_NAME.XXXXXX")
E2E_GAME="$E2E_WORK/game"
E2E_SHOTS="$BUILD_DIR/e2e-shots/$E2E_NAME"
E2E_PICTURES="$E2E_WORK/pictures"
VBFTOOL="$BUILD_DIR/native/tools/vbftool"
GAME_PID=""
GAME_WINDOW=""
GAME_STATUS=""
ORIGIN_X=0
ORIGIN_Y=0
mkdir -p "$E2E_GAME" "$E2E_SHOTS"

e2e_cleanup() {
    e2e_kill_game
    rm -rf "$E2E_WORK"
}
trap e2e_cleanup EXIT

fail() {
    echo "FAIL ($E2E_NAME): $*"
    e2e_report_boxes
    if [ -f "$E2E_GAME/debug.log" ]; then
        echo "--- the end of debug.log:"
        tr -d '\r' <"$E2E_GAME/debug.log" | tail -n 15
    fi
    exit 1
}

step() {
    echo "* $*"
}

# A fresh copy of the game folder, which a test may damage as it likes.
e2e_prepare_game() {
    rm -rf "$E2E_GAME"
    mkdir -p "$E2E_GAME"
    local file
    for file in quadrone.exe graphics.vbf audio.vbf loop1.dat; do
        cp "$GAME_DIR/$file" "$E2E_GAME/" || fail "the game folder lacks $file"
    done
}

e2e_extract_pictures() {
    [ -d "$E2E_PICTURES" ] && return 0
    "$VBFTOOL" extract "$GAME_DIR/graphics.vbf" "$E2E_PICTURES" >/dev/null || fail "cannot extract the pictures"
}

e2e_wait_until() {
    local seconds=$1
    shift
    local tries=$((seconds * 10))
    while [ "$tries" -gt 0 ]; do
        "$@" && return 0
        sleep 0.1
        tries=$((tries - 1))
    done
    return 1
}

# Wine makes a new X window when the style changes (F6): always take the one on the screen.
game_window_exists() {
    GAME_WINDOW=$(xdotool search --onlyvisible --name '^Quadrone$' 2>/dev/null | head -n 1)
    [ -n "$GAME_WINDOW" ]
}

# The client area starts inside the X window by half the extra width and height.
e2e_find_origin() {
    local info x y width height
    e2e_wait_until 5 game_window_exists || fail "the game window is not on the screen"
    info=$(xwininfo -id "$GAME_WINDOW" 2>/dev/null) || fail "the game window went away"
    x=$(echo "$info" | sed -n 's/.*Absolute upper-left X: *\(-\?[0-9]*\).*/\1/p')
    y=$(echo "$info" | sed -n 's/.*Absolute upper-left Y: *\(-\?[0-9]*\).*/\1/p')
    width=$(echo "$info" | sed -n 's/.*Width: *\([0-9]*\).*/\1/p')
    height=$(echo "$info" | sed -n 's/.*Height: *\([0-9]*\).*/\1/p')
    ORIGIN_X=$((x + (width - 640) / 2))
    ORIGIN_Y=$((y + (height - 480) / 2))
}

e2e_start_game() {
    (cd "$E2E_GAME" && exec wine quadrone.exe "$@") >"$E2E_WORK/wine.out" 2>&1 </dev/null &
    GAME_PID=$!
    e2e_wait_until 30 game_window_exists || fail "no game window within 30 s"
    e2e_wait_log "Starting game..." 30 || fail "start-up did not finish within 30 s"
    sleep 0.5
    e2e_find_origin
}

# Starts the game and answers `count` boxes with this caption as they come up; no more may follow.
e2e_start_answering_boxes() {
    local caption=$1 count=$2 answered=0 box
    shift 2
    (cd "$E2E_GAME" && exec wine quadrone.exe "$@") >"$E2E_WORK/wine.out" 2>&1 </dev/null &
    GAME_PID=$!
    while [ "$answered" -lt "$count" ]; do
        e2e_wait_until 30 eval 'box=$(xdotool search --onlyvisible --name "^$caption\$" 2>/dev/null | head -n 1); [ -n "$box" ]' ||
            fail "box $((answered + 1)) of $count captioned \"$caption\" did not come"
        xdotool windowfocus "$box" key Return 2>/dev/null
        e2e_wait_until 10 eval '! xwininfo -id "$box" 2>/dev/null | grep -q IsViewable' ||
            fail "the \"$caption\" box did not go away"
        answered=$((answered + 1))
    done
    e2e_wait_until 30 game_window_exists || fail "no game window within 30 s"
    e2e_wait_log "Starting game..." 30 || fail "start-up did not finish"
    sleep 0.5
    [ -z "$(e2e_boxes)" ] || fail "more boxes than the $count expected"
    e2e_find_origin
}

# The lines appear in this order, others may stand between them.
e2e_expect_log_in_order() {
    local log line at=0 found
    log=$(e2e_log_lines)
    for line in "$@"; do
        found=$(echo "$log" | tail -n "+$((at + 1))" | grep -nxF -- "$line" | head -n 1 | cut -d: -f1)
        [ -n "$found" ] || fail "the log lacks \"$line\" (after line $at)"
        at=$((at + found))
    done
}

e2e_log_lines() {
    [ -f "$E2E_GAME/debug.log" ] && tr -d '\r' <"$E2E_GAME/debug.log"
}

log_has_line() {
    e2e_log_lines | grep -qxF -- "$1"
}

e2e_wait_log() {
    e2e_wait_until "${2:-10}" log_has_line "$1"
}

# Message boxes are top-level windows with these captions; each is named so a failure says why.
e2e_boxes() {
    local caption id
    for caption in Error Notice Quadrone; do
        for id in $(xdotool search --name "^$caption\$" 2>/dev/null); do
            [ "$id" = "$GAME_WINDOW" ] && continue
            echo "$caption"
        done
    done
}

e2e_report_boxes() {
    local boxes
    boxes=$(e2e_boxes | sort | uniq -c)
    [ -n "$boxes" ] && echo "message boxes on the screen: $boxes"
    return 0
}

e2e_dismiss_boxes() {
    local id
    for id in $(xdotool search --name '^(Error|Notice)$' 2>/dev/null); do
        xdotool windowactivate --sync "$id" key Return 2>/dev/null || xdotool key --window "$id" Return
        sleep 0.3
    done
}

e2e_focus() {
    game_window_exists || fail "the game window is not on the screen"
    xdotool windowfocus "$GAME_WINDOW" 2>/dev/null
}

e2e_key() {
    e2e_focus
    xdotool key --delay 60 "$@" 2>/dev/null
    sleep 0.3
}

# Holds a key for a while, so the polled keyboard sees it down for many frames.
e2e_hold_key() {
    e2e_focus
    xdotool keydown "$1" 2>/dev/null
    sleep "$2"
    xdotool keyup "$1" 2>/dev/null
    sleep 0.2
}

e2e_move() {
    xdotool mousemove $((ORIGIN_X + $1)) $((ORIGIN_Y + $2)) 2>/dev/null
    sleep 0.3
}

# The menu polls the button once a frame: hold it long enough for frames to see it down.
e2e_click() {
    e2e_move "$1" "$2"
    xdotool mousedown 1 2>/dev/null
    sleep 0.2
    xdotool mouseup 1 2>/dev/null
    sleep 0.5
}

e2e_screenshot() {
    import -window root "$E2E_SHOTS/$1.png" 2>/dev/null || fail "screenshot $1 failed"
    echo "$E2E_SHOTS/$1.png"
}

# Differing pixels between a game-area rectangle of a screenshot and a picture (or a part of it).
e2e_pixels_differing() {
    local shot=$1 x=$2 y=$3 width=$4 height=$5 picture=$6 px=${7:-0} py=${8:-0}
    convert "$shot" -crop "${width}x${height}+$((ORIGIN_X + x))+$((ORIGIN_Y + y))" +repage \
        "$E2E_WORK/screen-part.png"
    convert "$picture" -crop "${width}x${height}+${px}+${py}" +repage "$E2E_WORK/picture-part.png"
    compare -metric AE "$E2E_WORK/screen-part.png" "$E2E_WORK/picture-part.png" null: 2>&1 | cut -d' ' -f1
}

e2e_expect_picture() {
    local what=$1
    shift
    local differing
    differing=$(e2e_pixels_differing "$@")
    [ "$differing" = "0" ] || fail "$what: $differing pixels differ from $6"
}

# Alt+F4, as a player closes the window; the exit code lands in GAME_STATUS.
e2e_close_game() {
    game_window_exists || GAME_WINDOW=$(xdotool search --name '^Quadrone$' 2>/dev/null | tail -n 1)
    xdotool windowfocus "$GAME_WINDOW" 2>/dev/null
    xdotool key --window "$GAME_WINDOW" alt+F4 2>/dev/null
    e2e_wait_game_exit 30 && return 0
    xdotool search --name '^Quadrone$' >/dev/null 2>&1 &&
        fail "the game did not end within 30 s of Alt+F4: its window is still there"
    fail "the game did not end within 30 s of Alt+F4: its window is gone, the process is not"
}

e2e_wait_game_exit() {
    local tries=$(($1 * 10))
    while kill -0 "$GAME_PID" 2>/dev/null && [ "$tries" -gt 0 ]; do
        sleep 0.1
        tries=$((tries - 1))
    done
    kill -0 "$GAME_PID" 2>/dev/null && return 1
    wait "$GAME_PID"
    GAME_STATUS=$?
    GAME_PID=""
    return 0
}

e2e_kill_game() {
    [ -n "$GAME_PID" ] || return 0
    kill "$GAME_PID" 2>/dev/null
    wait "$GAME_PID" 2>/dev/null
    GAME_PID=""
}
