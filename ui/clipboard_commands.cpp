#include "clipboard_commands.h"

#include "core/amount.h"
#include "core/phrase_convert.h"
#include "core/pinyin.h"
#include "core/pinyin_reading.h"
#include "core/text_convert.h"

namespace ui {
namespace {

std::u16string_view view(const QString &s) {
    return {reinterpret_cast<const char16_t *>(s.utf16()), static_cast<std::size_t>(s.size())};
}

QString toQString(const std::u16string &s) {
    return QString(reinterpret_cast<const QChar *>(s.data()), static_cast<qsizetype>(s.size()));
}

// A configuration name as the instance's request line carries it.
bool isConfigName(std::string_view s) {
    if (s.empty() || s.size() > 48)
        return false;
    for (char c : s)
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_'))
            return false;
    return true;
}

constexpr std::string_view kConvertPrefix = "convert:";
constexpr std::string_view kPinyinPrefix = "pinyin:";
constexpr std::string_view kMoneyPrefix = "money:";

const MoneyWayName *moneyWayNamed(std::string_view key) {
    for (const MoneyWayName &w : kMoneyWays)
        if (key == w.key)
            return &w;
    return nullptr;
}

std::optional<std::u16string> convertByConfig(const std::string &config, std::u16string_view text,
                                              const platform::TextServices &services,
                                              ClipboardResult &why) {
    const core::PhraseConverter *converter = services.phrases ? services.phrases->get(config) : nullptr;
    if (!converter) {
        std::string path = services.phrases ? services.phrases->failedPath(config) : std::string();
        if (path.empty())
            path = platform::phraseConfigPath(config);
        why = {ClipboardResult::Unavailable, "cannot load " + path};
        return std::nullopt;
    }
    return core::convertUtf16(*converter, text);
}

std::optional<std::u16string> appendReading(const ReadingWayName &way, std::u16string_view text,
                                            const platform::TextServices &services,
                                            ClipboardResult &why) {
    const core::PinyinReadingData *data = services.readings ? services.readings->get() : nullptr;
    if (!data) {
        why = {ClipboardResult::Unavailable,
               services.readings ? services.readings->error() : std::string("no pinyin data")};
        return std::nullopt;
    }
    std::u16string out(text);
    out += u'\n';
    out += core::readPinyin(core::trimSpaces(text), *data, readingStyle(way));
    return out;
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

std::optional<ClipboardAction> clipboardActionNamed(std::string_view name) {
    if (const auto command = clipboardCommandNamed(name))
        return *command;
    if (name.starts_with(kConvertPrefix)) {
        const std::string_view config = name.substr(kConvertPrefix.size());
        if (isConfigName(config))
            return PhraseConversion{std::string(config)};
        return std::nullopt;
    }
    if (name.starts_with(kPinyinPrefix)) {
        if (const ReadingWayName *way = readingWayNamed(name.substr(kPinyinPrefix.size())))
            return ReadingConversion{way};
    }
    if (name.starts_with(kMoneyPrefix)) {
        if (const MoneyWayName *way = moneyWayNamed(name.substr(kMoneyPrefix.size())))
            return MoneyConversion{way};
    }
    return std::nullopt;
}

std::string clipboardVariantList() {
    // Strings here are appended piece by piece: GCC 12 warns falsely on a chain of std::string +
    // (GCC bug 105329).
    std::string list(kConvertPrefix);
    list += "CONFIG, ";
    list += kPinyinPrefix;
    for (const ReadingWayName &w : kReadingWays) {
        if (&w != &kReadingWays.front())
            list += '|';
        list += w.key;
    }
    list += ", ";
    list += kMoneyPrefix;
    for (const MoneyWayName &w : kMoneyWays) {
        if (&w != &kMoneyWays.front())
            list += '|';
        list += w.key;
    }
    return list;
}

ClipboardAction menuAction(ClipboardCommand command, std::string_view defaultKey) {
    auto phraseWayOf = [defaultKey](const auto &table) -> std::optional<ClipboardAction> {
        for (const PhraseWayName &w : table)
            if (defaultKey == w.config)
                return PhraseConversion{w.config};
        return std::nullopt;
    };
    std::optional<ClipboardAction> way;
    if (command == ClipboardCommand::Traditional)
        way = phraseWayOf(kTraditionalPhraseWays);
    else if (command == ClipboardCommand::Simplified)
        way = phraseWayOf(kSimplifiedPhraseWays);
    else if (command == ClipboardCommand::Pinyin) {
        if (const ReadingWayName *reading = readingWayNamed(defaultKey))
            way = ReadingConversion{reading};
    } else if (command == ClipboardCommand::Money) {
        if (const MoneyWayName *money = moneyWayNamed(defaultKey))
            way = MoneyConversion{money};
    }
    return way ? *way : ClipboardAction(command);
}

std::u16string menuCaption(ClipboardCommand command, std::string_view defaultKey) {
    std::u16string caption;
    for (const ClipboardCommandName &c : kClipboardCommands)
        if (c.command == command)
            caption = QString::fromUtf8(c.caption).toStdU16String();
    const ClipboardAction action = menuAction(command, defaultKey);
    const char16_t *label = nullptr;
    if (const auto *phrase = std::get_if<PhraseConversion>(&action)) {
        for (const auto *table : {&kTraditionalPhraseWays, &kSimplifiedPhraseWays})
            for (const PhraseWayName &w : *table)
                if (phrase->config == w.config)
                    label = w.label;
    } else if (const auto *reading = std::get_if<ReadingConversion>(&action)) {
        label = reading->way->label;
    } else if (const auto *money = std::get_if<MoneyConversion>(&action)) {
        label = money->way->label;
    }
    if (label) {
        caption += u"（";
        caption += label;
        caption += u"）";
    }
    return caption;
}

std::optional<std::u16string> convertClipboardText(const ClipboardAction &action, std::u16string_view text,
                                                   const platform::TextServices &services,
                                                   ClipboardResult &why) {
    if (const auto *phrase = std::get_if<PhraseConversion>(&action))
        return convertByConfig(phrase->config, text, services, why);
    if (const auto *reading = std::get_if<ReadingConversion>(&action))
        return appendReading(*reading->way, text, services, why);
    if (const auto *money = std::get_if<MoneyConversion>(&action)) {
        auto result = core::moneyWayText(money->way->way, text);
        if (!result)
            why = {ClipboardResult::Refused, QString::fromStdU16String(result.refusal.message).toStdString()};
        return std::move(result.value);
    }
    const ClipboardCommand command = std::get<ClipboardCommand>(action);
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
        auto capitals = core::amountCommandText(text);
        if (capitals)
            return std::move(capitals.value);
        if (capitals.refusal.message == core::kAmountLimitMessage)
            why = {ClipboardResult::AmountTooLarge, "the amount is too large: it must be below 10^16"};
        else
            why = {ClipboardResult::Refused, QString::fromStdU16String(capitals.refusal.message).toStdString()};
        return std::nullopt;
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

ClipboardResult ClipboardConverter::run(const ClipboardAction &action) {
    const QString text = m_clipboard.text();
    const auto *command = std::get_if<ClipboardCommand>(&action);
    if (command && *command == ClipboardCommand::Restore) {
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
        convertClipboardText(action, view(text), m_services, result);
    if (!converted)
        return result;
    m_before = text;
    m_clipboard.setText(toQString(*converted));
    return {};
}

} // namespace ui
