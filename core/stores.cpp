#include "core/stores.h"

int ListStore::Add(const Text& text)
{
    std::lock_guard<std::mutex> hold(lock_);
    try {
        items_.push_back(text);
    } catch (const std::bad_alloc&) {
        return -1;  // dropped without a message
    }
    return static_cast<int>(items_.size()) - 1;
}

int ListStore::Count() const
{
    std::lock_guard<std::mutex> hold(lock_);
    return static_cast<int>(items_.size());
}

Text ListStore::ItemText(int index) const
{
    std::lock_guard<std::mutex> hold(lock_);
    if (index < 0 || index >= static_cast<int>(items_.size())) return Text();
    return items_[index];
}

void ListStore::Clear()
{
    std::lock_guard<std::mutex> hold(lock_);
    items_.clear();
}

std::vector<Text> ListStore::Items() const
{
    std::lock_guard<std::mutex> hold(lock_);
    return items_;
}

Text TextStore::GetText() const
{
    std::lock_guard<std::mutex> hold(lock_);
    return text_;
}

void TextStore::SetText(const Text& text)
{
    std::lock_guard<std::mutex> hold(lock_);
    text_ = text;
}
