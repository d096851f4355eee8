# The play command on a desktop, run by an ordinary user (play.sh --windows for the Windows build,
# play.sh for the native one): the title music reaches the user's own PulseAudio server (a null
# sink whose monitor is recorded), the game's files belong to the user, and a second run finds the
# build (and Wine prefix) and the table saved by the first.
# Tests run as root in CI: the player is then a user of their own.
if [ "$(id -u)" -eq 0 ]; then
    PLAYER=quadrone-player
    id "$PLAYER" >/dev/null 2>&1 || useradd -m -s /bin/bash "$PLAYER" || fail "useradd failed"
    PLAYER_HOME=$(getent passwd "$PLAYER" | cut -d: -f6)
    # setpriv becomes the command, so a background one's process id is the command's own.
    AS_PLAYER=(setpriv --reuid="$PLAYER" --regid="$PLAYER" --init-groups --)
else
    PLAYER=$(id -un) PLAYER_HOME="$BUILD_DIR/desktop-player" AS_PLAYER=()
fi
# The player and their checkout are one for every test run on this machine: runs take turns.
exec {turn}>"${TMPDIR:-/tmp}/quadrone-desktop-player.lock" && flock "$turn"
CHECKOUT="$PLAYER_HOME/quadrone"
# Where each build keeps the table and log, what it builds, and what else it keeps for the player.
if [ "$E2E_BACKEND" = windows ]; then
    PLAY_ARGS=(--windows) E2E_GAME="$CHECKOUT/build/game" DATA="$CHECKOUT/build/game"
    BUILT="$E2E_GAME/quadrone.exe" PREFIX="$CHECKOUT/build/wine/desktop-prefix"
else
    PLAY_ARGS=() E2E_GAME="$PLAYER_HOME/.local/share/Quadrone" DATA="$CHECKOUT/build/play/game"
    BUILT="$DATA/quadrone" PREFIX=""
fi
RUNTIME="$E2E_WORK/runtime"
mkdir -p "$RUNTIME" && chmod 711 "$E2E_WORK" && chmod 700 "$RUNTIME" && chown "$PLAYER" "$RUNTIME"

step "the player's desktop: a display and a PulseAudio server with a null sink"
private_display 121 1024x768x24
# Only what a login on a desktop gives: no variable of the test command reaches the player.
AS_PLAYER+=(env -i HOME="$PLAYER_HOME" USER="$PLAYER" LOGNAME="$PLAYER" LANG=C.UTF-8
    PATH=/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin DISPLAY="$DISPLAY" XDG_RUNTIME_DIR="$RUNTIME")
"${AS_PLAYER[@]}" pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
    -L "module-null-sink sink_name=speakers" -L module-native-protocol-unix >"$RUNTIME/pulse.log" 2>&1 &
on_exit "kill $! 2>/dev/null"
wait_until 10 "${AS_PLAYER[@]}" pactl list short sinks >/dev/null 2>&1 || fail "PulseAudio did not start"

step "the player's own copy of the sources and of the dependency cache, and a table any game enters"
"${AS_PLAYER[@]}" mkdir -p "$CHECKOUT" "$PLAYER_HOME/.cache/quadrone" "$E2E_GAME"
tar -C "$ROOT" --exclude=./.git --exclude='./build*' --exclude=./dist -cf - . | "${AS_PLAYER[@]}" tar -C "$CHECKOUT" -xf - ||
    fail "cannot copy the sources"
[ "$E2E_BACKEND" = native ] || [ -f "$PLAYER_HOME/.cache/quadrone/mingw64/lib/libvorbisfile.a" ] ||
    tar -C "$QUADRONE_CACHE" -cf - mingw64 | "${AS_PLAYER[@]}" tar -C "$PLAYER_HOME/.cache/quadrone" -xf - ||
    fail "cannot copy the dependency cache"
"${AS_PLAYER[@]}" rm -f "$E2E_GAME/debug.log"
scores CPU 1 1 1 1 1 | "${AS_PLAYER[@]}" tee "$E2E_GAME/quadrone.dat" >/dev/null

play_command() {
    "${AS_PLAYER[@]}" bash "$CHECKOUT/scripts/play.sh" "${PLAY_ARGS[@]}" >"$E2E_WORK/play-$1.log" 2>&1 </dev/null &
    GAME_PID=$!
    wait_until 540 game_window_exists || {
        tail -n 20 "$E2E_WORK/play-$1.log"
        fail "no game window"
    }
    started
}
rms_db() { sox "$@" -n stats 2>&1 | sed -n 's/^RMS lev dB *\(-\?[0-9.]*\).*/\1/p' | head -n 1; }

step "first run: the title music plays through the null sink at the level of loop1.dat"
play_command first
sleep 2
"${AS_PLAYER[@]}" timeout 4 parec -d speakers.monitor --raw --format=s16le --rate=48000 --channels=2 >"$E2E_WORK/heard.raw"
heard=$(rms_db -t raw -r 48000 -e signed -b 16 -c 2 "$E2E_WORK/heard.raw")
loop=$(rms_db "$DATA/loop1.dat")
echo "recorded $(stat -c %s "$E2E_WORK/heard.raw") bytes; title music at $heard dBFS RMS, loop1.dat at $loop"
within "$(awk -v h="${heard:--999}" -v l="${loop:-0}" 'BEGIN { print h - l }')" -6 6 "dB heard against loop1.dat"

step "first run: a finished game's initials lead to the Top Five and are saved on close"
play_until prompt_shown || fail "no initials prompt within a minute of Down"
press Q D R Return && sleep 0.5
see first-table "${PLATE[@]}"
first_table=$SHOT first_x=$ORIGIN_X first_y=$ORIGIN_Y
close_game
[ "$(head -c 3 "$E2E_GAME/quadrone.dat")" = QDR ] || fail "QDR is not the best row of quadrone.dat"

step "the game's files belong to the player"
for file in $PREFIX "$E2E_GAME/quadrone.dat" "$E2E_GAME/debug.log"; do
    [ "$(stat -c %U "$file")" = "$PLAYER" ] || fail "$file belongs to $(stat -c %U "$file")"
done
[ -z "$PREFIX" ] || "${AS_PLAYER[@]}" touch "$PREFIX/kept-from-the-first-run"
exe_made=$(stat -c %Y "$BUILT")

step "second run: the same prefix and build, and Scores shows the saved table"
play_command second
click 420 270
see second-table "$first_table" 250 190 160 80 $((first_x + 250)) $((first_y + 190))
close_game
[ -z "$PREFIX" ] || [ -f "$PREFIX/kept-from-the-first-run" ] || fail "the prefix was made again"
[ "$(stat -c %Y "$BUILT")" = "$exe_made" ] || fail "the game was built again"
