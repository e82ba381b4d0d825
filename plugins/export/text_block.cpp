#include "export/text_block.h"

#include <algorithm>

#include "framework/memory.h"

namespace plugins {

TextBlock::~TextBlock() {
    if (bytes_ != nullptr) {
        SafeFree(bytes_);
    }
}

void TextBlock::Grow(std::size_t n) {
    constexpr std::size_t kFirstBytes = std::size_t{1} << 16;
    const std::size_t wanted = std::max({used_ + n, 2 * capacity_, kFirstBytes});
    bytes_ = static_cast<char*>(SafeRealloc(bytes_, wanted));
    capacity_ = wanted;
}

}  // namespace plugins
