// test_support.cpp -- folders and files for tests; works natively and under Wine.
#include "test_support.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>

#include "core/archive/resource_archive.h"
#include "core/log/debug_log.h"

namespace fs = std::filesystem;

namespace {
std::vector<std::string> Calls;
// Each test program has folders of its own, as other builds on the machine may run the same test
// at the same moment; their paths stay short, as the score file's calls take 128 characters.
const std::string ProgramFolder = std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
int TestsStarted = 0;
}  // namespace

void RecordCall(const std::string& call)
{
    Calls.push_back(call);
}

std::vector<std::string> RecordedCalls()
{
    return Calls;
}

void ClearRecordedCalls()
{
    Calls.clear();
}

void TempDirTest::SetUp()
{
    previousFolder = fs::current_path().string();
    fs::path dir =
        fs::temp_directory_path() / "quadrone-tests" / (ProgramFolder + "-" + std::to_string(++TestsStarted));
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::current_path(dir);
    folder = dir.string();
    ClearRecordedMessageBoxes();
    ClearRecordedCalls();
    ForgetLoggedLines();
}

void TempDirTest::TearDown()
{
    fs::current_path(previousFolder);
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

std::vector<uint8_t> ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> ReadDebugLog()
{
    std::vector<std::string> lines;
    std::ifstream in(".\\debug.log");
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

void ResetDataArchive()
{
    DataArchive.~ResourceArchive();
    new (&DataArchive) ResourceArchive();
}
