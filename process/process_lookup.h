// Which processes run, which executable each was started from, and ending one.
// Every call takes fresh snapshots and releases them before it returns.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "core/text.h"

struct ProcessEntry {
    std::uint32_t processId = 0;
    Text exeName;
    std::uint32_t moduleId = 0;
    std::uint32_t parentProcessId = 0;
    std::int32_t basePriority = 0;
    std::uint32_t threadCount = 0;
};

extern const char* const kNotRunning;  // "暂无运行、或已运行360保险箱！"

// In the order of the platform's process snapshot; empty when none can be taken.
std::vector<ProcessEntry> ListProcesses();
// The first process in snapshot order with exactly that executable name; 0 for none.
std::uint32_t ProcessIdOfName(const Text& name);
// The executable of the process (its first module); the empty text when unreadable.
Text ExePathOfProcess(std::uint32_t processId);
Text ExePathOfName(const Text& name);
// The executable name of a running process started from `path` (byte-exact), or
// kNotRunning. Pauses 1 ms per running process; `proceed`, when given, is asked
// before each and a false answer ends the search (the result is then kNotRunning).
Text RunningProcessOf(const Text& path, const std::function<bool()>& proceed = {});
// Ends the owner of a top-level window titled `name`, else the first process of
// that executable name (case ignored). True when it was ended.
bool EndProcessByName(const Text& name);
