#include "about.h"

#include "form1.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#ifndef LANTERNFIN_VERSION
#define LANTERNFIN_VERSION "unknown"
#endif

namespace ui {

QString aboutText(const QString &version) {
    QString sources;
    for (const DataSource &s : kDataSources)
        sources += QStringLiteral("<li><b>%1</b>：%2。%3。许可：%4</li>")
                       .arg(QString::fromUtf8(s.name).toHtmlEscaped(), QString::fromUtf8(s.use).toHtmlEscaped(),
                            QString::fromUtf8(s.attribution).toHtmlEscaped(), QString::fromUtf8(s.licence));
    const QString page = QString::fromLatin1(kProjectPage);
    return QStringLiteral("<h3>Lanternfin %1</h3>"
                          "<p>中文办公小工具：简繁转换、大小写、金额大写、汉字拼音、比例计算。</p>"
                          "<p>本程序以 Apache License 2.0（Apache-2.0）发布。</p>"
                          "<p>所用数据，各按其许可：</p><ul>%2</ul>"
                          "<p>许可全文见 /usr/share/doc/lanternfin/copyright 与 "
                          "/usr/share/lanternfin/pinyin-data-LICENSES.txt。</p>"
                          "<p>主页：<a href=\"%3\">%3</a></p>")
        .arg(version.toHtmlEscaped(), sources, page);
}

AboutBox::AboutBox(platform::PageOpener &pages, QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("about"));
    setWindowTitle(QStringLiteral("关于 Lanternfin"));
    m_text = new QLabel(aboutText(QStringLiteral(LANTERNFIN_VERSION)), this);
    m_text->setObjectName(QStringLiteral("aboutText"));
    m_text->setTextFormat(Qt::RichText);
    m_text->setWordWrap(true);
    m_text->setTextInteractionFlags(Qt::TextBrowserInteraction);
    m_text->setMinimumWidth(520);
    connect(m_text, &QLabel::linkActivated, this, [&pages](const QString &link) { pages.open(QUrl(link)); });
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("关闭"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(buttons);
}

} // namespace ui
