# What the game plays, judged from the captured sound: a short loop joins itself without gap or
# click; the title music is loop1.dat without gaps; M, focus loss and F6 stop and resume it, and
# it goes on from where it stopped after any number of pauses; play lowers it by 5 dB and Escape
# restores it; turning and landing add their effects.
listen
LOOP_CHECKS=("music_seconds >= 19" "loud_residual_blocks == 0" "residual_peak_db <= 0")

step "a short loop of 2.3 s passes its loop point many times without a gap or a click"
# Pink noise under a tone: every sample differs, so a skipped or repeated stretch shows.
sox -n -r 44100 -c 2 -b 16 "$E2E_WORK/short.wav" synth 2.3 pinknoise synth 2.3 sine mix 300-900 gain -6 &&
    sox "$E2E_WORK/short.wav" -t ogg "$E2E_GAME/loop1.dat" && decode_twice "$E2E_GAME/loop1.dat" short ||
    fail "sox cannot make the short loop"
start_game
mark
hear "short loop" 20 music short "${LOOP_CHECKS[@]}"

step "20 s of the title screen are loop1.dat at full volume, continuous and without dropouts"
prepare_game
start_game
mark
hear "title" 20 music music "${LOOP_CHECKS[@]}" "worst_correlation >= 0.9" "abs(gain_db) <= 1"

step "M silences the music; through six more M pauses it goes on from where it stopped, without a jump"
mark
press m
hear_silence "after M" 5
mark
press m
# A first stretch long enough to be placed in the loop: the resumes are measured from its end.
sleep 1
for _ in 1 2 3 4 5 6; do
    press m && sleep 0.5
    press m && sleep 1
done
hear "six pauses" 10 resumes music "stretches_matched == 7" "worst_resume_offset <= 0.5"

step "losing focus stops the music and regaining it resumes"
open_other_window
other_window() { OTHER=$(xdotool search --onlyvisible --name "$OTHER_NAME" 2>/dev/null | head -n 1) && [ -n "$OTHER" ]; }
wait_until 30 other_window || fail "no second window to take the focus"
xdotool windowfocus "$OTHER" 2>/dev/null
mark
hear_silence "while another window is active" 6
close_other_window
wait_until 10 eval '! other_window' || fail "the second window did not close"
mark
hear_music "focus back" 6

step "F6 keeps the music playing, even after M switched it off"
press m && sleep 0.5
mark
press F6 && sleep 1.5
# The switch stops and replays: sound at the end of the stretch.
hear "the switch" 6 music music "sound_to >= seconds - 0.1"
mark
hear_music "after F6" 6

step "during play the music is 5 dB lower, and turning and landing add their effects"
find_origin
play_three_turns
hear "three turns" 3 effects music "rotate == 3" "-6 <= gain_db <= -4"
mark
hold_key Down 2
hear "dropping" 3 effects music "attach >= 1" "rotate == 0"

step "Escape puts the music back to full volume"
press Escape
mark
hear_music "back on the title" 6
