#pragma once

// What a reader of written amounts, dates and numerals gives back: the value, or why the text is
// refused. A refusal never comes with a guessed value.

#include "core/messages.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace core {

struct Refusal {
    // The 1-based character (code point) of the text where the first problem is; 0 when the text
    // as a whole is at fault (empty, or the number is too large).
    std::size_t position = 0;
    // What is wrong, worded where it is shown (the window in Chinese, the command line in the
    // locale's language); it names the position when there is one.
    Message message;
};

template <class T> struct Outcome {
    std::optional<T> value;
    Refusal refusal; // meaningful only without a value

    static Outcome ok(T v) { return {std::move(v), {}}; }
    static Outcome refused(std::size_t position, Message message) {
        return {std::nullopt, {position, std::move(message)}};
    }
    explicit operator bool() const { return value.has_value(); }
    // The value; only with one.
    const T &operator*() const { return *value; }
};

// What the readers share to word a refusal.

// The 1-based character (code point) of `text` that starts at UTF-16 unit `unit`.
std::size_t characterPosition(std::u16string_view text, std::size_t unit);

// The character at `unit` as a message can show it: a lone surrogate half or a control character
// (a line break would split the message) by its code, U+000A.
std::u16string shownCharacter(std::u16string_view text, std::size_t unit);

// A refusal at `unit`: "第N个字“X”：what" (RefusedAtCharacter), without the quoted character when
// `unit` lies at or past the end of `text` (RefusedAtEnd).
Refusal refusalAt(std::u16string_view text, std::size_t unit, Message what);

} // namespace core
