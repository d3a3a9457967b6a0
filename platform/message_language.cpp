#include "message_language.h"

#include <cstdlib>

namespace platform {

core::Language messageLanguage() {
    // The process's locale is never set from the environment (numbers are read and written the
    // same in every locale), so the variables are read as setlocale would read them.
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char *value = std::getenv(name);
        if (value && *value)
            return core::languageOfLocale(value);
    }
    return core::Language::English;
}

std::string say(core::MessageId id, const std::vector<std::string> &args) {
    return core::wording(id, messageLanguage(), args);
}

std::string say(const core::Message &message) {
    return message.in(messageLanguage());
}

} // namespace platform
