#!/usr/bin/env bash
# A short scripted session for machines without a display: the title screen, a click on Play,
# a few moves, the pause screen; each step leaves a screenshot.
. "$ROOT/tests/e2e/lib.sh"

e2e_prepare_game
e2e_start_game
e2e_move 5 5
shots=("$(e2e_screenshot 1-title)")
e2e_move 480 190
e2e_click 480 190
shots+=("$(e2e_screenshot 2-play)")
e2e_hold_key Left 0.5
e2e_key space
e2e_hold_key Down 0.4
shots+=("$(e2e_screenshot 3-moves)")
e2e_key F1
shots+=("$(e2e_screenshot 4-paused)")
e2e_close_game
echo "The game ran and closed with exit code $GAME_STATUS. Screenshots:"
printf '  %s\n' "${shots[@]}"
