#pragma once

// How a conversion cut its text: one source span and what it became.

#include <cstddef>

namespace core {

// Source code points [srcBegin, srcEnd) became output code points [outBegin, outEnd). Positions
// count code points (a character beyond U+FFFF is one), never UTF-16 units or bytes. A
// segmentation covers both texts in order: each segment begins where the one before ended.
struct Segment {
    std::size_t srcBegin = 0, srcEnd = 0;
    std::size_t outBegin = 0, outEnd = 0;
};

} // namespace core
