// music_feed.h -- what refills the music's ring as the device empties it: a thread of its own on
// the desktop, the main loop's frames in the browser, which runs the game without threads. The
// decoding is the same for both.
#pragma once

// Decodes the chunks that the ring's lead lacks, then shows the boxes of the damage met.
void FillMusicToLead();

// Readies the feed before the lead is decoded; false after the boxes of what failed.
bool PrepareMusicFeed();
// Starts the feed once the lead is there; false when it cannot.
bool StartMusicFeed();
// The device took music out of the ring, or the music is to play: the lead may lack a chunk.
// Safe under the device lock and before the feed starts.
void WakeMusicFeed();
// Ends the feed; repeatable.
void StopMusicFeed();
