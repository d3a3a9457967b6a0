#include "edge_docking.h"

#include "dock_strip.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMoveEvent>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace ui {

float twipsPerPixelOf(const QWidget &window) {
    const QScreen *s = window.screen();
    const double dpi = s ? s->logicalDotsPerInchX() : 96.0;
    return static_cast<float>(1440.0 / (dpi > 0 ? dpi : 96.0));
}

WindowState windowStateOf(const QWidget &window) {
    if (!window.isVisible() || window.isMinimized())
        return WindowState::Minimised;
    return window.isMaximized() ? WindowState::Maximised : WindowState::Normal;
}

EdgeDocking::EdgeDocking(QWidget &window, platform::Pointer &pointer, std::function<void()> relayout)
    : QObject(&window), Timer1(new QTimer(&window)), timerLoad(new QTimer(&window)), m_window(window),
      m_pointer(pointer), m_relayout(std::move(relayout)) {
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kTickInterval);
    timerLoad->setObjectName(QStringLiteral("timerLoad"));
    timerLoad->setInterval(3000);
    connect(Timer1, &QTimer::timeout, this, &EdgeDocking::tick);
}

EdgeDocking::~EdgeDocking() = default;

void EdgeDocking::setEnabled(bool on) {
    if (on)
        Timer1->start();
    else
        Timer1->stop();
}

void EdgeDocking::startAfterLoad(bool enabled) {
    if (enabled && !Timer1->isActive())
        Timer1->start();
}

void EdgeDocking::comeBackFromTray() {
    if (m_hiddenFrame) {
        showFromStrip(shownAtEdge(*m_hiddenFrame, screenRect()).topLeft());
        m_dock.Hids = kFalse;
    }
    // Brought back to be used: it stays while it has the keyboard focus.
    holdBroughtBack(m_dock);
}

void EdgeDocking::findDockScreen() {
    // The screen that wholly holds the window; a window hidden at an edge keeps the screen it was
    // on, even where most of it now lies on a neighbouring screen.
    const QRect frame = dockFrame();
    const QRect a = m_pointer.screenAt(frame.topLeft());
    if (a.contains(frame) || m_dockScreen.isNull())
        m_dockScreen = a.contains(frame) ? a : m_pointer.screenAt(frame.center());
}

QRect EdgeDocking::dockFrame() const {
    if (m_hiddenFrame)
        return *m_hiddenFrame;
    if (m_remapFrame)
        return *m_remapFrame;
    // The window's own frame margins: QWidget keeps those it read at the last move or resize.
    return m_window.windowHandle() ? m_window.windowHandle()->frameGeometry() : m_window.frameGeometry();
}

QPoint EdgeDocking::restingPlace() const {
    return m_hiddenFrame ? shownAtEdge(*m_hiddenFrame, screenRect()).topLeft() : dockFrame().topLeft();
}

const QWidget *EdgeDocking::strip() const {
    return m_strip.get();
}

// Twips relative to the top-left of the window's screen, cursor in pixels relative to it. The
// pass's moves go to `frame` at once, so each step sees those before it; tick() applies the
// outcome to the window after the pass.
class EdgeDocking::View : public DockWindow {
public:
    explicit View(EdgeDocking &docking) : frame(docking.dockFrame()), f(docking) {}
    // Hidden at an edge, the window is out of sight but docked, not in the tray.
    WindowState state() const override { return f.m_hiddenFrame ? WindowState::Normal : windowStateOf(f.m_window); }
    float left() const override { return px(frame.x() - f.screenRect().x()); }
    float top() const override { return px(frame.y() - f.screenRect().y()); }
    float width() const override { return px(frame.width()); }
    float height() const override { return px(frame.height()); }
    float screenWidth() const override { return px(f.screenRect().width()); }
    int cursorX() const override { return f.m_passCursor.x() - f.screenRect().x(); }
    int cursorY() const override { return f.m_passCursor.y() - f.screenRect().y(); }
    // The window that gets the keys: QWidget's own active flag can miss a window shown again
    // from an edge and focused by its window manager.
    bool focused() const override {
        return f.m_window.windowHandle() && QGuiApplication::focusWindow() == f.m_window.windowHandle();
    }
    bool inHand() const override { return f.m_inHand; }
    bool dialogOpen() const override { return f.dialogOpen(); }
    void setLeft(float twips) override {
        frame.moveLeft(f.screenRect().x() + toPixels(twips));
        moved = true;
    }
    void setTop(float twips) override {
        frame.moveTop(f.screenRect().y() + toPixels(twips));
        moved = true;
    }

    QRect frame;
    bool moved = false;

private:
    float px(int pixels) const { return static_cast<float>(pixels) * twipsPerPixelOf(f.m_window); }
    int toPixels(float twips) const { return static_cast<int>(std::lround(twips / twipsPerPixelOf(f.m_window))); }
    EdgeDocking &f;
};

void EdgeDocking::tick() {
    // Shown by other means while hidden at an edge: the window is where it shows.
    if (m_hiddenFrame && m_window.isVisible()) {
        m_hiddenFrame.reset();
        m_strip->hide();
    }
    if (m_remapFrame && m_window.windowHandle() && m_window.windowHandle()->frameMargins() == m_hiddenMargins)
        settleRemap();
    m_passCursor = m_pointer.cursor();
    m_inHand =
        inHand(m_window.windowHandle() ? m_window.windowHandle()->frameGeometry() : m_window.frameGeometry());
    // Dragged while its window manager was framing it again: the window is framed, and where
    // the user puts it.
    if (m_inHand && m_remapFrame)
        settleRemap();
    findDockScreen();
    if (m_moveTarget && !m_moveSettled)
        m_moveSettled = dockFrame().topLeft();
    const int before = m_dock.interval;
    View dock(*this);
    dockPass(dock, m_dock);
    m_movedItself = dock.moved;
    if (dock.moved)
        applyDockFrame(dock.frame);
    else if (m_hiddenFrame)
        m_strip->raise(); // above windows raised since
    if (m_dock.interval != before)
        Timer1->setInterval(m_dock.interval);
}

bool EdgeDocking::inHand(const QRect &frame) {
    if (m_hiddenFrame || !m_window.isVisible()) {
        m_lastShownAt.reset();
        m_buttonOnWindow = false;
        return false;
    }
    // A move the last pass did not ask for: the window manager moved the window, by the mouse
    // or by the keyboard.
    const bool movedByOthers = m_lastShownAt && *m_lastShownAt != frame.topLeft() && !m_movedItself;
    m_lastShownAt = frame.topLeft();
    // A button held on the window or its frame, and for as long as it stays held: openbox tells
    // where a window dragged by its title bar is only when it is dropped, so the pointer soon
    // leaves the frame as it is known. A press on the title bar focuses the window, which tells
    // such a drag from a press elsewhere when the first pass comes late.
    const bool focused = m_window.windowHandle() && QGuiApplication::focusWindow() == m_window.windowHandle();
    m_buttonOnWindow =
        m_pointer.buttonHeld() && (m_buttonOnWindow || focused || frame.contains(m_passCursor));
    return movedByOthers || m_buttonOnWindow;
}

bool EdgeDocking::dialogOpen() const {
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget())
        return true;
    // A dialog that is not modal (the About box) counts while it is shown; tool-tips do not.
    const auto widgets = QApplication::topLevelWidgets();
    return std::any_of(widgets.begin(), widgets.end(), [this](const QWidget *w) {
        const Qt::WindowType type = w->windowType();
        return w != &m_window && w->isVisible() &&
               (type == Qt::Dialog || type == Qt::Sheet || type == Qt::Popup);
    });
}

void EdgeDocking::applyDockFrame(const QRect &frame) {
    const QRect screen = screenRect();
    if (const auto strip = hiddenStrip(frame, screen, stripThickness(twipsPerPixelOf(m_window)))) {
        if (!m_hiddenFrame) {
            const QRect shown = dockFrame();
            // Hidden again before its window manager framed it: the margins stay those it had.
            if (m_remapFrame)
                m_remapFrame.reset();
            else
                m_hiddenMargins =
                    QMargins(m_window.geometry().left() - shown.left(), m_window.geometry().top() - shown.top(),
                             shown.right() - m_window.geometry().right(),
                             shown.bottom() - m_window.geometry().bottom());
            m_activeWhenHidden = m_window.isActiveWindow();
            m_hiddenPicture = framePicture(m_window, shown);
            if (!m_strip)
                m_strip = std::make_unique<DockStrip>();
            m_window.hide();
        }
        m_hiddenFrame = frame;
        m_strip->showAt(*strip, m_hiddenPicture.copy(strip->translated(-frame.topLeft())));
        return;
    }
    if (m_hiddenFrame)
        showFromStrip(frame.topLeft());
    else
        moveFrameTo(frame.topLeft());
}

void EdgeDocking::showFromStrip(QPoint at) {
    m_strip->hide();
    m_remapFrame = QRect(at, m_hiddenFrame->size());
    m_hiddenFrame.reset();
    m_moveTarget.reset();
    m_moveSettled.reset();
    m_window.move(at);
    // Mapped again, the window gets its frame and stays above others by its flags; it takes the
    // focus back only if it had it.
    m_window.setAttribute(Qt::WA_ShowWithoutActivating, !m_activeWhenHidden);
    m_window.show();
    m_window.setAttribute(Qt::WA_ShowWithoutActivating, false);
    if (m_activeWhenHidden) {
        m_window.raise();
        m_window.activateWindow();
    }
    // A window manager frames the window again from scratch, in its own time; until the frame is
    // back as it was (or five seconds have passed, for one that changed it) the geometry reported
    // meanwhile is not acted on. tick() watches for the frame.
    const int remap = ++m_remapCount;
    QTimer::singleShot(5000, this, [this, remap] {
        if (remap == m_remapCount)
            settleRemap();
    });
}

void EdgeDocking::settleRemap() {
    if (!m_remapFrame)
        return;
    m_remapFrame.reset();
    // Under openbox the window can be reported at (0, 0) without a frame while it is framed
    // again, and QWidget keeps the frame margins it read then until the next move or resize.
    // A move event makes it read them again; the layout then sees the window as it is.
    if (QWindow *w = m_window.windowHandle()) {
        QMoveEvent refresh(w->position(), w->position());
        QCoreApplication::sendEvent(w, &refresh);
    }
    if (m_relayout)
        m_relayout();
}

void EdgeDocking::moveFrameTo(QPoint target) {
    // A window manager may keep part of the window on screen. Asking again for a place it has
    // already refused would only fight it, once every tick.
    if (m_moveTarget == target && m_moveSettled == dockFrame().topLeft())
        return;
    m_window.move(target);
    m_moveTarget = target;
    m_moveSettled.reset();
}

} // namespace ui
