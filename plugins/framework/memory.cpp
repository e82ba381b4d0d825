#include "framework/memory.h"

#include <sys/mman.h>

#include <cstdlib>
#include <cstring>

namespace plugins {

namespace {

[[noreturn]] void OutOfMemory() {
    std::exit(1);
}

}  // namespace

void* SafeAlloc(std::size_t n) {
    void* p = std::malloc(n == 0 ? 1 : n);
    if (p == nullptr) {
        OutOfMemory();
    }
    return p;
}

void* SafeAllocZeroed(std::size_t count, std::size_t size) {
    // An empty request is an empty block, however large the other factor;
    // otherwise calloc checks count * size for overflow itself.
    if (count == 0 || size == 0) {
        count = 1;
        size = 1;
    }
    void* p = std::calloc(count, size);
    if (p == nullptr) {
        OutOfMemory();
    }
    return p;
}

void* SafeRealloc(void* p, std::size_t n) {
    void* q = std::realloc(p, n == 0 ? 1 : n);
    if (q == nullptr) {
        OutOfMemory();
    }
    return q;
}

void SafeFree(void* p) {
    if (p == nullptr) {
        std::exit(1);
    }
    std::free(p);
}

namespace {

// Blocks smaller than a huge page keep small pages.
constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;

void AdviseHugePages(void* p, std::size_t n) {
#ifdef MADV_HUGEPAGE
    if (n >= kHugePageBytes) {
        // Only advice: a system without huge pages keeps small ones.
        madvise(p, n, MADV_HUGEPAGE);
    }
#else
    (void)p;
    (void)n;
#endif
}

}  // namespace

void* SafeAllocLarge(std::size_t n) {
    void* p =
        mmap(nullptr, n == 0 ? 1 : n, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) {
        OutOfMemory();
    }
    AdviseHugePages(p, n);
    return p;
}

void* SafeResizeLarge(void* p, std::size_t oldSize, std::size_t n) {
#ifdef MREMAP_MAYMOVE
    void* q = mremap(p, oldSize == 0 ? 1 : oldSize, n == 0 ? 1 : n, MREMAP_MAYMOVE);
    if (q == MAP_FAILED) {
        OutOfMemory();
    }
    AdviseHugePages(q, n);
    return q;
#else
    void* q = SafeAllocLarge(n);
    std::memcpy(q, p, oldSize < n ? oldSize : n);
    SafeFreeLarge(p, oldSize);
    return q;
#endif
}

void SafeFreeLarge(void* p, std::size_t n) {
    if (p == nullptr) {
        std::exit(1);
    }
    munmap(p, n == 0 ? 1 : n);
}

char* StrDup(const char* s) {
    if (s == nullptr) {
        s = "";
    }
    const std::size_t n = std::strlen(s) + 1;
    char* copy = static_cast<char*>(SafeAlloc(n));
    std::memcpy(copy, s, n);
    return copy;
}

}  // namespace plugins
