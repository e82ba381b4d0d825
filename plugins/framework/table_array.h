// Growable arrays of plain records for the mesh tables.
//
// The tables keep every chain as an index array next to their records rather
// than a heap node per entry: one block per array, grown by doubling, so a
// table costs a few allocations however large it gets. Small arrays live on
// the heap, which reuses memory already in use; large ones in large blocks
// (memory.h), which grow without copying.
#pragma once

#include <cassert>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <type_traits>
#include <utility>

#include "framework/memory.h"

namespace plugins {

namespace mesh_detail {

// Tables number their entries with int; a table that would need more
// entries than an int can number ends the process like an allocation that
// fails.
inline constexpr std::size_t kMaxEntries = INT_MAX;

[[noreturn]] inline void TableTooLarge() {
    std::exit(1);
}

// The capacity hint of a table: at least 1, and above 2^31 - 1 fatal.
inline int CheckedHint(std::uint64_t n) {
    if (n > kMaxEntries) {
        TableTooLarge();
    }
    return n == 0 ? 1 : static_cast<int>(n);
}

template <typename T>
class TableArray {
    static_assert(std::is_trivially_copyable_v<T>, "records are moved as bytes");

  public:
    TableArray() = default;
    explicit TableArray(std::size_t capacity) { Resize(capacity); }
    ~TableArray() { Release(); }
    TableArray(const TableArray&) = delete;
    TableArray& operator=(const TableArray&) = delete;

    // Element i, unchecked in release builds (i < capacity()).
    T& operator[](std::size_t i) {
        assert(i < capacity_);
        return data_[i];
    }
    const T& operator[](std::size_t i) const {
        assert(i < capacity_);
        return data_[i];
    }
    T* data() { return data_; }
    const T* data() const { return data_; }
    std::size_t capacity() const { return capacity_; }

    // Doubles the capacity (or makes it 1), never beyond kMaxEntries.
    void Grow() {
        if (capacity_ >= kMaxEntries) {
            TableTooLarge();
        }
        std::size_t next = capacity_ == 0 ? 1 : capacity_ * 2;
        Resize(next > kMaxEntries ? kMaxEntries : next);
    }

    // Keeps the first min(capacity, old capacity) elements. Arrays of
    // kLargeBlockBytes and more live in large blocks, smaller ones on the
    // heap.
    void Resize(std::size_t capacity) {
        if (capacity > SIZE_MAX / sizeof(T)) {
            TableTooLarge();
        }
        const std::size_t bytes = capacity * sizeof(T);
        const std::size_t oldBytes = capacity_ * sizeof(T);
        const bool large = bytes >= kLargeBlockBytes;
        if (large && large_) {
            data_ = static_cast<T*>(SafeResizeLarge(data_, oldBytes, bytes));
        } else if (large == large_) {
            data_ = static_cast<T*>(SafeRealloc(data_, bytes));
        } else {
            void* block = large ? SafeAllocLarge(bytes) : SafeAlloc(bytes);
            if (data_ != nullptr) {
                std::memcpy(block, data_, oldBytes < bytes ? oldBytes : bytes);
                FreeBlock();
            }
            data_ = static_cast<T*>(block);
            large_ = large;
        }
        capacity_ = capacity;
    }

    // Exchanges the blocks of two arrays.
    void Swap(TableArray& other) {
        std::swap(data_, other.data_);
        std::swap(capacity_, other.capacity_);
        std::swap(large_, other.large_);
    }

    // Frees the block; the array is empty afterwards.
    void Release() {
        if (data_ != nullptr) {
            FreeBlock();
        }
        data_ = nullptr;
        capacity_ = 0;
        large_ = false;
    }

    // Every element set to value (used for empty bucket heads).
    void Fill(const T& value) {
        for (std::size_t i = 0; i < capacity_; ++i) {
            data_[i] = value;
        }
    }

  private:
    void FreeBlock() {
        if (large_) {
            SafeFreeLarge(data_, capacity_ * sizeof(T));
        } else {
            SafeFree(data_);
        }
    }

    T* data_ = nullptr;
    std::size_t capacity_ = 0;
    bool large_ = false;  // data_ is a large block
};

}  // namespace mesh_detail

}  // namespace plugins
