// Subtitles: the cue text found line by line, converted a cue at a time (see subtitles.h).

#include "core/document/subtitles.h"

#include "core/document/run_mapping.h"
#include "core/utf.h"

#include <string>
#include <vector>

namespace core::document {

namespace {

struct Line {
    std::size_t begin, end; // without its line end
};

std::vector<Line> linesOf(std::string_view text) {
    std::vector<Line> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find_first_of("\r\n", at);
        if (end == std::string_view::npos)
            end = text.size();
        lines.push_back({at, end});
        at = end;
        if (at < text.size() && text[at] == '\r')
            ++at;
        if (at < text.size() && text[at] == '\n')
            ++at;
    }
    return lines;
}

bool isBlank(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

class CueWriter {
public:
    CueWriter(std::string_view text, const SegmentedConverter &converter)
        : m_text(text), m_mapper(converter) {}

    // Text bytes [begin, end) join the cue's text.
    void piece(std::size_t begin, std::size_t end) {
        if (end > begin)
            m_pieces.push_back({begin, end});
    }
    // Converts the cue's text gathered so far and writes what changed.
    void flush() {
        if (m_pieces.empty())
            return;
        std::vector<std::string_view> views;
        for (const auto &p : m_pieces)
            views.push_back(m_text.substr(p.first, p.second - p.first));
        const auto &edits = m_mapper.convert(views);
        for (std::size_t k = 0; k < views.size(); ++k) {
            if (edits[k].empty())
                continue;
            // Code point offsets within the piece to bytes.
            std::vector<std::size_t> at;
            for (std::size_t i = 0; i < views[k].size(); ++i)
                if ((static_cast<unsigned char>(views[k][i]) & 0xC0) != 0x80)
                    at.push_back(i);
            at.push_back(views[k].size());
            for (const PieceEdit &e : edits[k]) {
                if (e.end >= at.size() || e.begin > e.end)
                    continue;
                const std::size_t b = m_pieces[k].first + at[e.begin], en = m_pieces[k].first + at[e.end];
                if (b < m_copied)
                    continue;
                m_out.append(m_text.substr(m_copied, b - m_copied));
                m_out += e.text;
                m_copied = en;
            }
        }
        m_pieces.clear();
    }
    std::string finish() {
        flush();
        m_out.append(m_text.substr(m_copied));
        return std::move(m_out);
    }

private:
    std::string_view m_text;
    RunMapper m_mapper;
    std::vector<std::pair<std::size_t, std::size_t>> m_pieces;
    std::string m_out;
    std::size_t m_copied = 0;
};

// A line of cue text: tags (<...> and {...}) join the text around them; in WebVTT an entity
// (&amp;) cuts it; in ASS the escapes \N, \n and \h cut it.
void cueLine(std::string_view text, Line line, SubtitleFormat format, CueWriter &w) {
    std::size_t start = line.begin, i = line.begin;
    while (i < line.end) {
        const char c = text[i];
        std::size_t skip = 0;
        bool cut = false;
        if (c == '<' || c == '{') {
            const std::size_t close = text.find(c == '<' ? '>' : '}', i);
            if (close != std::string_view::npos && close < line.end)
                skip = close + 1 - i;
        } else if (c == '&' && format == SubtitleFormat::WebVtt) {
            const std::size_t semi = text.find(';', i);
            if (semi != std::string_view::npos && semi < line.end && semi - i <= 32) {
                skip = semi + 1 - i;
                cut = true;
            }
        } else if (c == '\\' && format == SubtitleFormat::Ass && i + 1 < line.end &&
                   (text[i + 1] == 'N' || text[i + 1] == 'n' || text[i + 1] == 'h')) {
            skip = 2;
            cut = true;
        }
        if (!skip) {
            ++i;
            continue;
        }
        w.piece(start, i);
        if (cut)
            w.flush();
        i += skip;
        start = i;
    }
    w.piece(start, line.end);
}

} // namespace

PartOutcome convertSubtitles(std::string_view text, SubtitleFormat format,
                             const SegmentedConverter &converter) {
    PartOutcome outcome;
    const Utf8DecodeResult valid = validUtf8Prefix(text, true);
    if (!valid.ok || valid.consumed != text.size()) {
        outcome.error = "not valid UTF-8 at byte " + std::to_string(valid.consumed);
        return outcome;
    }
    CueWriter w(text, converter);
    const std::vector<Line> lines = linesOf(text);
    if (format == SubtitleFormat::Ass) {
        for (const Line &l : lines) {
            const std::string_view s = text.substr(l.begin, l.end - l.begin);
            if (s.substr(0, 9) != "Dialogue:")
                continue;
            std::size_t at = 9;
            for (int commas = 0; commas < 9 && at != std::string_view::npos; ++commas) {
                at = s.find(',', at);
                if (at != std::string_view::npos)
                    ++at;
            }
            if (at == std::string_view::npos)
                continue;
            cueLine(text, {l.begin + at, l.end}, format, w);
            w.flush();
        }
    } else {
        // Blocks of lines between blank lines; a block's text follows its timing line.
        std::size_t i = 0;
        while (i < lines.size()) {
            while (i < lines.size() && isBlank(text.substr(lines[i].begin, lines[i].end - lines[i].begin)))
                ++i;
            std::size_t end = i;
            while (end < lines.size() &&
                   !isBlank(text.substr(lines[end].begin, lines[end].end - lines[end].begin)))
                ++end;
            std::size_t timing = i;
            while (timing < end &&
                   text.substr(lines[timing].begin, lines[timing].end - lines[timing].begin).find("-->") ==
                       std::string_view::npos)
                ++timing;
            const bool note =
                format == SubtitleFormat::WebVtt && i < end &&
                (text.substr(lines[i].begin, 4) == "NOTE" || text.substr(lines[i].begin, 5) == "STYLE" ||
                 text.substr(lines[i].begin, 6) == "REGION");
            if (!note && timing < end) {
                for (std::size_t k = timing + 1; k < end; ++k) {
                    // The line break between two lines of a cue is text of the cue.
                    if (k > timing + 1)
                        w.piece(lines[k - 1].end, lines[k].begin);
                    cueLine(text, lines[k], format, w);
                }
                w.flush();
            }
            i = end;
        }
    }
    outcome.bytes = w.finish();
    outcome.changed = outcome.bytes != text;
    return outcome;
}

} // namespace core::document
