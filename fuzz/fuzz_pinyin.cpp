// Pinyin with the real code page 936 table: one-byte characters come through as themselves, the
// command keeps the workspace above a line break.

#include "core/pinyin.h"
#include "fuzz_support.h"
#include "platform/codepage936.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    static const auto codes = platform::loadCodePage936();
    static const core::PinyinTable table(*codes);
    const std::u16string text = fuzz::units(data, size);
    const std::u16string py = core::c(text, table);
    const std::u16string command = core::pinyinCommandText(text, table);
    fuzz::check(command.compare(0, text.size(), text) == 0 && command[text.size()] == u'\n',
                "workspace kept");
    fuzz::check(command.substr(text.size() + 1) == core::c(core::trimSpaces(text), table), "pinyin line");
    // Text made only of ASCII 1..127 is its own pinyin.
    std::u16string ascii;
    for (char16_t u : text)
        ascii += static_cast<char16_t>(u % 127 + 1);
    fuzz::check(core::c(ascii, table) == ascii, "one-byte characters pass through");
    // Each unit gives at most one syllable (six letters) or one character.
    fuzz::check(py.size() <= text.size() * 6, "bounded output");
    // The UTF-8 path agrees where the units form valid UTF-16.
    std::string utf8;
    core::encodeUtf8(text, utf8);
    std::string out;
    if (core::appendPinyinUtf8(utf8, table, out).ok) {
        std::u16string repaired = *core::utf8ToUtf16(utf8);
        fuzz::check(out == core::utf16ToUtf8(core::c(repaired, table)), "UTF-8 path agrees");
    }
    return 0;
}
