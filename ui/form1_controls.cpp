#include "form1_controls.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

#include <cmath>
#include <type_traits>
#include <utility>

namespace ui {
namespace {

const ControlRow kControls[] = {
    {&Form1::Text1, "Text1", u"", 0, 0, 4215, 4935, 12, false},
    {&Form1::cmdtos, "cmdtos", u"小写", 4945, 600, 550, 375, 9, false},
    {&Form1::cmdtol, "cmdtol", u"大写", 4320, 600, 550, 375, 9, false},
    {&Form1::cmdend, "cmdend", u"退 出", 4320, 4560, 1150, 375, 9, false},
    {&Form1::cmdclear, "cmdclear", u"清    空", 4320, 2160, 1150, 375, 9, false},
    {&Form1::cmdcopy, "cmdcopy", u"全部复制", 4320, 2640, 1150, 375, 9, false},
    {&Form1::cmdpaste, "cmdpaste", u"粘    贴", 4320, 3120, 1150, 375, 9, false},
    {&Form1::cmdjt, "cmdjt", u"简体", 4320, 120, 550, 405, 9, false},
    {&Form1::cmdft, "cmdft", u"繁体", 4945, 120, 550, 405, 9, false},
    {&Form1::cmdabout, "cmdabout", u"Vesk's Web", 4320, 3600, 1150, 375, 9, false},
    {&Form1::Check1, "Check1", u"自动隐藏", 4320, 4080, 1095, 375, 9, false},
    {&Form1::cmdmoney, "cmdmoney", u"金额大写", 4320, 1200, 1150, 375, 9, false},
    {&Form1::Frame1, "Frame1", u"比例三求一", 120, 5160, 5415, 1335, 0, false},
    {&Form1::t1a, "t1a", u"", 120, 360, 1335, 375, 0, true},
    {&Form1::t1b, "t1b", u"", 1680, 360, 1335, 375, 0, true},
    {&Form1::t1c, "t1c", u"", 120, 840, 1335, 375, 0, true},
    {&Form1::t1d, "t1d", u"", 1680, 840, 1335, 375, 0, true},
    {&Form1::cmdRound, "cmdRound", u"复制", 4560, 840, 735, 375, 10.5, true},
    {&Form1::Label1, "Label1", u"清 空", 4680, 480, 525, 210, 0, true},
    // The options start level with the first row of boxes, below the frame's top line and caption,
    // and keep 315 twips apart, so that the last one ends inside the frame.
    {&Form1::opt0, "opt0", u"整数", 3240, 360, 855, 255, 0, true},
    {&Form1::opt1, "opt1", u"小数一位", 3240, 675, 1215, 255, 0, true},
    {&Form1::opt2, "opt2", u"小数两位", 3240, 990, 1215, 255, 0, true},
    {&Form1::CmdGetPY, "CmdGetPY", u"汉字拼音", 4320, 1680, 1150, 375, 9, false},
};

void setCaption(QWidget *w, const QString &caption) {
    if (auto *b = qobject_cast<QAbstractButton *>(w))
        b->setText(caption);
    else if (auto *l = qobject_cast<QLabel *>(w))
        l->setText(caption);
    else if (auto *g = qobject_cast<QGroupBox *>(w))
        g->setTitle(caption);
}

} // namespace

std::span<const ControlRow> form1Controls() {
    return kControls;
}

QFont designFont(double points) {
    QFont f;
    f.setFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体"), QStringLiteral("Noto Serif CJK SC"),
                   QStringLiteral("Noto Serif CJK"), QStringLiteral("serif")});
    f.setPointSizeF(points);
    f.setWeight(QFont::Normal);
    return f;
}

ClickableLabel::ClickableLabel(QWidget *parent) : QLabel(parent) {
    // Reached by the tab key like any button; a click leaves the focus where it was.
    setFocusPolicy(Qt::TabFocus);
}

void ClickableLabel::keyPressEvent(QKeyEvent *event) {
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit clicked();
        return;
    default:
        QLabel::keyPressEvent(event);
    }
}

void ClickableLabel::paintEvent(QPaintEvent *event) {
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QStylePainter painter(this);
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent *event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void Form1::buildDesign() {
    const float tpp = twipsPerPixel();
    auto px = [tpp](float twips) { return static_cast<int>(std::lround(twips / tpp)); };
    resize(px(kDesignClientWidth), px(kDesignClientHeight));

    QWidget *previous = nullptr;
    for (const ControlRow &row : form1Controls()) {
        QWidget *parent = row.inFrame ? static_cast<QWidget *>(Frame1) : this;
        QWidget *w = std::visit(
            [this, parent](auto member) -> QWidget * {
                using W = std::remove_pointer_t<std::remove_reference_t<decltype(this->*member)>>;
                return this->*member = new W(parent);
            },
            row.member);
        w->setObjectName(QLatin1String(row.name));
        w->setGeometry(px(row.left), px(row.top), px(row.width), px(row.height));
        setCaption(w, QString::fromUtf16(row.caption));
        if (row.points > 0)
            w->setFont(designFont(row.points));
        if (auto *b = qobject_cast<QPushButton *>(w))
            b->setAutoDefault(false);
        // Tab order: the order of the table, over the controls that take the focus.
        if (w->focusPolicy() != Qt::NoFocus) {
            if (previous)
                setTabOrder(previous, w);
            previous = w;
        }
    }

    Text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setTabChangesFocus(true);
    // Ticked on the first start; afterwards as the user last left it.
    Check1->setChecked(m_services.settings.value(QLatin1String(kAutoHideKey)) != QLatin1String("false"));
    cmdmoney->setToolTip(QStringLiteral("一亿亿以下"));
    CmdGetPY->setToolTip(QStringLiteral("大部分汉字"));
    // Which box is which of a : b = c : d, without a label that would take room.
    for (const auto &[box, name] :
         {std::pair{t1a, u"a"}, std::pair{t1b, u"b"}, std::pair{t1c, u"c"}, std::pair{t1d, u"d"}}) {
        const QString letter = QString::fromUtf16(name);
        box->setPlaceholderText(letter);
        box->setToolTip(QStringLiteral("a : b = c : d 中的 ") + letter);
    }
    QPalette grey = t1d->palette();
    grey.setColor(QPalette::Base, QColor(192, 192, 192));
    t1d->setPalette(grey);
    QPalette red = Label1->palette();
    red.setColor(QPalette::WindowText, QColor(128, 0, 0));
    Label1->setPalette(red);
    Label1->setCursor(Qt::PointingHandCursor);
    opt0->setChecked(true);
}

} // namespace ui
