// debug_log.cpp -- each line opens, appends, flushes and closes, so a crash loses nothing logged.
#include "log/debug_log.h"

#include <cstdio>

char DataFolder[DataPathSize] = ".\\";

void MakeDataPath(char* out, const char* fileName)
{
    std::snprintf(out, DataPathSize, "%s%s", DataFolder, fileName);
}

void ClearDebugLog()
{
    char path[DataPathSize];
    MakeDataPath(path, "debug.log");
    std::FILE* file = std::fopen(path, "w");
    if (file != nullptr) {
        std::fclose(file);
    }
}

void WriteDebugLog(const char* text)
{
    char path[DataPathSize];
    MakeDataPath(path, "debug.log");
    std::FILE* file = std::fopen(path, "a");
    if (file == nullptr) {
        return;
    }
    std::fputs(text, file);
    std::fputc('\n', file);
    std::fflush(file);
    std::fclose(file);
}
