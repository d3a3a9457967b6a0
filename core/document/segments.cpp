// The two ways of converting with a segmentation: by phrases, and a code point for a code point.

#include "core/document/segments.h"

#include "core/utf.h"

namespace core::document {

void PhraseSegmentedConverter::convert(std::string_view utf8, std::string &out,
                                       std::vector<Segment> &segments) const {
    m_converter.convertSegmented(utf8, out, segments);
}

void CodePointSegmentedConverter::convert(std::string_view utf8, std::string &out,
                                          std::vector<Segment> &segments) const {
    out.clear();
    segments.clear();
    std::size_t i = 0;
    // The text is valid UTF-8 (the caller's promise); decoding stops at a bad byte otherwise, and
    // the rest is left out of the result rather than read wrongly.
    forEachCodePoint(utf8, true, [&](char32_t c) {
        unsigned char bytes[4];
        const char32_t m = m_mapping(c);
        out.append(reinterpret_cast<const char *>(bytes),
                   static_cast<std::size_t>(encodeCodePoint(isSurrogate(m) ? c : m, bytes) - bytes));
        segments.push_back({i, i + 1, i, i + 1});
        ++i;
    });
}

} // namespace core::document
