#pragma once

// The program's messages in Chinese and English, from one catalogue (message_list.h): the window
// speaks Chinese, the command line the language of the user's locale. A message is named by its
// id and worded when it is shown, so that one result can be shown in either language.

#include <initializer_list>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace core {

enum class Language { Chinese, English };

enum class MessageId {
#define LANTERNFIN_MESSAGE(id, english, chinese) id,
#include "message_list.h"
#undef LANTERNFIN_MESSAGE
};

// How many messages there are; their ids run from 0 to kMessageCount - 1.
inline constexpr int kMessageCount = 0
#define LANTERNFIN_MESSAGE(id, english, chinese) +1
#include "message_list.h"
#undef LANTERNFIN_MESSAGE
    ;

// The message `id` in `language` (UTF-8), each {N} replaced by the Nth of `args`; a {N} without
// an argument is left as it stands.
std::string wording(MessageId id, Language language, const std::vector<std::string> &args = {});

// A message and its arguments (UTF-8), worded when it is shown. Empty: no message.
// An argument may itself be a message (the reason inside "cannot load PATH: WHY", a reader's
// refusal after its place): `parts` are worded in the same language and follow `args`, so that
// Message(CannotLoadWhy, {path}, {why}) fills {1} with the path and {2} with the worded reason.
struct Message {
    MessageId id = MessageId::Verbatim;
    std::vector<std::string> args;
    std::vector<Message> parts;

    Message() = default;
    Message(MessageId id, std::vector<std::string> args = {}, std::vector<Message> parts = {})
        : id(id), args(std::move(args)), parts(std::move(parts)) {}
    // Text that is already worded, shown as it is.
    static Message verbatim(std::string text) { return {MessageId::Verbatim, {std::move(text)}}; }

    bool empty() const {
        return id == MessageId::Verbatim && parts.empty() && (args.empty() || args.front().empty());
    }
    // The message in `language`; the empty text for the empty message.
    std::string in(Language language) const;
    bool operator==(const Message &) const = default;
};

// The message in English, for the build tools' and the tests' own output.
inline std::ostream &operator<<(std::ostream &out, const Message &message) {
    return out << message.in(Language::English);
}

// The system's reason for error number `error` (errno), from the catalogue for the errors files
// meet most (ENOENT, EACCES, ENOSPC, EISDIR, ENOTDIR, EROFS, EEXIST, ENAMETOOLONG, ELOOP, EPERM,
// EIO, ENXIO, EDQUOT, EFBIG, EBUSY, EMFILE, EXDEV), so that
// it is Chinese in a Chinese message; any other as strerror words it (English: the programs never
// set their locale from the environment).
Message systemError(int error);

// The language of messages for a locale name as the environment gives it (LC_ALL, LC_MESSAGES,
// LANG): Chinese for zh and zh_*, English for anything else, the empty name and "C" included.
Language languageOfLocale(std::string_view locale);

} // namespace core
