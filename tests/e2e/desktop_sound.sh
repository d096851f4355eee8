#!/usr/bin/env bash
# The play command on a desktop, run by an ordinary user: the title music reaches the user's own
# PulseAudio server (a null sink whose monitor is recorded), the game's files belong to the user,
# and a second run finds the Wine prefix, the build and the table saved by the first.
. "$(dirname "$0")/lib.sh"

# Tests run as root in CI: the player is then a user of their own.
if [ "$(id -u)" -eq 0 ]; then
    PLAYER=quadrone-player
    id "$PLAYER" >/dev/null 2>&1 || useradd -m -s /bin/bash "$PLAYER" || fail "useradd failed"
    PLAYER_HOME=$(getent passwd "$PLAYER" | cut -d: -f6)
    # setpriv becomes the command, so a background one's process id is the command's own.
    AS_PLAYER=(setpriv --reuid="$PLAYER" --regid="$PLAYER" --init-groups --)
else
    PLAYER=$(id -un)
    PLAYER_HOME="$BUILD_DIR/desktop-player"
    AS_PLAYER=()
fi
CHECKOUT="$PLAYER_HOME/quadrone"
E2E_GAME="$CHECKOUT/build/game"
RUNTIME=$(mktemp -d /tmp/quadrone-desktop.XXXXXX)
chown "$PLAYER" "$RUNTIME" && chmod 700 "$RUNTIME"
PULSE_PID=""
XVFB_PID=""

stop_desktop() {
    e2e_cleanup
    local pid
    for pid in $PULSE_PID $XVFB_PID; do
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    rm -rf "$RUNTIME"
}
trap stop_desktop EXIT

as_player() {
    "${AS_PLAYER[@]}" "$@"
}

player_env() {
    "${AS_PLAYER[@]}" "${PLAYER_ENV[@]}" "$@"
}

step "the player's desktop: a display and a PulseAudio server with a null sink"
for number in $(seq 121 160); do
    [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ] || break
done
export DISPLAY=":$number"
# Only what a login on a desktop gives: no variable of the test command reaches the player.
PLAYER_ENV=(env -i HOME="$PLAYER_HOME" USER="$PLAYER" LOGNAME="$PLAYER" LANG=C.UTF-8
    PATH=/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin DISPLAY="$DISPLAY" XDG_RUNTIME_DIR="$RUNTIME")
"${AS_PLAYER[@]}" "${PLAYER_ENV[@]}" Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >"$RUNTIME/xvfb.log" 2>&1 &
XVFB_PID=$!
"${AS_PLAYER[@]}" "${PLAYER_ENV[@]}" pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
    -L "module-null-sink sink_name=speakers" -L module-native-protocol-unix >"$RUNTIME/pulse.log" 2>&1 &
PULSE_PID=$!
e2e_wait_until 10 player_env pactl list short sinks >/dev/null 2>&1 || fail "PulseAudio did not start"

step "the player's own copy of the sources and of the dependency cache"
as_player mkdir -p "$CHECKOUT" "$PLAYER_HOME/.cache/quadrone"
tar -C "$ROOT" --exclude=./.git --exclude='./build*' --exclude=./dist -cf - . | as_player tar -C "$CHECKOUT" -xf - ||
    fail "cannot copy the sources"
[ -f "$PLAYER_HOME/.cache/quadrone/mingw64/lib/libvorbisfile.a" ] ||
    tar -C "$QUADRONE_CACHE" -cf - mingw64 | as_player tar -C "$PLAYER_HOME/.cache/quadrone" -xf - ||
    fail "cannot copy the dependency cache"
# A table that any finished game enters.
as_player mkdir -p "$E2E_GAME"
as_player rm -f "$E2E_GAME/debug.log"
python3 -c 'import struct, sys; sys.stdout.buffer.write(b"".join(b"CPU".ljust(20, b"\0") + struct.pack("<I", 1) for _ in range(5)))' |
    as_player tee "$E2E_GAME/quadrone.dat" >/dev/null

start_play() {
    "${AS_PLAYER[@]}" "${PLAYER_ENV[@]}" bash "$CHECKOUT/scripts/play.sh" >"$E2E_WORK/play-$1.log" 2>&1 </dev/null &
    GAME_PID=$!
    e2e_wait_until 540 game_window_exists || { tail -n 20 "$E2E_WORK/play-$1.log"; fail "no game window"; }
    e2e_wait_log "Starting game..." 30 || fail "start-up did not finish within 30 s"
    sleep 0.5
    e2e_find_origin
}

step "first run: the title music plays through the null sink"
start_play first
sleep 2
player_env timeout 4 parec -d speakers.monitor --raw --format=s16le --rate=48000 --channels=2 >"$E2E_WORK/heard.raw"
level() {
    sox "$@" -n stats 2>&1 | sed -n 's/^RMS lev dB *\(-\?[0-9.]*\).*/\1/p' | head -n 1
}
heard=$(level -t raw -r 48000 -e signed -b 16 -c 2 "$E2E_WORK/heard.raw")
loop=$(level "$E2E_GAME/loop1.dat")
echo "recorded $(stat -c %s "$E2E_WORK/heard.raw") bytes; title music at $heard dBFS RMS, loop1.dat at $loop dBFS RMS"
awk -v h="${heard:--999}" -v l="${loop:-0}" 'BEGIN { exit !(h > l - 6 && h < l + 6) }' ||
    fail "the sink heard $heard dBFS, the music is $loop dBFS"

step "first run: a finished game's initials are saved on close"
e2e_click 480 190
e2e_focus
xdotool keydown Down 2>/dev/null
prompt_shown() {
    local shot
    shot=$(e2e_screenshot initials-prompt)
    convert "$shot" -crop "240x14+$((ORIGIN_X + 200))+$((ORIGIN_Y + 220))" +repage \
        -fill black +opaque white -format '%[fx:round(mean*w*h)]' info: | grep -qvx 0
}
e2e_wait_until 60 prompt_shown
prompted=$?
xdotool keyup Down 2>/dev/null
[ "$prompted" -eq 0 ] || fail "no initials prompt within 60 s of Down"
e2e_key Q D R Return
sleep 0.5
first_table=$(e2e_screenshot first-table)
first_x=$ORIGIN_X
first_y=$ORIGIN_Y
e2e_close_game
[ "$GAME_STATUS" = "0" ] || fail "exit code $GAME_STATUS"
[ "$(head -c 3 "$E2E_GAME/quadrone.dat")" = "QDR" ] || fail "QDR is not the best row of quadrone.dat"

step "the game's files belong to the player"
for file in "$CHECKOUT/build/wine/desktop-prefix" "$E2E_GAME/quadrone.dat" "$E2E_GAME/debug.log"; do
    [ "$(stat -c %U "$file")" = "$PLAYER" ] || fail "$file belongs to $(stat -c %U "$file")"
done
as_player touch "$CHECKOUT/build/wine/desktop-prefix/kept-from-the-first-run"
exe_made=$(stat -c %Y "$E2E_GAME/quadrone.exe")

step "second run: the same prefix and build, and Scores shows the saved table"
start_play second
e2e_click 420 270
shot=$(e2e_screenshot second-table)
e2e_expect_picture "the table of the first run" "$shot" 250 190 160 80 "$first_table" \
    $((first_x + 250)) $((first_y + 190))
e2e_close_game
[ "$GAME_STATUS" = "0" ] || fail "exit code $GAME_STATUS"
[ -f "$CHECKOUT/build/wine/desktop-prefix/kept-from-the-first-run" ] || fail "the prefix was made again"
[ "$(stat -c %Y "$E2E_GAME/quadrone.exe")" = "$exe_made" ] || fail "the game was built again"
echo "desktop_sound: passed"
