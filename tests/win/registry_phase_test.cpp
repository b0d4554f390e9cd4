// The registry check run headless against the real registry: values made by
// the test under a key of its own in HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <initializer_list>
#include <string>

#include "core/program_state.h"
#include "core/stores.h"
#include "scan/phases.h"
#include "scan/registry.h"
#include "scan/scan_model.h"
#include "scan/worker_gate.h"
#include "tests/win/test_support.h"

namespace {

const std::string kDeleted = "  此注册表键值已经删除";
const std::string kNotDeleted = "  此注册表键值未删除";
const char kParent[] = "Software\\SorvalenTest";

// A key of this test alone, Software\SorvalenTest\<unique>, removed with its content.
class TestKey {
public:
    TestKey()
    {
        static int serial = 0;
        path_ = std::string(kParent) + "\\" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(GetTickCount()) + "-" + std::to_string(serial++);
    }
    ~TestKey()
    {
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
            RegDeleteTreeA(root, path_.c_str());
            RegDeleteKeyA(root, kParent);  // only once it is empty
        }
    }
    TestKey(const TestKey&) = delete;
    TestKey& operator=(const TestKey&) = delete;

    const std::string& Path() const { return path_; }

    // Sets the value `name` of Path()\sub (or Path() itself); false when it cannot.
    static bool SetValue(HKEY root, const std::string& key, const std::string& name)
    {
        HKEY opened;
        if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &opened,
                            nullptr) != ERROR_SUCCESS)
            return false;
        const char data[] = "data";
        const bool ok = RegSetValueExA(opened, name.c_str(), 0, REG_SZ,
                                       reinterpret_cast<const BYTE*>(data), sizeof data) ==
                        ERROR_SUCCESS;
        RegCloseKey(opened);
        return ok;
    }
    static bool HasValue(HKEY root, const std::string& key, const std::string& name)
    {
        HKEY opened;
        if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
        const bool found =
            RegQueryValueExA(opened, name.c_str(), nullptr, nullptr, nullptr, nullptr) ==
            ERROR_SUCCESS;
        RegCloseKey(opened);
        return found;
    }
    static bool HasKey(HKEY root, const std::string& key)
    {
        HKEY opened;
        if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
        RegCloseKey(opened);
        return true;
    }

private:
    std::string path_;
};

struct Scan {
    ScratchFolder scratch;
    Text result = scratch / "result";
    TestKey key;
    ProgramState state;
    Stores stores;
    std::function<void(ScanModel&)> onChange;
    ScanModel model{[this] {
        if (onChange) onChange(model);
    }};
    WorkerGate gate;
    ScanSteps steps{model, gate, WorkerGate::Role::Check};

    Scan()
    {
        CreateDirectoryA(result.c_str(), nullptr);
        state.resultFolder = result;
    }

    void Lines(std::initializer_list<std::string> lines)
    {
        for (const std::string& line : lines) stores.registryLines.Add(line);
    }

    void Run() { RegistryPhase(state, stores, steps); }
};

const std::string kRecord = "文件备注：N\r\n(a record)\r\n注册表键值：\r\n";

TEST(RegistryPhase, FindsAValueUnderAnyRootAndAppendsThePathsAsWritten)
{
    Scan scan;
    const std::string k = scan.key.Path();
    ASSERT_TRUE(TestKey::SetValue(HKEY_CURRENT_USER, k, "Run"));
    ASSERT_TRUE(TestKey::SetValue(HKEY_CURRENT_USER, k + "\\Sub", "inner"));
    ASSERT_TRUE(TestKey::SetValue(HKEY_CURRENT_USER, k, "x|y"));
    const Text report = scan.scratch.Put("result\\N.txt", kRecord);
    scan.Lines({
        "HKEY_LOCAL_MACHINE\\" + k + "\\Run|N",   // another root named: still found
        "hkey_local_machine\\" + k + "\\Run|N",   // the root name in small letters
        k + "\\Sub|N",                            // a subkey, not a value
        k + "\\Missing|N",
        "HKEY_CURRENT_USER\\" + k + "\\x|y|N",    // two "|": the last one ends the path
        "no bar at all",
        k + "\\Run|Other",                        // found, but no report for its note
    });
    scan.Run();

    EXPECT_EQ(ReadBytes(report), kRecord + "\r\nHKEY_LOCAL_MACHINE\\" + k + "\\Run" +
                                     "\r\nhkey_local_machine\\" + k + "\\Run" +
                                     "\r\nHKEY_CURRENT_USER\\" + k + "\\x|y");
    EXPECT_EQ(GetFileAttributesA((scan.result + "\\Other.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    // Without the check mark nothing is deleted.
    EXPECT_TRUE(TestKey::HasValue(HKEY_CURRENT_USER, k, "Run"));
    EXPECT_TRUE(TestKey::HasValue(HKEY_CURRENT_USER, k, "x|y"));

    const ScanControlsState end = scan.model.Snapshot();
    EXPECT_EQ(end.progressPosition, 7);  // not reset
    EXPECT_EQ(end.text[static_cast<int>(ScanControl::ScanType)], "");
    EXPECT_EQ(end.text[static_cast<int>(ScanControl::Label5)], k + "\\Run");
    EXPECT_EQ(scan.state.phaseIndex, 0);
    EXPECT_EQ(scan.state.phaseCounter, 0);
    EXPECT_EQ(scan.state.registryKeyText, k + "\\Run");
}

TEST(RegistryPhase, WithTheCheckMarkOnlyTheFirstRootsCopyIsDeleted)
{
    Scan scan;
    const std::string k = scan.key.Path();
    ASSERT_TRUE(TestKey::SetValue(HKEY_CURRENT_USER, k, "Run"));
    ASSERT_TRUE(TestKey::SetValue(HKEY_LOCAL_MACHINE, k, "Run"));
    const Text report = scan.scratch.Put("result\\N.txt", kRecord);
    const std::string line = "HKEY_LOCAL_MACHINE\\" + k + "\\Run";
    scan.Lines({line + "|N"});
    scan.model.SetDeletesRegistryValues(true);

    scan.Run();
    EXPECT_FALSE(TestKey::HasValue(HKEY_CURRENT_USER, k, "Run"));
    EXPECT_TRUE(TestKey::HasValue(HKEY_LOCAL_MACHINE, k, "Run"));
    EXPECT_EQ(ReadBytes(report), kRecord + "\r\n" + line + kDeleted);

    // The next run finds the copy under HKEY_LOCAL_MACHINE, the last one.
    scan.Run();
    EXPECT_FALSE(TestKey::HasValue(HKEY_LOCAL_MACHINE, k, "Run"));
    EXPECT_EQ(ReadBytes(report), kRecord + "\r\n" + line + kDeleted + "\r\n" + line + kDeleted);
    EXPECT_EQ(scan.model.ProgressPosition(), 2);
}

TEST(RegistryPhase, ADeletionNeedsNoReportAndASubkeyIsNeverDeleted)
{
    Scan scan;
    const std::string k = scan.key.Path();
    ASSERT_TRUE(TestKey::SetValue(HKEY_CURRENT_USER, k, "Run"));
    // A subkey without subkeys: deleting it as a key would succeed.
    ASSERT_TRUE(TestKey::SetValue(HKEY_CURRENT_USER, k + "\\Sub", "inner"));
    scan.Lines({k + "\\Run|N", k + "\\Sub|N"});
    scan.model.SetDeletesRegistryValues(true);
    scan.Run();

    EXPECT_FALSE(TestKey::HasValue(HKEY_CURRENT_USER, k, "Run"));
    EXPECT_TRUE(TestKey::HasValue(HKEY_CURRENT_USER, k + "\\Sub", "inner"));
    EXPECT_EQ(GetFileAttributesA((scan.result + "\\N.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(RegistryPhase, TheCheckMarkCountsAsItStandsWhenEachValueIsReached)
{
    Scan scan;
    const std::string k = scan.key.Path();
    ASSERT_TRUE(TestKey::SetValue(HKEY_CURRENT_USER, k, "One"));
    ASSERT_TRUE(TestKey::SetValue(HKEY_CURRENT_USER, k, "Two"));
    const Text report = scan.scratch.Put("result\\N.txt", kRecord);
    scan.Lines({k + "\\One|N", k + "\\Two|N"});
    // Set by the user while the second line is shown.
    scan.onChange = [&](ScanModel& model) {
        if (!model.DeletesRegistryValues() && model.GetText(ScanControl::Label5) == k + "\\Two")
            model.SetDeletesRegistryValues(true);
    };
    scan.Run();

    EXPECT_TRUE(TestKey::HasValue(HKEY_CURRENT_USER, k, "One"));
    EXPECT_FALSE(TestKey::HasValue(HKEY_CURRENT_USER, k, "Two"));
    EXPECT_EQ(ReadBytes(report), kRecord + "\r\n" + k + "\\One\r\n" + k + "\\Two" + kDeleted);
}

// A window of the test thread that deletes a value when it gets a message, as
// another program might between the phase's test and its deletion.
LRESULT CALLBACK DeleteOnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP) {
        const auto* key = reinterpret_cast<const std::string*>(lParam);
        RegDeleteKeyValueA(HKEY_CURRENT_USER, key->c_str(), "Gone");
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(RegistryPhase, AValueThatCannotBeDeletedIsReportedSo)
{
    Scan scan;
    const std::string k = scan.key.Path();
    ASSERT_TRUE(TestKey::SetValue(HKEY_CURRENT_USER, k, "Gone"));
    const Text report = scan.scratch.Put("result\\N.txt", kRecord);
    scan.Lines({k + "\\Gone|N"});
    scan.model.SetDeletesRegistryValues(true);

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DeleteOnMessage;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "SorvalenTestDeleter";
    RegisterClassA(&windowClass);
    HWND deleter = CreateWindowA("SorvalenTestDeleter", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 windowClass.hInstance, nullptr);
    ASSERT_NE(deleter, nullptr);
    // Posted while the line is shown; the phase handles it once it has found the value.
    scan.onChange = [&](ScanModel& model) {
        if (model.GetText(ScanControl::Label5) == k + "\\Gone")
            PostMessageA(deleter, WM_APP, 0, reinterpret_cast<LPARAM>(&k));
    };
    scan.Run();
    DestroyWindow(deleter);

    EXPECT_FALSE(TestKey::HasValue(HKEY_CURRENT_USER, k, "Gone"));
    EXPECT_EQ(ReadBytes(report), kRecord + "\r\n" + k + "\\Gone" + kNotDeleted);
}

TEST(RegistryPhase, TheReportNameIsMappedAsTheAttachedCheckMapsIt)
{
    Scan scan;
    const std::string k = scan.key.Path();
    ASSERT_TRUE(TestKey::SetValue(HKEY_CURRENT_USER, k, "Run"));
    const Text report = scan.scratch.Put("result\\a_b 億乗.txt", kRecord);
    scan.Lines({k + "\\Run|a:b 億乗"});
    scan.Run();
    EXPECT_EQ(ReadBytes(report), kRecord + "\r\n" + k + "\\Run");
}

TEST(RegistryPhase, AReportThatCannotBeWrittenKeepsItsContent)
{
    Scan scan;
    const std::string k = scan.key.Path();
    ASSERT_TRUE(TestKey::SetValue(HKEY_CURRENT_USER, k, "Run"));
    const Text report = scan.scratch.Put("result\\N.txt", kRecord);
    scan.Lines({k + "\\Run|N", k + "\\Run|N"});
    // Held without sharing for the first line, then let go.
    auto held = std::make_unique<HeldFile>(report, GENERIC_READ, 0);
    ASSERT_TRUE(held->IsOpen());
    scan.onChange = [&](ScanModel& model) {
        if (model.ProgressPosition() == 1) held.reset();
    };
    scan.Run();
    EXPECT_EQ(ReadBytes(report), kRecord + "\r\n" + k + "\\Run");
}

TEST(RegistryPhase, NoLinesSetsTheCaptionAndClearsItAtOnce)
{
    Scan scan;
    scan.model.SetProgressPosition(3);
    std::vector<Text> captions;
    scan.onChange = [&](ScanModel& model) { captions.push_back(model.GetText(ScanControl::ScanType)); };
    scan.Run();
    EXPECT_EQ(captions, (std::vector<Text>{"正在扫描 注册表......", ""}));
    EXPECT_EQ(scan.model.ProgressPosition(), 3);
}

TEST(StripRootNames, RemovesTheFiveRootNamesInAnyCaseWhereverTheyStand)
{
    EXPECT_EQ(StripRootNames("HKEY_CURRENT_USER\\Software\\A\\v"), "Software\\A\\v");
    EXPECT_EQ(StripRootNames("Hkey_Users\\x\\HKEY_CLASSES_ROOT\\y"), "x\\y");
    EXPECT_EQ(StripRootNames("hkey_current_config\\HKEY_LOCAL_MACHINE\\z"), "z");
    EXPECT_EQ(StripRootNames("HKEY_LOCAL_MACHINE"), "HKEY_LOCAL_MACHINE");
    // Removed in order: the text left by one removal is not searched for an earlier name.
    EXPECT_EQ(StripRootNames("HKEY_CURRENT_HKEY_USERS\\USER\\v"), "HKEY_CURRENT_USER\\v");
}

TEST(RegistryEntry, TestsAndDeletesAValueOrElseTheKeyThePathNames)
{
    TestKey key;
    const std::string k = key.Path();
    ASSERT_TRUE(TestKey::SetValue(HKEY_CURRENT_USER, k, "Run"));
    ASSERT_TRUE(TestKey::SetValue(HKEY_CURRENT_USER, k, ""));
    ASSERT_TRUE(TestKey::SetValue(HKEY_CURRENT_USER, k + "\\Sub", "inner"));

    EXPECT_TRUE(RegistryValueExists(3, k + "\\Run"));
    EXPECT_TRUE(RegistryValueExists(9, k + "\\Run"));  // any other number is HKEY_CURRENT_USER
    EXPECT_FALSE(RegistryValueExists(4, k + "\\Run"));
    EXPECT_TRUE(RegistryValueExists(3, k + "\\"));     // the key's unnamed value
    EXPECT_FALSE(RegistryValueExists(3, k + "\\Sub"));
    EXPECT_FALSE(RegistryValueExists(3, "Run"));  // no backslash: a value of the root key

    EXPECT_TRUE(DeleteRegistryEntry(3, k + "\\Run"));
    EXPECT_FALSE(TestKey::HasValue(HKEY_CURRENT_USER, k, "Run"));
    EXPECT_FALSE(DeleteRegistryEntry(3, k + "\\Run"));
    // No value of that name: the key of the whole path goes, values and all.
    EXPECT_TRUE(DeleteRegistryEntry(3, k + "\\Sub"));
    EXPECT_FALSE(TestKey::HasKey(HKEY_CURRENT_USER, k + "\\Sub"));
    EXPECT_TRUE(TestKey::HasKey(HKEY_CURRENT_USER, k));
}

}  // namespace
