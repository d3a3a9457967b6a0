// Lanternfin: builds the real platform services and the main window, then runs the event loop.

#include "platform/character_maps.h"
#include "platform/qt_desktop.h"
#include "platform/text_services.h"
#include "ui/form1.h"
#include "ui/resources.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Lanternfin"));
    QApplication::setApplicationName(QStringLiteral("Lanternfin"));
    const QIcon icon = ui::programIcon();
    QApplication::setWindowIcon(icon);

    const platform::TextServices text = platform::loadTextServices(platform::openccDataDir());
    platform::QtClipboard clipboard;
    platform::QtPageOpener pages;
    platform::QtTrayIcon tray(icon, QString::fromLatin1(ui::kTrayTip));
    platform::QtPointer pointer;
    platform::QtSettings settings;

    ui::Form1 form(ui::Form1Services{clipboard, pages, tray, pointer, text, settings});
    form.show();
    return QApplication::exec();
}
