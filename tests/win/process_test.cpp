// Process lookup against real processes: copies of idle_helper.exe started from scratch folders.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "process/process_lookup.h"
#include "tests/win/test_support.h"

namespace {

Text OwnPath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

Text NameOf(const Text& path) { return path.substr(path.find_last_of('\\') + 1); }

// idle_helper.exe is built beside the test program.
Text HelperPath()
{
    Text own = OwnPath();
    return own.substr(0, own.find_last_of('\\') + 1) + "idle_helper.exe";
}

// A started copy of the helper; ended by force when the test leaves it running.
class Helper {
public:
    explicit Helper(const Text& exePath, const Text& windowTitle = Text()) : path_(exePath)
    {
        static int serial = 0;
        Text eventName =
            "sorvalen-process-test-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(serial++);
        HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, eventName.c_str());
        Text command = "\"" + exePath + "\" --ready " + eventName;
        if (!windowTitle.empty()) command += " --window \"" + windowTitle + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        if (CreateProcessA(exePath.c_str(), command.data(), nullptr, nullptr, FALSE, 0,
                           nullptr, nullptr, &startup, &info_)) {
            HANDLE both[] = {ready, info_.hProcess};
            started_ = WaitForMultipleObjects(2, both, FALSE, 20000) == WAIT_OBJECT_0;
        }
        CloseHandle(ready);
    }
    ~Helper()
    {
        if (!info_.hProcess) return;
        if (IsRunning()) TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 10000);  // so its file can be deleted
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    Helper(const Helper&) = delete;
    Helper& operator=(const Helper&) = delete;

    bool Started() const { return started_; }
    std::uint32_t Id() const { return info_.dwProcessId; }
    const Text& Path() const { return path_; }
    void End() const
    {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 10000);
    }
    bool IsRunning() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }
    // True when the process ends within a few seconds with exit code 0.
    bool EndsWithCodeZero() const
    {
        DWORD code = 1;
        return WaitForSingleObject(info_.hProcess, 10000) == WAIT_OBJECT_0 &&
               GetExitCodeProcess(info_.hProcess, &code) && code == 0;
    }

private:
    Text path_;
    PROCESS_INFORMATION info_ = {};
    bool started_ = false;
};

// Copies the helper to `folder`\`name` (the folder is made when missing).
Text PlaceHelper(const Text& folder, const Text& name)
{
    CreateDirectoryA(folder.c_str(), nullptr);
    Text path = folder + "\\" + name;
    EXPECT_TRUE(CopyFileA(HelperPath().c_str(), path.c_str(), FALSE)) << path;
    return path;
}

int IndexInList(const std::vector<ProcessEntry>& list, std::uint32_t processId)
{
    auto at = std::find_if(list.begin(), list.end(),
                           [&](const ProcessEntry& e) { return e.processId == processId; });
    return at == list.end() ? -1 : static_cast<int>(at - list.begin());
}

Text FlipCase(Text text)
{
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
        else if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
    return text;
}

// Two started copies of the helper with one name, from two folders, in snapshot order.
struct Twins {
    std::unique_ptr<Helper> first, second;
};

Twins StartTwins(const ScratchFolder& scratch, const Text& name)
{
    auto a = std::make_unique<Helper>(PlaceHelper(scratch / "a", name));
    auto b = std::make_unique<Helper>(PlaceHelper(scratch / "b", name));
    std::vector<ProcessEntry> list = ListProcesses();
    int ia = IndexInList(list, a->Id()), ib = IndexInList(list, b->Id());
    EXPECT_GE(ia, 0);
    EXPECT_GE(ib, 0);
    if (ib < ia) std::swap(a, b);
    return {std::move(a), std::move(b)};
}

TEST(ListProcesses, HoldsThisProgramAndAStartedHelperWithTheirFields)
{
    ScratchFolder scratch;
    Helper helper(PlaceHelper(scratch.Path(), "listed.exe"));
    ASSERT_TRUE(helper.Started());

    std::vector<ProcessEntry> list = ListProcesses();
    int self = IndexInList(list, GetCurrentProcessId());
    int child = IndexInList(list, helper.Id());
    ASSERT_GE(self, 0);
    ASSERT_GE(child, 0);
    EXPECT_EQ(list[self].exeName, NameOf(OwnPath()));
    EXPECT_EQ(list[child].exeName, "listed.exe");
    EXPECT_EQ(list[child].parentProcessId, GetCurrentProcessId());
    EXPECT_GE(list[child].threadCount, 1u);
}

TEST(ProcessIdOfName, MatchesTheExactNameOnly)
{
    ScratchFolder scratch;
    Helper helper(PlaceHelper(scratch.Path(), "Exact.exe"));
    ASSERT_TRUE(helper.Started());

    struct Case {
        const char* name;
        bool found;
    } cases[] = {
        {"Exact.exe", true},
        {"exact.exe", false},  // case matters
        {"Exact", false},
        {"Exact.exe ", false},
        {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ProcessIdOfName(c.name), c.found ? helper.Id() : 0u) << c.name;
}

TEST(ExePathOfProcess, IsTheFullPathTheProcessWasStartedFrom)
{
    ScratchFolder scratch;
    Text path = PlaceHelper(scratch.Path(), "pathed.exe");
    Helper helper(path);
    Helper ended(PlaceHelper(scratch.Path(), "ended.exe"));
    ASSERT_TRUE(helper.Started() && ended.Started());
    ended.End();  // its handle stays open, so its identifier is not given to another
    std::uint32_t endedId = ended.Id();

    EXPECT_EQ(ExePathOfProcess(helper.Id()), path);
    EXPECT_EQ(ExePathOfProcess(GetCurrentProcessId()), OwnPath());
    EXPECT_EQ(ExePathOfProcess(endedId), "");
    EXPECT_EQ(ExePathOfName("pathed.exe"), path);
}

TEST(ExePathOfName, ANameNoProcessBearsGivesTheEmptyTextNotOurOwnPath)
{
    EXPECT_EQ(ExePathOfName("no-process-is-called-this.exe"), "");
    EXPECT_EQ(ExePathOfName(FlipCase(NameOf(OwnPath()))), "");
}

TEST(RunningProcessOf, NamesTheProcessStartedFromExactlyThatPath)
{
    ScratchFolder scratch;
    Text flagged = PlaceHelper(scratch.Path(), "flagged.exe");
    Text idle = PlaceHelper(scratch.Path(), "idle.exe");  // present, never started
    Helper helper(flagged);
    ASSERT_TRUE(helper.Started());

    struct Case {
        Text path;
        Text expected;
    } cases[] = {
        {flagged, "flagged.exe"},
        {FlipCase(flagged), kNotRunning},
        {idle, kNotRunning},
        {scratch / "missing.exe", kNotRunning},
        {"", kNotRunning},
    };
    for (const Case& c : cases) EXPECT_EQ(RunningProcessOf(c.path), c.expected) << c.path;
}

TEST(RunningProcessOf, AsksBeforeEachProcessAndStopsWhenTold)
{
    ScratchFolder scratch;
    Helper helper(PlaceHelper(scratch.Path(), "asked.exe"));
    ASSERT_TRUE(helper.Started());

    int asked = 0;
    EXPECT_EQ(RunningProcessOf(helper.Path(), [&] { return ++asked, true; }), "asked.exe");
    int position = IndexInList(ListProcesses(), helper.Id());
    ASSERT_GE(position, 0);
    EXPECT_GE(asked, 1);
    EXPECT_LE(asked, position + 1 + 8);  // processes may come and go between the two lists

    asked = 0;
    EXPECT_EQ(RunningProcessOf(helper.Path(), [&] { return ++asked, false; }), kNotRunning);
    EXPECT_EQ(asked, 1);
}

TEST(RunningProcessOf, ANameSharedByTwoProcessesResolvesToTheFirstInSnapshotOrder)
{
    ScratchFolder scratch;
    Twins twins = StartTwins(scratch, "twin.exe");
    ASSERT_TRUE(twins.first->Started() && twins.second->Started());

    EXPECT_EQ(ProcessIdOfName("twin.exe"), twins.first->Id());
    EXPECT_EQ(ExePathOfName("twin.exe"), twins.first->Path());
    EXPECT_EQ(RunningProcessOf(twins.first->Path()), "twin.exe");
    EXPECT_EQ(RunningProcessOf(twins.second->Path()), kNotRunning);
}

TEST(EndProcessByName, EndsOnlyTheFirstOfTwoSameNamedProcessesIgnoringCase)
{
    ScratchFolder scratch;
    Twins twins = StartTwins(scratch, "Dup.exe");
    ASSERT_TRUE(twins.first->Started() && twins.second->Started());

    EXPECT_TRUE(EndProcessByName("dUP.EXE"));
    EXPECT_TRUE(twins.first->EndsWithCodeZero());
    EXPECT_TRUE(twins.second->IsRunning());

    EXPECT_TRUE(EndProcessByName("Dup.exe"));
    EXPECT_TRUE(twins.second->EndsWithCodeZero());
    EXPECT_FALSE(EndProcessByName("Dup.exe"));
}

TEST(EndProcessByName, FoldsCaseByCharactersNotByBytes)
{
    // In code page 936 "\x81\x41" and "\x81\x61" are two different characters whose
    // trail bytes are 'A' and 'a'; "\xA3\xC1" and "\xA3\xE1" are full-width A and a.
    ScratchFolder scratch;
    Text name = "\x81\x41_\xA3\xC1.exe";
    Helper helper(PlaceHelper(scratch.Path(), name));
    ASSERT_TRUE(helper.Started());
    ASSERT_EQ(ProcessIdOfName(name), helper.Id());

    EXPECT_FALSE(EndProcessByName("\x81\x61_\xA3\xC1.exe"));
    EXPECT_TRUE(helper.IsRunning());
    EXPECT_TRUE(EndProcessByName("\x81\x41_\xA3\xE1.EXE"));
    EXPECT_TRUE(helper.EndsWithCodeZero());
}

TEST(EndProcessByName, AWindowTitleEndsTheWindowsOwner)
{
    ScratchFolder scratch;
    Text title = "Sorvalen 测试窗口";
    Helper bystander(PlaceHelper(scratch.Path(), "bystander.exe"));
    Helper owner(PlaceHelper(scratch.Path(), "owner.exe"), title);
    ASSERT_TRUE(bystander.Started() && owner.Started());
    ASSERT_TRUE(FindWindowA(nullptr, title.c_str()));

    EXPECT_TRUE(EndProcessByName(title));
    EXPECT_TRUE(owner.EndsWithCodeZero());
    EXPECT_TRUE(bystander.IsRunning());
}

TEST(EndProcessByName, ReportsFalseWhenThereIsNothingToEnd)
{
    ScratchFolder scratch;
    Helper bystander(PlaceHelper(scratch.Path(), "bystander.exe"));
    ASSERT_TRUE(bystander.Started());

    for (const char* name : {"", "no-process-is-called-this.exe", "bystander"})
        EXPECT_FALSE(EndProcessByName(name)) << name;
    EXPECT_TRUE(bystander.IsRunning());
}

}  // namespace
