#!/usr/bin/env bash
# native_screens.sh GAME FOLDER: the native SDL build's screens that the browser's canvas must
# match, as raw RGB (8 bits) in FOLDER: title.rgb, the title screen (640 x 480), and play.rgb, the
# board's top eight rows (240 x 192) after Play, Left and a turn in a game started from the seed
# in FOLDER/seed. GAME is the native program, its data files beside it; it runs on a private
# virtual display without sound, with a data folder of its own.
set -uo pipefail
game=$1 out=$2
seed=20261208
work=$(mktemp -d "${TMPDIR:-/tmp}/quadrone-native-screens.XXXXXX")
display_pid="" game_pid=""
trap 'kill $game_pid $display_pid 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT

fail() {
    echo "native_screens: $*" >&2
    exit 1
}

# until_true SECONDS COMMAND...: tries COMMAND every 0.1 s until it holds.
until_true() {
    local tries=$(($1 * 10))
    until "${@:2}"; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.1
    done
}

for number in $(seq 70 110); do
    [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ] || break
done
Xvfb ":$number" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
display_pid=$!
export DISPLAY=":$number"
until_true 5 test -e "/tmp/.X11-unix/X$number" || fail "the display $DISPLAY did not start"
# The pointer stays off the buttons, whose pictures change under it.
xdotool mousemove 5 5

started() { grep -qx "Starting game..." "$work/Quadrone/debug.log" 2>/dev/null; }
(cd "$(dirname "$game")" && XDG_DATA_HOME="$work" SDL_AUDIODRIVER=dummy QUADRONE_SEED=$seed exec "$game") \
    >"$work/game.out" 2>&1 &
game_pid=$!
until_true 30 started || fail "the native game did not start within 30 s (see $work/game.out)"
sleep 1
window=$(xdotool search --onlyvisible --name '^Quadrone$' | head -n 1)
[ -n "$window" ] || fail "no window of the native game"
mkdir -p "$out" && echo "$seed" >"$out/seed"
import -window "$window" "$work/title.png" && convert "$work/title.png" -crop 640x480+0+0 -depth 8 "rgb:$out/title.rgb" ||
    fail "cannot take the native title screen"

# Each key is held for a few frames, since the game polls them. The tetrad falls a row a second;
# the check lines the two up by their first lit row.
xdotool windowfocus "$window" mousemove --window "$window" 480 190 sleep 0.2 click 1 sleep 0.3
for key in Left space; do
    xdotool keydown "$key" sleep 0.1 keyup "$key" sleep 0.1
done
import -window "$window" "$work/play.png" && convert "$work/play.png" -crop 240x192+200+48 -depth 8 "rgb:$out/play.rgb" ||
    fail "cannot take the native board"
