#include "framework/memory.h"

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
