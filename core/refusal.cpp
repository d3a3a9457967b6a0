#include "core/refusal.h"

#include "core/utf.h"

namespace core {

std::size_t characterPosition(std::u16string_view text, std::size_t unit) {
    std::size_t n = 1;
    for (std::size_t i = 0; i < unit && i < text.size(); ++i)
        if (!(isLowSurrogate(text[i]) && i > 0 && isHighSurrogate(text[i - 1])))
            ++n;
    return n;
}

std::u16string shownCharacter(std::u16string_view text, std::size_t unit) {
    const char16_t c = text[unit];
    if (isHighSurrogate(c) && unit + 1 < text.size() && isLowSurrogate(text[unit + 1]))
        return std::u16string(text.substr(unit, 2));
    if (isHighSurrogate(c) || isLowSurrogate(c) || c < 0x20) {
        static constexpr char kHex[] = "0123456789ABCDEF";
        std::u16string code = u"U+";
        for (int shift = 12; shift >= 0; shift -= 4)
            code += static_cast<char16_t>(kHex[(c >> shift) & 0xF]);
        return code;
    }
    return std::u16string(1, c);
}

Refusal refusalAt(std::u16string_view text, std::size_t unit, Message what) {
    const std::size_t position = characterPosition(text, unit);
    if (unit < text.size())
        return {position, Message(MessageId::RefusedAtCharacter,
                                  {std::to_string(position), utf16ToUtf8(shownCharacter(text, unit))}, {std::move(what)})};
    return {position, Message(MessageId::RefusedAtEnd, {std::to_string(position)}, {std::move(what)})};
}

} // namespace core
