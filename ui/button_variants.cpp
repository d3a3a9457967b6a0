#include "button_variants.h"

#include <QAction>
#include <QActionGroup>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QToolTip>

namespace ui {

QString resolveDefaultKey(const QString &stored, const std::vector<ButtonVariant> &variants) {
    for (const ButtonVariant &v : variants)
        if (v.key == stored)
            return stored;
    return variants.empty() ? QString() : variants.front().key;
}

QString variantToolTip(const QString &buttonTip, const QString &currentLabel) {
    QString tip = QStringLiteral("当前：%1（右键选择其他方式）").arg(currentLabel);
    return buttonTip.isEmpty() ? tip : buttonTip + QLatin1Char('\n') + tip;
}

ButtonVariants::ButtonVariants(QPushButton *button, QString settingsKey, std::vector<ButtonVariant> variants,
                               platform::Settings &settings, QObject *parent)
    : QObject(parent), m_button(button), m_settingsKey(std::move(settingsKey)),
      m_buttonTip(button->toolTip()), m_variants(std::move(variants)), m_settings(settings) {
    m_default = resolveDefaultKey(m_settings.value(m_settingsKey), m_variants);

    m_menu = new QMenu(button);
    m_menu->setObjectName(button->objectName() + QStringLiteral("Ways"));
    m_menu->setToolTipsVisible(true);
    for (const ButtonVariant &v : m_variants) {
        QAction *a = m_menu->addAction(v.label);
        a->setData(v.key);
        connect(a, &QAction::triggered, this, [this, key = v.key] { run(key); });
    }
    m_menu->addSeparator();
    m_defaultMenu = m_menu->addMenu(QString::fromUtf16(kMakeDefaultMenu));
    m_defaultMenu->setToolTipsVisible(true);
    auto *group = new QActionGroup(m_defaultMenu);
    for (const ButtonVariant &v : m_variants) {
        QAction *a = m_defaultMenu->addAction(v.label);
        a->setData(v.key);
        a->setCheckable(true);
        group->addAction(a);
        connect(a, &QAction::triggered, this, [this, key = v.key] { setDefault(key); });
    }
    connect(m_menu, &QMenu::aboutToShow, this, &ButtonVariants::refreshMenu);

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

void ButtonVariants::openMenu(const QPoint &globalPos) {
    if (!m_menu->isVisible())
        m_menu->popup(globalPos);
}

bool ButtonVariants::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_button && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Menu) {
        openMenu(m_button->mapToGlobal(QPoint(0, m_button->height())));
        return true;
    }
    return QObject::eventFilter(watched, event);
}

const ButtonVariant *ButtonVariants::find(const QString &key) const {
    for (const ButtonVariant &v : m_variants)
        if (v.key == key)
            return &v;
    return nullptr;
}

QString ButtonVariants::unavailableReason(const QString &key) const {
    const ButtonVariant *v = find(key);
    if (!v)
        return QStringLiteral("unknown way %1").arg(key);
    return v->unavailableReason ? v->unavailableReason() : QString();
}

void ButtonVariants::trigger() {
    const QString why = unavailableReason(m_default);
    if (!why.isEmpty()) {
        // The workspace stays as it is; the user learns why instead of getting another way.
        QToolTip::showText(m_button->mapToGlobal(QPoint(0, m_button->height())), why, m_button);
        return;
    }
    find(m_default)->run();
}

void ButtonVariants::run(const QString &key) {
    const ButtonVariant *v = find(key);
    if (v && unavailableReason(key).isEmpty())
        v->run();
}

void ButtonVariants::setDefault(const QString &key) {
    if (!find(key))
        return;
    m_default = key;
    m_settings.setValue(m_settingsKey, key);
    refreshChecks();
    refreshToolTip();
}

// Availability is asked only when the menu opens: a way may load its data on first use, and
// building the window must not load anything.
void ButtonVariants::refreshMenu() {
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

void ButtonVariants::refreshChecks() {
    for (QAction *a : m_defaultMenu->actions())
        a->setChecked(a->data().toString() == m_default);
}

void ButtonVariants::refreshToolTip() {
    if (const ButtonVariant *v = find(m_default))
        m_button->setToolTip(variantToolTip(m_buttonTip, v->label));
}

} // namespace ui
