// The file walk of the scan: a folder listing in files-only or folders-only
// mode, and the depth-first walk that hands every file's full path to a sink.
#pragma once

#include "core/text.h"

class ListStore;

enum class EntryMode { FilesOnly, FoldersOnly };

// One open directory search, or none. Closes its search when destroyed.
class SearchHandle {
public:
    SearchHandle() = default;
    ~SearchHandle();
    SearchHandle(SearchHandle&& other) noexcept;
    SearchHandle& operator=(SearchHandle&& other) noexcept;
    SearchHandle(const SearchHandle&) = delete;
    SearchHandle& operator=(const SearchHandle&) = delete;

    bool IsOpen() const { return search_ != nullptr; }

private:
    friend Text FindEntry(const Text& pattern, EntryMode mode, SearchHandle& handle);
    friend void CloseSearch(SearchHandle& handle);
    friend struct SearchAccess;  // the walk, which also reads the entries' attributes
    void* search_ = nullptr;  // the system's search handle; nullptr for none
};

// A non-empty pattern ("C:\dir\*.*") starts a new search in `handle`, closing the
// one it held; the empty pattern goes on with it. Gives the next name (without
// its folder) that the mode accepts, or "" when the search has run out or could
// not start; `handle` is none then. Files-only skips every directory entry,
// folders-only returns only those, "." and ".." included.
Text FindEntry(const Text& pattern, EntryMode mode, SearchHandle& handle);
void CloseSearch(SearchHandle& handle);

// Where the walk delivers its results. Proceed() is asked before each Add: it may
// wait (a paused scan) and answers false to stop the walk at once.
struct WalkSink {
    virtual bool Proceed() = 0;
    virtual void Add(const Text& path) = 0;
    virtual void Message(const Text& text) = 0;
    virtual ~WalkSink() = default;
};

// Adds to a list store, shows messages in the program's message box, never stops.
class StoreSink : public WalkSink {
public:
    explicit StoreSink(ListStore& store) : store_(store) {}
    bool Proceed() override { return true; }
    void Add(const Text& path) override;
    void Message(const Text& text) override;

private:
    ListStore& store_;
};

// Adds the full path of every file below `path` whose name matches `mask`: depth
// first, a folder's files before its subfolders, hidden and system entries
// included. The caller's variables change: an empty mask becomes "*.*" and `path`
// gains a trailing "\". An empty path gives the message "目录名不能为空"; a folder
// that cannot be listed counts as empty. False when the sink stopped the walk.
bool WalkFolder(Text& path, Text& mask, WalkSink& sink);
