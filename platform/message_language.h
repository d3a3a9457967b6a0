#pragma once

// The language the command line speaks: that of the user's locale for messages.

#include "core/messages.h"

namespace platform {

// Chinese when the locale for messages (LC_ALL, else LC_MESSAGES, else LANG, the first that is set
// and not empty) is zh or zh_*; English otherwise, also when none is set.
core::Language messageLanguage();

// The message `id` worded in that language.
std::string say(core::MessageId id, const std::vector<std::string> &args = {});
std::string say(const core::Message &message);

} // namespace platform
