#include "core/subtitles.h"

#include <gtest/gtest.h>

namespace {

using core::SubtitleFormat;

// Marks each converted piece, so that a test sees exactly what was handed over and where it went.
std::optional<std::string> bracket(std::string_view cue) {
    std::string marked = "[";
    marked.append(cue);
    marked += ']';
    return marked;
}

TEST(Subtitles, DetectedFromTheirContent) {
    const struct {
        const char *text;
        SubtitleFormat format;
    } cases[] = {
        {"1\n00:00:01,000 --> 00:00:02,000\n你好\n", SubtitleFormat::Srt},
        {"\xEF\xBB\xBF\r\n1\r\n00:01.5 --> 00:02.000\r\n",
         SubtitleFormat::None}, // a timestamp without 3 decimals
        {"\xEF\xBB\xBF\r\n12\r\n0:00:01.000 --> 0:00:02.000\r\n你好\r\n", SubtitleFormat::Srt},
        {"WEBVTT\n\n00:01.000 --> 00:02.000\n你好\n", SubtitleFormat::WebVtt},
        {"WEBVTT - 标题\n", SubtitleFormat::WebVtt},
        {"WEBVTTX\n", SubtitleFormat::None},
        {"[Script Info]\nTitle: x\n", SubtitleFormat::Ass},
        {"; comment\n[Events]\nDialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,你好\n",
         SubtitleFormat::Ass},
        {"[Events]\n", SubtitleFormat::None},
        {"第1章\n00:00:01,000 --> 00:00:02,000\n", SubtitleFormat::None},
        {"会议 10:00 --> 11:00\n", SubtitleFormat::None},
        {"", SubtitleFormat::None},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(core::detectSubtitles(c.text), c.format);
    }
}

TEST(Subtitles, OnlyCueTextIsConverted) {
    const struct {
        const char *what;
        SubtitleFormat format;
        const char *text;
        const char *converted;
    } cases[] = {
        {"SubRip: numbers and timings kept, the lines of a cue together, CRLF kept", SubtitleFormat::Srt,
         "1\r\n00:00:01,000 --> 00:00:04,000\r\n第一行\r\n第二行\r\n\r\n2\r\n00:00:05,000 --> "
         "00:00:06,000\r\n后\r\n",
         "1\r\n00:00:01,000 --> 00:00:04,000\r\n[第一行\r\n第二行]\r\n\r\n2\r\n00:00:05,000 --> "
         "00:00:06,000\r\n[后]\r\n"},
        {"SubRip: tags, {\\an8} and entities kept, white space at the ends of pieces kept",
         SubtitleFormat::Srt,
         "1\n00:00:01,000 --> 00:00:02,000\n{\\an8}<i>斜体</i> 和 <font color=\"#fff\">颜色</font>&amp;字\n",
         "1\n00:00:01,000 --> 00:00:02,000\n{\\an8}<i>[斜体]</i> [和] <font "
         "color=\"#fff\">[颜色]</font>&amp;[字]\n"},
        {"SubRip without blank lines: the next number is not text", SubtitleFormat::Srt,
         "1\n00:00:01,000 --> 00:00:02,000\n甲\n2\n00:00:03,000 --> 00:00:04,000\n乙",
         "1\n00:00:01,000 --> 00:00:02,000\n[甲]\n2\n00:00:03,000 --> 00:00:04,000\n[乙]"},
        {"SubRip: an unclosed < is text", SubtitleFormat::Srt, "1\n00:00:01,000 --> 00:00:02,000\n1 < 2 对\n",
         "1\n00:00:01,000 --> 00:00:02,000\n[1 < 2 对]\n"},
        {"SubRip: a < before no tag name is text up to the next >", SubtitleFormat::Srt,
         "1\n00:00:01,000 --> 00:00:02,000\n<‹书名>> 后来\n如果 a < b 那么 > c <3 <i>斜</i>\n",
         "1\n00:00:01,000 --> 00:00:02,000\n[<‹书名>> 后来\n如果 a < b 那么 > c <3] <i>[斜]</i>\n"},
        {"WebVTT: a karaoke timestamp is markup", SubtitleFormat::WebVtt,
         "WEBVTT\n\n00:01.000 --> 00:02.000\n甲<00:01.500>乙\n",
         "WEBVTT\n\n00:01.000 --> 00:02.000\n[甲]<00:01.500>[乙]\n"},
        {"WebVTT: header, NOTE, STYLE, identifiers and cue settings kept; voice and class tags kept",
         SubtitleFormat::WebVtt,
         "WEBVTT 标题\n\nNOTE 注释\n\nSTYLE\n::cue { color: red }\n\n开场\n00:01.000 --> 00:04.000 "
         "align:start\n<v "
         "张三>你好</v> <c.yellow>世界</c>\n",
         "WEBVTT 标题\n\nNOTE 注释\n\nSTYLE\n::cue { color: red }\n\n开场\n00:01.000 --> 00:04.000 "
         "align:start\n<v "
         "张三>[你好]</v> <c.yellow>[世界]</c>\n"},
        {"ASS: script info, styles, event fields, override tags and \\N kept; Comment lines kept",
         SubtitleFormat::Ass,
         "[Script Info]\nTitle: 标题\n\n[V4+ Styles]\nFormat: Name, Fontname\nStyle: 默认,黑体\n\n[Events]\n"
         "Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
         "Dialogue: 0,0:00:01.00,0:00:04.00,默认,张三,0,0,0,,{\\fn黑体}简体\\N第二行{\\i1}后来{\\i0}, "
         "逗号\r\n"
         "Comment: 0,0:00:01.00,0:00:04.00,默认,,0,0,0,,注释\n",
         "[Script Info]\nTitle: 标题\n\n[V4+ Styles]\nFormat: Name, Fontname\nStyle: 默认,黑体\n\n[Events]\n"
         "Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
         "Dialogue: 0,0:00:01.00,0:00:04.00,默认,张三,0,0,0,,{\\fn黑体}[简体]\\N[第二行]{\\i1}[后来]{\\i0}[, "
         "逗号]\r\n"
         "Comment: 0,0:00:01.00,0:00:04.00,默认,,0,0,0,,注释\n"},
        {"ASS: a drawing (\\p1 to \\p0) is no text; \\pos and \\pbo are other tags", SubtitleFormat::Ass,
         "[Events]\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
         "Dialogue: 0,0:00:01.00,0:00:02.00,D,,0,0,0,,{\\pos(1,2)}甲{\\p1}m 0 0 l 1 "
         "0{\\p0}乙{\\pbo2}丙{\\p2}m 1 1\n",
         "[Events]\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
         "Dialogue: 0,0:00:01.00,0:00:02.00,D,,0,0,0,,{\\pos(1,2)}[甲]{\\p1}m 0 0 l 1 "
         "0{\\p0}[乙]{\\pbo2}[丙]{\\p2}m 1 1\n"},
        {"SSA: the text field found by the Format line", SubtitleFormat::Ass,
         "[Events]\nFormat: Marked, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
         "Dialogue: Marked=0,0:00:01.00,0:00:02.00,*Default,,0000,0000,0000,,字幕\n",
         "[Events]\nFormat: Marked, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
         "Dialogue: Marked=0,0:00:01.00,0:00:02.00,*Default,,0000,0000,0000,,[字幕]\n"},
        {"ASS: a Dialogue line with too few fields is left alone", SubtitleFormat::Ass,
         "[Events]\nDialogue: 0,0:00:01.00,字幕\n", "[Events]\nDialogue: 0,0:00:01.00,字幕\n"},
        {"not subtitles: unchanged", SubtitleFormat::None, "简体\n", "简体\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(core::convertSubtitles(c.text, c.format, bracket), std::optional<std::string>(c.converted));
    }
}

// The pieces a cue line's markup parts go to the converter together, and no further: not across a
// line break, ASS's \N, or into the next cue.
TEST(Subtitles, ThePiecesOfACueLineAreConvertedTogether) {
    const auto groupsOf = [](const std::vector<std::string_view> &pieces) {
        std::string joined;
        for (const std::string_view piece : pieces)
            joined += std::string(joined.empty() ? "" : "|") + std::string(piece);
        std::vector<std::string> out(pieces.size());
        out[0] = "[" + joined + "]";
        return std::optional<std::vector<std::string>>(out);
    };
    const struct {
        const char *what;
        SubtitleFormat format;
        std::string text, converted;
    } cases[] = {
        {"SubRip: tags on a line, not across lines or cues", SubtitleFormat::Srt,
         "1\n00:00:01,000 --> 00:00:02,000\n<i>甲</i>乙<b>丙</b>\n<i>丁</i>\n戊\n\n2\n00:00:03,000 --> "
         "00:00:04,000\n己\n",
         "1\n00:00:01,000 --> 00:00:02,000\n<i>[甲|乙|丙]</i><b></b>\n<i>[丁]</i>\n[戊]\n\n2\n00:00:03,000 "
         "--> "
         "00:00:04,000\n[己]\n"},
        {"ASS: karaoke blocks joined, \\N and \\n part, events apart", SubtitleFormat::Ass,
         "[Events]\nDialogue: 0,0:00:01.00,0:00:02.00,D,,0,0,0,,{\\k30}甲{\\k30}乙\\N丙{\\i1}丁\\n戊\n"
         "Dialogue: 0,0:00:03.00,0:00:04.00,D,,0,0,0,,己{\\fn黑体}庚\n",
         "[Events]\nDialogue: "
         "0,0:00:01.00,0:00:02.00,D,,0,0,0,,{\\k30}[甲|乙]{\\k30}\\N[丙|丁]{\\i1}\\n[戊]\n"
         "Dialogue: 0,0:00:03.00,0:00:04.00,D,,0,0,0,,[己|庚]{\\fn黑体}\n"},
        {"a character reference or ASS's hard space parts the pieces as the character would",
         SubtitleFormat::WebVtt, "WEBVTT\n\n00:01.000 --> 00:02.000\n甲&amp;乙<b>丙</b>\n",
         "WEBVTT\n\n00:01.000 --> 00:02.000\n[甲]&amp;[乙|丙]<b></b>\n"},
        {"ASS's hard space", SubtitleFormat::Ass,
         "[Events]\nDialogue: 0,0:00:01.00,0:00:02.00,D,,0,0,0,,甲\\h乙{\\k1}丙\n",
         "[Events]\nDialogue: 0,0:00:01.00,0:00:02.00,D,,0,0,0,,[甲]\\h[乙|丙]{\\k1}\n"},
        {"WebVTT: timestamps inside a cue", SubtitleFormat::WebVtt,
         "WEBVTT\n\n00:01.000 --> 00:02.000\n甲<00:01.500>乙\n",
         "WEBVTT\n\n00:01.000 --> 00:02.000\n[甲|乙]<00:01.500>\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(core::convertSubtitleCues(c.text, c.format, groupsOf),
                  std::optional<std::string>(c.converted));
    }
}

TEST(Subtitles, ARefusedPieceRefusesTheWhole) {
    const auto refuseSecond = [calls = 0](std::string_view cue) mutable -> std::optional<std::string> {
        return ++calls == 2 ? std::nullopt : std::optional<std::string>(cue);
    };
    EXPECT_EQ(core::convertSubtitles("1\n00:00:01,000 --> 00:00:02,000\n<i>甲</i>乙\n", SubtitleFormat::Srt,
                                     refuseSecond),
              std::nullopt);
}

} // namespace
