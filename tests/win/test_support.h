// Helpers for the tests that run under Wine against real files.
#pragma once

#include <string>

#include "core/numbers.h"

// A fresh folder under the user's temporary folder, removed with its content.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const Text& Path() const { return path_; }
    // Path() + "\" + name
    Text operator/(const Text& name) const;
    // Writes raw bytes to Path()\name (sub-folders must exist).
    Text Put(const Text& name, const std::string& bytes) const;

private:
    Text path_;
};

// A handle the test itself keeps open, to stand for another process using the file.
class HeldFile {
public:
    // CreateFileA with OPEN_EXISTING unless another disposition is given.
    HeldFile(const Text& path, unsigned long access, unsigned long share,
             unsigned long disposition = 3 /* OPEN_EXISTING */);
    ~HeldFile();
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    bool IsOpen() const;

private:
    void* handle_;
};

// True when CreateFileA can open the file so; the handle is closed again at once.
bool CanOpen(const Text& path, unsigned long access, unsigned long share);

std::string ReadBytes(const Text& path);
void RemoveTree(const Text& path);
