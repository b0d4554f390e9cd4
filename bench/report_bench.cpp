// The attached-file check writing 10,000 records into one report: the time per
// 1,000 records at the start and at the end shows whether appending grows with
// the report's size; the total is set against the phase's pacing floor
// (files x (attached names + 1) measured 1 ms pauses). Before the phase, the
// report writing alone: appending 10,000 records, against rewriting the whole
// report for each record (old content + record) at 1,000 and at 9,000 records.
//   report_bench [files]
#include <windows.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/files.h"
#include "core/md5.h"
#include "core/numbers.h"
#include "core/system.h"
#include "process/process_lookup.h"
#include "scan/phases.h"
#include "scan/report_file.h"
#include "scan/scan_model.h"
#include "scan/worker_gate.h"

namespace {

const int kFilesPerFolder = 100;
const char kContent[] = "a flagged file of the report benchmark\r\n";

double Seconds()
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Put(const std::string& path, const std::string& bytes)
{
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);
}

// Folders of 100 equal files, each folder with one of the two attached names beside them.
std::vector<std::string> MakeFiles(const std::string& root, int files)
{
    CreateDirectoryA(root.c_str(), nullptr);
    std::vector<std::string> paths;
    for (int i = 0; i < files; ++i) {
        const std::string folder = root + "\\d" + std::to_string(i / kFilesPerFolder);
        if (i % kFilesPerFolder == 0) {
            CreateDirectoryA(folder.c_str(), nullptr);
            Put(folder + "\\helper.dll", "x");
        }
        const std::string path = folder + "\\f" + std::to_string(i) + ".exe";
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) Put(path, kContent);
        paths.push_back(path);
    }
    return paths;
}

void RemoveFolderFiles(const std::string& folder)
{
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            DeleteFileA((folder + "\\" + entry.cFileName).c_str());
    } while (FindNextFileA(search, &entry));
    FindClose(search);
}

// Milliseconds a record for the first and the last 1,000 of `records` appends.
void TimeAppends(const std::string& folder, const std::string& record, int records)
{
    const std::string path = folder + "\\append.txt";
    DeleteFileA(path.c_str());
    std::vector<double> at(records + 1);
    for (int i = 0; i < records; ++i) {
        at[i] = Seconds();
        AppendToReport(path, record);
    }
    at[records] = Seconds();
    std::printf("appending alone: first 1,000 records %.3f ms a record, last 1,000 %.3f ms a "
                "record\n",
                at[1000] - at[0], at[records] - at[records - 1000]);
    DeleteFileA(path.c_str());
}

// Milliseconds a record when each record rewrites the whole report, at `held` records.
double TimeRewrites(const std::string& folder, const std::string& record, int held)
{
    const std::string path = folder + "\\rewrite.txt";
    std::string content;
    for (int i = 0; i < held; ++i) content += record;
    const Bytes start = TextToBytes(content);
    WriteWholeFile(path, start);
    const int rounds = 100;
    const double begin = Seconds();
    for (int i = 0; i < rounds; ++i) {
        const Text old = BytesToText(ReadWholeFile(path));
        WriteWholeFile(path, TextToBytes(old + record));
    }
    const double perRecord = (Seconds() - begin) / rounds;
    DeleteFileA(path.c_str());
    return perRecord;
}

}  // namespace

int main(int argc, char** argv)
{
    const int files = argc > 1 ? std::atoi(argv[1]) : 10000;
    if (files < 2000) {
        std::printf("needs at least 2000 files\n");
        return 1;
    }
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string root = std::string(temp) + "sorvalen-report-bench";
    const std::vector<std::string> paths = MakeFiles(root + "-files", files);
    const std::string resultFolder = root + "-result";
    CreateDirectoryA(resultFolder.c_str(), nullptr);
    RemoveFolderFiles(resultFolder);

    timeBeginPeriod(1);  // as a running scan sets it
    const int samples = 2000;
    double start = Seconds();
    for (int i = 0; i < samples; ++i) SleepMs(1);
    const double pause = (Seconds() - start) / samples;
    const int lookups = 20;
    start = Seconds();
    for (int i = 0; i < lookups; ++i) RunningProcessOf(paths[0]);
    const double lookup = (Seconds() - start) / lookups;

    std::printf("measured SleepMs(1): %.3f ms; RunningProcessOf: %.2f ms a call\n", pause * 1e3,
                lookup * 1e3);
    std::fflush(stdout);

    {
        // A record of the phase's own size: the path and the attached lines as below.
        const std::string record(495, 'r');
        TimeAppends(resultFolder, record, files);
        std::printf("rewriting the whole report: %.3f ms a record at 1,000 records, %.3f ms at "
                    "9,000\n",
                    TimeRewrites(resultFolder, record, 1000) * 1e3,
                    TimeRewrites(resultFolder, record, 9000) * 1e3);
        std::fflush(stdout);
    }

    const std::string md5 = Md5Text(reinterpret_cast<const unsigned char*>(kContent),
                                    sizeof kContent - 1);
    ProgramState state;
    state.resultFolder = resultFolder;
    Stores stores;
    stores.sizeDatabaseText.SetText("1024\r\n" + std::to_string(sizeof kContent - 1) + "\r\n");
    stores.md5DatabaseText.SetText(md5 + "|bench\r\n");
    stores.md5Lines.Add(md5 + "|bench");
    stores.attachedNames.Add("helper.dll");
    stores.attachedNames.Add("missing.dll");
    for (const std::string& path : paths) stores.matchedFiles.Add(path);

    // The processed counter turns at the start of each file's pass.
    std::vector<double> passStart(files + 2, 0.0);
    ScanModel* model = nullptr;
    ScanModel view([&] {
        const int pass = std::atoi(model->GetText(ScanControl::Edit2).c_str());
        if (pass >= 1 && pass <= files && passStart[pass] == 0.0) passStart[pass] = Seconds();
    });
    model = &view;
    WorkerGate gate;
    ScanSteps steps(view, gate, WorkerGate::Role::Check);

    start = Seconds();
    AttachedPhase(state, stores, steps);
    const double end = Seconds();
    passStart[files + 1] = end;
    const double total = end - start;

    const std::string report = resultFolder + "\\bench.txt";
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExA(report.c_str(), GetFileExInfoStandard, &data);
    const int names = stores.attachedNames.Count();
    const double floorPerFile = (names + 1) * pause;
    auto thousand = [&](int first) { return passStart[first + 1000] - passStart[first]; };
    const double firstK = thousand(1);
    const double lastK = passStart[files + 1] - passStart[files - 999];

    std::printf("files %d, attached names %d, report %lu bytes\n", files, names,
                static_cast<unsigned long>(data.nFileSizeLow));
    std::printf("first 1,000 records: %.2f s (%.2f ms a record)\n", firstK, firstK);
    std::printf("last 1,000 records:  %.2f s (%.2f ms a record); last/first %.2f\n", lastK,
                lastK, lastK / firstK);
    std::printf("total %.2f s; pacing floor %.2f s (ratio %.2f); floor with the process "
                "lookups %.2f s (ratio %.2f)\n",
                total, files * floorPerFile, total / (files * floorPerFile),
                files * (floorPerFile + lookup), total / (files * (floorPerFile + lookup)));
    timeEndPeriod(1);
    RemoveFolderFiles(resultFolder);
    RemoveDirectoryA(resultFolder.c_str());
    return 0;
}
