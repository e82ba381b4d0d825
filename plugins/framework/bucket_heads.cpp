#include "framework/bucket_heads.h"

namespace plugins {

namespace mesh_detail {

namespace {

// Places of a new map, and its largest share of used places before it grows.
constexpr std::size_t kFirstPlaces = 8;

// Tables this small take their array at once.
constexpr std::uint32_t kDenseFromTheStart = 64;

}  // namespace

BucketHeads::BucketHeads(std::uint32_t count) : count_(count) {
    if (count_ <= kDenseFromTheStart) {
        MakeDense();
        return;
    }
    map_.Resize(kFirstPlaces);
    map_.Fill(Entry{kFree, -1});
    shift_ = 32 - 3;
}

std::size_t BucketHeads::Place(std::uint32_t b) const {
    // Fibonacci hashing spreads neighbouring bucket numbers; the places are
    // then searched in order from there.
    const std::size_t mask = map_.capacity() - 1;
    std::size_t i = (b * 0x9E3779B1u) >> shift_;
    while (map_[i].bucket != b && map_[i].bucket != kFree) {
        i = (i + 1) & mask;
    }
    return i;
}

std::int32_t& BucketHeads::Slot(std::uint32_t b) {
    if (dense_.data() != nullptr) {
        return dense_[b];
    }
    std::size_t i = Place(b);
    if (map_[i].bucket == b) {
        return map_[i].head;
    }
    if ((used_ + 1) * 8 >= count_) {
        MakeDense();
        return dense_[b];
    }
    if ((used_ + 1) * 2 > map_.capacity()) {
        GrowMap();
        i = Place(b);
    }
    map_[i] = Entry{b, -1};
    ++used_;
    return map_[i].head;
}

std::int32_t BucketHeads::Peek(std::uint32_t b) const {
    if (dense_.data() != nullptr) {
        return dense_[b];
    }
    const std::size_t i = Place(b);
    return map_[i].bucket == b ? map_[i].head : -1;
}

void BucketHeads::Prefetch(std::uint32_t b) const {
    if (dense_.data() != nullptr) {
        __builtin_prefetch(&dense_[b]);
    } else {
        __builtin_prefetch(&map_[(b * 0x9E3779B1u) >> shift_]);
    }
}

void BucketHeads::GrowMap() {
    // The old places are read from where they are: the map starts afresh in
    // a block of its own instead of being copied aside and then resized.
    TableArray<Entry> old;
    old.Swap(map_);
    map_.Resize(old.capacity() * 2);
    map_.Fill(Entry{kFree, -1});
    --shift_;
    for (std::size_t i = 0; i < old.capacity(); ++i) {
        if (old[i].bucket != kFree) {
            map_[Place(old[i].bucket)] = old[i];
        }
    }
}

void BucketHeads::MakeDense() {
    dense_.Resize(count_);
    dense_.Fill(-1);
    for (std::size_t i = 0; i < map_.capacity(); ++i) {
        if (map_[i].bucket != kFree) {
            dense_[map_[i].bucket] = map_[i].head;
        }
    }
    map_.Release();
    used_ = 0;
}

std::size_t BucketHeads::HeldBytes() const {
    return dense_.capacity() * sizeof(std::int32_t) + map_.capacity() * sizeof(Entry);
}

}  // namespace mesh_detail

}  // namespace plugins
