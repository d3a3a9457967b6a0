#include "platform/text_codecs.h"

#include <gtest/gtest.h>

namespace {

using core::TextEncoding;
using platform::Detection;

const core::CommonHan &common() {
    static const core::CommonHan table = platform::loadCommonHan();
    return table;
}

std::string encoded(std::string_view utf8, TextEncoding encoding) {
    std::string out;
    EXPECT_TRUE(platform::encodeText(utf8, encoding, out)) << utf8;
    return out;
}

constexpr const char *kSimplified =
    "这是一份简体中文的报告，说明软件和内存的问题。\r\n第二行：我们明天再开会。\r\n";
constexpr const char *kTraditional =
    "這是一份繁體中文的報告，說明軟體和記憶體的問題。\r\n第二行：我們明天再開會。\r\n";

TEST(TextCodecs, CodePagesAsTheStandardsDefineThem) {
    const struct {
        TextEncoding encoding;
        const char *utf8;
        std::string bytes;
    } cases[] = {
        {TextEncoding::Gb18030, "中文，", "\xD6\xD0\xCE\xC4\xA3\xAC"},
        {TextEncoding::Gb18030, "€𠀀", "\xA2\xE3\x95\x32\x82\x36"},
        {TextEncoding::Big5, "中文，", "\xA4\xA4\xA4\xE5\xA1\x41"},
        {TextEncoding::Big5Hkscs, "中𨋢", "\xA4\xA4\x9D\xF2"}, // 𨋢 (lift) is in the Hong Kong supplement
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(encoded(c.utf8, c.encoding), c.bytes);
        std::string back;
        EXPECT_TRUE(platform::decodeText(c.bytes, c.encoding, back));
        EXPECT_EQ(back, c.utf8);
    }
}

TEST(TextCodecs, ACharacterWithoutACodeStopsAtItsByte) {
    const struct {
        TextEncoding encoding;
        const char *utf8;
        std::size_t bad;
    } cases[] = {
        {TextEncoding::Big5, "繁體\n发", 7}, // Big5 holds no simplified forms
        {TextEncoding::Big5, "ab𨋢", 2},     // nor the Hong Kong supplement
        {TextEncoding::Big5Hkscs, "中文\n简", 7},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.utf8);
        std::string out;
        std::size_t bad = 0;
        EXPECT_FALSE(platform::encodeText(c.utf8, c.encoding, out, &bad));
        EXPECT_EQ(bad, c.bad);
        std::string before;
        EXPECT_TRUE(platform::decodeText(out, c.encoding, before)); // what precedes it, whole
        EXPECT_EQ(before, std::string_view(c.utf8).substr(0, c.bad));
    }
}

TEST(TextCodecs, InvalidBytesStopDecodingAtTheirOffset) {
    std::string out;
    std::size_t bad = 0;
    // (A lone 80 there was invalid too, until it was read as Windows' €.)
    EXPECT_FALSE(platform::decodeText("ab\xD6\xD0\xFF", TextEncoding::Gb18030, out, &bad));
    EXPECT_EQ(bad, 4u);
    EXPECT_FALSE(platform::decodeText("\xA4\xA4\xA4\x80", TextEncoding::Big5, out, &bad));
    EXPECT_EQ(bad, 2u);
}

constexpr std::size_t kNone = platform::EuroBytes::kNone;

// The GB18030 family reads a lone 80 where a character starts as €, as Windows' code page 936
// writes it, and tells where each form of € stands so that a text can be written back as it came;
// every other byte is read as strictly as before.
TEST(TextCodecs, TheGb18030FamilyReadsALone80AsTheEuro) {
    const struct {
        const char *what;
        TextEncoding encoding;
        std::string bytes;
        const char *utf8;         // nullptr: refused at `bad`
        std::size_t single, pair; // EuroBytes, or `bad` in `single` when refused
    } cases[] = {
        {"GBK as Windows writes it", TextEncoding::Gb18030, "\xBC\xDB\xB8\xF1 5\x80", "价格 5€", 6, kNone},
        {"GB18030's own €", TextEncoding::Gb18030, "5\xA2\xE3", "5€", kNone, 1},
        {"both forms in one text", TextEncoding::Gbk, "\x80 \xA2\xE3\x80", "€ €€", 0, 2},
        {"80 as the last byte", TextEncoding::Gb18030, "ab\xD6\xD0\x80", "ab中€", 4, kNone},
        {"80 twice", TextEncoding::Gbk, "\x80\x80", "€€", 0, kNone},
        {"80 after a four-byte code", TextEncoding::Gb18030, "\x95\x32\x82\x36\x80\xA2\xE3", "𠀀€€", 4, 5},
        {"80 as a two-byte code's trail byte is no €", TextEncoding::Gb18030, "\x81\x80", "亐", kNone, kNone},
        {"A2 E3 across two characters is no €", TextEncoding::Gb18030, "\xB0\xA2\xE3\xA1", "阿恪", kNone,
         kNone},
        {"no € at all", TextEncoding::Gb18030, "\xD6\xD0", "中", kNone, kNone},
        {"80 where a four-byte code goes on", TextEncoding::Gb18030, "a\x81\x30\x80\x30", nullptr, 1, kNone},
        {"80 after a fault", TextEncoding::Gb18030, "a\xFF\x80", nullptr, 1, kNone},
        {"a lead byte cut by the end after 80", TextEncoding::Gb18030, "\x80\xD6", nullptr, 1, kNone},
        // Windows' Big5 has 80 as the control U+0080, and no € there: unchanged.
        {"Big5's 80", TextEncoding::Big5, "\xA4\xA4\x80", "中\u0080", kNone, kNone},
        {"80 as a Big5 trail byte", TextEncoding::Big5, "\xA4\xA4\xA4\x80", nullptr, 2, kNone},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        std::string utf8;
        std::size_t bad = 99;
        platform::EuroBytes euro;
        euro.single = euro.pair = 77; // a decoding sets both
        const bool ok = platform::decodeText(c.bytes, c.encoding, utf8, &bad, &euro);
        std::string mapped;
        std::vector<std::uint32_t> origin;
        platform::EuroBytes mappedEuro;
        std::size_t mappedBad = 99;
        EXPECT_EQ(platform::decodeTextMapped(c.bytes, c.encoding, mapped, origin, &mappedBad, &mappedEuro),
                  ok);
        if (!c.utf8) {
            EXPECT_FALSE(ok);
            EXPECT_EQ(bad, c.single);
            EXPECT_EQ(mappedBad, c.single);
            continue;
        }
        ASSERT_TRUE(ok);
        EXPECT_EQ(utf8, c.utf8);
        EXPECT_EQ(mapped, c.utf8);
        if (c.encoding == TextEncoding::Big5)
            continue;
        EXPECT_EQ(euro.single, c.single);
        EXPECT_EQ(euro.pair, c.pair);
        EXPECT_EQ(mappedEuro.single, c.single);
        EXPECT_EQ(mappedEuro.pair, c.pair);
        if (euro.both())
            continue;
        // Written in the encoding its € ask for, the text is its bytes again.
        EXPECT_EQ(encoded(utf8, euro.writtenAs(c.encoding)), c.bytes);
    }
}

TEST(TextCodecs, GbkWritesTheEuroAs80AndGb18030AsA2E3) {
    const struct {
        TextEncoding encoding;
        const char *utf8;
        std::string bytes;
    } cases[] = {
        {TextEncoding::Gbk, "价格 5€", "\xBC\xDB\xB8\xF1 5\x80"},
        {TextEncoding::Gbk, "€𠀀€", "\x80\x95\x32\x82\x36\x80"},
        {TextEncoding::Gbk, "₭€₮", "\x81\x36\xB3\x32\x80\x81\x36\xB3\x33"}, // € among its neighbours
        {TextEncoding::Gb18030, "5€", "5\xA2\xE3"},
        {TextEncoding::Gbk, "", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(encoded(c.utf8, c.encoding), c.bytes);
    }
}

// Markup text written in a code page: what it lacks becomes a reference where the markup reads
// them, and stops the writing where it does not.
TEST(TextCodecs, MarkupTextWritesReferencesForWhatACodePageLacks) {
    const struct {
        TextEncoding encoding;
        platform::CodeRange range;
        bool references;
        const char *utf8;
        bool ok;
        std::string bytes; // what was appended
        std::size_t bad;   // when not ok: the byte of utf8 where it stopped
    } cases[] = {
        {TextEncoding::Big5, platform::CodeRange::All, true, "中简&amp;", true, "\xA4\xA4&#x7B80;&amp;", 0},
        {TextEncoding::Big5, platform::CodeRange::All, false, "中简文", false, "\xA4\xA4", 3},
        {TextEncoding::Gb18030, platform::CodeRange::Gbk, true, "中𠀀€", true, "\xD6\xD0&#x20000;\xA2\xE3",
         0},
        {TextEncoding::Gb18030, platform::CodeRange::All, true, "中𠀀", true, "\xD6\xD0\x95\x32\x82\x36", 0},
        {TextEncoding::Gb18030, platform::CodeRange::Gbk, false, "𠀀", true, "\x95\x32\x82\x36", 0},
        {TextEncoding::Gb18030, platform::CodeRange::Gb2312, true, "中軟a", true, "\xD6\xD0&#x8EDF;a", 0},
        {TextEncoding::Gb18030, platform::CodeRange::Gb2312, false, "軟", true, "\xDC\x9B", 0},
        {TextEncoding::Gbk, platform::CodeRange::Gbk, true, "中€𠀀", true, "\xD6\xD0\x80&#x20000;", 0},
        {TextEncoding::Gbk, platform::CodeRange::Gb2312, true, "€軟", true, "\x80&#x8EDF;", 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.utf8);
        std::string out = "<";
        std::size_t bad = 99;
        EXPECT_EQ(platform::encodeMarkupText(c.utf8, c.encoding, c.range, c.references, out, &bad), c.ok);
        EXPECT_EQ(out, "<" + c.bytes);
        if (!c.ok) {
            EXPECT_EQ(bad, c.bad);
        }
    }
}

// Each byte of the decoded text knows the byte of the page its character came from.
TEST(TextCodecs, MappedDecodingTellsWhereEachCharacterCameFrom) {
    const struct {
        TextEncoding encoding;
        std::string bytes;
        const char *utf8;
        std::vector<std::uint32_t> origin;
    } cases[] = {
        {TextEncoding::Gb18030, "a\xD6\xD0\x95\x32\x82\x36z", "a中𠀀z", {0, 1, 1, 1, 3, 3, 3, 3, 7, 8}},
        {TextEncoding::Gb18030, "a\x80\xA2\xE3z", "a€€z", {0, 1, 1, 1, 2, 2, 2, 4, 5}},
        {TextEncoding::Big5, "\xA4\xA4<", "中<", {0, 0, 0, 2, 3}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.utf8);
        std::string utf8;
        std::vector<std::uint32_t> origin;
        ASSERT_TRUE(platform::decodeTextMapped(c.bytes, c.encoding, utf8, origin));
        EXPECT_EQ(utf8, c.utf8);
        EXPECT_EQ(origin, c.origin);
    }
    std::string utf8;
    std::vector<std::uint32_t> origin;
    std::size_t bad = 0;
    EXPECT_FALSE(platform::decodeTextMapped("ab\xD6\xD0\xFF", TextEncoding::Gb18030, utf8, origin, &bad));
    EXPECT_EQ(bad, 4u);
}

TEST(TextCodecs, CommonCharactersAreBothFirstLevels) {
    for (const char32_t c : {U'的', U'啊', U'们', U'這', U'們', U'體'})
        EXPECT_TRUE(common().contains(c)) << std::hex << unsigned(c);
    for (const char32_t c : {U'亍', U'鿿', U'丂'})
        EXPECT_FALSE(common().contains(c)) << std::hex << unsigned(c);
}

TEST(EncodingDetection, DecidesOrRefusesToGuess) {
    const std::string gb = encoded(kSimplified, TextEncoding::Gb18030);
    const std::string big5 = encoded(kTraditional, TextEncoding::Big5);
    const struct {
        const char *what;
        std::string bytes;
        Detection::Kind kind;
        TextEncoding encoding;
        std::size_t markSize;
    } cases[] = {
        {"GB18030", gb, Detection::Kind::Found, TextEncoding::Gb18030, 0},
        {"traditional text in GB18030", encoded(kTraditional, TextEncoding::Gb18030), Detection::Kind::Found,
         TextEncoding::Gb18030, 0},
        {"Big5", big5, Detection::Kind::Found, TextEncoding::Big5, 0},
        {"Big5 with the Hong Kong supplement",
         encoded(std::string(kTraditional) + "搭𨋢上樓。", TextEncoding::Big5Hkscs), Detection::Kind::Found,
         TextEncoding::Big5Hkscs, 0},
        {"GB18030 cut inside a character at the sample's end", gb, Detection::Kind::Found,
         TextEncoding::Gb18030, 0},
        {"UTF-8", kSimplified, Detection::Kind::Found, TextEncoding::Utf8, 0},
        {"UTF-8 with a mark", std::string("\xEF\xBB\xBF") + kSimplified, Detection::Kind::Found,
         TextEncoding::Utf8, 3},
        {"UTF-16LE with a mark", std::string("\xFF\xFE\x2D\x4E", 4), Detection::Kind::Found,
         TextEncoding::Utf16Le, 2},
        {"UTF-16BE with a mark", std::string("\xFE\xFF\x4E\x2D", 4), Detection::Kind::Found,
         TextEncoding::Utf16Be, 2},
        {"one character is too short", "\xD6\xD0\r\n", Detection::Kind::Undecided, TextEncoding::Utf8, 0},
        // B0A1.. with trail bytes above A0 are first-level characters in both code pages.
        {"both readings common", "\xB0\xA1\xB1\xA2\xB2\xA3\xB3\xA4\xB4\xA5\xB5\xA6\xB6\xA7",
         Detection::Kind::Undecided, TextEncoding::Utf8, 0},
        {"bytes of neither", "\xA4\x0A\xA4\x0A", Detection::Kind::NotText, TextEncoding::Utf8, 0},
        // Regression: GB18030 that happens to be valid UTF-8 was taken for it (一 D2 BB as the
        // Cyrillic һ, 磨 C4 A5 as ĥ), and a case conversion changed its characters.
        {"GB18030 一 that is valid UTF-8 too", encoded("一\r\n", TextEncoding::Gb18030),
         Detection::Kind::Undecided, TextEncoding::Utf8, 0},
        {"GB18030 磨 that is valid UTF-8 too", encoded("磨", TextEncoding::Gb18030), Detection::Kind::Undecided,
         TextEncoding::Utf8, 0},
        {"GB18030 一 after ASCII letters", encoded("ABC一", TextEncoding::Gb18030), Detection::Kind::Undecided,
         TextEncoding::Utf8, 0},
        {"a Cyrillic word that GB18030 reads as Chinese", "да\n", Detection::Kind::Undecided, TextEncoding::Utf8, 0},
        {"a Russian sentence", "Привет, как дела? Это обычный текст.\n", Detection::Kind::Found,
         TextEncoding::Utf8, 0},
        {"a Greek sentence", "Ελληνικά κείμενο εδώ", Detection::Kind::Found, TextEncoding::Utf8, 0},
        {"accented letters inside words", "café Müller à la carte", Detection::Kind::Found, TextEncoding::Utf8, 0},
        {"signs of Latin-1", "¥100 £5 © 2026 ×", Detection::Kind::Found, TextEncoding::Utf8, 0},
        // The byte 80 is Windows' € in GBK, the control U+0080 in Windows' Big5, and a continuation
        // byte in UTF-8: the readings still decide.
        {"GBK with € as 80", encoded(std::string(kSimplified) + "价格：5€，运费 2€。\r\n", TextEncoding::Gbk),
         Detection::Kind::Found, TextEncoding::Gb18030, 0},
        {"Big5 with a byte 80", big5 + "\x80" + big5, Detection::Kind::Found, TextEncoding::Big5, 0},
        {"UTF-8 whose 80 stands where GB18030 starts a character", "一一一一一一\n", Detection::Kind::Found,
         TextEncoding::Utf8, 0},
        {"damaged UTF-8 whose 80 stands where GB18030 starts a character",
         std::string("一下一个一些一样一起。\n") + "\xFF", Detection::Kind::NotText, TextEncoding::Utf8, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const std::size_t sample =
            std::string_view(c.what).find("cut") != std::string_view::npos ? 25 : 1 << 20;
        const Detection d = platform::detectEncoding(c.bytes, common(), sample);
        EXPECT_EQ(d.kind, c.kind);
        if (d.kind == Detection::Kind::Found) {
            EXPECT_EQ(d.encoding, c.encoding);
            EXPECT_EQ(d.markSize, c.markSize);
        }
    }
}

} // namespace
