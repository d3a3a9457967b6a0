#include "resources.h"

// The icons live in this static library's Qt resources, which must be registered explicitly.
static void registerResources() {
    Q_INIT_RESOURCE(lanternfin);
}

namespace ui {

QIcon programIcon() {
    static const bool registered = (registerResources(), true);
    (void)registered;
    QIcon icon;
    icon.addFile(QStringLiteral(":/lanternfin-16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/lanternfin.png"), QSize(32, 32));
    return icon;
}

} // namespace ui
