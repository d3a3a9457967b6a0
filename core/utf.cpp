#include "utf.h"

namespace core {

int decodeUtf8Sequence(const unsigned char *s, std::size_t avail, char32_t &cp) {
    const unsigned char b0 = s[0];
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    std::size_t len;
    char32_t min;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2;
        cp = b0 & 0x1F;
        min = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3;
        cp = b0 & 0x0F;
        min = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4;
        cp = b0 & 0x07;
        min = 0x10000;
    } else {
        return -1;
    }
    std::size_t k = 1;
    for (; k < len && k < avail; ++k) {
        const unsigned char b = s[k];
        if ((b & 0xC0) != 0x80)
            return -1;
        // Overlong forms, surrogates and values above U+10FFFF show at the second byte, so a
        // prefix that can never become valid is not mistaken for a cut one.
        if (k == 1 && ((b0 == 0xE0 && b < 0xA0) || (b0 == 0xED && b > 0x9F) || (b0 == 0xF0 && b < 0x90) ||
                       (b0 == 0xF4 && b > 0x8F)))
            return -1;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (k < len)
        return 0;
    if (cp < min)
        return -1;
    return static_cast<int>(len);
}

Utf8DecodeResult decodeUtf8(std::string_view in, std::u16string &out, bool final) {
    const auto *s = reinterpret_cast<const unsigned char *>(in.data());
    const std::size_t n = in.size();
    std::size_t i = 0;
    while (i < n) {
        if (s[i] < 0x80) {
            out.push_back(s[i]);
            ++i;
            continue;
        }
        // Chinese text is mostly three-byte sequences: those are decoded here directly, with the
        // same checks (no overlong form, no surrogate).
        if ((s[i] & 0xF0) == 0xE0 && i + 2 < n && (s[i + 1] & 0xC0) == 0x80 && (s[i + 2] & 0xC0) == 0x80) {
            const char32_t c3 = (char32_t(s[i] & 0x0F) << 12) | (char32_t(s[i + 1] & 0x3F) << 6) | (s[i + 2] & 0x3F);
            if (c3 >= 0x800 && (c3 < 0xD800 || c3 > 0xDFFF)) {
                out.push_back(static_cast<char16_t>(c3));
                i += 3;
                continue;
            }
        }
        char32_t cp;
        const int len = decodeUtf8Sequence(s + i, n - i, cp);
        if (len < 0)
            return {i, false};
        if (len == 0)
            return {i, !final};
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += static_cast<std::size_t>(len);
    }
    return {n, true};
}

bool isValidUtf8(std::string_view in) {
    const auto *s = reinterpret_cast<const unsigned char *>(in.data());
    const std::size_t n = in.size();
    std::size_t i = 0;
    while (i < n) {
        if (s[i] < 0x80) {
            ++i;
            continue;
        }
        if ((s[i] & 0xF0) == 0xE0 && i + 2 < n && (s[i + 1] & 0xC0) == 0x80 && (s[i + 2] & 0xC0) == 0x80) {
            const char32_t c3 = (char32_t(s[i] & 0x0F) << 12) | (char32_t(s[i + 1] & 0x3F) << 6) | (s[i + 2] & 0x3F);
            if (c3 >= 0x800 && (c3 < 0xD800 || c3 > 0xDFFF)) {
                i += 3;
                continue;
            }
        }
        char32_t cp;
        const int len = decodeUtf8Sequence(s + i, n - i, cp);
        if (len <= 0)
            return false;
        i += static_cast<std::size_t>(len);
    }
    return true;
}

std::optional<std::u16string> utf8ToUtf16(std::string_view in) {
    std::u16string out;
    out.reserve(in.size());
    if (!decodeUtf8(in, out, true).ok)
        return std::nullopt;
    return out;
}

void encodeUtf8(std::u16string_view in, std::string &out) {
    const std::size_t n = in.size();
    for (std::size_t i = 0; i < n; ++i) {
        char32_t c = in[i];
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            continue;
        }
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < n && in[i + 1] >= 0xDC00 && in[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (in[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        unsigned char bytes[4];
        const unsigned char *end = encodeCodePoint(c, bytes);
        out.append(reinterpret_cast<const char *>(bytes), static_cast<std::size_t>(end - bytes));
    }
}

std::string utf16ToUtf8(std::u16string_view in) {
    std::string out;
    out.reserve(in.size() * 3);
    encodeUtf8(in, out);
    return out;
}

} // namespace core
