#include "message_language.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

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

core::Message systemError(int error) {
    switch (error) {
    case ENOENT:
        return core::MessageId::ErrorNoEntry;
    case EACCES:
        return core::MessageId::ErrorAccess;
    case ENOSPC:
        return core::MessageId::ErrorNoSpace;
    case EISDIR:
        return core::MessageId::ErrorIsDirectory;
    case ENOTDIR:
        return core::MessageId::ErrorNotDirectory;
    case EROFS:
        return core::MessageId::ErrorReadOnly;
    case EEXIST:
        return core::MessageId::ErrorExists;
    case ENAMETOOLONG:
        return core::MessageId::ErrorNameTooLong;
    case ELOOP:
        return core::MessageId::ErrorLoop;
    default:
        return core::Message::verbatim(std::strerror(error));
    }
}

std::string say(const core::Message &message) {
    return message.in(messageLanguage());
}

} // namespace platform
