// The exact-file match over 10,000 files against its pacing floor: each file
// costs one specified 1 ms pause, so the phase cannot be faster than 10,000
// measured pauses. Prints the phase's wall time, the floor and their ratio.
//   check_bench [files]
#include <windows.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/md5.h"
#include "core/system.h"
#include "scan/phases.h"
#include "scan/scan_model.h"
#include "scan/worker_gate.h"

namespace {

double Seconds()
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::string MakeFolder(int files)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "sorvalen-check-bench-" + std::to_string(files);
    CreateDirectoryA(folder.c_str(), nullptr);
    for (int i = 0; i < files; ++i) {
        const std::string path = folder + "\\f" + std::to_string(i) + ".dat";
        if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) continue;
        HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        const std::string body(static_cast<size_t>(100 + i % 900), 'x');
        DWORD written = 0;
        WriteFile(f, body.data(), static_cast<DWORD>(body.size()), &written, nullptr);
        CloseHandle(f);
    }
    return folder;
}

}  // namespace

int main(int argc, char** argv)
{
    const int files = argc > 1 ? std::atoi(argv[1]) : 10000;
    const std::string folder = MakeFolder(files);
    timeBeginPeriod(1);  // as a running scan sets it

    const int samples = 2000;
    double start = Seconds();
    for (int i = 0; i < samples; ++i) SleepMs(1);
    const double pause = (Seconds() - start) / samples;

    ProgramState state;
    Stores stores;
    for (int i = 0; i < files; ++i) stores.foundFiles.Add(folder + "\\f" + std::to_string(i) + ".dat");
    // One in a hundred sizes is known, so some files are digested too.
    std::string sizes;
    for (int size = 100; size < 1000; size += 100) sizes += "#" + std::to_string(size);
    stores.sizeDatabaseText.SetText(sizes);
    stores.md5DatabaseText.SetText(Md5Text(std::string(100, 'x').data(), 100) + "|bench\r\n\r\n");
    ScanModel view;
    WorkerGate gate;
    ScanSteps steps(view, gate, WorkerGate::Role::Check);

    start = Seconds();
    ExactMatchPhase(state, stores, steps);
    const double wall = Seconds() - start;
    timeEndPeriod(1);

    const double floor = files * pause;
    std::printf("files %d, matched %d\n", files, stores.matchedFiles.Count());
    std::printf("measured 1 ms pause: %.3f ms\n", pause * 1000);
    std::printf("phase wall time: %.3f s, pacing floor: %.3f s, ratio %.3f\n", wall, floor,
                wall / floor);
    return 0;
}
