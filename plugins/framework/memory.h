// Allocation functions of the plug-in framework.
//
// The plug-ins never report memory exhaustion: every allocation either
// succeeds or ends the process with exit code 1, so callers never test the
// result for null. Blocks from these functions are released with SafeFree.
#pragma once

#include <cstddef>

namespace plugins {

// Allocates n bytes (at least one byte when n is 0, so the result is always a
// distinct block). Never returns null; on failure the process exits with 1.
void* SafeAlloc(std::size_t n);

// Allocates count * size bytes and clears them. A product of 0 (either
// factor 0) gives a distinct block as SafeAlloc(0) does; a product that
// overflows std::size_t is treated like any other failed allocation (exit
// code 1).
void* SafeAllocZeroed(std::size_t count, std::size_t size);

// Resizes block p (which may be null, then this allocates) to n bytes, keeping
// its contents up to the smaller size. Never returns null; exits with 1 on
// failure.
void* SafeRealloc(void* p, std::size_t n);

// Releases a block from SafeAlloc, SafeAllocZeroed, SafeRealloc or StrDup.
// Freeing a null pointer is a programming error and ends the process with
// exit code 1; callers test optional blocks for null themselves.
void SafeFree(void* p);

// Blocks for large arrays that grow by doubling (the mesh tables), taken
// from the system in whole pages rather than from the heap. Growing one
// moves its pages instead of copying its bytes, and large blocks are backed
// by huge pages where the system offers them, which spares the many address
// translations that random lookups in a large table cost. Pages are only
// claimed when first written. The size passed to SafeResizeLarge and
// SafeFreeLarge is the block's current size. Failure ends the process with
// exit code 1, as for SafeAlloc.
//
// Arrays of kLargeBlockBytes and more take large blocks (the size from which
// the C library's heap itself starts out mapping blocks of their own): a
// heap block that grows by doubling is copied at every step once the heap
// has taken back a mapped one, and a mesh's arrays pass every size on their
// way up.
inline constexpr std::size_t kLargeBlockBytes = std::size_t{1} << 17;
void* SafeAllocLarge(std::size_t n);
void* SafeResizeLarge(void* p, std::size_t oldSize, std::size_t n);
void SafeFreeLarge(void* p, std::size_t n);

// Returns a heap copy of the NUL-terminated text s, owned by the caller and
// released with SafeFree. A null s yields a copy of the empty text.
char* StrDup(const char* s);

}  // namespace plugins
