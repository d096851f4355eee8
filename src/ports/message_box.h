// message_box.h -- the ownerless, modal OK box that loading code shows on bad data.
#pragma once

// Blocks until the player presses OK. Tests replace it with a recorder.
void ShowMessageBox(const char* text, const char* caption);
