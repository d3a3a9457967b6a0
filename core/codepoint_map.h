#pragma once

// A one-to-one mapping of Unicode code points, looked up in O(1) through a two-level table:
// 256-entry pages, allocated only where some code point maps to another. Everything not set maps
// to itself.

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace core {

class CodePointMap {
public:
    CodePointMap();
    CodePointMap(CodePointMap &&) noexcept = default;
    CodePointMap &operator=(CodePointMap &&) noexcept = default;

    // Maps `from` to `to`. Ignored unless both are code points (not above U+10FFFF, no surrogate).
    void set(char32_t from, char32_t to);

    // What `c` maps to; `c` itself when it is not mapped or lies above U+10FFFF.
    char32_t operator()(char32_t c) const {
        if (c > kMaxCodePoint)
            return c;
        const char32_t *page = m_index[c >> 8];
        return page ? page[c & 0xFF] : c;
    }

    // The number of code points that map to another one.
    std::size_t size() const { return m_count; }

    static constexpr char32_t kMaxCodePoint = 0x10FFFF;

private:
    using Page = std::array<char32_t, 256>;
    std::vector<char32_t *> m_index;
    std::vector<std::unique_ptr<Page>> m_pages;
    std::size_t m_count = 0;
};

} // namespace core
