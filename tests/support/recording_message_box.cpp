// recording_message_box.cpp -- the modal box as a recorder, so tests never block on one.
#include <string>
#include <vector>

#include "ports/message_box.h"
#include "test_support.h"

namespace {
std::vector<RecordedBox> Boxes;
}

void ShowMessageBox(const char* text, const char* caption)
{
    Boxes.push_back({text, caption});
}

std::vector<RecordedBox> RecordedMessageBoxes()
{
    return Boxes;
}

void ClearRecordedMessageBoxes()
{
    Boxes.clear();
}
