// The reading engine on the build's data file: any bytes, in any pieces. Read with one initial
// letter per syllable and no separator, the output must be the input with each character that
// has a reading replaced by one letter a-z and everything else unchanged, in order.

#include "core/pinyin_reading.h"
#include "fuzz_support.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace {

const core::PinyinReadingData &data() {
    static std::vector<std::uint32_t> words;
    static const auto d = [] {
        std::ifstream f(LANTERNFIN_PINYIN_DATA, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(f)), {});
        words.resize((bytes.size() + 3) / 4);
        std::memcpy(words.data(), bytes.data(), bytes.size());
        return core::PinyinReadingData::open(
            {reinterpret_cast<const unsigned char *>(words.data()), bytes.size()});
    }();
    fuzz::check(d.has_value(), "data file loads");
    return *d;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size) {
    if (size == 0)
        return 0;
    // The first byte chooses the piece size of the streamed run.
    const std::size_t piece = bytes[0] % 16 + 1;
    const std::string_view text(reinterpret_cast<const char *>(bytes + 1), size - 1);

    const core::PinyinStyle initials{core::PinyinTone::None, "", true};
    const std::string whole = core::readPinyin(text, data(), initials);
    for (const auto tone : {core::PinyinTone::Marks, core::PinyinTone::Numbers})
        core::readPinyin(text, data(), core::PinyinStyle{tone, " ", false});
    if (!core::isValidUtf8(text))
        return 0;

    std::size_t at = 0;
    const auto *s = reinterpret_cast<const unsigned char *>(text.data());
    for (std::size_t i = 0; i < text.size();) {
        char32_t cp = 0;
        const int len = core::decodeUtf8Sequence(s + i, text.size() - i, cp);
        fuzz::check(len > 0, "valid input decodes");
        if (data().hasReading(cp)) {
            fuzz::check(at < whole.size() && whole[at] >= 'a' && whole[at] <= 'z', "one letter per syllable");
            ++at;
        } else {
            fuzz::check(whole.compare(at, static_cast<std::size_t>(len),
                                      text.substr(i, static_cast<std::size_t>(len))) == 0,
                        "other text unchanged and in order");
            at += static_cast<std::size_t>(len);
        }
        i += static_cast<std::size_t>(len);
    }
    fuzz::check(at == whole.size(), "nothing added");

    // The same text fed in pieces gives the same output.
    core::PinyinReader reader(data(), initials);
    std::string streamed, pending;
    for (std::size_t i = 0; i < text.size(); i += piece) {
        pending.append(text.substr(i, piece));
        const auto r = reader.feed(pending, streamed, false);
        fuzz::check(r.ok, "valid input streams");
        pending.erase(0, r.consumed);
    }
    fuzz::check(reader.feed(pending, streamed, true).ok, "valid input ends");
    fuzz::check(streamed == whole, "pieces agree");
    return 0;
}
