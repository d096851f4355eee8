// process_probe.exe NAME -- prints one line about the running process of the same Wine whose
// executable is NAME: "working_set_kb handles threads gdi_objects user_objects top_windows".
// A count the system cannot give is printed as -1 (Wine answers GetGuiResources with an error).
#include <windows.h>

#include <psapi.h>
#include <winternl.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

struct Found {
    DWORD processId = 0;
    long handles = -1;
    long threads = -1;
};

// The system's process list carries the handle and thread counts of every process.
Found FindProcess(const char* name)
{
    wchar_t wanted[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, name, -1, wanted, MAX_PATH);
    std::vector<BYTE> list(1 << 20);
    Found found;
    if (NtQuerySystemInformation(SystemProcessInformation, list.data(), static_cast<ULONG>(list.size()), nullptr) !=
        0) {
        return found;
    }
    for (size_t at = 0;;) {
        const auto* info = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(list.data() + at);
        if (info->ImageName.Buffer != nullptr && _wcsicmp(info->ImageName.Buffer, wanted) == 0) {
            found.processId = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(info->UniqueProcessId));
            found.handles = static_cast<long>(info->HandleCount);
            found.threads = static_cast<long>(info->NumberOfThreads);
            return found;
        }
        if (info->NextEntryOffset == 0) {
            return found;
        }
        at += info->NextEntryOffset;
    }
}

struct WindowCount {
    DWORD processId;
    int windows;
};

BOOL CALLBACK CountWindow(HWND window, LPARAM context)
{
    auto* count = reinterpret_cast<WindowCount*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == count->processId) {
        ++count->windows;
    }
    return TRUE;
}

long GuiCount(HANDLE process, DWORD which)
{
    SetLastError(0);
    const DWORD count = GetGuiResources(process, which);
    return count == 0 && GetLastError() != 0 ? -1 : static_cast<long>(count);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: process_probe NAME.exe\n");
        return 2;
    }
    const Found found = FindProcess(argv[1]);
    HANDLE process = found.processId == 0
                         ? nullptr
                         : OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, found.processId);
    if (process == nullptr) {
        std::fprintf(stderr, "process_probe: no process %s\n", argv[1]);
        return 1;
    }
    PROCESS_MEMORY_COUNTERS memory = {};
    const bool haveMemory = GetProcessMemoryInfo(process, &memory, sizeof memory);
    WindowCount windows = {found.processId, 0};
    EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&windows));
    std::printf("%ld %ld %ld %ld %ld %d\n", haveMemory ? static_cast<long>(memory.WorkingSetSize / 1024) : -1L,
        found.handles, found.threads, GuiCount(process, GR_GDIOBJECTS), GuiCount(process, GR_USEROBJECTS),
        windows.windows);
    CloseHandle(process);
    return 0;
}
