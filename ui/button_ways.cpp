#include "button_ways.h"

#include "core/messages.h"

#include <QAction>
#include <QActionGroup>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QToolTip>

namespace ui {

QString resolveDefaultKey(const QString &stored, const std::vector<ButtonWay> &ways, const QString &fallback) {
    for (const QString &key : {stored, fallback})
        for (const ButtonWay &v : ways)
            if (v.key == key)
                return key;
    return ways.empty() ? QString() : ways.front().key;
}

QString wayToolTip(const QString &buttonTip, const QString &currentLabel) {
    QString tip = QStringLiteral("当前：%1（右键选择其他方式）").arg(currentLabel);
    return buttonTip.isEmpty() ? tip : buttonTip + QLatin1Char('\n') + tip;
}

ButtonWays::ButtonWays(QPushButton *button, QString settingsKey, std::vector<ButtonWay> ways,
                       QString fallbackKey, platform::Settings &settings, QObject *parent)
    : QObject(parent), m_button(button), m_settingsKey(std::move(settingsKey)),
      m_buttonTip(button->toolTip()), m_ways(std::move(ways)), m_settings(settings) {
    m_default = resolveDefaultKey(m_settings.value(m_settingsKey), m_ways, fallbackKey);

    m_menu = new QMenu(button);
    m_menu->setObjectName(button->objectName() + QStringLiteral("Ways"));
    m_menu->setToolTipsVisible(true);
    for (const ButtonWay &v : m_ways) {
        QAction *a = m_menu->addAction(v.label);
        a->setData(v.key);
        connect(a, &QAction::triggered, this, [this, key = v.key] { run(key); });
    }
    m_menu->addSeparator();
    m_defaultMenu = m_menu->addMenu(QString::fromUtf16(kMakeDefaultMenu));
    m_defaultMenu->setToolTipsVisible(true);
    auto *group = new QActionGroup(m_defaultMenu);
    for (const ButtonWay &v : m_ways) {
        QAction *a = m_defaultMenu->addAction(v.label);
        a->setData(v.key);
        a->setCheckable(true);
        group->addAction(a);
        connect(a, &QAction::triggered, this, [this, key = v.key] { setDefault(key); });
    }
    connect(m_menu, &QMenu::aboutToShow, this, &ButtonWays::refreshMenu);

    // The right button asks for the context menu everywhere; the Menu key does so only where the
    // platform turns it into a context-menu request (xcb does, offscreen and others do not), so the
    // key is also caught here. Whichever comes second finds the menu open and does nothing.
    button->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(button, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { openMenu(m_button->mapToGlobal(pos)); });
    button->installEventFilter(this);
    refreshChecks();
    refreshToolTip();
}

void ButtonWays::openMenu(const QPoint &globalPos) {
    if (!m_menu->isVisible())
        m_menu->popup(globalPos);
}

bool ButtonWays::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_button && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Menu) {
        openMenu(m_button->mapToGlobal(QPoint(0, m_button->height())));
        return true;
    }
    return QObject::eventFilter(watched, event);
}

const ButtonWay *ButtonWays::find(const QString &key) const {
    for (const ButtonWay &v : m_ways)
        if (v.key == key)
            return &v;
    return nullptr;
}

QString ButtonWays::unavailableReason(const QString &key) const {
    const ButtonWay *v = find(key);
    if (!v)
        return QString::fromStdString(core::wording(core::MessageId::UnknownWay, core::Language::Chinese, {key.toStdString()}));
    return v->unavailableReason ? v->unavailableReason() : QString();
}

void ButtonWays::trigger() {
    const QString why = unavailableReason(m_default);
    if (!why.isEmpty()) {
        // The workspace stays as it is; the user learns why instead of getting another way.
        QToolTip::showText(m_button->mapToGlobal(QPoint(0, m_button->height())), why, m_button);
        return;
    }
    find(m_default)->run();
}

void ButtonWays::run(const QString &key) {
    const ButtonWay *v = find(key);
    if (v && unavailableReason(key).isEmpty())
        v->run();
}

void ButtonWays::setDefault(const QString &key) {
    if (!find(key))
        return;
    m_default = key;
    m_settings.setValue(m_settingsKey, key);
    refreshChecks();
    refreshToolTip();
}

// Availability is asked only when the menu opens: a way may load its data on first use, and
// building the window must not load anything.
void ButtonWays::refreshMenu() {
    for (QMenu *menu : {m_menu, m_defaultMenu}) {
        for (QAction *a : menu->actions()) {
            if (a->data().isNull())
                continue;
            const QString why = unavailableReason(a->data().toString());
            a->setEnabled(why.isEmpty());
            a->setToolTip(why.isEmpty() ? a->text() : why);
        }
    }
    refreshChecks();
}

void ButtonWays::refreshChecks() {
    for (QAction *a : m_defaultMenu->actions())
        a->setChecked(a->data().toString() == m_default);
}

void ButtonWays::refreshToolTip() {
    if (const ButtonWay *v = find(m_default))
        m_button->setToolTip(wayToolTip(m_buttonTip, v->label));
}

} // namespace ui
