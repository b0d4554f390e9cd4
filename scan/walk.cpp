#include "scan/walk.h"

#include <windows.h>

#include <atomic>

#include "core/message.h"
#include "core/stores.h"

namespace {

const char kAllNames[] = "*.*";

// Names only (no short names) and bigger directory reads: Windows 7 and later.
// Older systems refuse them with ERROR_INVALID_PARAMETER and get the plain search.
std::atomic<bool> plainSearchOnly{false};

// The first entry of a new search, or nullptr when the system finds nothing.
HANDLE StartSearch(const char* pattern, WIN32_FIND_DATAA& entry)
{
    HANDLE search = INVALID_HANDLE_VALUE;
    if (!plainSearchOnly.load(std::memory_order_relaxed)) {
        search = FindFirstFileExA(pattern, FindExInfoBasic, &entry, FindExSearchNameMatch,
                                  nullptr, FIND_FIRST_EX_LARGE_FETCH);
        if (search == INVALID_HANDLE_VALUE && GetLastError() == ERROR_INVALID_PARAMETER) {
            search = FindFirstFileA(pattern, &entry);
            if (search != INVALID_HANDLE_VALUE) plainSearchOnly.store(true);
        }
    } else {
        search = FindFirstFileA(pattern, &entry);
    }
    return search == INVALID_HANDLE_VALUE ? nullptr : search;
}

bool IsFolder(const WIN32_FIND_DATAA& entry)
{
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsDots(const char* name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

bool Accepts(const WIN32_FIND_DATAA& entry, EntryMode mode)
{
    return IsFolder(entry) == (mode == EntryMode::FoldersOnly);
}

}  // namespace

struct SearchAccess {
    static void*& Of(SearchHandle& handle) { return handle.search_; }
};

SearchHandle::~SearchHandle() { CloseSearch(*this); }

SearchHandle::SearchHandle(SearchHandle&& other) noexcept : search_(other.search_)
{
    other.search_ = nullptr;
}

SearchHandle& SearchHandle::operator=(SearchHandle&& other) noexcept
{
    if (this != &other) {
        CloseSearch(*this);
        search_ = other.search_;
        other.search_ = nullptr;
    }
    return *this;
}

void CloseSearch(SearchHandle& handle)
{
    if (handle.search_) FindClose(handle.search_);
    handle.search_ = nullptr;
}

Text FindEntry(const Text& pattern, EntryMode mode, SearchHandle& handle)
{
    WIN32_FIND_DATAA entry;
    if (!pattern.empty()) {
        CloseSearch(handle);
        handle.search_ = StartSearch(pattern.c_str(), entry);
        if (!handle.search_) return Text();
    } else if (!handle.search_ || !FindNextFileA(handle.search_, &entry)) {
        CloseSearch(handle);
        return Text();
    }
    while (!Accepts(entry, mode)) {
        if (!FindNextFileA(handle.search_, &entry)) {
            CloseSearch(handle);
            return Text();
        }
    }
    return entry.cFileName;
}

void StoreSink::Add(const Text& path) { store_.Add(path); }

void StoreSink::Message(const Text& text) { ShowMessage(text); }

namespace {

// One walk: a path buffer that grows and shrinks with the depth, and one entry
// buffer, which a level no longer needs once it has asked for its next entry.
class Walker {
public:
    Walker(const Text& root, const Text& mask, WalkSink& sink)
        : path_(root), mask_(mask), allNames_(mask == kAllNames), sink_(sink)
    {
    }

    // Walks the folder path_, which ends in "\"; false when the sink stopped.
    bool Folder()
    {
        const std::size_t base = path_.size();
        SearchHandle handle;
        void*& search = SearchAccess::Of(handle);

        path_.append(mask_);
        search = StartSearch(path_.c_str(), entry_);
        path_.resize(base);
        // With "*.*" the files pass sees every entry, so it can tell whether the
        // folders pass would find anything; it counts the subfolders for that.
        int subfolders = 0;
        bool listedAll = allNames_;
        if (search) {
            do {
                if (!IsFolder(entry_)) {
                    if (!sink_.Proceed()) return false;
                    path_.append(entry_.cFileName);
                    sink_.Add(path_);
                    path_.resize(base);
                } else if (!IsDots(entry_.cFileName)) {
                    ++subfolders;
                }
            } while (FindNextFileA(search, &entry_));
            listedAll = listedAll && GetLastError() == ERROR_NO_MORE_FILES;
        }
        if (listedAll && subfolders == 0) return true;

        CloseSearch(handle);
        path_.append(kAllNames);
        search = StartSearch(path_.c_str(), entry_);
        path_.resize(base);
        if (!search) return true;
        do {
            if (!IsFolder(entry_) || IsDots(entry_.cFileName)) continue;
            path_.append(entry_.cFileName);
            path_.push_back('\\');
            if (!Folder()) return false;
            path_.resize(base);
            // The last subfolder the files pass saw: the rest holds only files.
            if (listedAll && --subfolders == 0) break;
        } while (FindNextFileA(search, &entry_));
        return true;
    }

private:
    Text path_;
    const Text& mask_;
    const bool allNames_;
    WalkSink& sink_;
    WIN32_FIND_DATAA entry_;
};

}  // namespace

bool WalkFolder(Text& path, Text& mask, WalkSink& sink)
{
    if (path.empty()) {
        sink.Message("目录名不能为空");
        return true;
    }
    if (mask.empty()) mask = kAllNames;
    // By characters: the second byte of a two-byte character may be 0x5C too.
    if (FindLastText(path, "\\") != TextLength(path)) path += '\\';
    return Walker(path, mask, sink).Folder();
}
