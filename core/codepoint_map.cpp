#include "codepoint_map.h"

#include "utf.h"

namespace core {

CodePointMap::CodePointMap() : m_index((kMaxCodePoint >> 8) + 1, nullptr) {}

void CodePointMap::set(char32_t from, char32_t to) {
    auto valid = [](char32_t c) { return c <= kMaxCodePoint && !isSurrogate(c); };
    if (!valid(from) || !valid(to))
        return;
    char32_t *page = m_index[from >> 8];
    if (!page) {
        auto fresh = std::make_unique<Page>();
        const char32_t base = from & ~char32_t{0xFF};
        for (char32_t i = 0; i < 256; ++i)
            (*fresh)[i] = base + i;
        page = fresh->data();
        m_index[from >> 8] = page;
        m_pages.push_back(std::move(fresh));
    }
    char32_t &slot = page[from & 0xFF];
    if (slot == from && to != from)
        ++m_count;
    else if (slot != from && to == from)
        --m_count;
    slot = to;
}

} // namespace core
