#include "clipboard_commands.h"

#include <utility>


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

} // namespace

std::optional<OwnWay> ownWayOf(ClipboardCommand command) {
    static constexpr std::pair<ClipboardCommand, OwnWay> kOwnWays[] = {
        {ClipboardCommand::Traditional, OwnWay::Traditional},
        {ClipboardCommand::Simplified, OwnWay::Simplified},
        {ClipboardCommand::Upper, OwnWay::Upper},
        {ClipboardCommand::Lower, OwnWay::Lower},
        {ClipboardCommand::Money, OwnWay::Amount},
        {ClipboardCommand::Pinyin, OwnWay::Pinyin},
    };
    for (const auto &[c, own] : kOwnWays)
        if (c == command)
            return own;
    return std::nullopt; // the restore
}

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

ClipboardRequest clipboardRequestOf(ClipboardCommand command) {
    if (const auto own = ownWayOf(command))
        return defaultWayOf(*own);
    return RestoreClipboard{};
}

std::optional<ClipboardRequest> clipboardRequestNamed(std::string_view name) {
    if (const auto command = clipboardCommandNamed(name))
        return clipboardRequestOf(*command);
    if (name.starts_with(kConvertPrefix)) {
        const std::string_view config = name.substr(kConvertPrefix.size());
        if (isConfigName(config))
            return Way(PhraseWay{std::string(config)});
        return std::nullopt;
    }
    if (name.starts_with(kPinyinPrefix)) {
        if (const ReadingWayName *way = readingWayNamed(name.substr(kPinyinPrefix.size())))
            return Way(ReadingWay{way});
    }
    if (name.starts_with(kMoneyPrefix)) {
        if (const MoneyWayName *way = moneyWayNamed(name.substr(kMoneyPrefix.size())))
            return Way(AmountWay{way});
    }
    return std::nullopt;
}

std::string clipboardWayList() {
    // Strings here are appended piece by piece: GCC 12 warns falsely on a chain of std::string +
    // (GCC bug 105329).
    std::string list(kConvertPrefix);
    list += "CONFIG, ";
    auto keys = [&list](std::string_view prefix, const auto &table) {
        list += prefix;
        for (const auto &w : table) {
            if (&w != &table.front())
                list += '|';
            list += w.key;
        }
    };
    keys(kPinyinPrefix, kReadingWays);
    list += ", ";
    keys(kMoneyPrefix, kMoneyWays);
    return list;
}

ClipboardRequest menuRequest(ClipboardCommand command, std::string_view defaultKey) {
    const auto own = ownWayOf(command);
    if (!own)
        return RestoreClipboard{};
    if (const auto way = wayNamed(*own, defaultKey))
        return *way;
    return defaultWayOf(*own);
}

std::u16string menuCaption(ClipboardCommand command, std::string_view defaultKey) {
    std::u16string caption;
    for (const ClipboardCommandName &c : kClipboardCommands)
        if (c.command == command)
            caption = QString::fromUtf8(c.caption).toStdU16String();
    const ClipboardRequest request = menuRequest(command, defaultKey);
    const Way *way = std::get_if<Way>(&request);
    if (way && *way != defaultWayOf(*ownWayOf(command))) {
        caption += u"（";
        caption += wayLabel(*way);
        caption += u"）";
    }
    return caption;
}

ClipboardResult ClipboardConverter::run(const ClipboardRequest &request,
                                        const std::function<bool()> &wanted) {
    platform::ClipboardContents contents;
    contents.text = m_clipboard.text();
    contents.onlyText = m_clipboard.holdsOnly(contents.text);
    return apply(request, contents, wanted);
}

void ClipboardConverter::start(const ClipboardRequest &request, std::function<bool()> wanted,
                               std::function<void(ClipboardResult)> done) {
    m_pending.push_back({request, std::move(wanted), std::move(done)});
    next();
}

void ClipboardConverter::next() {
    while (!m_reading && !m_pending.empty()) {
        Pending job = std::move(m_pending.front());
        m_pending.pop_front();
        if (job.wanted && !job.wanted()) {
            job.done({ClipboardResult::Abandoned, core::MessageId::GivenUpBeforeStart});
            continue;
        }
        m_reading = true;
        auto shared = std::make_shared<Pending>(std::move(job));
        m_clipboard.read([this, alive = std::weak_ptr<int>(m_alive), shared](platform::ClipboardContents contents) {
            if (!alive.lock())
                return;
            const ClipboardResult result = apply(shared->request, contents, shared->wanted);
            m_reading = false;
            shared->done(result);
            if (alive.lock())
                next();
        });
    }
}

ClipboardResult ClipboardConverter::apply(const ClipboardRequest &request,
                                          const platform::ClipboardContents &contents,
                                          const std::function<bool()> &wanted) {
    const ClipboardResult abandoned{ClipboardResult::Abandoned, core::MessageId::GivenUpBeforeEnd};
    if (!contents.read)
        return {ClipboardResult::Unreadable,
                contents.why.empty() ? core::Message(core::MessageId::ClipboardUnreadable) : contents.why};
    const QString &text = contents.text;
    const Way *way = std::get_if<Way>(&request);
    if (!way) {
        if (!m_before)
            return {ClipboardResult::NothingToRestore, core::MessageId::NothingToRestore};
        if (m_after && !(contents.onlyText && contents.text == *m_after))
            return {ClipboardResult::Changed, core::MessageId::ClipboardChanged};
        if (wanted && !wanted())
            return abandoned;
        // The restore swaps, so that a second one brings the converted text back.
        const QString before = *m_before;
        m_before = text;
        m_after = before;
        m_clipboard.setText(before);
        return {};
    }
    if (text.isEmpty())
        return {ClipboardResult::NoText, core::MessageId::NoTextOnClipboard};
    if (static_cast<std::size_t>(text.size()) > m_maxText)
        return {ClipboardResult::TooLarge,
                {core::MessageId::ClipboardTooLarge, {std::to_string(m_maxText >> 20)}}};
    // Writing the converted text would drop every other format (the HTML of a web page, a
    // picture, files), and a restore could only bring the text back: refused, nothing touched.
    if (!contents.onlyText)
        return {ClipboardResult::MoreThanText, core::MessageId::ClipboardMoreThanText};
    WayResult result = applyWay(*way, view(text), m_services);
    switch (result.outcome) {
    case WayResult::Done:
        break;
    case WayResult::Unavailable:
        return {ClipboardResult::Unavailable, std::move(result.message)};
    case WayResult::AmountTooLarge:
        return {ClipboardResult::AmountTooLarge, std::move(result.message)};
    case WayResult::Refused:
        return {ClipboardResult::Refused, std::move(result.message)};
    }
    if (wanted && !wanted())
        return abandoned;
    QString converted;
    if (result.appends) {
        // The text stays, with a line break and what the way adds after it.
        std::u16string whole(view(text));
        whole += u'\n';
        whole += result.text;
        converted = toQString(whole);
    } else {
        converted = toQString(result.text);
    }
    m_before = text;
    m_after = converted;
    m_clipboard.setText(converted);
    return {};
}

} // namespace ui
