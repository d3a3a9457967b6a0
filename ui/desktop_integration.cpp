#include "desktop_integration.h"

#include "core/amount.h"
#include "button_ways.h"
#include "form1.h"
#include "platform/message_language.h"

#include <QAction>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>

namespace ui {
namespace {

QString toQString(std::u16string_view s) {
    return QString(reinterpret_cast<const QChar *>(s.data()), static_cast<qsizetype>(s.size()));
}

} // namespace

DesktopIntegration::DesktopIntegration(Form1 &form, platform::Clipboard &clipboard,
                                       const platform::TextServices &text, platform::AutostartEntry entry)
    : m_form(form), m_converter(clipboard, text), m_autostart(std::move(entry)) {
    clipboardMenu = new QMenu(QStringLiteral("剪贴板"), form.sky);
    clipboardMenu->setObjectName(QStringLiteral("clipboard"));
    for (const ClipboardCommandName &c : kClipboardCommands) {
        if (c.command == ClipboardCommand::Restore)
            clipboardMenu->addSeparator();
        QAction *a = clipboardMenu->addAction(QString::fromUtf8(c.caption));
        a->setObjectName(QStringLiteral("clipboard_%1").arg(QLatin1String(c.name)));
        const ClipboardCommand command = c.command;
        connect(a, &QAction::triggered, this, [this, command] { runFromMenu(command); });
        if (command == ClipboardCommand::Restore)
            m_restore = a;
        m_entries.emplace_back(command, a);
    }
    refreshCaptions();
    m_restore->setEnabled(false);
    form.sky->insertMenu(form.quit, clipboardMenu);

    autostart = new QAction(QStringLiteral("登录时启动"), form.sky);
    autostart->setObjectName(QStringLiteral("autostart"));
    autostart->setCheckable(true);
    autostart->setChecked(m_autostart.enabled());
    autostart->setToolTip(m_autostart.path());
    form.sky->insertAction(form.quit, autostart);
    form.sky->insertSeparator(form.quit);
    connect(autostart, &QAction::triggered, this, &DesktopIntegration::autostart_Click);

    // The menu shows the state of the moment: the entry may have been removed by hand, and a
    // conversion may have come from the command line.
    connect(form.sky, &QMenu::aboutToShow, this, [this] {
        autostart->setChecked(m_autostart.enabled());
        m_restore->setEnabled(m_converter.canRestore());
        refreshCaptions();
    });
    connect(clipboardMenu, &QMenu::aboutToShow, this, [this] {
        m_restore->setEnabled(m_converter.canRestore());
        refreshCaptions();
    });
}

std::string DesktopIntegration::defaultWay(ClipboardCommand command) const {
    const auto own = ownWayOf(command);
    return own ? m_form.defaultWayKey(*own).toStdString() : std::string();
}

void DesktopIntegration::refreshCaptions() {
    for (const auto &[command, action] : m_entries)
        action->setText(QString::fromStdU16String(menuCaption(command, defaultWay(command))));
}

void DesktopIntegration::runFromMenu(ClipboardCommand command) {
    m_converter.start(menuRequest(command, defaultWay(command)), {},
                      [this](const ClipboardResult &result) { showMenuOutcome(result); });
}

void DesktopIntegration::showMenuOutcome(const ClipboardResult &result) {
    m_restore->setEnabled(m_converter.canRestore());
    switch (result.outcome) {
    case ClipboardResult::AmountTooLarge: {
        QMessageBox box(QMessageBox::Information, toQString(core::kAmountLimitTitle),
                        QString::fromStdString(core::wording(core::MessageId::AmountTooLarge, core::Language::Chinese)), QMessageBox::Ok, &m_form);
        box.exec();
        break;
    }
    case ClipboardResult::Refused: {
        QMessageBox box(QMessageBox::Information, toQString(core::kAmountLimitTitle),
                        QString::fromStdString(result.message.in(core::Language::Chinese)), QMessageBox::Ok, &m_form);
        box.exec();
        break;
    }
    case ClipboardResult::Unavailable:
    case ClipboardResult::Unreadable:
    case ClipboardResult::MoreThanText:
    case ClipboardResult::TooLarge:
    case ClipboardResult::Changed: {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Lanternfin"),
                        QString::fromStdString(result.message.in(core::Language::Chinese)), QMessageBox::Ok, &m_form);
        box.exec();
        break;
    }
    case ClipboardResult::Abandoned:
    case ClipboardResult::Done:
    case ClipboardResult::NoText:
    case ClipboardResult::NothingToRestore:
        break;
    }
}

void DesktopIntegration::autostart_Click(bool checked) {
    QString error;
    if (!m_autostart.set(checked, error)) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Lanternfin"),
                        QStringLiteral("%1\n%2").arg(m_autostart.path(), error), QMessageBox::Ok, &m_form);
        box.exec();
    }
    autostart->setChecked(m_autostart.enabled());
}

void DesktopIntegration::handle(const platform::Request &request, const std::function<bool()> &wanted,
                                std::function<void(platform::Reply)> reply) {
    using platform::Verb;
    switch (request.verb) {
    case Verb::Show:
        m_form.bringToFront();
        reply({});
        return;
    case Verb::Toggle:
        m_form.toggleFromTray();
        reply({});
        return;
    case Verb::Quit:
        // From the event loop, after the reply has gone out.
        QTimer::singleShot(0, &m_form, [this] { m_form.quit_Click(); });
        reply({});
        return;
    case Verb::Tray:
        reply({});
        return;
    case Verb::Clipboard:
        break;
    }
    // The names of the command line. traditional, simplified and pinyin do what the tray's entry
    // does, their button's default way; the explicit ways (convert:, pinyin:, money:) and the other
    // commands are what they name.
    std::optional<ClipboardRequest> action = clipboardRequestNamed(request.argument);
    if (!action) {
        reply({false, platform::say(core::MessageId::UnknownClipboardCommand,
                                    {request.argument, clipboardCommandList() + ", " + clipboardWayList()})});
        return;
    }
    if (const std::optional<ClipboardCommand> command = clipboardCommandNamed(request.argument);
        command && (*command == ClipboardCommand::Traditional || *command == ClipboardCommand::Simplified ||
                    *command == ClipboardCommand::Pinyin))
        action = menuRequest(*command, defaultWay(*command));
    m_converter.start(*action, wanted, [this, reply = std::move(reply)](const ClipboardResult &result) {
        m_restore->setEnabled(m_converter.canRestore());
        if (result.outcome == ClipboardResult::Done)
            reply({});
        else
            reply({false, result.message.in(platform::messageLanguage())});
    });
}

void DesktopIntegration::disableDocking(const QString &why) {
    m_form.disableDocking(why);
}

} // namespace ui
