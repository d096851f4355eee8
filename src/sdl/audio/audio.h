// audio.h -- the SDL back end's sound as the shell drives it: one audio device that the game's own
// mixer feeds with the five effects and the music. The effect and music calls of ports/sound.h
// work on top of it, and all of them are harmless when no device opened.
#pragma once

// Opens the audio device. False, after logging why, when no device opens: the game then plays on
// silently.
bool StartAudio();

// Opens "audio.vbf" and loads the five effects; a missing archive leaves them all silent.
void LoadSounds();

// Opens "loop1.dat" and starts it playing; false when it cannot be opened (logged).
bool StartMusic();

// Closes the music, deletes the effects and closes the device; repeatable.
void StopAudio();

// The browser build's music feed, which has no thread: decodes what the music lacks. Its main loop
// calls it once a frame.
void FeedMusic();
// The browser build's device, which has no callback: mixes what the page lacks of its lead. Its
// main loop calls it once a frame, after the music's feed.
void FeedAudioDevice();
