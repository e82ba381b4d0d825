// Growable arrays of plain records for the mesh tables.
//
// The tables keep every chain as an index array next to their records rather
// than a heap node per entry: one block per array, grown by doubling through
// SafeRealloc (which moves large blocks without copying), so a table costs a
// few allocations however large it gets.
#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <type_traits>

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
    static_assert(std::is_trivially_copyable_v<T>, "records are moved with realloc");

  public:
    TableArray() = default;
    explicit TableArray(std::size_t capacity) { Resize(capacity); }
    ~TableArray() {
        if (data_ != nullptr) {
            SafeFree(data_);
        }
    }
    TableArray(const TableArray&) = delete;
    TableArray& operator=(const TableArray&) = delete;

    T& operator[](std::size_t i) { return data_[i]; }
    const T& operator[](std::size_t i) const { return data_[i]; }
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

    void Resize(std::size_t capacity) {
        if (capacity > SIZE_MAX / sizeof(T)) {
            TableTooLarge();
        }
        data_ = static_cast<T*>(SafeRealloc(data_, capacity * sizeof(T)));
        capacity_ = capacity;
    }

    // Frees the block; the array is empty afterwards.
    void Release() {
        if (data_ != nullptr) {
            SafeFree(data_);
        }
        data_ = nullptr;
        capacity_ = 0;
    }

    // Every element set to value (used for empty bucket heads).
    void Fill(const T& value) {
        for (std::size_t i = 0; i < capacity_; ++i) {
            data_[i] = value;
        }
    }

  private:
    T* data_ = nullptr;
    std::size_t capacity_ = 0;
};

}  // namespace mesh_detail

}  // namespace plugins
