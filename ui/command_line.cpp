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
    parser.setApplicationDescription(
        QStringLiteral("Chinese office text tools: simplified/traditional, case, amounts in capitals, "
                       "pinyin, a proportion calculator.\n"
                       "One instance runs per user and display; a second start hands its request to it.\n"
                       "Exit status: 0 done, 1 failed (the reason on stderr), 2 usage error."));
    // Not addHelpOption(): its --help-all offers Qt's own options, which this program does not take.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help."));
    parser.addOption(help);
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version."));
    parser.addOption(version);
    const QCommandLineOption toggle(QStringLiteral("toggle"),
                                    QStringLiteral("Hide the window into the tray, or bring it back, "
                                                   "as a click on the tray icon does."));
    const QCommandLineOption show(QStringLiteral("show"),
                                  QStringLiteral("Show and raise the window (the default)."));
    const QCommandLineOption quit(QStringLiteral("quit"), QStringLiteral("End the running program."));
    const QCommandLineOption tray(QStringLiteral("tray"),
                                  QStringLiteral("Start hidden in the tray when there is one; do nothing "
                                                 "when the program already runs."));
    const QCommandLineOption clipboard(
        QStringLiteral("clipboard"),
        QStringLiteral("Convert the clipboard's text in place. COMMAND is one of %1, or an explicit "
                       "way: convert:CONFIG, pinyin:STYLE or money:WAY. traditional, simplified and pinyin "
                       "convert the way their button's 设为默认 chose, as the tray's 剪贴板 entries do "
                       "(character by character and capitalised pinyin until another way is chosen). "
                       "restore puts back the text from before the last conversion. convert:CONFIG "
                       "converts by the OpenCC configuration CONFIG (e.g. s2t, s2tw, s2twp, s2hk, s2hkp, "
                       "t2s, tw2s, tw2sp, hk2s, hk2sp: OpenCC 1.4.1's, built in; others from "
                       "LANTERNFIN_OPENCC_DIR or /usr/share/opencc); pinyin:STYLE "
                       "adds a line break and the reading in STYLE (marks, numbers, none, initials); "
                       "money:WAY rewrites as the amount button's way WAY (bank, bank-round, date, "
                       "read-back, numerals, capital-numerals). "
                       "An unknown command is a usage error (2); a configuration or data file that "
                       "cannot be loaded, or a text that money or a money way refuses, fails (1) and "
                       "leaves the clipboard as it was. Starts the program in the tray when it is not "
                       "running.")
            .arg(QString::fromStdString(clipboardCommandList())),
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
        out.output = parser.helpText();
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
