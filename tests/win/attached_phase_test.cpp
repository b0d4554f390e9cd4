// The attached-file check run headless against real files: the records of the
// report files, byte for byte, and the counters and progress it drives.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "core/program_state.h"
#include "core/stores.h"
#include "scan/phases.h"
#include "scan/scan_model.h"
#include "scan/worker_gate.h"
#include "tests/win/test_support.h"

namespace {

using Lines = std::vector<std::string>;

// The three flagged files' contents and their MD5 texts (RFC 1321 test suite).
struct Sample {
    const char* content;
    const char* size;
    const char* md5;
};
const Sample kFirst = {"a", "1", "0cc175b9c0f1b6a831c399e269772661"};
const Sample kSecond = {"abc", "3", "900150983cd24fb0d6963f7d28e17f72"};
const Sample kThird = {"message digest", "14", "f96b697d7cb7938d525a2f31aaf161d0"};

const std::string kDash = "——————————————————";
const std::string kEquals = "==================================";
const std::string kNotRunning = "暂无运行、或已运行360保险箱！";

// A record as the report lays it out, line by line, every line ending in CR LF.
std::string Record(const std::string& note, const std::string& path, const Sample& file,
                   const Lines& attached)
{
    Lines lines = {"文件备注：" + note, kEquals, "文件路径：" + path, kDash,
                   std::string("文件尺寸：") + file.size, kDash,
                   std::string("文件MD5：") + file.md5, kDash, "运行进程：" + kNotRunning, kDash};
    for (const std::string& name : attached) {
        lines.push_back("所包含附属文件：" + name);
        lines.push_back(kDash);
    }
    for (const char* line : {"", kDash.c_str(), "注册表键值："}) lines.push_back(line);
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    return bytes;
}

Lines FileNames(const Text& folder)
{
    Lines names;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(entry.cFileName);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

std::string Md5Line(const Sample& file, const std::string& note)
{
    return std::string(file.md5) + "|" + note;
}

// Two folders of flagged files: app\ with first.exe and second.exe beside
// helper.dll, readme.ini and the subfolder sub; other\ with third.exe alone.
struct Scan {
    ScratchFolder scratch;
    Text result = scratch / "result";
    Text first, second, third;
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
        CreateDirectoryA((scratch / "app").c_str(), nullptr);
        CreateDirectoryA((scratch / "app\\sub").c_str(), nullptr);
        CreateDirectoryA((scratch / "other").c_str(), nullptr);
        first = scratch.Put("app\\first.exe", kFirst.content);
        second = scratch.Put("app\\second.exe", kSecond.content);
        third = scratch.Put("other\\third.exe", kThird.content);
        scratch.Put("app\\helper.dll", "dll");
        scratch.Put("app\\readme.ini", "ini");
        state.resultFolder = result;
        stores.sizeDatabaseText.SetText("1\r\n3\r\n14\r\n");
        for (const char* name : {"helper.dll", "", "sub", "missing.dll", "*.ini"})
            stores.attachedNames.Add(name);
    }

    // The MD5 database as its loader leaves it: the whole text and its lines.
    void Md5Database(const Lines& lines)
    {
        std::string text;
        for (const std::string& line : lines) {
            text += line + "\r\n";
            stores.md5Lines.Add(line);
        }
        stores.md5DatabaseText.SetText(text);
    }

    void Flag(std::initializer_list<Text> paths)
    {
        for (const Text& path : paths) stores.matchedFiles.Add(path);
    }

    void Run() { AttachedPhase(state, stores, steps); }
};

// What the attached names of Scan find in app\ (the database's order, the names as written).
const Lines kAppAttached = {"helper.dll", "sub", "*.ini"};

TEST(AttachedPhase, TheFormatsFixedPiecesHaveTheirByteLengths)
{
    EXPECT_EQ(kEquals.size(), 34u);
    ASSERT_EQ(kDash.size(), 36u);
    EXPECT_EQ(kDash.substr(0, 2), "\xA1\xAA");
}

TEST(AttachedPhase, FilesOfOneNoteAddTheirRecordsToOneReportInFlaggedOrder)
{
    Scan scan;
    scan.Md5Database({Md5Line(kSecond, "N"), Md5Line(kThird, "M"), Md5Line(kFirst, "N")});
    scan.Flag({scan.second, scan.third, scan.first});
    scan.Run();

    EXPECT_EQ(FileNames(scan.result), (Lines{"M.txt", "N.txt"}));
    EXPECT_EQ(ReadBytes(scan.result + "\\N.txt"),
              Record("N", scan.second, kSecond, kAppAttached) +
                  Record("N", scan.first, kFirst, kAppAttached));
    // No attached file beside it: a dash line, an empty line, a dash line.
    EXPECT_EQ(ReadBytes(scan.result + "\\M.txt"), Record("M", scan.third, kThird, {}));
}

TEST(AttachedPhase, CountersProgressAndLabelFollowEachFile)
{
    Scan scan;
    scan.Md5Database({Md5Line(kFirst, "N"), Md5Line(kSecond, "N"), Md5Line(kThird, "N")});
    scan.Flag({scan.first, scan.third, scan.second});
    for (int i = 0; i < 4; ++i) scan.stores.registryLines.Add("k|N");
    scan.model.SetProgressMaximum(5);
    scan.state.currentNote = "left over";

    // Edit2 and Label5 at each change of the processed counter; the highest progress.
    std::vector<std::pair<Text, Text>> passes;
    int highest = 0;
    Text firstTotal;
    scan.onChange = [&](ScanModel& model) {
        const ScanControlsState now = model.Snapshot();
        const Text done = now.text[static_cast<int>(ScanControl::Edit2)];
        if (firstTotal.empty()) firstTotal = now.text[static_cast<int>(ScanControl::Edit1)];
        if (!done.empty() && (passes.empty() || passes.back().first != done))
            passes.push_back({done, now.text[static_cast<int>(ScanControl::Label5)]});
        else if (!passes.empty())
            passes.back().second = now.text[static_cast<int>(ScanControl::Label5)];
        highest = std::max(highest, now.progressPosition);
    };
    scan.Run();

    const Text app = scan.scratch / "app\\";
    const Text other = scan.scratch / "other\\";
    EXPECT_EQ(firstTotal, "3");
    EXPECT_EQ(passes, (std::vector<std::pair<Text, Text>>{{"1", app}, {"2", other}, {"3", app}}));
    // One step per attached file found, over all files together, past the maximum.
    EXPECT_EQ(highest, 6);

    const ScanControlsState end = scan.model.Snapshot();
    EXPECT_EQ(end.progressPosition, 0);
    EXPECT_EQ(end.progressMaximum, 4);
    EXPECT_EQ(end.text[static_cast<int>(ScanControl::ScanType)], "");
    EXPECT_EQ(end.text[static_cast<int>(ScanControl::Edit1)], "3");
    EXPECT_EQ(end.text[static_cast<int>(ScanControl::Edit2)], "3");
    EXPECT_EQ(end.text[static_cast<int>(ScanControl::Label5)], app);
    EXPECT_EQ(scan.state.phaseIndex, 0);
    EXPECT_EQ(scan.state.phaseCounter, 0);
    EXPECT_EQ(scan.state.attachedIndex, 0);
    EXPECT_EQ(scan.state.attachedCounter, 0);
    EXPECT_EQ(scan.state.attachedReportText, "");
    EXPECT_EQ(scan.state.currentNote, "");
    EXPECT_EQ(scan.state.currentFolder, app);
}

TEST(AttachedPhase, NoFlaggedFilesShowsZeroAndReadiesTheBarForTheRegistry)
{
    Scan scan;
    scan.Md5Database({Md5Line(kFirst, "N")});
    scan.stores.registryLines.Add("a|N");
    scan.stores.registryLines.Add("b|N");
    std::vector<Text> captions;
    scan.onChange = [&](ScanModel& model) {
        const Text caption = model.GetText(ScanControl::ScanType);
        if (captions.empty() || captions.back() != caption) captions.push_back(caption);
    };
    scan.Run();

    const ScanControlsState end = scan.model.Snapshot();
    EXPECT_EQ(end.text[static_cast<int>(ScanControl::Edit1)], "0");
    EXPECT_EQ(end.text[static_cast<int>(ScanControl::Edit2)], "");
    EXPECT_EQ(end.progressMaximum, 2);
    EXPECT_EQ(captions, (std::vector<Text>{"", "正在扫描 附属文件信息......", ""}));
    EXPECT_TRUE(FileNames(scan.result).empty());
}

TEST(AttachedPhase, TheSecondTestIsCaseSensitiveAndAFailedFileIsSkipped)
{
    struct Case {
        const char* name;
        const char* sizes;
        const char* firstMd5;  // as the MD5 database writes the first file's digest
        bool firstPasses;
    } cases[] = {
        {"both found", "1\r\n3\r\n", kFirst.md5, true},
        {"MD5 text in capitals", "1\r\n3\r\n", "0CC175B9C0F1B6A831C399E269772661", false},
        {"MD5 text absent", "1\r\n3\r\n", "00000000000000000000000000000000", false},
        {"size text absent", "3\r\n", kFirst.md5, false},
        {"size text only inside a longer number", "31\r\n", kFirst.md5, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Scan scan;
        scan.stores.sizeDatabaseText.SetText(c.sizes);
        scan.Md5Database({std::string(c.firstMd5) + "|N", Md5Line(kSecond, "N")});
        scan.Flag({scan.first, scan.second});
        scan.Run();

        const std::string second = Record("N", scan.second, kSecond, kAppAttached);
        EXPECT_EQ(ReadBytes(scan.result + "\\N.txt"),
                  c.firstPasses ? Record("N", scan.first, kFirst, kAppAttached) + second : second);
        EXPECT_EQ(FileNames(scan.result), Lines{"N.txt"});
    }
}

TEST(AttachedPhase, ARecordGoesToTheReportOfItsMd5LineAndAddsToThatFilesContent)
{
    // Lines ended by LF alone: the note read from the whole text is the last
    // line's, while the MD5 line names report A.
    Scan scan;
    scan.stores.md5DatabaseText.SetText(Md5Line(kFirst, "A") + "\n" + Md5Line(kSecond, "B"));
    scan.stores.md5Lines.Add(Md5Line(kFirst, "A"));
    scan.stores.md5Lines.Add(Md5Line(kSecond, "B"));
    scan.scratch.Put("result\\A.txt", "earlier records of A\r\n");
    scan.scratch.Put("result\\B.txt", "earlier records of B\r\n");
    scan.Flag({scan.first});
    scan.Run();

    EXPECT_EQ(ReadBytes(scan.result + "\\A.txt"),
              "earlier records of A\r\n" + Record("B", scan.first, kFirst, kAppAttached));
    EXPECT_EQ(ReadBytes(scan.result + "\\B.txt"), "earlier records of B\r\n");
}

TEST(AttachedPhase, WithoutAnMd5LineTheReportNameOfThePreviousFileIsKept)
{
    Scan scan;
    scan.stores.md5DatabaseText.SetText(Md5Line(kFirst, "F") + "\r\n" + Md5Line(kSecond, "N") +
                                        "\r\n" + Md5Line(kThird, "T") + "\r\n");
    scan.stores.md5Lines.Add(Md5Line(kSecond, "N"));
    scan.Flag({scan.first, scan.second, scan.third});
    scan.Run();

    EXPECT_EQ(FileNames(scan.result), (Lines{".txt", "N.txt"}));
    EXPECT_EQ(ReadBytes(scan.result + "\\.txt"), Record("F", scan.first, kFirst, kAppAttached));
    EXPECT_EQ(ReadBytes(scan.result + "\\N.txt"),
              Record("N", scan.second, kSecond, kAppAttached) +
                  Record("T", scan.third, kThird, {}));
}

TEST(AttachedPhase, AFailedWriteKeepsTheOldReportAndTheNextRecordLands)
{
    const std::string old = "old content\r\n";
    Scan scan;
    scan.Md5Database({Md5Line(kFirst, "N"), Md5Line(kSecond, "N")});
    const Text report = scan.scratch.Put("result\\N.txt", old);
    scan.Flag({scan.first, scan.second});

    // Held without sharing for the first file, let go when the second file's pass begins.
    auto held = std::make_unique<HeldFile>(report, GENERIC_READ | GENERIC_WRITE, 0);
    ASSERT_TRUE(held->IsOpen());
    Text seenAtRelease;
    scan.onChange = [&](ScanModel& model) {
        if (held && model.GetText(ScanControl::Edit2) == "2") {
            held.reset();
            seenAtRelease = ReadBytes(report);
        }
    };
    scan.Run();

    EXPECT_EQ(seenAtRelease, old);
    EXPECT_EQ(ReadBytes(report), old + Record("N", scan.second, kSecond, kAppAttached));
}

TEST(AttachedPhase, ANoteThatCannotNameAFileIsWrittenUnderAMappedName)
{
    struct Case {
        const char* note;
        const char* fileName;
    } cases[] = {
        {"a:b", "a_b.txt"},
        {"why?", "why_.txt"},
        {"x\\y", "x_y.txt"},
        {"CON", "_CON.txt"},
        // Two-byte characters whose second byte is 0x7C ("|") or 0x5C ("\") stay whole.
        {"億乗文件", "億乗文件.txt"},
    };
    ASSERT_EQ(std::string("億乗").substr(1, 1), "|");
    ASSERT_EQ(std::string("億乗").substr(3, 1), "\\");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        Scan scan;
        scan.Md5Database({Md5Line(kFirst, c.note)});
        scan.Flag({scan.first});
        scan.Run();

        EXPECT_EQ(FileNames(scan.result), Lines{c.fileName});
        EXPECT_EQ(ReadBytes(scan.result + "\\" + c.fileName),
                  Record(c.note, scan.first, kFirst, kAppAttached));
    }
}

TEST(AttachedPhase, AStopBetweenFilesKeepsTheRecordsWrittenSoFar)
{
    Scan scan;
    scan.Md5Database({Md5Line(kFirst, "N"), Md5Line(kSecond, "N")});
    scan.Flag({scan.first, scan.second});
    scan.onChange = [&](ScanModel& model) {
        if (model.GetText(ScanControl::Edit2) == "2") scan.gate.Stop();
    };
    EXPECT_THROW(scan.Run(), ScanStopped);
    EXPECT_EQ(ReadBytes(scan.result + "\\N.txt"), Record("N", scan.first, kFirst, kAppAttached));
}

}  // namespace
