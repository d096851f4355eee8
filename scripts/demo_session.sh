#!/usr/bin/env bash
# A short scripted session for machines without a display: the title screen, a click on Play,
# a few moves, the pause screen; each step leaves a screenshot. E2E_BACKEND picks the build; a
# private virtual display is started when there is none.
. "$ROOT/tests/e2e/lib.sh"
[ -n "${DISPLAY:-}" ] || private_display 90 1024x768x24

prepare_game
start_game
move_mouse 5 5
shots=("$(screenshot 1-title)")
move_mouse 480 190
click 480 190
shots+=("$(screenshot 2-play)")
hold_key Left 0.5
press space
hold_key Down 0.4
shots+=("$(screenshot 3-moves)")
press F1
shots+=("$(screenshot 4-paused)")
alt_f4
echo "The game ran and closed with exit code $GAME_STATUS. Screenshots:"
printf '  %s\n' "${shots[@]}"
