// The file walk against a bare recursive FindFirstFileA/FindNextFileA loop over
// the same tree: 1,111 folders on four levels, 90 files each (and a marker file).
// Subfolder names sort after the file names, so a folder's subfolders come last.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "core/stores.h"
#include "scan/walk.h"

namespace {

const int kFanOut = 10;
const int kLevels = 3;  // below the root
const int kFilesPerFolder = 90;
const char kCompleteMarker[] = "complete-v1";

bool MakeFiles(const std::string& folder)
{
    char name[32];
    for (int i = 0; i < kFilesPerFolder; ++i) {
        std::snprintf(name, sizeof name, "\\f%03d.dat", i);
        HANDLE file = CreateFileA((folder + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        CloseHandle(file);
    }
    return true;
}

bool MakeTree(const std::string& folder, int level)
{
    if (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
    if (!MakeFiles(folder)) return false;
    if (level == kLevels) return true;
    for (int i = 0; i < kFanOut; ++i)
        if (!MakeTree(folder + "\\z" + std::to_string(i), level + 1)) return false;
    return true;
}

void RemoveTree(const std::string& folder)
{
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(folder + "\\" + name);
            else
                DeleteFileA((folder + "\\" + name).c_str());
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

long long BareWalk(const std::string& folder)
{
    long long files = 0;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            ++files;
        else if (std::string(entry.cFileName) != "." && std::string(entry.cFileName) != "..")
            files += BareWalk(folder + "\\" + entry.cFileName);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return files;
}

double Seconds()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main()
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string root = std::string(temp) + "sorvalen-walk-bench";
    const std::string marker = root + "\\" + kCompleteMarker;

    if (GetFileAttributesA(marker.c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::printf("making the tree under %s ...\n", root.c_str());
        std::fflush(stdout);
        RemoveTree(root);
        double start = Seconds();
        if (!MakeTree(root, 0)) {
            std::printf("could not make the tree\n");
            return 1;
        }
        HANDLE file = CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        CloseHandle(file);
        std::printf("made in %.1f s\n", Seconds() - start);
    } else {
        std::printf("reusing the tree under %s\n", root.c_str());
    }

    // Alternating which runs first, so a drift of the machine favours neither.
    const int rounds = 8;
    std::vector<double> ratios;
    double bestBare = 0, bestOurs = 0;
    BareWalk(root);  // warm the caches once
    for (int round = 1; round <= rounds; ++round) {
        long long bareFiles = 0;
        double bareRate = 0, oursRate = 0;
        ListStore found;
        auto bare = [&] {
            double start = Seconds();
            bareFiles = BareWalk(root);
            bareRate = static_cast<double>(bareFiles) / (Seconds() - start);
        };
        auto ours = [&] {
            StoreSink sink(found);
            Text path = root, mask;
            double start = Seconds();
            WalkFolder(path, mask, sink);
            oursRate = static_cast<double>(found.Count()) / (Seconds() - start);
        };
        if (round % 2) {
            bare();
            ours();
        } else {
            ours();
            bare();
        }
        ratios.push_back(oursRate / bareRate);
        bestBare = std::max(bestBare, bareRate);
        bestOurs = std::max(bestOurs, oursRate);
        std::printf("round %d: bare %lld files %.0f files/s | ours %d files %.0f files/s | "
                    "ours/bare %.2f\n",
                    round, bareFiles, bareRate, found.Count(), oursRate, oursRate / bareRate);
        std::fflush(stdout);
    }
    std::sort(ratios.begin(), ratios.end());
    std::printf("best: bare %.0f files/s, ours %.0f files/s, ratio of bests %.2f; "
                "median ratio %.2f\n",
                bestBare, bestOurs, bestOurs / bestBare,
                (ratios[rounds / 2 - 1] + ratios[rounds / 2]) / 2);
    return 0;
}
