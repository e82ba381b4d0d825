#include "framework/memory.h"

#include "framework/table_array.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>

#include <gtest/gtest.h>

namespace plugins {

TEST(MemoryTest, AllocationsHoldTheirContents) {
    char* p = static_cast<char*>(SafeAlloc(4));
    std::memcpy(p, "abc", 4);
    p = static_cast<char*>(SafeRealloc(p, 4096));
    EXPECT_STREQ(p, "abc");
    SafeFree(p);

    auto* z = static_cast<unsigned char*>(SafeAllocZeroed(100, 3));
    for (int i = 0; i < 300; ++i) {
        ASSERT_EQ(z[i], 0) << i;
    }
    SafeFree(z);

    // A zero-byte request still gives a block that can be freed, also when
    // the other factor of a cleared block is huge: the product is 0.
    SafeFree(SafeAlloc(0));
    SafeFree(SafeAllocZeroed(0, std::numeric_limits<std::size_t>::max()));
    SafeFree(SafeAllocZeroed(std::numeric_limits<std::size_t>::max(), 0));
}

// A table array keeps its elements whichever kind of block it moves between:
// on the heap below kLargeBlockBytes, in large blocks from there on, both
// ways.
TEST(MemoryTest, TableArraysKeepTheirElementsAcrossBlockKinds) {
    const std::size_t threshold = kLargeBlockBytes / sizeof(std::uint32_t);
    mesh_detail::TableArray<std::uint32_t> array(4);
    std::size_t filled = 0;
    auto fill = [&] {
        for (; filled < array.capacity(); ++filled) {
            array[filled] = static_cast<std::uint32_t>(filled * 2654435761u);
        }
    };
    fill();
    for (const std::size_t capacity : {threshold - 1, threshold, 4 * threshold + 3, 16 * threshold,
                                       threshold + 1, threshold - 1, std::size_t{7}}) {
        array.Resize(capacity);
        ASSERT_EQ(array.capacity(), capacity);
        filled = std::min(filled, capacity);
        for (std::size_t i = 0; i < filled; ++i) {
            ASSERT_EQ(array[i], static_cast<std::uint32_t>(i * 2654435761u))
                << capacity << " " << i;
        }
        fill();
    }
}

TEST(MemoryTest, StrDupMakesAnIndependentCopy) {
    char text[] = "cube";
    char* copy = StrDup(text);
    text[0] = 'x';
    EXPECT_STREQ(copy, "cube");
    SafeFree(copy);

    char* empty = StrDup(nullptr);
    EXPECT_STREQ(empty, "");
    SafeFree(empty);
}

TEST(MemoryDeathTest, FailuresEndTheProcessWithExitCode1) {
    const std::size_t huge = std::numeric_limits<std::size_t>::max() / 2;
    EXPECT_EXIT(SafeAlloc(huge), ::testing::ExitedWithCode(1), "");
    EXPECT_EXIT(SafeAllocZeroed(huge, 4), ::testing::ExitedWithCode(1), "");
    EXPECT_EXIT(SafeRealloc(nullptr, huge), ::testing::ExitedWithCode(1), "");
    EXPECT_EXIT(SafeFree(nullptr), ::testing::ExitedWithCode(1), "");
}

// Under AddressSanitizer an impossible request must come back as null, the
// way the C library reports it, so the exit path above is what gets tested.
extern "C" const char* __asan_default_options() {
    return "allocator_may_return_null=1";
}

}  // namespace plugins
