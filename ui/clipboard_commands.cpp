#include "clipboard_commands.h"

#include "core/amount.h"
#include "core/pinyin.h"
#include "core/text_convert.h"

namespace ui {
namespace {

std::u16string_view view(const QString &s) {
    return {reinterpret_cast<const char16_t *>(s.utf16()), static_cast<std::size_t>(s.size())};
}

QString toQString(const std::u16string &s) {
    return QString(reinterpret_cast<const QChar *>(s.data()), static_cast<qsizetype>(s.size()));
}

} // namespace

std::optional<ClipboardCommand> clipboardCommandNamed(std::string_view name) {
    for (const ClipboardCommandName &c : kClipboardCommands)
        if (name == c.name)
            return c.command;
    return std::nullopt;
}

std::string clipboardCommandList() {
    std::string list;
    for (const ClipboardCommandName &c : kClipboardCommands) {
        if (!list.empty())
            list += ", ";
        list += c.name;
    }
    return list;
}

std::optional<std::u16string> convertClipboardText(ClipboardCommand command, std::u16string_view text,
                                                   const platform::TextServices &services,
                                                   ClipboardResult &why) {
    auto unavailable = [&why](std::string message) {
        why = {ClipboardResult::Unavailable, std::move(message)};
        return std::nullopt;
    };
    switch (command) {
    case ClipboardCommand::Traditional:
        if (!services.toTraditional)
            return unavailable(services.dictionaryError);
        return core::JToF(text, *services.toTraditional);
    case ClipboardCommand::Simplified:
        if (!services.toSimplified)
            return unavailable(services.dictionaryError);
        return core::FToJ(text, *services.toSimplified);
    case ClipboardCommand::Upper:
        return core::upperCaseText(text, services.toUpper);
    case ClipboardCommand::Lower:
        return core::lowerCaseText(text, services.toLower);
    case ClipboardCommand::Money: {
        std::optional<std::u16string> capitals = core::amountCommandText(text);
        if (!capitals)
            why = {ClipboardResult::AmountTooLarge, "the amount is too large: it must be below 10^16"};
        return capitals;
    }
    case ClipboardCommand::Pinyin: {
        if (!services.pinyin)
            return unavailable("the pinyin table is not loaded");
        std::u16string out(text);
        out += u'\n';
        out += core::c(core::trimSpaces(text), *services.pinyin);
        return out;
    }
    case ClipboardCommand::Restore:
        break;
    }
    return unavailable("not a conversion");
}

ClipboardResult ClipboardConverter::run(ClipboardCommand command) {
    const QString text = m_clipboard.text();
    if (command == ClipboardCommand::Restore) {
        if (!m_before)
            return {ClipboardResult::NothingToRestore, "no clipboard conversion to undo"};
        // The restore swaps, so that a second one brings the converted text back.
        const QString before = *m_before;
        m_before = text;
        m_clipboard.setText(before);
        return {};
    }
    if (text.isEmpty())
        return {ClipboardResult::NoText, "no text on the clipboard"};
    ClipboardResult result;
    const std::optional<std::u16string> converted =
        convertClipboardText(command, view(text), m_services, result);
    if (!converted)
        return result;
    m_before = text;
    m_clipboard.setText(toQString(*converted));
    return {};
}

} // namespace ui
