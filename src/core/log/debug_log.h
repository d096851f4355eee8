// debug_log.h -- the "debug.log" progress file and the data-file path helper.
#pragma once

constexpr int DataPathSize = 260;

// The folder every data file is looked for in: the current one.
extern char DataFolder[DataPathSize];
// The folder of the files the game writes (the log and the table): the same one, unless a back end
// whose own folder may not be writable names the player's.
extern char SaveFolder[DataPathSize];

// Writes DataFolder followed by fileName into out (DataPathSize bytes), cut to fit.
void MakeDataPath(char* out, const char* fileName);
// The same with SaveFolder.
void MakeSavePath(char* out, const char* fileName);

// Empties the log (leaving an unopenable file as it is) and forgets the lines written so far.
void ClearDebugLog();

// Appends text and a new-line; the line is on disk when this returns. Never reports failure.
// Safe from any thread. A line repeated faster than a few times a second is dropped after a burst.
void WriteDebugLog(const char* text);

// Where a back end also shows each line the log takes (the browser's console); none by default.
// Called under the log's lock, after the flood limit, so it sees exactly the file's lines.
extern void (*EchoDebugLogLine)(const char* text);

// Forgets how often each line was written lately, as ClearDebugLog does for a new run.
void ForgetLoggedLines();
