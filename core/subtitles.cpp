#include "core/subtitles.h"

#include <cctype>

namespace core {

namespace {

struct Line {
    std::size_t begin; // first byte
    std::size_t end;   // end of its content, before "\r\n" or "\n"
};

std::vector<Line> linesOf(std::string_view text) {
    std::vector<Line> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t nl = text.find('\n', at);
        const std::size_t next = nl == std::string_view::npos ? text.size() : nl + 1;
        std::size_t end = nl == std::string_view::npos ? text.size() : nl;
        if (end > at && text[end - 1] == '\r')
            --end;
        lines.push_back({at, end});
        at = next;
    }
    return lines;
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

bool startsWithNoCase(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(s[i])) !=
            std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

// A cue's timing line as the walk takes it: it starts with a digit and holds "-->".
bool isTimingLine(std::string_view line) {
    line = trimmed(line);
    return !line.empty() && isDigit(line.front()) && line.find("-->") != std::string_view::npos;
}

// Reads "[hh:]mm:ss" then "," or "." and three digits at `s`; advances it. Used to recognise a
// SubRip file by its first timing, strictly.
bool readTimestamp(std::string_view &s) {
    int groups = 0;
    for (;;) {
        std::size_t digits = 0;
        while (digits < s.size() && isDigit(s[digits]))
            ++digits;
        if (digits == 0 || digits > 3)
            return false;
        s.remove_prefix(digits);
        ++groups;
        if (s.empty() || s.front() != ':')
            break;
        s.remove_prefix(1);
    }
    if (groups < 2 || groups > 3 || s.size() < 4 || (s[0] != ',' && s[0] != '.'))
        return false;
    for (int i = 1; i <= 3; ++i)
        if (!isDigit(s[static_cast<std::size_t>(i)]))
            return false;
    s.remove_prefix(4);
    return true;
}

bool isStrictTimingLine(std::string_view line) {
    line = trimmed(line);
    if (!readTimestamp(line))
        return false;
    line = trimmed(line);
    if (line.substr(0, 3) != "-->")
        return false;
    line = trimmed(line.substr(3));
    return readTimestamp(line);
}

bool isNumberLine(std::string_view line) {
    line = trimmed(line);
    if (line.empty())
        return false;
    for (const char c : line)
        if (!isDigit(c))
            return false;
    return true;
}

// Where the next '>' and '}' of a line stand, as last found: a line of a million "<" without a
// ">" is searched once, not once for each.
struct Closers {
    struct Found {
        std::size_t from = 0, end = 0, at = std::string_view::npos;
    } found[2];
};

// The length of the markup at text[i] within [i, end) (a line's content), 0 when none starts there.
std::size_t markupAt(std::string_view text, std::size_t i, std::size_t end, SubtitleFormat format,
                     Closers &closers) {
    const char c = text[i];
    const auto closing = [&](char close) -> std::size_t {
        Closers::Found &f = closers.found[close == '>' ? 0 : 1];
        if (f.end != end || f.from > i + 1 || (f.at != std::string_view::npos && f.at < i + 1)) {
            f = {i + 1, end, text.substr(0, end).find(close, i + 1)};
        }
        return f.at == std::string_view::npos ? 0 : f.at + 1 - i;
    };
    if (format == SubtitleFormat::Ass) {
        if (c == '{')
            return closing('}');
        if (c == '\\' && i + 1 < end && (text[i + 1] == 'N' || text[i + 1] == 'n' || text[i + 1] == 'h'))
            return 2;
        return 0;
    }
    if (c == '<') {
        // A tag begins with its name (<i>, <font ...>, <c.x>, <v Name>) or a slash, or is a
        // karaoke timestamp (<00:01.500>); a "<" before anything else is text ("a < b", <‹书名>>),
        // and taking it for a tag left the text up to the next ">" unconverted.
        const std::size_t length = closing('>');
        if (length == 0 || i + 1 >= end)
            return 0;
        const std::string_view inside = text.substr(i + 1, length - 2);
        const auto ascii = static_cast<unsigned char>(inside.empty() ? ' ' : inside.front());
        if (inside.find('<') != std::string_view::npos)
            return 0;
        if (std::isalpha(ascii) || ascii == '/')
            return length;
        if (std::isdigit(ascii) && inside.find_first_not_of("0123456789:.") == std::string_view::npos)
            return length;
        return 0;
    }
    if (c == '{' && i + 1 < end && text[i + 1] == '\\')
        return closing('}');
    if (c == '&') {
        std::size_t j = i + 1;
        while (j < end && j - i <= 32 &&
               (std::isalnum(static_cast<unsigned char>(text[j])) || text[j] == '#'))
            ++j;
        return j < end && j > i + 1 && text[j] == ';' ? j + 1 - i : 0;
    }
    return 0;
}

// Adds the pieces of cue text in [begin, end) between markup, each without white space at its ends.
void addCueText(std::string_view text, std::size_t begin, std::size_t end, SubtitleFormat format,
                std::vector<TextSpan> &spans) {
    const auto add = [&](std::size_t from, std::size_t to) {
        while (from < to && isSpace(text[from]))
            ++from;
        while (to > from && isSpace(text[to - 1]))
            --to;
        if (from < to)
            spans.push_back({from, to});
    };
    // ASS draws shapes where an override block sets \p1 (or a higher scale), until \p0: what
    // follows is drawing commands (m 0 0 l 100 0), which upper case broke, not text.
    bool drawing = false;
    std::size_t piece = begin;
    Closers closers;
    std::size_t lineEnd = begin; // the end of the line holding i, found once per line
    for (std::size_t i = begin; i < end;) {
        if (i >= lineEnd) {
            lineEnd = text.find('\n', i);
            lineEnd = lineEnd == std::string_view::npos || lineEnd > end ? end : lineEnd;
        }
        const std::size_t markup = markupAt(text, i, lineEnd, format, closers);
        if (markup == 0) {
            ++i;
            continue;
        }
        if (!drawing)
            add(piece, i);
        if (format == SubtitleFormat::Ass && text[i] == '{') {
            const std::string_view block = text.substr(i, markup);
            for (std::size_t p = block.find("\\p"); p != std::string_view::npos;
                 p = block.find("\\p", p + 1)) {
                std::size_t d = p + 2; // \pos and \pbo are other tags: only \p with digits
                bool digits = false, nonzero = false;
                for (; d < block.size() && std::isdigit(static_cast<unsigned char>(block[d])); ++d)
                    digits = true, nonzero = nonzero || block[d] != '0';
                if (digits)
                    drawing = nonzero;
            }
        }
        i += markup;
        piece = i;
    }
    if (!drawing)
        add(piece, end);
}

void srtOrVttSpans(std::string_view text, SubtitleFormat format, std::vector<TextSpan> &spans) {
    const std::vector<Line> lines = linesOf(text);
    const auto content = [&](std::size_t i) {
        return text.substr(lines[i].begin, lines[i].end - lines[i].begin);
    };
    bool inCue = false;
    std::size_t first = 0, last = 0; // the cue's text lines gathered so far, [first, last)
    const auto flush = [&] {
        if (first < last)
            addCueText(text, lines[first].begin, lines[last - 1].end, format, spans);
        first = last = 0;
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = content(i);
        if (trimmed(line).empty()) {
            flush();
            inCue = false;
            continue;
        }
        if (isTimingLine(line)) {
            flush();
            inCue = true;
            continue;
        }
        // A line right before a timing line is the next cue's number or identifier (SubRip files
        // without blank lines between cues exist).
        if (!inCue || (i + 1 < lines.size() && isTimingLine(content(i + 1)))) {
            flush();
            continue;
        }
        if (first == last)
            first = i;
        last = i + 1;
    }
    flush();
}

void assSpans(std::string_view text, std::vector<TextSpan> &spans) {
    bool events = false;
    std::size_t textField = 9; // Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text
    for (const Line &l : linesOf(text)) {
        std::string_view line = text.substr(l.begin, l.end - l.begin);
        const std::string_view body = trimmed(line);
        if (body.empty())
            continue;
        const std::size_t indent = static_cast<std::size_t>(body.data() - line.data());
        if (body.front() == '[') {
            events = startsWithNoCase(body, "[Events]");
            continue;
        }
        if (!events)
            continue;
        if (startsWithNoCase(body, "Format:")) {
            std::string_view fields = body.substr(7);
            std::size_t index = 0;
            textField = 9;
            for (;; ++index) {
                const std::size_t comma = fields.find(',');
                if (startsWithNoCase(trimmed(fields.substr(0, comma)), "Text") &&
                    trimmed(fields.substr(0, comma)).size() == 4) {
                    textField = index;
                    break;
                }
                if (comma == std::string_view::npos)
                    break;
                fields.remove_prefix(comma + 1);
            }
            continue;
        }
        if (!startsWithNoCase(body, "Dialogue:"))
            continue;
        std::size_t at = l.begin + indent + 9;
        std::size_t commas = 0;
        while (commas < textField && at < l.end) {
            if (text[at] == ',')
                ++commas;
            ++at;
        }
        if (commas == textField)
            addCueText(text, at, l.end, SubtitleFormat::Ass, spans);
    }
}

} // namespace

SubtitleFormat detectSubtitles(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    const std::vector<Line> lines = linesOf(text);
    std::size_t i = 0;
    while (i < lines.size() && trimmed(text.substr(lines[i].begin, lines[i].end - lines[i].begin)).empty())
        ++i;
    if (i == lines.size())
        return SubtitleFormat::None;
    const auto content = [&](std::size_t k) {
        return text.substr(lines[k].begin, lines[k].end - lines[k].begin);
    };
    const std::string_view first = content(i);
    if (first.substr(0, 6) == "WEBVTT" && (first.size() == 6 || first[6] == ' ' || first[6] == '\t'))
        return SubtitleFormat::WebVtt;
    if (startsWithNoCase(trimmed(first), "[Script Info]"))
        return SubtitleFormat::Ass;
    if (isNumberLine(first) && i + 1 < lines.size() && isStrictTimingLine(content(i + 1)))
        return SubtitleFormat::Srt;
    bool events = false;
    for (std::size_t k = i; k < lines.size(); ++k) {
        const std::string_view body = trimmed(content(k));
        if (!body.empty() && body.front() == '[')
            events = startsWithNoCase(body, "[Events]");
        else if (events && startsWithNoCase(body, "Dialogue:"))
            return SubtitleFormat::Ass;
    }
    return SubtitleFormat::None;
}

std::vector<TextSpan> cueTextSpans(std::string_view text, SubtitleFormat format) {
    std::vector<TextSpan> spans;
    if (format == SubtitleFormat::Ass)
        assSpans(text, spans);
    else if (format != SubtitleFormat::None)
        srtOrVttSpans(text, format, spans);
    return spans;
}

std::optional<std::string> convertSubtitles(std::string_view text, SubtitleFormat format,
                                            const CueConvert &convert) {
    // Each piece on its own: the pieces of a cue line, converted one after another.
    return convertSubtitleCues(text, format, [&](const std::vector<std::string_view> &pieces) {
        std::vector<std::string> out;
        out.reserve(pieces.size());
        for (const std::string_view piece : pieces) {
            auto converted = convert(piece);
            if (!converted)
                return std::optional<std::vector<std::string>>();
            out.push_back(std::move(*converted));
        }
        return std::optional<std::vector<std::string>>(std::move(out));
    });
}

std::vector<std::vector<TextSpan>> cueTextGroups(std::string_view text, SubtitleFormat format) {
    std::vector<std::vector<TextSpan>> groups;
    std::size_t last = 0;
    for (const TextSpan &span : cueTextSpans(text, format)) {
        const std::string_view between = text.substr(last, span.begin - last);
        // A line break ends a line of the cue, in the text or as ASS's \N and \n; markup that
        // stands for a character a reader sees (&amp;, &nbsp;, ASS's hard space \h) parts phrases
        // as that character would.
        const bool ass = format == SubtitleFormat::Ass;
        if (groups.empty() || between.find_first_of("\r\n") != std::string_view::npos ||
            (!ass && between.find('&') != std::string_view::npos) ||
            (ass && (between.find("\\N") != std::string_view::npos ||
                     between.find("\\n") != std::string_view::npos ||
                     between.find("\\h") != std::string_view::npos)))
            groups.emplace_back();
        groups.back().push_back(span);
        last = span.end;
    }
    return groups;
}

std::optional<std::string> convertSubtitleCues(std::string_view text, SubtitleFormat format,
                                               const CuePiecesConvert &convert) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    std::size_t at = 0;
    std::vector<std::string_view> pieces;
    for (const std::vector<TextSpan> &group : cueTextGroups(text, format)) {
        pieces.clear();
        for (const TextSpan &span : group)
            pieces.push_back(text.substr(span.begin, span.end - span.begin));
        auto converted = convert(pieces);
        if (!converted || converted->size() != pieces.size())
            return std::nullopt;
        for (std::size_t k = 0; k < group.size(); ++k) {
            out.append(text.substr(at, group[k].begin - at));
            out += (*converted)[k];
            at = group[k].end;
        }
    }
    out.append(text.substr(at));
    return out;
}

} // namespace core
