#include "command_line.h"

#include "clipboard_commands.h"
#include "platform/message_language.h"

#include <QCommandLineParser>

#include <string_view>

#ifndef LANTERNFIN_VERSION
#define LANTERNFIN_VERSION "unknown"
#endif

namespace ui {

namespace {

// QCommandLineParser's error text (English: no translation of Qt's is loaded) as a catalogue
// message; a text of another form as it is.
core::Message parserError(const std::string &text) {
    const struct {
        std::string_view before, after;
        core::MessageId id;
    } forms[] = {
        {"Unknown option '", "'.", core::MessageId::UnknownOption},
        {"Missing value after '", "'.", core::MessageId::MissingValueAfter},
        {"Unexpected value after '", "'.", core::MessageId::UnexpectedValueAfter},
    };
    for (const auto &f : forms)
        if (text.size() > f.before.size() + f.after.size() && text.starts_with(f.before) && text.ends_with(f.after))
            return {f.id, {text.substr(f.before.size(), text.size() - f.before.size() - f.after.size())}};
    return core::Message::verbatim(text);
}

} // namespace

Invocation parseCommandLine(const QStringList &arguments) {
    QCommandLineParser parser;
    using core::MessageId;
    const auto say = [](MessageId id, std::vector<std::string> args = {}) {
        return QString::fromStdString(platform::say(id, args));
    };
    parser.setApplicationDescription(say(MessageId::WindowHelpProgram));
    // Not addHelpOption(): its --help-all offers Qt's own options, which this program does not take.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  say(MessageId::WindowHelpHelp));
    parser.addOption(help);
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     say(MessageId::WindowHelpVersion));
    parser.addOption(version);
    const QCommandLineOption toggle(QStringLiteral("toggle"), say(MessageId::WindowHelpToggle));
    const QCommandLineOption show(QStringLiteral("show"), say(MessageId::WindowHelpShow));
    const QCommandLineOption quit(QStringLiteral("quit"), say(MessageId::WindowHelpQuit));
    const QCommandLineOption tray(QStringLiteral("tray"), say(MessageId::WindowHelpTray));
    const QCommandLineOption clipboard(QStringLiteral("clipboard"),
                                       say(MessageId::WindowHelpClipboard, {clipboardCommandList()}),
                                       QStringLiteral("command"));
    for (const QCommandLineOption &o : {toggle, show, quit, tray, clipboard})
        parser.addOption(o);

    Invocation out;
    auto usage = [&out](const std::string &message) {
        out.exitStatus = kExitUsage;
        out.error = QStringLiteral("lanternfin: %1\n")
                        .arg(QString::fromStdString(platform::say(core::MessageId::TryHelp, {message, "lanternfin"})));
        return out;
    };
    if (!parser.parse(arguments))
        return usage(platform::say(parserError(parser.errorText().toStdString())));
    if (parser.isSet(help)) {
        out.exitStatus = kExitDone;
        // Qt's own two headings, in the language of the rest (no translator is loaded this early).
        out.output = parser.helpText();
        if (out.output.startsWith(QLatin1String("Usage: ")))
            out.output.replace(0, 5, say(MessageId::HelpLabelUsage));
        out.output.replace(QLatin1String("\nOptions:\n"),
                           QLatin1Char('\n') + say(MessageId::HelpLabelOptions) + QLatin1String(":\n"));
        return out;
    }
    if (parser.isSet(version)) {
        out.exitStatus = kExitDone;
        out.output = QStringLiteral("lanternfin %1\n").arg(QStringLiteral(LANTERNFIN_VERSION));
        return out;
    }
    if (!parser.positionalArguments().isEmpty())
        return usage(platform::say(core::MessageId::UnexpectedArgumentQuoted,
                                   {parser.positionalArguments().first().toStdString()}));

    qsizetype chosen = parser.values(clipboard).size() > 1 ? 1 : 0;
    for (const QCommandLineOption &o : {toggle, show, quit, tray, clipboard})
        chosen += parser.isSet(o) ? 1 : 0;
    if (chosen > 1)
        return usage(platform::say(core::MessageId::GiveOneAction));

    using platform::Verb;
    if (parser.isSet(toggle)) {
        out.request = {Verb::Toggle, {}};
    } else if (parser.isSet(quit)) {
        out.request = {Verb::Quit, {}};
    } else if (parser.isSet(tray)) {
        out.request = {Verb::Tray, {}};
        out.startInTray = true;
    } else if (parser.isSet(clipboard)) {
        const QString name = parser.value(clipboard);
        if (!clipboardRequestNamed(name.toStdString()))
            return usage(platform::say(core::MessageId::UnknownClipboardCommand,
                                       {name.toStdString(), clipboardCommandList() + ", " + clipboardWayList()}));
        out.request = {Verb::Clipboard, name.toStdString()};
        // The instance started for the conversion keeps out of the way.
        out.startInTray = true;
    } else {
        out.request = {Verb::Show, {}};
    }
    return out;
}

} // namespace ui
