#pragma once

// What a reader of written amounts, dates and numerals gives back: the value, or why the text is
// refused. A refusal never comes with a guessed value.

#include <cstddef>
#include <optional>
#include <string>
#include <utility>

namespace core {

struct Refusal {
    // The 1-based character (code point) of the text where the first problem is; 0 when the text
    // as a whole is at fault (empty, or the number is too large).
    std::size_t position = 0;
    // What is wrong, for the user, in Chinese; it names the position when there is one.
    std::u16string message;
};

template <class T> struct Outcome {
    std::optional<T> value;
    Refusal refusal; // meaningful only without a value

    static Outcome ok(T v) { return {std::move(v), {}}; }
    static Outcome refused(std::size_t position, std::u16string message) {
        return {std::nullopt, {position, std::move(message)}};
    }
    explicit operator bool() const { return value.has_value(); }
};

} // namespace core
