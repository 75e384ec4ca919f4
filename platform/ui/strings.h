#pragma once
// Item lists of combo boxes, radio groups and check list boxes, and a plain string
// list for code. A control that owns a list is told of every change, so that it can
// keep its selection valid.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text/exception.h"

// Raised for an index outside the list: "List index out of bounds (-1)".
class EStringListError : public Exception {
public:
    using Exception::Exception;
};

class TStrings {
public:
    enum class Change { Added, Inserted, Deleted, Cleared, Replaced };
    // Told after every change, with the index concerned (-1 for Cleared).
    using ChangeHook = std::function<void(Change, int index)>;

    TStrings() = default;
    explicit TStrings(std::vector<std::string> items) : items_(std::move(items)) {}
    // Copies carry the items only, never the owner's hook.
    TStrings(const TStrings& other) : items_(other.items_) {}
    TStrings& operator=(const TStrings& other);
    virtual ~TStrings() = default;

    int Count() const { return static_cast<int>(items_.size()); }
    const std::string& Strings(int index) const;
    const std::string& operator[](int index) const { return Strings(index); }
    void SetStrings(int index, std::string text);

    int Add(std::string text);
    void Insert(int index, std::string text);
    void Delete(int index);
    void Clear();
    // Replaces every item (one Cleared, then one Added per item).
    void Assign(const std::vector<std::string>& items);
    // Exact, case-sensitive comparison; -1 when absent.
    int IndexOf(std::string_view text) const;

    // Kept for code that groups changes; every change still takes effect at once.
    void BeginUpdate() { ++update_depth_; }
    void EndUpdate() {
        if (update_depth_ > 0) --update_depth_;
    }

    const std::vector<std::string>& List() const { return items_; }
    void SetChangeHook(ChangeHook hook) { hook_ = std::move(hook); }

    // Where a selected item (-1 for none) is after a change of the list: it follows
    // its item, and is -1 once its item goes or the list is cleared.
    static int SelectionAfter(int selected, Change change, int index);
    // Throws EStringListError "List index out of bounds (index)".
    [[noreturn]] static void OutOfBounds(int index);

private:
    void CheckIndex(int index, int limit) const;
    void Notify(Change change, int index) {
        if (hook_) hook_(change, index);
    }

    std::vector<std::string> items_;
    ChangeHook hook_;
    int update_depth_ = 0;
};

class TStringList : public TStrings {
public:
    using TStrings::TStrings;
};
