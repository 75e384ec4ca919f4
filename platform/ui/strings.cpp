#include "platform/ui/strings.h"

TStrings& TStrings::operator=(const TStrings& other) {
    if (this != &other) Assign(other.items_);
    return *this;
}

void TStrings::OutOfBounds(int index) {
    throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
}

void TStrings::CheckIndex(int index, int limit) const {
    if (index < 0 || index >= limit) OutOfBounds(index);
}

int TStrings::SelectionAfter(int selected, Change change, int index) {
    if (selected < 0) return -1;
    switch (change) {
        case Change::Cleared: return -1;
        case Change::Deleted:
            if (index == selected) return -1;
            return index < selected ? selected - 1 : selected;
        case Change::Inserted: return index <= selected ? selected + 1 : selected;
        case Change::Added:
        case Change::Replaced: break;
    }
    return selected;
}

const std::string& TStrings::Strings(int index) const {
    CheckIndex(index, Count());
    return items_[static_cast<size_t>(index)];
}

void TStrings::SetStrings(int index, std::string text) {
    CheckIndex(index, Count());
    items_[static_cast<size_t>(index)] = std::move(text);
    Notify(Change::Replaced, index);
}

int TStrings::Add(std::string text) {
    items_.push_back(std::move(text));
    const int index = Count() - 1;
    Notify(Change::Added, index);
    return index;
}

void TStrings::Insert(int index, std::string text) {
    CheckIndex(index, Count() + 1);
    items_.insert(items_.begin() + index, std::move(text));
    Notify(Change::Inserted, index);
}

void TStrings::Delete(int index) {
    CheckIndex(index, Count());
    items_.erase(items_.begin() + index);
    Notify(Change::Deleted, index);
}

void TStrings::Clear() {
    items_.clear();
    Notify(Change::Cleared, -1);
}

void TStrings::Assign(const std::vector<std::string>& items) {
    const std::vector<std::string> copy = items;  // items may be our own list
    Clear();
    for (const auto& item : copy) Add(item);
}

int TStrings::IndexOf(std::string_view text) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i] == text) return static_cast<int>(i);
    return -1;
}
