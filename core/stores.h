// The in-memory stores: ordered lists of texts and whole texts. Every operation
// is atomic with respect to other threads and holds its lock only for itself, so
// a worker paused or stopped between two operations never holds one.
#pragma once

#include <mutex>
#include <vector>

#include "core/text.h"

class ListStore {
public:
    int Add(const Text& text);           // the new item's 0-based index
    int Count() const;
    Text ItemText(int index) const;      // empty outside 0..Count()-1
    void Clear();
    // A snapshot of every item, for readers that go over the whole list.
    std::vector<Text> Items() const;

private:
    mutable std::mutex lock_;
    std::vector<Text> items_;
};

class TextStore {
public:
    Text GetText() const;
    void SetText(const Text& text);

private:
    mutable std::mutex lock_;
    Text text_;
};

struct Stores {
    TextStore sizeDatabaseText;
    TextStore md5DatabaseText;
    ListStore md5Lines;
    ListStore attachedNames;
    ListStore registryLines;
    ListStore foundFiles;
    ListStore matchedFiles;
    ListStore driveRoots;
};
