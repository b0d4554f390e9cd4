#include "tests/win/test_support.h"

#include <windows.h>

#include <atomic>
#include <fstream>
#include <sstream>

ScratchFolder::ScratchFolder()
{
    static std::atomic<int> serial{0};
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::ostringstream name;
    name << temp << "sorvalen-test-" << GetCurrentProcessId() << "-" << GetTickCount() << "-"
         << serial++;
    path_ = name.str();
    CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() { RemoveTree(path_); }

Text ScratchFolder::operator/(const Text& name) const { return path_ + "\\" + name; }

Text ScratchFolder::Put(const Text& name, const std::string& bytes) const
{
    Text path = *this / name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

HeldFile::HeldFile(const Text& path, unsigned long access, unsigned long share,
                   unsigned long disposition)
    : handle_(CreateFileA(path.c_str(), access, share, nullptr, disposition,
                          FILE_ATTRIBUTE_NORMAL, nullptr))
{
}

HeldFile::~HeldFile()
{
    if (IsOpen()) CloseHandle(handle_);
}

bool HeldFile::IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

bool CanOpen(const Text& path, unsigned long access, unsigned long share)
{
    return HeldFile(path, access, share).IsOpen();
}

std::string ReadBytes(const Text& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

void RemoveTree(const Text& path)
{
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            Text name = entry.cFileName;
            if (name == "." || name == "..") continue;
            Text child = path + "\\" + name;
            SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                DeleteFileA(child.c_str());
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(path.c_str());
}
