#include "messages.h"

#include <array>
#include <cerrno>
#include <cstring>

namespace core {
namespace {

struct Wording {
    const char *english;
    const char *chinese;
};

constexpr Wording kWordings[] = {
#define LANTERNFIN_MESSAGE(id, english, chinese) {english, chinese},
#include "message_list.h"
#undef LANTERNFIN_MESSAGE
};

} // namespace

std::string wording(MessageId id, Language language, const std::vector<std::string> &args) {
    const Wording &w = kWordings[static_cast<std::size_t>(id)];
    const std::string_view pattern = language == Language::Chinese ? w.chinese : w.english;
    std::string text;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        // {N} with one digit N from 1 to 9.
        if (pattern[i] == '{' && i + 2 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9' &&
            pattern[i + 2] == '}') {
            const std::size_t n = static_cast<std::size_t>(pattern[i + 1] - '1');
            if (n < args.size()) {
                text += args[n];
                i += 2;
                continue;
            }
        }
        text += pattern[i];
    }
    return text;
}

std::string Message::in(Language language) const {
    if (empty())
        return {};
    if (parts.empty())
        return wording(id, language, args);
    std::vector<std::string> all = args;
    for (const Message &part : parts)
        all.push_back(part.in(language));
    return wording(id, language, all);
}

Message systemError(int error) {
    switch (error) {
    case ENOENT:
        return MessageId::ErrorNoEntry;
    case EACCES:
        return MessageId::ErrorAccess;
    case ENOSPC:
        return MessageId::ErrorNoSpace;
    case EISDIR:
        return MessageId::ErrorIsDirectory;
    case ENOTDIR:
        return MessageId::ErrorNotDirectory;
    case EROFS:
        return MessageId::ErrorReadOnly;
    case EEXIST:
        return MessageId::ErrorExists;
    case ENAMETOOLONG:
        return MessageId::ErrorNameTooLong;
    case ELOOP:
        return MessageId::ErrorLoop;
    case EPERM:
        return MessageId::ErrorNotPermitted;
    case EIO:
        return MessageId::ErrorInputOutput;
    case ENXIO:
        return MessageId::ErrorNoDevice;
    case EDQUOT:
        return MessageId::ErrorQuota;
    case EFBIG:
        return MessageId::ErrorFileTooLarge;
    case EBUSY:
        return MessageId::ErrorBusy;
    case EMFILE:
        return MessageId::ErrorTooManyFiles;
    case EXDEV:
        return MessageId::ErrorCrossDevice;
    default:
        return Message::verbatim(std::strerror(error));
    }
}

Language languageOfLocale(std::string_view locale) {
    if (locale.starts_with("zh") && (locale.size() == 2 || locale[2] == '_' || locale[2] == '.' || locale[2] == '@'))
        return Language::Chinese;
    return Language::English;
}

} // namespace core
