#pragma once

// Qt's own texts (the buttons of message boxes, the menus of text boxes) in the user's language.

#include <QLocale>
#include <QString>

class QCoreApplication;

namespace platform {

// Qt's translations folder (Debian: qt6-translations-l10n).
QString qtTranslationsFolder();

// Installs Qt's translation of its own texts for `locale` from `folder`. A locale without one
// (English among them) gets the Chinese one, so that the program's Chinese boxes never show an
// English button. Returns the name of the translation installed ("zh_CN"), or empty text when
// none could be loaded (Qt's English texts then stay).
QString installQtTranslations(QCoreApplication &app, const QLocale &locale, const QString &folder);

} // namespace platform
