#pragma once

// What the window offers the rest of the desktop: the clipboard conversions and the login
// autostart in the tray menu, the answers to requests from other starts of the program, and the
// docking switch on platforms where the window cannot place itself.

#include "clipboard_commands.h"
#include "platform/autostart.h"
#include "platform/instance_protocol.h"

#include <QObject>

#include <string>
#include <utility>
#include <vector>

class QAction;
class QMenu;

namespace ui {

class Form1;

class DesktopIntegration : public QObject {
    Q_OBJECT
public:
    // Adds its items to `form`'s tray menu, above 退出. Everything passed in outlives this object.
    DesktopIntegration(Form1 &form, platform::Clipboard &clipboard, const platform::TextServices &text,
                       platform::AutostartEntry entry);

    // Answers a request from another start (show, toggle, quit, tray, clipboard NAME) through
    // `reply`: at once, but for a clipboard command once the clipboard has been read and written;
    // the window keeps handling everything else meanwhile. A clipboard command changes nothing
    // once `wanted` (when given) says its start gave up.
    void handle(const platform::Request &request, const std::function<bool()> &wanted,
                std::function<void(platform::Reply)> reply);

    // Edge docking cannot work here: 自动隐藏 is unticked and disabled, with `why` as its tip.
    void disableDocking(const QString &why);

    // A clipboard command from the menu, 繁体/简体/汉字拼音 the way their button's left click
    // converts: an amount too large shows the amount message box, missing data a warning; an
    // empty clipboard does nothing.
    // The command runs once the clipboard has been read, the window staying responsive meanwhile.
    void runFromMenu(ClipboardCommand command);
    // The key of the way a left click on the command's button runs ("char", "s2twp", "marks", ...);
    // empty for commands without a button of several ways.
    std::string defaultWay(ClipboardCommand command) const;

    const ClipboardConverter &converter() const { return m_converter; }

    // The menu items, each named after what it does ("clipboard", "clipboard_traditional", ...,
    // "clipboard_restore", "autostart").
    QMenu *clipboardMenu = nullptr;
    QAction *autostart = nullptr;

private:
    void autostart_Click(bool checked);
    // Names the ways of 繁体/简体/汉字拼音 in their entries, as their buttons stand now.
    void refreshCaptions();
    void showMenuOutcome(const ClipboardResult &result);
    Form1 &m_form;
    ClipboardConverter m_converter;
    platform::AutostartEntry m_autostart;
    QAction *m_restore = nullptr;
    std::vector<std::pair<ClipboardCommand, QAction *>> m_entries;
};

} // namespace ui
