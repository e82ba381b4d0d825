// The chain heads of one mesh table's hash buckets.
//
// A table's bucket count is fixed from its capacity hint, and it decides
// which nearly equal points share a chain and so merge: it must be exactly
// the count the hint gives. The hint, however, comes from the size of the
// whole file, and a file may hold a hundred thousand small groups, each
// with tables of its own. So the heads are not laid out as an array of the
// full count from the start. While few buckets are in use they live in a
// small open-addressing map from bucket number to head; once the buckets in
// use reach an eighth of the count, the map is replaced by the plain array,
// which then costs no more than the map did. Either way a table holds memory
// in proportion to its entries, and a large table keeps direct indexing.
#pragma once

#include <cstddef>
#include <cstdint>

#include "framework/table_array.h"

namespace plugins {

namespace mesh_detail {

class BucketHeads {
  public:
    // count buckets, all empty; count must be at least 1.
    explicit BucketHeads(std::uint32_t count);
    BucketHeads(const BucketHeads&) = delete;
    BucketHeads& operator=(const BucketHeads&) = delete;

    std::uint32_t Count() const { return count_; }

    // The head of bucket b (b < Count()): the number of its newest entry, or
    // -1 while it has none. Given as a slot the caller reads and may replace;
    // the bucket gets a slot of its own when it has none yet. The reference
    // stays valid until the next call of Slot.
    std::int32_t& Slot(std::uint32_t b);

    // The head of bucket b as Slot gives it, but without taking a slot for
    // a bucket that has none.
    std::int32_t Peek(std::uint32_t b) const;

    // A hint to fetch bucket b's slot ahead of a Slot(b) call.
    void Prefetch(std::uint32_t b) const;

    // Bytes held, for reports.
    std::size_t HeldBytes() const;

  private:
    struct Entry {
        std::uint32_t bucket;  // kFree for an unused place
        std::int32_t head;
    };
    static constexpr std::uint32_t kFree = 0xFFFFFFFFu;

    std::size_t Place(std::uint32_t b) const;
    void GrowMap();
    void MakeDense();

    std::uint32_t count_;
    TableArray<std::int32_t> dense_;  // count_ heads, once dense
    TableArray<Entry> map_;           // a power of two of places, while sparse
    std::size_t used_ = 0;            // buckets with a place in map_
    unsigned shift_ = 0;              // 32 - log2(places)
};

}  // namespace mesh_detail

}  // namespace plugins
