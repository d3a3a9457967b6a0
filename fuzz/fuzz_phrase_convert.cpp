// The phrase conversion against libopencc itself on valid UTF-8, for every stock configuration.
// Byte 0 picks the configuration. Then either the rest is the text (when it is valid UTF-8), or
// pairs of bytes pick keys and values of the configuration's own dictionaries, so that phrases
// meet and overlap far more often than in random bytes. The text is also converted in pieces, as a
// stream does, which must give the same result, and with its segmentation, which must cover the
// text and the result.

#include "core/phrase_convert.h"
#include "core/utf.h"
#include "fuzz_support.h"
#include "platform/opencc_config.h"
#include "platform/phrase_config.h"

#include <opencc/SimpleConverter.hpp>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

const char *const kConfigs[] = {"s2t",  "t2s",  "s2tw", "tw2s", "s2twp", "tw2sp", "s2hk",
                                "hk2s", "t2tw", "tw2t", "t2hk", "hk2t",  "t2jp",  "jp2t"};

struct Loaded {
    std::unique_ptr<core::PhraseConverter> ours;
    std::unique_ptr<opencc::SimpleConverter> theirs;
    std::vector<std::string> words; // keys and values of its dictionaries, and a few others
};

Loaded &load(std::size_t i) {
    static std::map<std::size_t, Loaded> all;
    Loaded &l = all[i];
    if (l.ours)
        return l;
    const std::string path = platform::phraseConfigPath(kConfigs[i]);
    // Debian's configuration by its path, against Debian's libopencc.
    auto ours = platform::loadPhraseConverter(path, "");
    fuzz::check(ours.converter.has_value(), "configuration loads");
    l.ours = std::make_unique<core::PhraseConverter>(std::move(*ours.converter));
    l.theirs = std::make_unique<opencc::SimpleConverter>(path);
    std::string failed;
    const auto config = platform::readOpenccConfig(path, failed);
    fuzz::check(config.has_value(), "configuration reads");
    const auto dicts = platform::readConfigDictionaries(*config, failed);
    fuzz::check(dicts.has_value(), "dictionaries read");
    for (const auto &d : dicts->dicts)
        for (const auto &e : d) {
            l.words.push_back(e.key);
            l.words.push_back(e.value);
        }
    for (const char *w : {"\n", "\r\n", "", " ", "a", "𠮷", "\xf0\xaa\x9a\xa5", "，"})
        l.words.push_back(w);
    return l;
}

// libopencc's result; it stops at a NUL, so the pieces between NULs go separately.
std::string theirs(const opencc::SimpleConverter &c, const std::string &text) {
    std::string out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t nul = text.find('\0', start);
        out += c.Convert(text.substr(start, nul == std::string::npos ? std::string::npos : nul - start));
        if (nul == std::string::npos)
            return out;
        out += '\0';
        start = nul + 1;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 2)
        return 0;
    Loaded &l = load(data[0] % std::size(kConfigs));
    std::string text;
    if (data[1] & 1) {
        text.assign(reinterpret_cast<const char *>(data + 2), size - 2);
        if (!core::isValidUtf8(text))
            return 0;
    } else {
        for (std::size_t i = 2; i + 1 < size; i += 2)
            text += l.words[(data[i] | (data[i + 1] << 8)) * 7919u % l.words.size()];
    }
    const std::string ours = l.ours->convert(text);
    fuzz::check(ours == theirs(*l.theirs, text), "same output as libopencc");

    // With its segmentation: the same output, the segments covering both texts in order.
    std::string segmented;
    std::vector<core::Segment> segments;
    l.ours->convertSegmented(text, segmented, segments);
    fuzz::check(segmented == ours, "segmented conversion the same as plain");
    std::size_t src = 0, dst = 0;
    for (const auto &s : segments) {
        fuzz::check(s.srcBegin == src && s.outBegin == dst && s.srcEnd > s.srcBegin && s.outEnd >= s.outBegin,
                    "segments follow each other");
        src = s.srcEnd;
        dst = s.outEnd;
    }
    auto count = [](const std::string &t) {
        std::size_t n = 0;
        for (const char b : t)
            n += (static_cast<unsigned char>(b) & 0xC0) != 0x80;
        return n;
    };
    fuzz::check(src == count(text) && dst == count(ours), "segments cover both texts");

    // In pieces of a few bytes, each cut at a character boundary, the unconverted rest passed again.
    std::string out, pending;
    std::size_t at = 0, step = 1 + data[1] % 13;
    while (at < text.size()) {
        std::size_t n = std::min(step, text.size() - at);
        while (at + n < text.size() && (static_cast<unsigned char>(text[at + n]) & 0xC0) == 0x80)
            ++n;
        pending += text.substr(at, n);
        at += n;
        pending.erase(0, l.ours->convert(pending, out, false));
    }
    l.ours->convert(pending, out, true);
    fuzz::check(out == ours, "in pieces the same as whole");
    return 0;
}
