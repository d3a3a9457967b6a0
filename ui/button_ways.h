#pragma once

// The ways of a button. A left click runs the button's default way; a right click, or the Menu key
// while the button has the focus, opens a menu of all its ways: the button's own first, then the
// others. Picking one runs it once; the submenu 设为默认 makes one what a left click does, kept in
// the settings across starts. The tool-tip names the current way.

#include "platform/desktop.h"

#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class QMenu;
class QPushButton;

namespace ui {

struct ButtonWay {
    // Stable name kept in the settings ("char", "s2t", ...); never shown.
    QString key;
    // The menu entry, which the tool-tip also uses to name the current way.
    QString label;
    // Runs this way once.
    std::function<void()> run;
    // Asked each time the menu opens and before a left click runs this way: empty when the way can
    // be used, else why not (the entry is then disabled and shows this as its tool-tip). May be null.
    std::function<QString()> unavailableReason;
};

// The menu entry under which the ways can be made the default.
inline constexpr const char16_t *kMakeDefaultMenu = u"设为默认";

// The default way's key: `stored` when it names one of `ways` (the user's choice), else `fallback`
// when it names one, else the first way's.
QString resolveDefaultKey(const QString &stored, const std::vector<ButtonWay> &ways,
                          const QString &fallback = QString());

// The button's tool-tip: its own tip (may be empty) on the first line, then the current way.
QString wayToolTip(const QString &buttonTip, const QString &currentLabel);

class ButtonWays : public QObject {
    Q_OBJECT
public:
    // `ways` must not be empty; its first entry is the button's own way. The default is read
    // from `settings` under `settingsKey`; without one there, it is the way named `fallbackKey`
    // (the first way when that names none).
    ButtonWays(QPushButton *button, QString settingsKey, std::vector<ButtonWay> ways, QString fallbackKey,
               platform::Settings &settings, QObject *parent);

    // What a left click does: runs the default way. When that way cannot be used now, nothing
    // changes and the button shows why.
    void trigger();
    // Runs the way named `key` once, if there is one and it can be used.
    void run(const QString &key);
    // Makes the way named `key` the default and stores it; unknown keys are ignored.
    void setDefault(const QString &key);
    QString defaultKey() const { return m_default; }
    // The menu the button opens; its entries carry the ways' keys as their data.
    QMenu *menu() const { return m_menu; }
    // The reason the way named `key` cannot be used now; empty when it can.
    QString unavailableReason(const QString &key) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void openMenu(const QPoint &globalPos);
    const ButtonWay *find(const QString &key) const;
    void refreshMenu();
    void refreshChecks();
    void refreshToolTip();

    QPushButton *m_button;
    QString m_settingsKey;
    QString m_buttonTip;
    std::vector<ButtonWay> m_ways;
    platform::Settings &m_settings;
    QString m_default;
    QMenu *m_menu = nullptr;
    QMenu *m_defaultMenu = nullptr;
};

} // namespace ui
