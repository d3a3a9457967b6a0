#pragma once

#include <string>
#include <string_view>

namespace testsupport {

// ASCII of a UTF-16 text for test traces; other units show as "?".
inline std::string narrow(std::u16string_view s) {
    std::string out;
    for (char16_t c : s)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

} // namespace testsupport
