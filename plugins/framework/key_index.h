// The index of a face or edge table: entry numbers chained under an array
// of heads chosen by a hash of the entry's key.
//
// A face or an edge is found by its vertex numbers exactly, and a table
// never holds two entries with the same key, so which face or edge a lookup
// finds does not depend on how the entries are spread over chains. The
// index therefore takes a well-mixed hash and grows with its entries (at
// most one entry per head on average): chains stay short whatever the
// vertex numbers look like, and a table's memory follows its entries.
// Vertices are different: nearly equal points merge only within one
// bucket, so the vertex table keeps the design's buckets (BucketHeads).
#pragma once

#include <cstddef>
#include <cstdint>

#include "framework/table_array.h"

namespace plugins {

namespace mesh_detail {

// A 64-bit hash of up to three 32-bit numbers whose high bits depend on
// every bit of each (multiply-xorshift steps).
inline std::uint64_t MixKey(std::uint32_t a, std::uint32_t b, std::uint32_t c = 0) {
    std::uint64_t x = ((static_cast<std::uint64_t>(a) << 32) | b) * 0x9E3779B97F4A7C15ull;
    x ^= (x >> 29) ^ c;
    x *= 0xBF58476D1CE4E5B9ull;
    return x ^ (x >> 32);
}

class KeyIndex {
  public:
    KeyIndex() {
        heads_.Resize(kFirstHeads);
        heads_.Fill(-1);
        next_.Resize(kFirstHeads);
    }
    KeyIndex(const KeyIndex&) = delete;
    KeyIndex& operator=(const KeyIndex&) = delete;

    // The first entry in the chain of hash, or -1.
    std::int32_t First(std::uint64_t hash) const { return heads_[Head(hash)]; }
    // The entry after i in its chain, or -1.
    std::int32_t Next(std::int32_t i) const { return next_[static_cast<std::size_t>(i)]; }
    void Prefetch(std::uint64_t hash) const { __builtin_prefetch(&heads_[Head(hash)]); }
    // Fetches the link after entry i (i may be -1).
    void PrefetchNext(std::int32_t i) const {
        if (i >= 0) __builtin_prefetch(&next_[static_cast<std::size_t>(i)]);
    }

    // Puts entry `entry` (the next number, the entries before it linked
    // already) at the front of the chain of hash. When the entries would
    // outnumber the heads, the heads double first and the earlier entries
    // are chained again by hashOf(number).
    template <typename HashOf>
    void Link(std::int32_t entry, std::uint64_t hash, HashOf hashOf) {
        const auto n = static_cast<std::size_t>(entry);
        if (n == next_.capacity()) {
            next_.Grow();
        }
        if (4 * n >= 3 * heads_.capacity()) {
            heads_.Resize(heads_.capacity() * 2);
            heads_.Fill(-1);
            --shift_;
            for (std::size_t i = 0; i < n; ++i) {
                const std::size_t h = Head(hashOf(static_cast<std::int32_t>(i)));
                next_[i] = heads_[h];
                heads_[h] = static_cast<std::int32_t>(i);
            }
        }
        const std::size_t h = Head(hash);
        next_[n] = heads_[h];
        heads_[h] = entry;
    }

    std::size_t HeldBytes() const { return (heads_.capacity() + next_.capacity()) * 4; }

  private:
    static constexpr std::size_t kFirstHeads = 8;

    std::size_t Head(std::uint64_t hash) const { return static_cast<std::size_t>(hash >> shift_); }

    TableArray<std::int32_t> heads_;  // a power of two
    TableArray<std::int32_t> next_;
    unsigned shift_ = 64 - 3;  // 64 - log2(heads)
};

}  // namespace mesh_detail

}  // namespace plugins
