// Putting a converted paragraph back onto its runs (the rules are in run_mapping.h).

#include "core/document/run_mapping.h"

#include "core/utf.h"

#include <algorithm>

namespace core::document {

namespace {

// The byte offset of every code point of `s`, and its size at the end.
void codePointOffsets(std::string_view s, std::vector<std::size_t> &at) {
    at.clear();
    for (std::size_t i = 0; i < s.size(); ++i)
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80)
            at.push_back(i);
    at.push_back(s.size());
}

} // namespace

std::vector<std::vector<PieceEdit>> convertPieces(const std::vector<std::string_view> &pieces,
                                                  const SegmentedConverter &converter,
                                                  std::span<const std::uint32_t> links) {
    RunMapper mapper(converter);
    return mapper.convert(pieces, links);
}

const std::vector<std::vector<PieceEdit>> &RunMapper::convert(const std::vector<std::string_view> &pieces,
                                                              std::span<const std::uint32_t> links) {
    auto &edits = m_edits;
    if (edits.size() < pieces.size())
        edits.resize(pieces.size());
    for (auto &e : edits)
        e.clear();
    edits.resize(pieces.size());
    if (pieces.empty())
        return edits;
    std::string &joined = m_joined;
    std::vector<std::size_t> &pieceStart = m_pieceStart; // in code points; one more entry: the end
    joined.clear();
    pieceStart.clear();
    std::size_t cps = 0;
    for (const std::string_view p : pieces) {
        pieceStart.push_back(cps);
        joined += p;
        for (const char b : p)
            cps += (static_cast<unsigned char>(b) & 0xC0) != 0x80;
    }
    pieceStart.push_back(cps);
    if (cps == 0)
        return edits;

    std::string &out = m_out;
    std::vector<Segment> &segments = m_segments;
    m_converter.convert(joined, out, segments);
    std::vector<std::size_t> &srcAt = m_srcAt, &outAt = m_outAt;
    codePointOffsets(joined, srcAt);
    codePointOffsets(out, outAt);
    const std::size_t outCps = outAt.size() - 1;
    auto srcText = [&](std::size_t b, std::size_t e) {
        return std::string_view(joined).substr(srcAt[b], srcAt[e] - srcAt[b]);
    };
    auto outText = [&](std::size_t b, std::size_t e) {
        return std::string_view(out).substr(outAt[b], outAt[e] - outAt[b]);
    };
    // The piece that holds code point `at` (the last non-empty piece that starts at or before it).
    auto pieceOf = [&](std::size_t at) {
        const auto it = std::upper_bound(pieceStart.begin(), pieceStart.end() - 1, at);
        std::size_t k = static_cast<std::size_t>(it - pieceStart.begin()) - 1;
        while (k > 0 && pieceStart[k] == pieceStart[k + 1])
            --k;
        return k;
    };
    auto addEdit = [&](std::size_t piece, std::size_t b, std::size_t e, std::string_view text) {
        auto &list = edits[piece];
        const std::size_t lb = b - pieceStart[piece], le = e - pieceStart[piece];
        // Edits that touch are joined, so each piece's list stays short and in order.
        if (!list.empty() && list.back().end == lb) {
            list.back().end = le;
            list.back().text += text;
        } else {
            list.push_back({lb, le, std::string(text)});
        }
    };

    // The last piece of the link each piece lies in (its pieces follow one another): a segment
    // that takes all of a link's text from a piece before the link would leave it empty.
    std::vector<std::size_t> &linkLast = m_linkLast;
    linkLast.assign(links.size() == pieces.size() ? pieces.size() : 0, 0);
    for (std::size_t k = linkLast.size(); k-- > 0;)
        linkLast[k] = k + 1 < linkLast.size() && links[k + 1] == links[k] ? linkLast[k + 1] : k;
    // Whether a segment ending at code point `e`, starting in piece `first`, takes all the text of
    // a link that starts after `first`.
    auto emptiesALink = [&](std::size_t first, std::size_t last, std::size_t e) {
        if (linkLast.empty())
            return false;
        for (std::size_t k = first + 1; k <= last; ++k)
            if (links[k] != 0 && links[k] != links[first] && links[k - 1] != links[k] &&
                pieceStart[linkLast[k] + 1] <= e)
                return true;
        return false;
    };
    for (const Segment &s : segments) {
        // A converter that reports beyond its texts is not trusted past them.
        if (s.srcBegin > s.srcEnd || s.srcEnd > cps || s.outBegin > s.outEnd || s.outEnd > outCps)
            break;
        const std::string_view to = outText(s.outBegin, s.outEnd);
        if (srcText(s.srcBegin, s.srcEnd) == to)
            continue;
        if (s.srcBegin == s.srcEnd) {
            // An insertion: at the end of the piece before a boundary, else where it lies.
            const std::size_t k = s.srcBegin == 0 ? 0 : pieceOf(s.srcBegin - 1);
            addEdit(k, s.srcBegin, s.srcBegin, to);
            continue;
        }
        const std::size_t first = pieceOf(s.srcBegin);
        const std::size_t last = pieceOf(s.srcEnd - 1);
        if (first == last) {
            addEdit(first, s.srcBegin, s.srcEnd, to);
        } else if (s.srcEnd - s.srcBegin == s.outEnd - s.outBegin) {
            // Same length across pieces: each character stays in its piece.
            for (std::size_t k = first; k <= last; ++k) {
                const std::size_t b = std::max(s.srcBegin, pieceStart[k]),
                                  e = std::min(s.srcEnd, pieceStart[k + 1]);
                if (b >= e)
                    continue;
                const std::string_view part =
                    outText(s.outBegin + (b - s.srcBegin), s.outBegin + (e - s.srcBegin));
                if (part != srcText(b, e))
                    addEdit(k, b, e, part);
            }
        } else if (emptiesALink(first, last, s.srcEnd)) {
            // Each piece's part on its own: the link keeps its text.
            for (std::size_t k = first; k <= last; ++k) {
                const std::size_t b = std::max(s.srcBegin, pieceStart[k]),
                                  e = std::min(s.srcEnd, pieceStart[k + 1]);
                if (b >= e)
                    continue;
                m_converter.convert(srcText(b, e), m_partOut, m_partSegments);
                if (m_partOut != srcText(b, e))
                    addEdit(k, b, e, m_partOut);
            }
        } else {
            // The whole phrase where it starts; the other pieces give up their part of it.
            for (std::size_t k = first; k <= last; ++k) {
                const std::size_t b = std::max(s.srcBegin, pieceStart[k]),
                                  e = std::min(s.srcEnd, pieceStart[k + 1]);
                if (b < e || k == first)
                    addEdit(k, b, e, k == first ? to : std::string_view());
            }
        }
    }
    return edits;
}

std::string applyEdits(std::string_view piece, const std::vector<PieceEdit> &edits) {
    std::vector<std::size_t> at;
    codePointOffsets(piece, at);
    const std::size_t n = at.size() - 1;
    std::string out;
    std::size_t done = 0;
    for (const PieceEdit &e : edits) {
        if (e.begin < done || e.end < e.begin || e.end > n)
            continue;
        out.append(piece.substr(at[done], at[e.begin] - at[done]));
        out += e.text;
        done = e.end;
    }
    out.append(piece.substr(at[done]));
    return out;
}

std::vector<std::string> convertedPieces(const std::vector<std::string_view> &pieces,
                                         const SegmentedConverter &converter) {
    const auto edits = convertPieces(pieces, converter);
    std::vector<std::string> out;
    out.reserve(pieces.size());
    for (std::size_t k = 0; k < pieces.size(); ++k)
        out.push_back(applyEdits(pieces[k], edits[k]));
    return out;
}

} // namespace core::document
