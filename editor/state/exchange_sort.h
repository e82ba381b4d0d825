// The editor's one sort: an exchange sort by an upper-cased text key. For each
// position i and each later position j, the entries swap when the key at i is
// greater. Equal keys never swap, so the result is ascending and sorting twice
// by the same key changes nothing. The Details page, the printed list and the
// default-list pages all order their rows this way.
#pragma once

#include <cstddef>
#include <string_view>
#include <utility>

#include "counted_text.h"

namespace tessvane {

// `key(element)` returns something convertible to std::string_view.
template <typename Sequence, typename KeyOf>
void ExchangeSortByUpperKey(Sequence& items, KeyOf key) {
    const std::size_t n = items.size();
    if (n < 2) return;
    for (std::size_t i = 0; i + 1 < n; ++i) {
        for (std::size_t j = i + 1; j < n; ++j) {
            if (CompareUpper(key(items[i]), key(items[j])) > 0) {
                using std::swap;
                swap(items[i], items[j]);
            }
        }
    }
}

}  // namespace tessvane
