#!/usr/bin/env bash
# Plays the real game for QUADRONE_SOAK_MINUTES (2 by default; scripts/reliability.sh soak runs it longer):
# first 50 F6 switches and 100 M presses in a row, then random keys, F6 (which releases and
# restores every surface), M, F1, Escape, Play and focus changes. Every minute it records the
# process's memory, handles, threads, GDI and USER objects, windows and the size of debug.log.
# Passes when the game never ends or shows a box, its memory, handles and threads stay flat after
# the first minute, and debug.log grows by no more than a few lines a second.
. "$(dirname "$0")/lib.sh"

MINUTES=${QUADRONE_SOAK_MINUTES:-2}
PROBE="$BUILD_DIR/windows/tests/reliability/process_probe.exe"
FIGURES="$BUILD_DIR/logs/soak-figures.txt"
MAX_MEMORY_GROWTH_KB=16384
MAX_HANDLE_GROWTH=20
# A line every frame would be megabytes a minute; a display switch logs about 700 bytes.
MAX_LOG_GROWTH_PER_MINUTE=65536

expect_alive() {
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended during the soak ($1)"
    [ -z "$(e2e_boxes)" ] || fail "a message box came up during the soak ($1)"
}

COLUMNS_LINE="minute rss_kb working_set_kb handles threads gdi user windows log_bytes"
record_minute() {
    local rss probe log_bytes
    rss=$(sed -n 's/^VmRSS:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$GAME_PID/status")
    probe=$(cd "$E2E_GAME" && wine process_probe.exe quadrone.exe 2>/dev/null </dev/null | tr -d '\r')
    [ -n "$probe" ] || probe="-1 -1 -1 -1 -1 -1"
    log_bytes=$(stat -c %s "$E2E_GAME/debug.log")
    echo "$1 ${rss:--1} $probe $log_bytes" | tee -a "$FIGURES"
    [ "$1" -le 1 ] || [ $((log_bytes - LAST_LOG_BYTES)) -le "$MAX_LOG_GROWTH_PER_MINUTE" ] ||
        fail "debug.log grew by $((log_bytes - LAST_LOG_BYTES)) bytes in minute $1"
    LAST_LOG_BYTES=$log_bytes
}

focus_away_and_back() {
    xdotool windowfocus "$(xwininfo -root | sed -n 's/.*Window id: \(0x[0-9a-f]*\).*/\1/p')" 2>/dev/null
    sleep 0.5
    e2e_focus
}

random_action() {
    case $((RANDOM % 20)) in
        0 | 1 | 2 | 3 | 4 | 5 | 6 | 7) e2e_key "$(echo Left Right Down space | cut -d' ' -f$((RANDOM % 4 + 1)))" ;;
        8) e2e_hold_key Down 1 ;;
        9) e2e_key F6 && e2e_find_origin ;;
        10 | 11) e2e_key m ;;
        12) e2e_key F1 ;;
        13 | 14) e2e_key Escape ;;
        15 | 16) e2e_click 480 190 ;;
        17) focus_away_and_back ;;
        18 | 19) e2e_key a Return ;;
    esac
}

e2e_prepare_game
cp "$PROBE" "$(dirname "$PROBE")/close_window.exe" "$E2E_GAME/" || fail "no $PROBE"
echo "$COLUMNS_LINE" >"$FIGURES"
LAST_LOG_BYTES=0
e2e_start_game
started=$SECONDS
record_minute 0

step "50 F6 switches and 100 M presses in a row"
for i in $(seq 50); do
    e2e_key F6
done
e2e_find_origin
for i in $(seq 100); do
    xdotool key m 2>/dev/null
    sleep 0.05
done
expect_alive "after the F6 and M runs"

step "$MINUTES minutes of play"
minute=1 actions=0
while [ $((SECONDS - started)) -lt $((MINUTES * 60)) ]; do
    random_action
    actions=$((actions + 1))
    [ $((actions % 5)) -eq 0 ] && expect_alive "after $actions actions"
    if [ $((SECONDS - started)) -ge $((minute * 60)) ]; then
        record_minute "$minute"
        minute=$((minute + 1))
    fi
done
expect_alive "at the end"
record_minute "$minute"
echo "$actions random actions; figures in $FIGURES"

# Flat after the first minute: the last sample against the sample at minute 1.
read -r _ rss1 _ handles1 threads1 _ < <(sed -n '3p' "$FIGURES")
read -r _ rss _ handles threads _ < <(tail -n 1 "$FIGURES")
[ $((rss - rss1)) -le "$MAX_MEMORY_GROWTH_KB" ] || fail "memory grew by $((rss - rss1)) kB after minute 1"
[ $((handles - handles1)) -le "$MAX_HANDLE_GROWTH" ] || fail "handles grew from $handles1 to $handles after minute 1"
[ "$threads" -le "$threads1" ] || fail "threads grew from $threads1 to $threads after minute 1"
# The close goes to the window as its close box sends it: the soak's focus games leave X's
# keyboard focus anywhere, and Alt+F4 has its own tests.
(cd "$E2E_GAME" && wine close_window.exe SpriteAnimate) </dev/null || fail "the game window took no close"
e2e_wait_game_exit 30 || fail "the game did not end within 30 s of its close"
[ "$GAME_STATUS" = "0" ] || fail "exit code $GAME_STATUS after the soak"
echo "soak: passed"
