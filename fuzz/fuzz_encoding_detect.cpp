// Text files of any bytes: the encoding is decided or refused soundly; a decided encoding decodes
// the whole input (the sample is all of it) to valid UTF-8; UTF-16 comes back byte for byte;
// GB18030 encodes every character and reads it back, and so does GBK, its € as the byte 80; the
// GB18030 family's € are found where they stand, the same by the mapped decoding; a character Big5
// lacks is reported at a character's start inside the text.

#include "core/text_encoding.h"
#include "core/utf.h"
#include "fuzz_support.h"
#include "platform/text_codecs.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    static const core::CommonHan common = platform::loadCommonHan();
    const std::vector<char> bytes(data, data + size);
    const std::string_view in(bytes.data(), bytes.size());

    core::looksLikeDamagedUtf8(in);
    const platform::Detection d = platform::detectEncoding(in, common);
    if (d.kind == platform::Detection::Kind::Found) {
        fuzz::check(d.markSize <= size, "mark inside");
        std::string text;
        const bool ok = platform::decodeText(in.substr(d.markSize), d.encoding, text);
        const bool utf16 =
            d.encoding == core::TextEncoding::Utf16Le || d.encoding == core::TextEncoding::Utf16Be;
        fuzz::check(ok || utf16 || d.encoding == core::TextEncoding::Utf8,
                    "a guessed code page reads it all");
        fuzz::check(core::isValidUtf8(text), "valid UTF-8");
        if (ok && utf16) {
            std::string back;
            core::encodeUtf16(text, d.encoding == core::TextEncoding::Utf16Be, back);
            fuzz::check(back == in.substr(d.markSize), "UTF-16 round trip");
        }
    }

    {
        // Any bytes in the GB18030 family: 80 read as € where a character starts, and told.
        std::string text, mapped;
        std::vector<std::uint32_t> origin;
        platform::EuroBytes euro, mappedEuro;
        const bool ok = platform::decodeText(in, core::TextEncoding::Gb18030, text, nullptr, &euro);
        fuzz::check(platform::decodeTextMapped(in, core::TextEncoding::Gb18030, mapped, origin, nullptr,
                                               &mappedEuro) == ok,
                    "the mapped decoding agrees");
        if (ok) {
            fuzz::check(mapped == text && mappedEuro.single == euro.single && mappedEuro.pair == euro.pair,
                        "the mapped decoding reads the same");
            const bool hasEuro = text.find("\xE2\x82\xAC") != std::string::npos;
            fuzz::check(hasEuro == (euro.single != platform::EuroBytes::kNone ||
                                    euro.pair != platform::EuroBytes::kNone),
                        "a € is found where it stands");
            fuzz::check(euro.single == platform::EuroBytes::kNone || in[euro.single] == '\x80',
                        "80 at its byte");
            fuzz::check(euro.pair == platform::EuroBytes::kNone || in.substr(euro.pair, 2) == "\xA2\xE3",
                        "A2 E3 at its byte");
        }
    }

    std::string text;
    if (!platform::decodeText(in, core::TextEncoding::Utf8, text))
        return 0;
    std::string gb;
    fuzz::check(platform::encodeText(text, core::TextEncoding::Gb18030, gb), "GB18030 encodes everything");
    std::string back;
    fuzz::check(platform::decodeText(gb, core::TextEncoding::Gb18030, back) && back == text,
                "GB18030 round trip");
    std::string gbk;
    fuzz::check(platform::encodeText(text, core::TextEncoding::Gbk, gbk), "GBK encodes everything");
    platform::EuroBytes euro;
    back.clear();
    fuzz::check(platform::decodeText(gbk, core::TextEncoding::Gbk, back, nullptr, &euro) && back == text,
                "GBK round trip");
    fuzz::check(euro.pair == platform::EuroBytes::kNone, "GBK writes no A2 E3");
    fuzz::check(euro.writtenAs(core::TextEncoding::Gbk) == core::TextEncoding::Gbk, "GBK reads back as GBK");
    std::string big5;
    std::size_t bad = 0;
    if (!platform::encodeText(text, core::TextEncoding::Big5, big5, &bad)) {
        fuzz::check(bad < text.size() && (static_cast<unsigned char>(text[bad]) & 0xC0) != 0x80,
                    "bad at a character");
    }
    return 0;
}
