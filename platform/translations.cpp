#include "translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace platform {

QString qtTranslationsFolder() {
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

QString installQtTranslations(QCoreApplication &app, const QLocale &locale, const QString &folder) {
    // Owned by the application, so that it lives as long as the texts it translates.
    auto *translator = new QTranslator(&app);
    // QTranslator's own search by the locale's UI languages (zh_TW, then zh, ...), then Chinese.
    // An English locale has no file: Qt's texts are English already, and Chinese wins.
    const bool english = locale.language() == QLocale::English || locale.language() == QLocale::C;
    if ((!english && translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) ||
        translator->load(QStringLiteral("qtbase_zh_CN"), folder)) {
        app.installTranslator(translator);
        return translator->language();
    }
    delete translator;
    return {};
}

} // namespace platform
