#pragma once

// A conversion that says which part of its result came from which part of its text: what the
// document engine needs to put a converted paragraph back onto its formatting runs.

#include "core/codepoint_map.h"
#include "core/phrase_convert.h"
#include "core/segment.h"

#include <string>
#include <string_view>
#include <vector>

namespace core::document {

using core::Segment;

class SegmentedConverter {
public:
    virtual ~SegmentedConverter() = default;
    // Replaces `out` with the conversion of `utf8` (valid UTF-8, a paragraph's text) and `segments`
    // with its segmentation: segments in order, covering all of `utf8` and all of `out`, counted in
    // code points. An empty text gives an empty result and no segment.
    virtual void convert(std::string_view utf8, std::string &out, std::vector<Segment> &segments) const = 0;
};

// A phrase converter's conversion with the segmentation it reports (PhraseConverter::
// convertSegmented): the result equals PhraseConverter::convert of the same text.
class PhraseSegmentedConverter final : public SegmentedConverter {
public:
    // `converter` must outlive this object.
    explicit PhraseSegmentedConverter(const PhraseConverter &converter) : m_converter(converter) {}
    void convert(std::string_view utf8, std::string &out, std::vector<Segment> &segments) const override;

private:
    const PhraseConverter &m_converter;
};

// A code point for a code point (JToF, FToJ, upper and lower case): one segment per code point.
class CodePointSegmentedConverter final : public SegmentedConverter {
public:
    // `mapping` must outlive this object.
    explicit CodePointSegmentedConverter(const CodePointMap &mapping) : m_mapping(mapping) {}
    void convert(std::string_view utf8, std::string &out, std::vector<Segment> &segments) const override;

private:
    const CodePointMap &m_mapping;
};

} // namespace core::document
