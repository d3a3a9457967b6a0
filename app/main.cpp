// Lanternfin: hands the command line to the instance already running for this user and display,
// or becomes that instance: builds the real platform services and the main window, then runs the
// event loop.

#include "platform/autostart.h"
#include "platform/character_maps.h"
#include "platform/local_instance.h"
#include "platform/message_language.h"
#include "platform/qt_desktop.h"
#include "platform/session.h"
#include "platform/text_services.h"
#include "platform/translations.h"
#include "ui/command_line.h"
#include "ui/desktop_integration.h"
#include "ui/form1.h"
#include "ui/resources.h"

#include <QApplication>
#include <QIcon>
#include <QProcess>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <memory>
#include <optional>

#include <unistd.h>

namespace {

// The hidden option of the child process that reads the clipboard for the instance.
constexpr const char *kPrintClipboard = "--print-clipboard";

// Everything the running instance holds, in the order it is built.
struct Instance {
    explicit Instance(const QIcon &icon)
        : text(platform::loadTextServices(std::string())), tray(icon, QString::fromLatin1(ui::kTrayTip)),
          form(ui::Form1Services{clipboard, pages, tray, pointer, text, settings}),
          desktop(form, clipboard, text, platform::AutostartEntry::forCurrentUser()),
          server(platform::InstanceServer::AsyncHandler(
              [this](const platform::Request &r, const platform::StillWanted &wanted,
                     std::function<void(platform::Reply)> reply) { desktop.handle(r, wanted, std::move(reply)); })) {
        // On X11 a clipboard owner that does not answer would hold the window up to seconds:
        // the clipboard commands read it through a child process instead.
        if (QGuiApplication::platformName() == QLatin1String("xcb"))
            clipboard.readThrough(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kPrintClipboard)},
                                  platform::kCommandLimit);
    }
    platform::TextServices text;
    platform::QtClipboard clipboard;
    platform::QtPageOpener pages;
    platform::QtTrayIcon tray;
    platform::QtPointer pointer;
    platform::QtSettings settings;
    ui::Form1 form;
    ui::DesktopIntegration desktop;
    platform::InstanceServer server;
};

void print(std::FILE *to, const QString &text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.data(), 1, static_cast<std::size_t>(bytes.size()), to);
}

// Starts this program again, hidden in the tray and detached from this command's terminal and
// pipes, to own the clipboard after the command has returned; returns its process id, 0 on failure.
std::int64_t spawnInTray() {
    QProcess p;
    p.setProgram(QCoreApplication::applicationFilePath());
    p.setArguments({QStringLiteral("--tray")});
    p.setStandardInputFile(QProcess::nullDevice());
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setStandardErrorFile(QProcess::nullDevice());
    qint64 pid = 0;
    return p.startDetached(&pid) ? pid : 0;
}

} // namespace

int main(int argc, char **argv) {
    // Before any application object: on a Wayland session with XWayland the window runs on X11,
    // where it can place itself and follow the pointer.
    if (const auto platformName = platform::platformToRequest(platform::currentSessionEnvironment()))
        qputenv("QT_QPA_PLATFORM", QByteArray::fromStdString(*platformName));

    // The instance's own helper that reads the clipboard for it (not for users: no help names it).
    if (argc == 2 && std::strcmp(argv[1], kPrintClipboard) == 0) {
        QGuiApplication reader(argc, argv);
        return platform::printClipboard();
    }

    // A start that only talks to the running instance needs no display: it works with a core
    // application, which the instance swaps for the full one.
    auto probe = std::make_unique<QCoreApplication>(argc, argv);
    const ui::Invocation invocation = ui::parseCommandLine(QCoreApplication::arguments());
    if (invocation.exitStatus) {
        print(stdout, invocation.output);
        print(stderr, invocation.error);
        return *invocation.exitStatus;
    }

    const char *x11 = std::getenv("DISPLAY");
    const char *wayland = std::getenv("WAYLAND_DISPLAY");
    core::Message folderError, folderNotice;
    const QString socketPath = platform::instanceSocketPath(
        platform::instanceName(static_cast<unsigned>(getuid()), x11 ? x11 : "", wayland ? wayland : ""),
        folderError, &folderNotice);
    if (!folderNotice.empty())
        print(stderr,
              QStringLiteral("lanternfin: %1\n").arg(QString::fromStdString(platform::say(folderNotice))));
    if (socketPath.isEmpty()) {
        print(stderr,
              QStringLiteral("lanternfin: %1\n").arg(QString::fromStdString(platform::say(folderError))));
        return ui::kExitFailed;
    }

    std::unique_ptr<QApplication> app;
    std::unique_ptr<Instance> instance;
    auto becomeInstance = [&](std::string &error) {
        probe.reset();
        app = std::make_unique<QApplication>(argc, argv);
        QApplication::setOrganizationName(QStringLiteral("Lanternfin"));
        QApplication::setApplicationName(QStringLiteral("Lanternfin"));
        platform::installQtTranslations(*app, QLocale::system(), platform::qtTranslationsFolder());
        const QIcon icon = ui::programIcon();
        QApplication::setWindowIcon(icon);
        instance = std::make_unique<Instance>(icon);
        if (!platform::windowPlacementWorks(QGuiApplication::platformName().toStdString()))
            instance->desktop.disableDocking(
                QStringLiteral("此桌面（%1）不允许程序摆放自己的窗口，自动隐藏无法使用")
                    .arg(QGuiApplication::platformName()));
        QString listenError;
        if (!instance->server.listen(socketPath, listenError)) {
            error = listenError.toStdString();
            return false;
        }
        return true;
    };

    const platform::StartOutcome outcome =
        platform::startOrForward(socketPath, invocation.request, becomeInstance, spawnInTray);
    switch (outcome.kind) {
    case platform::StartOutcome::Forwarded:
        if (outcome.reply.ok)
            return ui::kExitDone;
        print(stderr, QStringLiteral("lanternfin: %1\n").arg(QString::fromStdString(outcome.reply.message)));
        return ui::kExitFailed;
    case platform::StartOutcome::Nothing:
        return ui::kExitDone;
    case platform::StartOutcome::Failed:
        print(stderr,
              QStringLiteral("lanternfin: %1\n").arg(QString::fromStdString(platform::say(outcome.error))));
        return ui::kExitFailed;
    case platform::StartOutcome::Instance:
        break;
    }

    // Hidden in the tray only where there is one: elsewhere it could never come back.
    if (!invocation.startInTray || !instance->tray.available())
        instance->form.show();
    const int status = QApplication::exec();
    instance.reset();
    return status;
}
