# Kills during a save leave quadrone.dat whole: save_loop saves two tables in turn through
# the game's own save and is killed at varied moments; then the game is killed at varied moments
# after Alt+F4 at the initials prompt. After each kill the file is one of the tables it could be.
# QUADRONE_SAVE_KILLS and QUADRONE_GAME_KILLS set the counts (scripts/reliability.sh kills).
SAVE_KILLS=${QUADRONE_SAVE_KILLS:-20}
GAME_KILLS=${QUADRONE_GAME_KILLS:-1}

# whole_table FILE TABLE...: after one more kill the file is byte for byte one of the tables.
whole_table() {
    local table
    kills=$((kills + 1))
    for table in "${@:2}"; do cmp -s "$1" "$table" && return 0; done
    fail "after kill $kills quadrone.dat is none of the tables it could be: $(od -An -c "$1" | head -n 3)"
}

step "$SAVE_KILLS kills of a program that saves two tables in turn"
scores ONE 1000 999 998 997 996 >"$E2E_WORK/one.dat"
scores TWO 2000 1999 1998 1997 1996 >"$E2E_WORK/two.dat"
kills=0 partials=0 ones=0 started=$SECONDS
while [ "$kills" -lt "$SAVE_KILLS" ]; do
    rm -f "$E2E_WORK/saver.out"
    start_saver
    wait_until 30 grep -qs saving "$E2E_WORK/saver.out" || fail "the saving program did not start"
    sleep "0.$((RANDOM % 10))$((RANDOM % 10))$((RANDOM % 10))"
    kill_game -KILL
    [ -e "$E2E_GAME/quadrone.dat.new" ] && partials=$((partials + 1))
    cmp -s "$E2E_GAME/quadrone.dat" "$E2E_WORK/one.dat" && ones=$((ones + 1))
    whole_table "$E2E_GAME/quadrone.dat" "$E2E_WORK/one.dat" "$E2E_WORK/two.dat"
done
echo "$kills kills in $((SECONDS - started)) s: $ones left the first table, $((kills - ones)) the second," \
    "$partials a partial file"

step "$GAME_KILLS kills of the game closing at the initials prompt"
# Rows out of order: the game's save sorts them, so both the old and the saved file are known.
scores CPU 1 2 3 4 5 >"$E2E_WORK/unsorted.dat"
scores CPU 5 4 3 2 1 >"$E2E_WORK/sorted.dat"
kills=0 saved=0
while [ "$kills" -lt "$GAME_KILLS" ]; do
    prepare_game cp "$E2E_WORK/unsorted.dat" quadrone.dat
    start_game
    move_mouse 5 5
    play_until prompt_shown || fail "no initials prompt within a minute of Down"
    press A B
    xdotool key --window "$GAME_WINDOW" alt+F4 2>/dev/null
    sleep "0.$((RANDOM % 3))$((RANDOM % 10))"
    kill_game -KILL
    whole_table "$E2E_GAME/quadrone.dat" "$E2E_WORK/unsorted.dat" "$E2E_WORK/sorted.dat"
    cmp -s "$E2E_GAME/quadrone.dat" "$E2E_WORK/sorted.dat" && saved=$((saved + 1))
done
echo "$kills game kills: $saved after the save, $((kills - saved)) before it"
