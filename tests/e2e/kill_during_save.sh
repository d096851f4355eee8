#!/usr/bin/env bash
# Kills during a save leave quadrone.dat whole: save_loop.exe saves two tables in turn through
# the game's own save and is killed at varied moments; then the game is killed at varied moments
# after Alt+F4 at the initials prompt. After each kill the file is one of the tables it could be.
# QUADRONE_SAVE_KILLS and QUADRONE_GAME_KILLS set the counts (scripts/reliability.sh kills).
. "$(dirname "$0")/lib.sh"

SAVE_KILLS=${QUADRONE_SAVE_KILLS:-20}
GAME_KILLS=${QUADRONE_GAME_KILLS:-1}
SAVER="$BUILD_DIR/windows/tests/reliability/save_loop.exe"

# Five rows: the name, zeros to 20 bytes, then the score little-endian (scores below 65536).
table_bytes() {
    local name=$1 row score
    shift
    for score in "$@"; do
        printf '%s' "$name" && head -c $((20 - ${#name})) /dev/zero
        printf "$(printf '\\%03o\\%03o' $((score & 255)) $((score >> 8)))\\0\\0"
    done
}

whole_table_is() {
    local file=$1 expected
    shift
    for expected in "$@"; do
        cmp -s "$file" "$expected" && return 0
    done
    return 1
}

step "$SAVE_KILLS kills of a program that saves two tables in turn"
table_bytes ONE 1000 999 998 997 996 >"$E2E_WORK/one.dat"
table_bytes TWO 2000 1999 1998 1997 1996 >"$E2E_WORK/two.dat"
cp "$SAVER" "$E2E_GAME/" || fail "no $SAVER"
kills=0 partials=0 ones=0 started=$SECONDS
while [ "$kills" -lt "$SAVE_KILLS" ]; do
    rm -f "$E2E_WORK/saver.out"
    (cd "$E2E_GAME" && exec wine save_loop.exe) >"$E2E_WORK/saver.out" 2>&1 </dev/null &
    GAME_PID=$!
    e2e_wait_until 30 grep -qs saving "$E2E_WORK/saver.out" || fail "save_loop.exe did not start"
    sleep "0.$((RANDOM % 10))$((RANDOM % 10))$((RANDOM % 10))"
    kill -KILL "$GAME_PID"
    wait "$GAME_PID" 2>/dev/null
    GAME_PID=""
    kills=$((kills + 1))
    [ -e "$E2E_GAME/quadrone.dat.new" ] && partials=$((partials + 1))
    cmp -s "$E2E_GAME/quadrone.dat" "$E2E_WORK/one.dat" && ones=$((ones + 1))
    whole_table_is "$E2E_GAME/quadrone.dat" "$E2E_WORK/one.dat" "$E2E_WORK/two.dat" ||
        fail "after kill $kills quadrone.dat is neither table: $(od -An -c "$E2E_GAME/quadrone.dat" | head -n 3)"
done
echo "$kills kills in $((SECONDS - started)) s: $ones left the first table, $((kills - ones)) the second," \
    "$partials a partial file"

step "$GAME_KILLS kills of the game closing at the initials prompt"
# Rows out of order: the game's save sorts them, so both the old and the saved file are known.
table_bytes CPU 1 2 3 4 5 >"$E2E_WORK/unsorted.dat"
table_bytes CPU 5 4 3 2 1 >"$E2E_WORK/sorted.dat"
prompt_shown() {
    local shot
    shot=$(e2e_screenshot prompt)
    convert "$shot" -crop "240x14+$((ORIGIN_X + 200))+$((ORIGIN_Y + 220))" +repage \
        -fill black +opaque white -format '%[fx:round(mean*w*h)]' info: | grep -qvx 0
}
kills=0 saved=0
while [ "$kills" -lt "$GAME_KILLS" ]; do
    e2e_prepare_game
    cp "$E2E_WORK/unsorted.dat" "$E2E_GAME/quadrone.dat"
    e2e_start_game
    e2e_move 5 5
    e2e_click 480 190
    e2e_focus
    xdotool keydown Down 2>/dev/null
    e2e_wait_until 60 prompt_shown
    shown=$?
    xdotool keyup Down 2>/dev/null
    [ "$shown" -eq 0 ] || fail "no initials prompt within 60 s of Down"
    e2e_key A B
    xdotool key --window "$GAME_WINDOW" alt+F4 2>/dev/null
    sleep "0.$((RANDOM % 3))$((RANDOM % 10))"
    kill -KILL "$GAME_PID" 2>/dev/null
    wait "$GAME_PID" 2>/dev/null
    GAME_PID=""
    kills=$((kills + 1))
    whole_table_is "$E2E_GAME/quadrone.dat" "$E2E_WORK/unsorted.dat" "$E2E_WORK/sorted.dat" ||
        fail "after game kill $kills quadrone.dat is neither table: $(od -An -c "$E2E_GAME/quadrone.dat" | head -n 3)"
    cmp -s "$E2E_GAME/quadrone.dat" "$E2E_WORK/sorted.dat" && saved=$((saved + 1))
done
echo "$kills game kills: $saved after the save, $((kills - saved)) before it"
echo "kill_during_save: passed"
