// A phrase image rewritten by an attacker who also recomputes the file's checksum: the fuzzer's
// bytes are edits (4-byte offset, 1-byte value) applied to the image of a small configuration that
// holds every kind of table. fromImage must refuse the result or give a converter that converts
// any text without fault (under ASan/UBSan) and without running for ever.

#include "core/phrase_convert.h"
#include "fuzz_support.h"

#include <cstring>
#include <memory>
#include <string>

namespace {

const std::string &goodImage() {
    static const std::string image = [] {
        core::PhraseConfig c;
        c.normalization = {{{{"丽", "麗"}, {"\xf0\xaf\xa0\x80", "丽"}}}};
        c.segmentation = {{{"头发", ""}, {"发展", ""}, {"𠮷野家", ""}}, {{"干杯", ""}}};
        c.steps.push_back({{{"头发", "頭髮"}, {"干杯", "乾杯"}, {"𠮷野", "吉野"}},
                           {{"发", "發"}, {"头", "頭"}, {"干", "幹"}, {"𪚥", "四龍"}}});
        c.steps.push_back({{{"頭髮", "头发"}, {"吉野家", "Y"}}});
        c.steps.push_back({{{"發", "発"}}});
        return std::string(core::PhraseConverter::build(c).image());
    }();
    return image;
}

const char *const kTexts[] = {"头发干杯发展𠮷野家𪚥丽\xf0\xaf\xa0\x80⿰发面⿱头", "头\n发\r\n干", "",
                              "abc 1 2", "发发发发发发发发发发发发发发发发发发"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    auto image = std::make_shared<std::string>(goodImage());
    for (std::size_t i = 0; i + 5 <= size; i += 5) {
        std::uint32_t at;
        std::memcpy(&at, data + i, 4);
        (*image)[at % image->size()] = static_cast<char>(data[i + 4]);
    }
    const std::string_view view(*image);
    const auto conv = core::PhraseConverter::fromImage(view, image);
    if (!conv)
        return 0;
    for (const char *text : kTexts) {
        std::string out;
        conv->convert(text, out, true);
        const std::string_view t(text);
        std::size_t done = conv->convert(t, out, false);
        fuzz::check(done <= t.size(), "no more converted than given");
        (void)core::convertUtf16(*conv, u"头发\xD800干杯𠮷");
    }
    return 0;
}
