#include "process/process_lookup.h"

#include <algorithm>

#include <windows.h>

#include <tlhelp32.h>

#include <cstring>

#include "core/system.h"

const char* const kNotRunning = "暂无运行、或已运行360保险箱！";

#if !defined(_WIN64)
static_assert(sizeof(PROCESSENTRY32) == 296, "the 32-bit process record is 296 bytes");
#endif

namespace {

// Names and paths read from single snapshot entries are kept to 256 bytes.
constexpr std::size_t kFieldBytes = 256;

class Snapshot {
public:
    Snapshot(DWORD kinds, DWORD processId)
        : handle_(CreateToolhelp32Snapshot(kinds, processId))
    {
    }
    ~Snapshot()
    {
        if (IsOpen()) CloseHandle(handle_);
    }
    Snapshot(const Snapshot&) = delete;
    Snapshot& operator=(const Snapshot&) = delete;

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Handle() const { return handle_; }

private:
    HANDLE handle_;
};

// A zero-terminated field, taken up to its first zero byte and never beyond `limit` bytes.
template <std::size_t N>
Text FieldText(const char (&field)[N], std::size_t limit = N)
{
    return Text(field, strnlen(field, limit < N ? limit : N));
}

// Calls `visit` for each process of the snapshot until it answers true.
template <class Visit>
void WalkProcesses(const Snapshot& snapshot, Visit visit)
{
    if (!snapshot.IsOpen()) return;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot.Handle(), &entry); more;
         more = Process32Next(snapshot.Handle(), &entry)) {
        if (visit(entry)) return;
    }
}

bool EqualIgnoringCase(const Text& a, const Text& b)
{
    return CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, a.data(),
                          static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size())) == CSTR_EQUAL;
}

}  // namespace

std::vector<ProcessEntry> ListProcesses()
{
    std::vector<ProcessEntry> list;
    Snapshot snapshot(TH32CS_SNAPPROCESS, 0);
    WalkProcesses(snapshot, [&](const PROCESSENTRY32& entry) {
        ProcessEntry item;
        item.processId = entry.th32ProcessID;
        item.exeName = FieldText(entry.szExeFile);
        item.moduleId = entry.th32ModuleID;
        item.parentProcessId = entry.th32ParentProcessID;
        item.basePriority = entry.pcPriClassBase;
        item.threadCount = entry.cntThreads;
        list.push_back(std::move(item));
        return false;
    });
    return list;
}

std::uint32_t ProcessIdOfName(const Text& name)
{
    std::uint32_t found = 0;
    Snapshot snapshot(TH32CS_SNAPALL, 0);
    WalkProcesses(snapshot, [&](const PROCESSENTRY32& entry) {
        if (FieldText(entry.szExeFile, kFieldBytes) != name) return false;
        found = entry.th32ProcessID;
        return true;
    });
    return found;
}

Text ExePathOfProcess(std::uint32_t processId)
{
    HANDLE handle = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
    // A module list that is being changed while it is read is reported as a bad length.
    for (int retry = 0; handle == INVALID_HANDLE_VALUE && retry < 3 &&
                        GetLastError() == ERROR_BAD_LENGTH;
         ++retry)
        handle = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
    if (handle == INVALID_HANDLE_VALUE) return Text();

    MODULEENTRY32 module = {};
    module.dwSize = sizeof(module);
    Text path;
    if (Module32First(handle, &module)) path = FieldText(module.szExePath, kFieldBytes);
    CloseHandle(handle);
    return path;
}

Text ExePathOfName(const Text& name)
{
    // Identifier 0 means no process bears the name; its module snapshot would be our own.
    std::uint32_t processId = ProcessIdOfName(name);
    return processId == 0 ? Text() : ExePathOfProcess(processId);
}

Text RunningProcessOf(const Text& path, const std::function<bool()>& proceed)
{
    Text found;
    const std::vector<ProcessEntry> processes = ListProcesses();
    for (const ProcessEntry& entry : processes) {
        if (proceed && !proceed()) break;
        SleepMs(1);
        // A name stands for the first process that bears it. The list just taken
        // answers that as a second snapshot would, at a fraction of the cost.
        const auto first = std::find_if(processes.begin(), processes.end(),
                                        [&](const ProcessEntry& p) { return p.exeName == entry.exeName; });
        const std::uint32_t processId = entry.exeName.empty() ? 0 : first->processId;
        if (processId != 0 && ExePathOfProcess(processId) == path) {
            found = entry.exeName;
            break;
        }
    }
    return found.empty() ? Text(kNotRunning) : found;
}

bool EndProcessByName(const Text& name)
{
    if (name.empty()) return false;

    DWORD processId = 0;
    if (HWND window = FindWindowA(nullptr, name.c_str()))
        GetWindowThreadProcessId(window, &processId);
    if (processId == 0) {
        Snapshot snapshot(TH32CS_SNAPPROCESS, 0);
        WalkProcesses(snapshot, [&](const PROCESSENTRY32& entry) {
            if (!EqualIgnoringCase(FieldText(entry.szExeFile), name)) return false;
            processId = entry.th32ProcessID;
            return true;
        });
    }
    if (processId == 0) return false;

    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, processId);
    if (!process) return false;
    bool ended = TerminateProcess(process, 0) != FALSE;
    CloseHandle(process);
    return ended;
}
