// test_support.h -- temporary folders, file helpers and the recording stand-ins of the platform.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

class Sound;

// Runs each test in a fresh empty folder that is removed afterwards.
class TempDirTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::string folder;

private:
    std::string previousFolder;
};

std::vector<uint8_t> ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<std::string> ReadDebugLog();  // lines of the log in the current folder
// A fresh DataArchive: its failed state outlives Close, and tests must not inherit it.
void ResetDataArchive();

struct RecordedBox {
    std::string text;
    std::string caption;
};
std::vector<RecordedBox> RecordedMessageBoxes();
void ClearRecordedMessageBoxes();

// Sounds, sparks and redraws that the game code asked for, in order, e.g. "PlayEffect rotate 0 0".
void RecordCall(const std::string& call);
std::vector<std::string> RecordedCalls();
void ClearRecordedCalls();

// With the recording sounds (quadrone_fake_audio).
void SetSoundPlaying(Sound* sound, bool playing);
void StopAllRecordedSounds();

// With the recording shell (quadrone_fake_shell).
void SetClock(uint32_t now);
void SetMouse(int32_t x, int32_t y, bool leftButtonDown);

// With the recording keyboard (quadrone_fake_keyboard). Queued results answer the next calls.
void SetKeyDown(uint8_t code, bool down);
void ReleaseAllKeys();
void QueueKeyboardResults(const std::vector<int32_t>& reads, const std::vector<int32_t>& acquires);

// With the recording drawing (quadrone_fake_display): what the next draws answer.
void SetDrawResults(int32_t playScreen, int32_t button);

// With the in-memory score file (quadrone_native_platform): the files by path.
void SetScoreFiles(std::map<std::string, std::vector<uint8_t>> files);
std::map<std::string, std::vector<uint8_t>> ScoreFiles();
