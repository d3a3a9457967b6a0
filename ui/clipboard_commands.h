#pragma once

// The window's text commands applied to the clipboard's text, for the tray menu and for
// `lanternfin --clipboard NAME`: each converts the text the way its button converts the workspace,
// and the text from before the last conversion can be put back.

#include "ways.h"
#include "platform/desktop.h"
#include "platform/text_services.h"

#include <QString>

#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace ui {

enum class ClipboardCommand { Traditional, Simplified, Upper, Lower, Money, Pinyin, Restore };

struct ClipboardCommandName {
    ClipboardCommand command;
    const char *name;    // on the command line
    const char *caption; // in the tray menu (UTF-8)
};

// Every command, in the order of the menu.
inline constexpr std::array<ClipboardCommandName, 7> kClipboardCommands{{
    {ClipboardCommand::Traditional, "traditional", "繁体"},
    {ClipboardCommand::Simplified, "simplified", "简体"},
    {ClipboardCommand::Upper, "upper", "大写"},
    {ClipboardCommand::Lower, "lower", "小写"},
    {ClipboardCommand::Money, "money", "金额大写"},
    {ClipboardCommand::Pinyin, "pinyin", "汉字拼音"},
    {ClipboardCommand::Restore, "restore", "还原剪贴板"},
}};

// The button whose own way the command runs; nullopt for the restore.
std::optional<OwnWay> ownWayOf(ClipboardCommand command);

// The command called `name` on the command line; nullopt for any other name.
std::optional<ClipboardCommand> clipboardCommandNamed(std::string_view name);

// "traditional, simplified, ..., restore", for help and error texts.
std::string clipboardCommandList();

// Putting back the text from before the last conversion.
struct RestoreClipboard {
    bool operator==(const RestoreClipboard &) const = default;
};

// Anything the clipboard can be asked for: a way applied to its text, or the restore.
using ClipboardRequest = std::variant<Way, RestoreClipboard>;

// What the command `command` asks for: its button's default way (defaultWayOf), or the restore.
ClipboardRequest clipboardRequestOf(ClipboardCommand command);

// What `name` asks for on the command line: a command's name, "convert:" and a configuration name
// (lower-case letters, digits, '-', '_'; whether it loads is found when it is used), "pinyin:"
// and a reading way's key, or "money:" and a way of 金额大写. nullopt for anything else.
std::optional<ClipboardRequest> clipboardRequestNamed(std::string_view name);

// The names clipboardRequestNamed takes besides the commands', for help and error texts:
// "convert:CONFIG, pinyin:marks|numbers|none|initials, money:bank|...".
std::string clipboardWayList();

// What the tray menu's entry for `command` does when its button's default way is `defaultKey`:
// that way of its button; the button's default way (defaultWayOf) for an unknown key and for
// every other command.
ClipboardRequest menuRequest(ClipboardCommand command, std::string_view defaultKey);

// The entry's caption (UTF-16): the command's, with the way's name after it in brackets when the
// user made another way than defaultWayOf the default ("繁体（台湾用词）", "繁体（逐字）").
std::u16string menuCaption(ClipboardCommand command, std::string_view defaultKey);

struct ClipboardResult {
    enum Outcome {
        Done,
        NoText,           // the clipboard holds no text: nothing changed
        AmountTooLarge,   // money of 10^16 or more: nothing changed
        Unavailable,      // the conversion's data could not be loaded ("cannot load <path>"): nothing changed
        NothingToRestore, // restore before any conversion
        Refused,          // a way of 金额大写 refused the text (message says why): nothing changed
        Changed,          // restore after the clipboard changed since the conversion: nothing changed
        Abandoned,        // the caller gave up before the result was written: nothing changed
        Unreadable,       // the clipboard could not be read (its owner does not answer): nothing changed
        MoreThanText,     // it holds rich text, a picture or files besides its text: nothing changed
        TooLarge,         // more text than a command takes (ClipboardConverter's limit): nothing changed
    };
    Outcome outcome = Done;
    // Why it failed, worded where it is shown (the tray in Chinese, the command line in the
    // locale's language); empty when done.
    core::Message message;
};

// Runs clipboard commands and remembers the text from before the last conversion.
class ClipboardConverter {
public:
    // `maxText`: the most UTF-16 units a command converts.
    ClipboardConverter(platform::Clipboard &clipboard, const platform::TextServices &services,
                       std::size_t maxText = platform::kMaxClipboardText)
        : m_clipboard(clipboard), m_services(services), m_maxText(maxText) {}
    // Converts the clipboard's text in place by the way, as its button converts the workspace, or
    // puts back the text from before the last conversion; on any failure the clipboard is left as it is.
    // A restore puts the old text back only while the clipboard still holds what the last command
    // wrote and nothing else: whatever was copied since (a picture, other text) is never replaced.
    // `wanted`, when given, is asked just before the clipboard is written: false leaves it as it
    // is (Abandoned), for a command whose caller has stopped waiting.
    ClipboardResult run(const ClipboardRequest &request, const std::function<bool()> &wanted = {});
    ClipboardResult run(ClipboardCommand command) { return run(clipboardRequestOf(command)); }
    // The same as run(), without waiting for the clipboard: reads it with Clipboard::read and hands
    // the result to `done` once it is written. Commands run one after the other in the order they
    // were started; one whose `wanted` is false by its turn is not even read (Abandoned).
    void start(const ClipboardRequest &request, std::function<bool()> wanted,
               std::function<void(ClipboardResult)> done);
    // Whether there is a text to put back.
    bool canRestore() const { return m_before.has_value(); }

private:
    struct Pending {
        ClipboardRequest request;
        std::function<bool()> wanted;
        std::function<void(ClipboardResult)> done;
    };
    // The command for the clipboard's `contents`, read just before.
    ClipboardResult apply(const ClipboardRequest &request, const platform::ClipboardContents &contents,
                          const std::function<bool()> &wanted);
    // Starts the next command waiting, when none is running.
    void next();
    std::deque<Pending> m_pending;
    bool m_reading = false;
    // Gone with this object, so that a read answering later finds it gone.
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
    platform::Clipboard &m_clipboard;
    const platform::TextServices &m_services;
    std::size_t m_maxText;
    std::optional<QString> m_before;
    std::optional<QString> m_after; // what the last command wrote
};

} // namespace ui
