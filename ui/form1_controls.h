#pragma once

// The window's design as data: each control's member, name, caption, geometry in twips and font,
// in tab order. Form1's builder loops over it; tests check the window against it.

#include "form1.h"

#include <span>
#include <variant>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace ui {

inline constexpr float kDesignClientWidth = 5655;
inline constexpr float kDesignClientHeight = 6555;

// A control of the window: its member, its caption, its design geometry in twips (relative to the
// window's client area, or to Frame1 for the calculator's), and its font size in points (0: the
// window's). The order is the tab order.
template <class W> using Member = W *Form1::*;
struct ControlRow {
    std::variant<Member<QPlainTextEdit>, Member<QPushButton>, Member<QCheckBox>, Member<QGroupBox>,
                 Member<QLineEdit>, Member<ClickableLabel>, Member<QRadioButton>>
        member;
    const char *name; // the objectName, which is the member's name
    const char16_t *caption;
    float left, top, width, height;
    double points;
    bool inFrame;
};

// Every control but the menu, in tab order (those that take no focus, Frame1 and Label1, are
// passed over by the tab key).
std::span<const ControlRow> form1Controls();

// 宋体 at `points`, falling back to an installed CJK serif face.
QFont designFont(double points);

} // namespace ui
