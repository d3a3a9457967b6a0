#pragma once

#include "core/refusal.h"
#include "core/utf.h"

#include <string>

namespace testsupport {

// A reader's refusal as the window shows it, in Chinese.
inline std::u16string chinese(const core::Refusal &refusal) {
    return core::utf8ToUtf16(refusal.message.in(core::Language::Chinese)).value_or(u"<not UTF-8>");
}

// The amount limit's text as the window shows it.
inline std::u16string amountLimitText() {
    return core::utf8ToUtf16(core::wording(core::MessageId::AmountTooLarge, core::Language::Chinese)).value_or(u"");
}

} // namespace testsupport
