// keyboard_device.h -- the polled keyboard device: one snapshot byte per key code.
#pragma once

#include <cstdint>

#include "core/common/result_codes.h"

constexpr int KeySnapshotSize = 256;

ResultCode AcquireKeyboard();
// Fills the snapshot (a key is down when its top bit is set) or answers the device's error.
ResultCode ReadKeyboardState(uint8_t (&snapshot)[KeySnapshotSize]);
