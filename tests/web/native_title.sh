#!/usr/bin/env bash
# native_title.sh GAME OUT: the native SDL build's title screen as raw RGB (640 x 480, 8 bits), the
# reference the browser's canvas must match. GAME is the native program, its data files beside it;
# it runs on a private virtual display without sound, with a data folder of its own.
set -uo pipefail
game=$1 out=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/quadrone-native-title.XXXXXX")
display_pid="" game_pid=""
trap 'kill $game_pid $display_pid 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT

fail() {
    echo "native_title: $*" >&2
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
(cd "$(dirname "$game")" && XDG_DATA_HOME="$work" SDL_AUDIODRIVER=dummy exec "$game") >"$work/game.out" 2>&1 &
game_pid=$!
until_true 30 started || fail "the native game did not start within 30 s (see $work/game.out)"
sleep 1
window=$(xdotool search --onlyvisible --name '^Quadrone$' | head -n 1)
[ -n "$window" ] || fail "no window of the native game"
import -window "$window" "$work/title.png" && convert "$work/title.png" -crop 640x480+0+0 -depth 8 "rgb:$out" ||
    fail "cannot take the native title screen"
