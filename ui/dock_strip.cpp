#include "dock_strip.h"

#include <QPainter>
#include <QPalette>

#include <algorithm>
#include <cmath>

namespace ui {

int stripThickness(float twipsPerPixel) {
    const double pixels = 50.0 / (twipsPerPixel > 0 ? twipsPerPixel : 15.0f);
    return std::max(1, static_cast<int>(std::ceil(pixels)));
}

std::optional<QRect> hiddenStrip(const QRect &frame, const QRect &screen, int thickness) {
    const QRect onScreen = frame.intersected(screen);
    if (onScreen.isEmpty())
        return std::nullopt;
    // QRect's right() and bottom() are the last pixel inside, so a 3-pixel strip at the top ends
    // on row screen.top() + 2.
    const bool top = frame.top() < screen.top() && frame.bottom() - screen.top() < thickness;
    const bool left = frame.left() < screen.left() && frame.right() - screen.left() < thickness;
    const bool right = frame.right() > screen.right() && screen.right() - frame.left() < thickness;
    if (!top && !left && !right)
        return std::nullopt;
    return onScreen;
}

QRect shownAtEdge(const QRect &frame, const QRect &screen) {
    QRect r = frame;
    if (r.top() < screen.top())
        r.moveTop(screen.top());
    if (r.left() < screen.left())
        r.moveLeft(screen.left());
    else if (r.right() > screen.right())
        r.moveRight(screen.right());
    return r;
}

DockStrip::DockStrip() {
    setObjectName(QStringLiteral("dockStrip"));
    setWindowTitle(QStringLiteral("Lanternfin dock strip"));
    // A tool window bypassing the window manager: no frame, no task bar entry, no placement
    // rules, no focus; stacked above the others on its own.
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                   Qt::X11BypassWindowManagerHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
}

void DockStrip::showAt(const QRect &rect, const QPixmap &picture) {
    m_picture = picture;
    setGeometry(rect);
    show();
    raise();
    update();
}

void DockStrip::paintEvent(QPaintEvent *) {
    QPainter p(this);
    if (m_picture.isNull())
        p.fillRect(rect(), palette().color(QPalette::Window));
    else
        p.drawPixmap(0, 0, m_picture);
}

QPixmap framePicture(QWidget &window, const QRect &frame) {
    QPixmap picture(frame.size());
    const QPalette &palette = window.palette();
    picture.fill(palette.color(QPalette::Window));
    QPainter p(&picture);
    const QPoint client = window.geometry().topLeft() - frame.topLeft();
    p.drawPixmap(client, window.grab());
    p.setPen(palette.color(QPalette::Dark));
    p.drawRect(QRect(QPoint(0, 0), frame.size()).adjusted(0, 0, -1, -1));
    return picture;
}

} // namespace ui
