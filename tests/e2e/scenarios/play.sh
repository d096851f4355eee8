# Play: Play starts a game with board, tetrad and preview; arrows move it; Down scores; F1 pauses
# and a click resumes; Escape, Q and F2 return to the title and Play resumes the game left; held
# Down ends it on the Top Five screen against scores of a million, which stay as they were.
scores CPU 1000000 1000000 1000000 1000000 1000000 >"$E2E_WORK/high.dat"
cp "$E2E_WORK/high.dat" "$E2E_GAME/quadrone.dat"
start_game
move_mouse 5 5

step "Play starts a game: the board, a falling tetrad and the preview"
click 480 190
shot started
within "$(lit "${BOARD[@]}")" 1 19999 "lit pixels on the board, one tetrad's"
within "$(lit 49 180 120 120)" 1 1e9 "lit pixels in the preview box"

step "holding Left brings the tetrad to the left wall, holding Right to the right wall"
within "$(lit 200 48 24 200)" 0 0 "lit pixels in the left column before any move"
hold_key Left 1.2
shot left
within "$(lit 200 48 24 300)" 1 1e9 "lit pixels at the left wall after Left"
hold_key Right 1.5
shot right
within "$(lit 200 48 24 300)" 0 0 "lit pixels at the left wall after Right"
within "$(lit 416 48 24 300)" 1 1e9 "lit pixels at the right wall after Right"

step "Down adds points: the score line changes"
before=$(screenshot before-down)
hold_key Down 0.6
shot after-down
[ "$(differing "$before" 480 215 150 14 $((ORIGIN_X + 480)) $((ORIGIN_Y + 215)))" != 0 ] ||
    fail "the score line did not change"

step "F1 shows the controls picture; a click resumes"
press F1
see paused controls 80 60 480 360
click 300 470
! shows resumed controls 80 60 480 360 || fail "the controls picture stayed after the click"

for key in Escape q F2; do
    step "$key returns to the title; Play resumes the game"
    press "$key"
    see "title-after-$key" "${TITLE[@]}"
    click 480 190
    shot "resumed-after-$key"
    within "$(lit 416 48 24 384)" 1 1e9 "lit pixels at the right wall, where the tetrad was left"
done

step "held Down ends the game on the Top Five screen; a result that does not rank leaves quadrone.dat"
press Escape
play_until shows ended "${PLATE[@]}" || fail "no Top Five screen within a minute of Down"
close_game
cmp -s "$E2E_GAME/quadrone.dat" "$E2E_WORK/high.dat" || fail "a result that did not rank changed quadrone.dat"
