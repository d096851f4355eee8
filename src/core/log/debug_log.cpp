// debug_log.cpp -- each line opens, appends, flushes and closes, so a crash loses nothing logged.
// The main and music threads both log: one lock keeps their lines from overwriting each other.
#include "core/log/debug_log.h"

#include <chrono>
#include <cstdio>
#include <mutex>

#include "core/log/line_rate_limit.h"

char DataFolder[DataPathSize] = ".\\";
char SaveFolder[DataPathSize] = ".\\";
void (*EchoDebugLogLine)(const char* text) = nullptr;

namespace {

// A whole picture set (32 "Bitmap loaded") and then some at once; a few a second after that.
constexpr uint32_t LineBurst = 128;
constexpr uint32_t LinesPerSecond = 4;
constexpr size_t RememberedLines = 256;

std::mutex LogLock;
LineRateLimit Repeats(LineBurst, LinesPerSecond, RememberedLines);

uint64_t NowMs()
{
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace

void MakeDataPath(char* out, const char* fileName)
{
    std::snprintf(out, DataPathSize, "%s%s", DataFolder, fileName);
}

void MakeSavePath(char* out, const char* fileName)
{
    std::snprintf(out, DataPathSize, "%s%s", SaveFolder, fileName);
}

void ClearDebugLog()
{
    char path[DataPathSize];
    MakeSavePath(path, "debug.log");
    const std::lock_guard<std::mutex> hold(LogLock);
    Repeats.Forget();
    std::FILE* file = std::fopen(path, "w");
    if (file != nullptr) {
        std::fclose(file);
    }
}

void WriteDebugLog(const char* text)
{
    char path[DataPathSize];
    MakeSavePath(path, "debug.log");
    const std::lock_guard<std::mutex> hold(LogLock);
    if (!Repeats.Allow(text, NowMs())) {
        return;
    }
    if (EchoDebugLogLine != nullptr) {
        EchoDebugLogLine(text);
    }
    std::FILE* file = std::fopen(path, "a");
    if (file == nullptr) {
        return;
    }
    std::fputs(text, file);
    std::fputc('\n', file);
    std::fflush(file);
    std::fclose(file);
}

void ForgetLoggedLines()
{
    const std::lock_guard<std::mutex> hold(LogLock);
    Repeats.Forget();
}
