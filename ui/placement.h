#pragma once

// Where the window starts: where the user left it at the last run, as long as that is still on a
// screen, else the design's place. Plain code over rectangles in global pixels.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>
#include <span>

namespace ui {

// The settings keys of the place the window was left at: its frame's left and top, global pixels.
inline constexpr const char *kPlaceXKey = "window/x";
inline constexpr const char *kPlaceYKey = "window/y";

// The place stored as two whole numbers of text (as kept under kPlaceXKey and kPlaceYKey);
// nothing when either is missing or is not a whole number within ±100000.
std::optional<QPoint> storedPlace(const QString &x, const QString &y);

// Where the frame of a window of outer size `frame` starts: at `left` (its frame's top-left when
// the program last ran) if the middle of its title bar (the frame's top row, 10 pixels down)
// lies on one of `screens`, so that it can be taken and moved; otherwise at `design`.
QPoint startPlace(std::optional<QPoint> left, QSize frame, std::span<const QRect> screens, QPoint design);

} // namespace ui
