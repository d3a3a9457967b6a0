// Subtitles: cue text converted as a whole across tags, and numbers, timings, identifiers, notes,
// style names and override tags kept byte for byte.

#include "core/document/subtitles.h"
#include "small_phrases.h"

#include <gtest/gtest.h>

namespace {

using namespace core::document;

const core::PhraseConverter &smallS2twp() {
    static const auto converter = core::PhraseConverter::build(testsupport::smallS2twpConfig());
    return converter;
}

TEST(Subtitles, OnlyCueTextChanges) {
    const PhraseSegmentedConverter conv(smallS2twp());
    struct Case {
        SubtitleFormat format;
        std::string in, out;
        const char *why;
    };
    const Case cases[] = {
        {SubtitleFormat::Srt,
         "1\r\n00:00:01,000 --> 00:00:02,000\r\n<i>内</i>存\r\n软件\r\n\r\n2\r\n00:00:03,000 --> "
         "00:00:04,000\r\n{\\an8}U盘\r\n",
         "1\r\n00:00:01,000 --> 00:00:02,000\r\n<i>記憶體</i>\r\n軟體\r\n\r\n2\r\n00:00:03,000 --> "
         "00:00:04,000\r\n{\\an8}隨身碟\r\n",
         "SubRip: a phrase across a tag goes where it starts; CRLF and tags kept"},
        {SubtitleFormat::WebVtt,
         "WEBVTT 内存\n\nNOTE 内存\n\n软件\n00:01.000 --> 00:02.000 align:start\n<v 内存>方便面&amp;内存\n",
         "WEBVTT 内存\n\nNOTE 内存\n\n软件\n00:01.000 --> 00:02.000 align:start\n<v 内存>泡麵&amp;記憶體\n",
         "WebVTT: header, notes, identifiers and voice names kept; an entity cuts the text"},
        {SubtitleFormat::Ass,
         "[V4+ Styles]\nStyle: 内存,宋体,20\n[Events]\nDialogue: "
         "0,0:00:01.00,0:00:02.00,内存,张,0,0,0,,{\\fn黑体}内{\\b1}存\\N软件\nComment: "
         "0,0:00:01.00,0:00:02.00,内存,,0,0,0,,内存\n",
         "[V4+ Styles]\nStyle: 内存,宋体,20\n[Events]\nDialogue: "
         "0,0:00:01.00,0:00:02.00,内存,张,0,0,0,,{\\fn黑体}記憶體{\\b1}\\N軟體\nComment: "
         "0,0:00:01.00,0:00:02.00,内存,,0,0,0,,内存\n",
         "ASS: the Text field only; override tags kept and joined across; \\N cuts"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.why);
        const PartOutcome r = convertSubtitles(c.in, c.format, conv);
        EXPECT_EQ(r.error, "");
        EXPECT_EQ(r.bytes, c.out);
        EXPECT_TRUE(r.changed);
    }
}

TEST(Subtitles, NoChangeIsIdenticalAndBadBytesRefused) {
    const PhraseSegmentedConverter conv(smallS2twp());
    const std::string plain = "1\n00:00:01,000 --> 00:00:02,000\nHello 數學\n";
    const PartOutcome same = convertSubtitles(plain, SubtitleFormat::Srt, conv);
    EXPECT_FALSE(same.changed);
    EXPECT_EQ(same.bytes, plain);
    const PartOutcome bad =
        convertSubtitles("1\n00:00:01,000 --> 00:00:02,000\n\xff\n", SubtitleFormat::Srt, conv);
    EXPECT_NE(bad.error, "");
    EXPECT_EQ(bad.bytes, "");
}

} // namespace
