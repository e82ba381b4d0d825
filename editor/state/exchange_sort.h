// The editor's one sort: an exchange sort by an upper-cased text key. For each
// position i and each later position j, the entries swap when the key at i is
// greater. Equal keys never swap, so the result is ascending and sorting twice
// by the same key changes nothing. The Details page, the printed list and the
// default-list pages all order their rows this way.
//
// The order it leaves equal keys in is the exchanges' own (not the order they
// came in), and the pages show it, so the exchanges are kept. They cost n²/2
// comparisons; each text is upper-cased once and stands as its rank among the
// keys, so a comparison is one of two integers: 50,000 rows take about a
// second where comparing the texts took a minute.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <numeric>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "counted_text.h"

namespace tessvane {

// `key(element)` returns something convertible to std::string_view.
template <typename Sequence, typename KeyOf>
void ExchangeSortByUpperKey(Sequence& items, KeyOf key) {
    const std::size_t n = items.size();
    if (n < 2) return;

    // Ranks: equal upper-cased keys share one, a greater key has a greater one.
    // std::string compares as unsigned bytes, shorter first, as CompareUpper.
    std::vector<std::string> upper;
    upper.reserve(n);
    for (std::size_t i = 0; i < n; ++i) upper.push_back(UpperCase(std::string_view(key(items[i]))));
    std::vector<std::size_t> byKey(n);
    std::iota(byKey.begin(), byKey.end(), std::size_t{0});
    std::sort(byKey.begin(), byKey.end(),
              [&](std::size_t a, std::size_t b) { return upper[a] < upper[b]; });
    std::vector<std::size_t> rank(n);
    for (std::size_t k = 1; k < n; ++k) {
        const bool greater = upper[byKey[k - 1]] != upper[byKey[k]];
        rank[byKey[k]] = rank[byKey[k - 1]] + (greater ? 1 : 0);
    }

    // The exchanges, on ranks, carrying where each element came from.
    std::vector<std::size_t> from(n);
    std::iota(from.begin(), from.end(), std::size_t{0});
    for (std::size_t i = 0; i + 1 < n; ++i) {
        std::size_t heldRank = rank[i];
        std::size_t heldFrom = from[i];
        for (std::size_t j = i + 1; j < n; ++j) {
            if (heldRank > rank[j]) {
                std::swap(heldRank, rank[j]);
                std::swap(heldFrom, from[j]);
            }
        }
        rank[i] = heldRank;
        from[i] = heldFrom;
    }

    std::vector<typename Sequence::value_type> sorted;
    sorted.reserve(n);
    for (std::size_t i = 0; i < n; ++i) sorted.push_back(std::move(items[from[i]]));
    for (std::size_t i = 0; i < n; ++i) items[i] = std::move(sorted[i]);
}

}  // namespace tessvane
