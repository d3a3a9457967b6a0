#pragma once

// Edge docking applied to a window: the timers that run the docking pass, the strip window that
// stands for the window while it is hidden at an edge, and the frame moves the pass decides. The
// pass itself (docking.h) and the strip's geometry (dock_strip.h) are plain code; this class only
// feeds them the window as it is and applies what they decide.

#include "docking.h"
#include "platform/desktop.h"

#include <QMargins>
#include <QObject>
#include <QPixmap>
#include <QPoint>
#include <QRect>

#include <functional>
#include <memory>
#include <optional>

class QTimer;
class QWidget;

namespace ui {

class DockStrip;

// Twips per pixel of the screen `window` is on (15 at 96 DPI).
float twipsPerPixelOf(const QWidget &window);

// The window's state as the tray and the docking pass see it (hidden counts as minimised).
WindowState windowStateOf(const QWidget &window);

class EdgeDocking : public QObject {
    Q_OBJECT
public:
    // Attaches to `window`, which outlives it, and creates the timers as its children: Timer1
    // runs one docking pass a tick; timerLoad starts Timer1 a moment after start-up. `relayout`
    // is called once a window shown again from an edge has its frame back.
    EdgeDocking(QWidget &window, platform::Pointer &pointer, std::function<void()> relayout);
    ~EdgeDocking() override;

    // The docking state (Hids, Timer1's next interval).
    DockState &state() { return m_dock; }
    const DockState &state() const { return m_dock; }
    // The strip window that stands for the window while it is hidden at an edge; null until the
    // window first hides.
    const QWidget *strip() const;
    // While the window manager frames the window anew after it came back from an edge: its
    // geometry is not to be acted on meanwhile.
    bool remapping() const { return m_remapFrame.has_value(); }

    // Where the window's frame rests (global pixels): where it is, or where it shows when it
    // comes back from an edge it is hidden at.
    QPoint restingPlace() const;

    // Runs docking (Timer1) or stops it, as 自动隐藏 is ticked or not.
    void setEnabled(bool on);
    // timerLoad's tick: starts docking once after start-up when `enabled`.
    void startAfterLoad(bool enabled);
    // One docking pass (Timer1's tick).
    void tick();
    // Back from the tray or by a command: a window hidden at an edge comes out at that edge, and
    // the window stays shown while it has the keyboard focus (DockState::held).
    void comeBackFromTray();

    QTimer *const Timer1;
    QTimer *const timerLoad;

private:
    class View;
    friend class View;
    QRect screenRect() const { return m_dockScreen; }
    void findDockScreen();
    // The outer rectangle the docking pass reasons about: where the window is, or where it was
    // put while hidden at an edge.
    QRect dockFrame() const;
    // Puts the window where a docking pass decided: hidden behind a strip, shown, or moved.
    void applyDockFrame(const QRect &frame);
    void moveFrameTo(QPoint target);
    // Takes the strip down and shows the window with its frame at `at`, active if it was when it hid.
    void showFromStrip(QPoint at);
    // Ends the wait for the window manager after showFromStrip.
    void settleRemap();
    // Whether the user holds a mouse button on the shown window or its frame, or something else
    // (the window manager, at the user's request) moved it since the last pass.
    bool inHand(const QRect &frame);
    // Whether one of the program's dialogs, message boxes or menus is open.
    bool dialogOpen() const;

    QWidget &m_window;
    platform::Pointer &m_pointer;
    std::function<void()> m_relayout;
    DockState m_dock;
    QPoint m_passCursor;
    QRect m_dockScreen;
    // The last move the docking pass asked for and where the window settled after it, so that a
    // position a window manager refuses is not asked for again and again.
    std::optional<QPoint> m_moveTarget;
    std::optional<QPoint> m_moveSettled;
    // While hidden at an edge: where the window was put, whether it was active then, and its picture.
    std::optional<QRect> m_hiddenFrame;
    bool m_activeWhenHidden = false;
    QMargins m_hiddenMargins;
    // Where the window was shown again, until its window manager has framed it.
    std::optional<QRect> m_remapFrame;
    int m_remapCount = 0;
    // Where the shown window was at the last pass, and whether that pass moved it itself.
    std::optional<QPoint> m_lastShownAt;
    bool m_movedItself = false;
    bool m_inHand = false;
    // A mouse button was held on the window or its frame at a pass, and is held still.
    bool m_buttonOnWindow = false;
    QPixmap m_hiddenPicture;
    std::unique_ptr<DockStrip> m_strip;
};

} // namespace ui
