# Plays the real game for QUADRONE_SOAK_MINUTES (2 by default; scripts/reliability.sh soak runs it
# longer): first 50 F6 switches and 100 M presses in a row, then random keys, F6 (which releases
# and restores every surface), M, F1, Escape, Play and focus changes. Every minute it records the
# process's memory, handles, threads, GDI and USER objects, windows and the size of debug.log.
# Passes when the game never ends or shows a box, its memory, handles and threads stay flat after
# the first minute, and debug.log grows by no more than a few lines a second.
MINUTES=${QUADRONE_SOAK_MINUTES:-2}
FIGURES="$BUILD_DIR/logs/soak-figures-$E2E_BACKEND.txt"

alive() { kill -0 "$GAME_PID" 2>/dev/null && [ -z "$(box_captions)" ] || fail "the game ended or showed a box during the soak ($1)"; }

record_minute() {
    local rss probe log_bytes
    rss=$(sed -n 's/^VmRSS:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$GAME_PID/status")
    probe=$(process_figures "$GAME_PID")
    log_bytes=$(stat -c %s "$E2E_GAME/debug.log")
    echo "$1 ${rss:--1} ${probe:--1 -1 -1 -1 -1 -1} $log_bytes" | tee -a "$FIGURES"
    # A line every frame would be megabytes a minute; a display switch logs about 700 bytes.
    [ "$1" -le 1 ] || within $((log_bytes - LAST_LOG_BYTES)) 0 65536 "bytes debug.log grew in minute $1"
    LAST_LOG_BYTES=$log_bytes
}

# Each of the twenty is as likely: mostly the game keys, then F6, M, F1, Escape, Play, a focus
# change and initials.
ROOT_WINDOW=$(xwininfo -root | sed -n 's/.*Window id: \(0x[0-9a-f]*\).*/\1/p')
ACTIONS=("press Left" "press Right" "press Down" "press space" "press Left" "press Right" "press Down"
    "press space" "hold_key Down 1" "press F6; find_origin" "press m" "press m" "press F1" "press Escape"
    "press Escape" "click 480 190" "click 480 190" "press a Return" "press a Return"
    "xdotool windowfocus $ROOT_WINDOW 2>/dev/null; sleep 0.5; focus_game")

echo "minute rss_kb working_set_kb handles threads gdi user windows log_bytes" >"$FIGURES"
LAST_LOG_BYTES=0
start_game
started=$SECONDS
record_minute 0

step "50 F6 switches and 100 M presses in a row"
for i in $(seq 50); do press F6; done
find_origin
for _ in $(seq 100); do xdotool key m 2>/dev/null && sleep 0.05; done
alive "after the F6 and M runs"

step "$MINUTES minutes of play"
minute=1 actions=0
while [ $((SECONDS - started)) -lt $((MINUTES * 60)) ]; do
    eval "${ACTIONS[RANDOM % 20]}"
    actions=$((actions + 1))
    [ $((actions % 5)) -eq 0 ] && alive "after $actions actions"
    [ $((SECONDS - started)) -lt $((minute * 60)) ] || { record_minute "$minute" && minute=$((minute + 1)); }
done
alive "at the end"
record_minute "$minute"
echo "$actions random actions; figures in $FIGURES"

# Flat after the first minute: the last sample against the sample at minute 1.
read -r _ rss1 _ handles1 threads1 _ < <(sed -n '3p' "$FIGURES")
read -r _ rss _ handles threads _ < <(tail -n 1 "$FIGURES")
within $((rss - rss1)) -1e9 16384 "kB of memory grown after minute 1"
within $((handles - handles1)) -1e9 20 "handles grown after minute 1"
within $((threads - threads1)) -1e9 0 "threads grown after minute 1"
# The soak's focus games leave X's keyboard focus anywhere, and Alt+F4 has its own tests.
close_by_message
