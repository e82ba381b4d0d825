// The two lists of default replacements: old directory -> new directory, and
// old texture name -> new texture name with a description. Entries are numbered
// from 1 in list order, like the rows of their grids. A list holds at most
// kMaxDefaultEntries entries; a further Append is refused and reports it.
#pragma once

#include <cstddef>
#include <string_view>
#include <utility>
#include <vector>

#include "counted_text.h"
#include "exchange_sort.h"

namespace tessvane {

inline constexpr std::size_t kMaxDefaultEntries = 1000;

struct DirectoryDefault {
    PathText OldDirectory;
    PathText NewDirectory;

    // The text that list matching compares.
    std::string_view MatchKey() const { return OldDirectory; }
};

struct TextureDefault {
    NameText OldTexture;  // file name without directory
    NameText NewTexture;  // file name without directory
    DescriptionText Description;

    std::string_view MatchKey() const { return OldTexture; }
};

template <typename Entry>
class DefaultList {
  public:
    std::size_t Count() const { return entries_.size(); }
    bool Empty() const { return entries_.empty(); }
    bool Full() const { return entries_.size() >= kMaxDefaultEntries; }

    // Entry `number` (1..Count()). Precondition: the number is in range.
    const Entry& At(std::size_t number) const { return entries_.at(number - 1); }
    const std::vector<Entry>& Entries() const { return entries_; }

    // Appends at the end. Returns false, and changes nothing, when the list
    // already holds kMaxDefaultEntries entries.
    bool Append(Entry entry) {
        if (Full()) return false;
        entries_.push_back(std::move(entry));
        return true;
    }

    // Replaces entry `number`; false when the number is out of range.
    bool Replace(std::size_t number, Entry entry) {
        if (number < 1 || number > entries_.size()) return false;
        entries_[number - 1] = std::move(entry);
        return true;
    }

    // Removes entry `number`; the later entries move up one place. False when
    // the number is out of range.
    bool Remove(std::size_t number) {
        if (number < 1 || number > entries_.size()) return false;
        entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(number - 1));
        return true;
    }

    void Clear() { entries_.clear(); }

    // Number of the first entry whose old text equals `text` in upper case
    // (whole text, no prefix or separator tolerance), or 0 when none does.
    std::size_t FindFirst(std::string_view text) const {
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            if (EqualUpper(entries_[i].MatchKey(), text)) return i + 1;
        }
        return 0;
    }

    // Sorts ascending by the upper-cased text `key(entry)` (see exchange_sort.h).
    template <typename KeyOf>
    void SortBy(KeyOf key) {
        ExchangeSortByUpperKey(entries_, key);
    }

  private:
    std::vector<Entry> entries_;
};

using DirectoryDefaultList = DefaultList<DirectoryDefault>;
using TextureDefaultList = DefaultList<TextureDefault>;

}  // namespace tessvane
