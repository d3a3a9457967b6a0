// Qt's own texts in the user's language, Chinese where Qt has none for it.

#include "platform/translations.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTranslator>

#include <gtest/gtest.h>

namespace {

// The buttons' texts of a message box as the program shows them.
QString buttonText(QMessageBox::StandardButton which) {
    QMessageBox box(QMessageBox::Information, QStringLiteral("错误提示"), QStringLiteral("x"), which);
    return box.button(which)->text().remove(QLatin1Char('&'));
}

void removeTranslators() {
    for (QTranslator *t : QCoreApplication::instance()->findChildren<QTranslator *>()) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
}

TEST(QtTranslations, TheUsersLanguageOrChinese) {
    const QString folder = platform::qtTranslationsFolder();
    if (!QFile::exists(folder + QStringLiteral("/qtbase_zh_CN.qm")))
        GTEST_SKIP() << "qt6-translations-l10n is not installed";
    const struct {
        const char *locale;
        const char *installed;
        const char *ok;
        const char *cancel;
    } cases[] = {
        {"zh_CN", "zh_CN", "确定", "取消"},
        {"zh_TW", "zh_TW", "確定", "取消"},
        {"en_US", "zh_CN", "确定", "取消"}, // Qt's English is no translation: Chinese wins
        {"C", "zh_CN", "确定", "取消"},
        {"de_DE", "de_DE", "OK", "Abbrechen"},
        {"sw_KE", "zh_CN", "确定", "取消"}, // no Swahili translation of Qt
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.locale);
        removeTranslators();
        EXPECT_EQ(platform::installQtTranslations(*QCoreApplication::instance(), QLocale(QString::fromLatin1(c.locale)),
                                                  folder),
                  QString::fromLatin1(c.installed));
        EXPECT_EQ(buttonText(QMessageBox::Ok), QString::fromUtf8(c.ok));
        EXPECT_EQ(buttonText(QMessageBox::Cancel), QString::fromUtf8(c.cancel));
    }
    removeTranslators();
}

TEST(QtTranslations, NoTranslationsLeaveQtsOwnTexts) {
    removeTranslators();
    QTemporaryDir empty;
    EXPECT_EQ(platform::installQtTranslations(*QCoreApplication::instance(), QLocale(QStringLiteral("zh_CN")),
                                              empty.path()),
              QString());
    EXPECT_EQ(buttonText(QMessageBox::Ok), QStringLiteral("OK"));
    EXPECT_TRUE(QCoreApplication::instance()->findChildren<QTranslator *>().isEmpty());
}

} // namespace
