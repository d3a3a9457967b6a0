#pragma once

// How a window hidden at a screen edge is shown. The docking pass decides where the window goes;
// a place that leaves only a thin strip of it on the screen is not asked of the window manager
// (openbox, for one, keeps 40-48 px of a managed window on the screen). The window is hidden
// instead, and a strip window of our own, outside the window manager's placement, stands where
// that strip of it would be.

#include <QPixmap>
#include <QRect>
#include <QWidget>

#include <optional>

namespace ui {

// The most pixels of a hidden window's 50 twips that stay on a screen at `twipsPerPixel`: 50
// twips rounded up (4 at 96 DPI, where 3 stay), never less than 1.
int stripThickness(float twipsPerPixel);

// The part of `frame` (a window's outer rectangle, global pixels) on `screen` when that leaves at
// most `thickness` pixels of it beyond the screen's top, left or right edge: the strip that
// stands in for the hidden window. Nothing when more of the frame shows, or none of it.
std::optional<QRect> hiddenStrip(const QRect &frame, const QRect &screen, int thickness);

// `frame` moved inside `screen` at each of the top, left and right edges that it sticks out of:
// where a window hidden at an edge shows when it is brought back there.
QRect shownAtEdge(const QRect &frame, const QRect &screen);

// The strip window: above other windows, never focused, not in the task bar, placed by us and
// not by a window manager. It shows the picture of the window's part it stands for.
class DockStrip : public QWidget {
public:
    DockStrip();
    // Shows `picture` over `rect` (global pixels) without taking the keyboard focus.
    void showAt(const QRect &rect, const QPixmap &picture);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_picture;
};

// A picture of `window` as its frame shows it (outer rectangle `frame`, global pixels): its own
// rendering where the client is, the window colour with a darker outline for the frame around it.
QPixmap framePicture(QWidget &window, const QRect &frame);

} // namespace ui
