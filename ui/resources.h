#pragma once

#include <QIcon>

namespace ui {

// The program's icon, in its 16 x 16 and 32 x 32 images (window, tray and desktop entry).
QIcon programIcon();

} // namespace ui
