#pragma once

// Putting a converted paragraph back onto its runs. A paragraph's text lies in pieces (each
// formatting run's text, in order); it is converted as one text, so that a phrase split across runs
// is still seen as a phrase, and each segment of the result goes back to the pieces it came from:
//
//   - a segment inside one piece is replaced there;
//   - a segment across pieces that keeps its length keeps each character in its piece
//     ([软][件] -> [軟][體]: each character keeps its run's formatting);
//   - a segment across pieces that changes length goes wholly to the piece where it starts, and the
//     other pieces lose their part of it, keeping their (perhaps now empty) place
//     ([内][存] -> [記憶體][], [U][盘] -> [隨身碟][], [方][便][面] -> [泡麵][][]);
//   - a segment of no source text (an insertion) goes to the piece that holds its position (the
//     end of the piece before, at a piece boundary).
//   - but where that would take all the text of a piece in another link than the piece where
//     the segment starts (pieces of different `links`), each piece's part of the segment is
//     converted on its own, so that the link keeps its text: [U][<a>盘</a>] -> [U][<a>盤</a>],
//     where the phrase would leave [隨身碟][<a></a>], a link no one can see or click. A link
//     where the phrase starts takes it whole ([<a>内</a>][存] -> [<a>記憶體</a>][]).
//
// Positions count code points.

#include "core/document/segments.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace core::document {

// Code points [begin, end) of one piece become `text` (UTF-8).
struct PieceEdit {
    std::size_t begin = 0, end = 0;
    std::string text;
};

// The edits of each piece (one list per piece, in order, not overlapping) that turn the pieces
// into the conversion of their joined text by `converter`. Segments whose result equals their
// source give no edit, so a piece that needs no change has none. The pieces must be valid UTF-8.
// `links`, when given, has one number per piece: the link that holds it, 0 for none.
std::vector<std::vector<PieceEdit>> convertPieces(const std::vector<std::string_view> &pieces,
                                                  const SegmentedConverter &converter,
                                                  std::span<const std::uint32_t> links = {});

// convertPieces with its buffers kept from one paragraph to the next, for a walk over many.
class RunMapper {
public:
    // `converter` must outlive the mapper.
    explicit RunMapper(const SegmentedConverter &converter) : m_converter(converter) {}
    // As convertPieces; the result stays valid until the next call.
    const std::vector<std::vector<PieceEdit>> &convert(const std::vector<std::string_view> &pieces,
                                                       std::span<const std::uint32_t> links = {});

private:
    const SegmentedConverter &m_converter;
    std::vector<std::vector<PieceEdit>> m_edits;
    std::string m_joined, m_out, m_partOut;
    std::vector<std::size_t> m_pieceStart, m_srcAt, m_outAt, m_linkLast;
    std::vector<Segment> m_segments, m_partSegments;
};

// `piece` with `edits` (from convertPieces for this piece) applied.
std::string applyEdits(std::string_view piece, const std::vector<PieceEdit> &edits);

// Each piece as the conversion of the joined pieces puts it back (convertPieces, then applyEdits):
// the pieces of a subtitle's cue line that its markup parts.
std::vector<std::string> convertedPieces(const std::vector<std::string_view> &pieces,
                                         const SegmentedConverter &converter);

} // namespace core::document
