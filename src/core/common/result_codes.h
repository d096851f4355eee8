// result_codes.h -- 32-bit result codes of the platform's kind: 0 success, negative failure.
#pragma once

#include <cstdint>

using ResultCode = int32_t;

constexpr ResultCode ResultOk = 0;
constexpr ResultCode ResultFalse = 1;
constexpr ResultCode ResultFail = static_cast<ResultCode>(0x80004005u);
constexpr ResultCode ResultInvalidArg = static_cast<ResultCode>(0x80070057u);
constexpr ResultCode ResultOutOfMemory = static_cast<ResultCode>(0x8007000Eu);
constexpr ResultCode ResultNotInitialized = static_cast<ResultCode>(0x800401F0u);
constexpr ResultCode ResultSurfaceLost = static_cast<ResultCode>(0x887601C2u);
constexpr ResultCode ResultInputLost = static_cast<ResultCode>(0x8007001Eu);
constexpr ResultCode ResultNotAcquired = static_cast<ResultCode>(0x8007000Cu);
