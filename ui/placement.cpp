#include "placement.h"

#include <algorithm>
#include <cstdlib>

namespace ui {

std::optional<QPoint> storedPlace(const QString &x, const QString &y) {
    constexpr int kFarthest = 100000;
    bool xOk = false, yOk = false;
    const int px = x.trimmed().toInt(&xOk);
    const int py = y.trimmed().toInt(&yOk);
    if (!xOk || !yOk || std::abs(px) > kFarthest || std::abs(py) > kFarthest)
        return std::nullopt;
    return QPoint(px, py);
}

QPoint startPlace(std::optional<QPoint> left, QSize frame, std::span<const QRect> screens, QPoint design) {
    if (!left)
        return design;
    // The title bar's middle: a window whose title bar shows can be dragged wherever the user
    // wants it; one whose screen has gone (a monitor unplugged) comes back to the design's place.
    const QPoint handle(left->x() + frame.width() / 2,
                        left->y() + std::min(10, std::max(frame.height() - 1, 0)));
    const bool reachable =
        std::any_of(screens.begin(), screens.end(), [&handle](const QRect &s) { return s.contains(handle); });
    return reachable ? *left : design;
}

} // namespace ui
