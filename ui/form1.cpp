#include "form1.h"

#include "about.h"

#include "core/amount.h"
#include "core/proportion.h"
#include "edge_docking.h"
#include "file_conversion.h"
#include "form1_controls.h"
#include "layout.h"
#include "placement.h"
#include "resources.h"
#include "tray.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QShowEvent>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <utility>
#include <vector>

namespace ui {
namespace {

std::u16string_view view(const QString &s) {
    return {reinterpret_cast<const char16_t *>(s.utf16()), std::size_t(s.size())};
}

QString toQString(std::u16string_view s) {
    return QString(reinterpret_cast<const QChar *>(s.data()), static_cast<qsizetype>(s.size()));
}

constexpr float kRightEdgeGap = 280;

PixelSize pixels(QSize size) {
    return {size.width(), size.height()};
}

} // namespace

Form1::Form1(Form1Services services, QWidget *parent) : QWidget(parent), m_services(services) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Lanternfin 2011"));
    setWindowIcon(programIcon());
    // Always on top from the start, with minimise and maximise buttons.
    setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint);
    setFont(designFont(10.5));
    buildControls();
    m_services.tray.onMessage([this](int m) { trayMessage(m); });
    Form_Load();
}

Form1::~Form1() = default;

float Form1::twipsPerPixel() const {
    return twipsPerPixelOf(*this);
}

void Form1::buildControls() {
    buildDesign();
    m_docking = new EdgeDocking(*this, m_services.pointer, [this] { Form_Resize(); });
    Timer1 = m_docking->Timer1;
    timerLoad = m_docking->timerLoad;
    m_placeTimer = new QTimer(this);
    m_placeTimer->setSingleShot(true);
    m_placeTimer->setInterval(500);
    connect(m_placeTimer, &QTimer::timeout, this, &Form1::rememberPlace);

    sky = new QMenu(QStringLiteral("sky"), this);
    sky->setObjectName(QStringLiteral("sky"));
    quit = sky->addAction(QStringLiteral("退出"));
    quit->setObjectName(QStringLiteral("quit"));

    Text1->setFocus();

    // Esc clicks 粘贴; Enter stays with the workspace, where it starts a new line.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, cmdpaste, &QPushButton::click);
    // Undo and redo reach the workspace also while a button has the focus (after a click on
    // 粘贴, say); a text box with the focus takes these keys first, for its own text.
    auto *undo = new QShortcut(QKeySequence::Undo, this);
    connect(undo, &QShortcut::activated, Text1, &QPlainTextEdit::undo);
    auto *redo = new QShortcut(QKeySequence::Redo, this);
    connect(redo, &QShortcut::activated, Text1, &QPlainTextEdit::redo);

    connect(cmdcopy, &QPushButton::clicked, this, &Form1::cmdcopy_Click);
    connect(cmdpaste, &QPushButton::clicked, this, &Form1::cmdpaste_Click);
    connect(cmdclear, &QPushButton::clicked, this, &Form1::cmdclear_Click);
    connect(cmdft, &QPushButton::clicked, this, &Form1::cmdft_Click);
    connect(cmdjt, &QPushButton::clicked, this, &Form1::cmdjt_Click);
    connect(cmdtol, &QPushButton::clicked, this, &Form1::cmdtol_Click);
    connect(cmdtos, &QPushButton::clicked, this, &Form1::cmdtos_Click);
    connect(cmdmoney, &QPushButton::clicked, this, &Form1::cmdmoney_Click);
    connect(CmdGetPY, &QPushButton::clicked, this, &Form1::CmdGetPY_Click);
    connect(t1a, &QLineEdit::textChanged, this, &Form1::t1_Change);
    connect(t1b, &QLineEdit::textChanged, this, &Form1::t1_Change);
    connect(t1c, &QLineEdit::textChanged, this, &Form1::t1_Change);
    connect(cmdRound, &QPushButton::clicked, this, &Form1::cmdRound_Click);
    connect(Label1, &ClickableLabel::clicked, this, &Form1::Label1_Click);
    connect(cmdabout, &QPushButton::clicked, this, &Form1::cmdabout_Click);
    connect(cmdend, &QPushButton::clicked, this, &Form1::cmdend_Click);
    connect(quit, &QAction::triggered, this, &Form1::quit_Click);
    connect(Check1, &QCheckBox::clicked, this, &Form1::Check1_Click);
    // Only the user's own clicks are stored: a session that cannot dock unticks the box for that
    // run, which is no choice to remember.
    connect(Check1, &QCheckBox::clicked, this, [this](bool ticked) {
        m_services.settings.setValue(QLatin1String(kAutoHideKey),
                                     ticked ? QStringLiteral("true") : QStringLiteral("false"));
    });
    connect(timerLoad, &QTimer::timeout, this, &Form1::timerLoad_Timer);

    // Without the character tables only 逐字 is missing: its menu entry says why, and the
    // buttons still convert by phrases.
    buildWays();
    // Files dropped on the window or chosen in the menus of 繁体 and 简体 (file_conversion.h).
    new FileConversion(this, Text1, {cmdft, ways(cmdft), OwnWay::Traditional},
                       {cmdjt, ways(cmdjt), OwnWay::Simplified}, m_services.text);
}

void Form1::Form_Load() {
    m_services.tray.add();
    // Always on top: set with the window flags before the first show.
    // Against the right edge of the screen, 280 twips inside it.
    const float tpp = twipsPerPixel();
    const QRect screenGeometry = screen() ? screen()->geometry() : QRect(0, 0, 1920, 1080);
    // The width the window will have once shown: the minimum-size step widens the design's
    // client area to the minimum outer width, and placing it by the narrower width would put the
    // right edge past the screen, where docking hides the window a few seconds after start.
    const float widthTwips =
        std::max(static_cast<float>(frameGeometry().width()) * tpp, heldInPixels(kMinimumWidth, tpp));
    const float leftTwips = static_cast<float>(screenGeometry.width()) * tpp - kRightEdgeGap - widthTwips;
    // The first vertical place: the design's, 3840 twips below the top of the screen.
    const QPoint design(screenGeometry.x() + static_cast<int>(std::lround(leftTwips / tpp)),
                        screenGeometry.y() + static_cast<int>(std::lround(3840 / tpp)));
    // After the first run, where the user left it.
    std::vector<QRect> screens;
    for (const QScreen *s : QGuiApplication::screens())
        screens.push_back(s->geometry());
    const QSize outer(static_cast<int>(std::lround(widthTwips / tpp)), frameGeometry().height());
    m_startPlace = startPlace(storedPlace(m_services.settings.value(QLatin1String(kPlaceXKey)),
                                          m_services.settings.value(QLatin1String(kPlaceYKey))),
                              outer, screens, design);
    move(*m_startPlace);
    m_docking->state().Hids = kTrue;
    core::Initdictinary();
    timerLoad->start();
}

QWidget *Form1::control(std::string_view name) const {
    return findChild<QWidget *>(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
}

void Form1::Form_Resize() {
    if (isMinimized()) {
        minimiseToTray();
        return;
    }
    const float tpp = twipsPerPixel();
    const QRect outer = frameGeometry();
    m_laidOutFrame = outer.size();
    const LayoutPass pass =
        layoutPass(static_cast<float>(outer.width()) * tpp, static_cast<float>(outer.height()) * tpp, tpp,
                   static_cast<float>(cmdtol->y()) * tpp);
    auto px = [tpp](float twips) { return static_cast<int>(std::lround(twips / tpp)); };
    for (const LayoutMove &m : pass.moves) {
        QWidget *w = control(m.control);
        if (!w)
            continue;
        // In the order of LayoutMove::Property.
        static constexpr void (QRect::*kSet[])(int) = {&QRect::moveLeft, &QRect::moveTop, &QRect::setWidth,
                                                       &QRect::setHeight};
        QRect g = w->geometry();
        (g.*kSet[static_cast<int>(m.property)])(px(m.twips));
        w->setGeometry(g);
    }
    if (!pass.newHeight && !pass.newWidth && !heldSizeStale())
        return;
    // The minimum size is set from the event loop, since a resize made inside the first resize
    // event is lost; the size is worked out afresh then, as the user may have resized meanwhile.
    if (!m_resizePending) {
        m_resizePending = true;
        QTimer::singleShot(0, this, [this] {
            m_resizePending = false;
            holdMinimumSize();
        });
    }
}

void Form1::holdMinimumSize() {
    if (isMinimized() || isMaximized() || !isVisible() || m_docking->remapping())
        return;
    const float tpp = twipsPerPixel();
    const QSize frame = frameExtent();
    const QSize outer = size() + frame;
    const LayoutPass pass =
        layoutPass(static_cast<float>(outer.width()) * tpp, static_cast<float>(outer.height()) * tpp, tpp);
    auto px = [tpp](float twips) { return static_cast<int>(std::lround(twips / tpp)); };
    auto pxOf = [&px](const std::optional<float> &twips) -> std::optional<int> {
        return twips ? std::optional<int>(px(*twips)) : std::nullopt;
    };
    // In whole pixels of the outer frame: a size the window already has raises no new pass.
    const auto client = m_heldSize.hold(pixels(size()), pixels(frame), {px(kMinimumWidth), px(kMinimumHeight)},
                                        pxOf(pass.newWidth), pxOf(pass.newHeight));
    if (!client)
        return;
    resize(client->width, client->height);
    // A window manager frames a new window soon after it is mapped: look again shortly, then
    // every few seconds with timerLoad.
    for (const int ms : {100, 300, 1000})
        QTimer::singleShot(ms, this, [this] { followFrame(); });
}

bool Form1::heldSizeStale() const {
    return m_heldSize.stale(pixels(size()), pixels(frameExtent()));
}

QSize Form1::frameExtent() const {
    // The frame the window manager announces, read afresh: QWidget's copy of the outer geometry
    // is renewed only by a move or resize (a window manager that frames a window in place sends
    // neither), and the outer geometry can lag the client size by a resize, which would measure
    // a frame of the difference (12 pixels for a 25-pixel title bar) and hold the window so.
    if (const QWindow *w = windowHandle()) {
        const QMargins m = w->frameMargins();
        return {m.left() + m.right(), m.top() + m.bottom()};
    }
    return frameGeometry().size() - size();
}

void Form1::followFrame() {
    if (heldSizeStale())
        holdMinimumSize();
}

void Form1::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void Form1::moveEvent(QMoveEvent *event) {
    QWidget::moveEvent(event);
    // A window manager adds its frame after the first passes without a resize event. While it
    // frames the window anew after docking showed it again, the frame is not known yet.
    if (isVisible() && !m_docking->remapping() && frameGeometry().size() != m_laidOutFrame)
        Form_Resize();
    // Kept for the next start once the window has come to rest: not at every step of a drag.
    if (isVisible())
        m_placeTimer->start();
}

void Form1::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (!m_startPlace || m_startChecks)
        return;
    // A window manager that has not yet told the frame it will add can take the asked place for the
    // client's, and the window then starts a title bar's height lower at every other start. Once
    // the frame is known, the window is put back where it was asked to start.
    m_startChecks = true;
    for (const int ms : {150, 400, 1200})
        QTimer::singleShot(ms, this, [this, ms] {
            keepStartPlace();
            if (ms == 1200)
                m_startPlace.reset();
        });
}

void Form1::keepStartPlace() {
    const QWindow *w = windowHandle();
    if (!m_startPlace || !w || !isVisible() || isMinimized() || isMaximized() || w->frameMargins().isNull())
        return;
    // Only the frame's own offset is mended: a window that the user (or anything else) has moved
    // in the meantime stays where it was put.
    const QPoint off = w->framePosition() - *m_startPlace;
    const QMargins frame = w->frameMargins();
    const bool byTheFrame = std::abs(off.x()) <= frame.left() + frame.right() &&
                            std::abs(off.y()) <= frame.top() + frame.bottom();
    if (!off.isNull() && byTheFrame)
        move(*m_startPlace);
}

void Form1::rememberPlace() {
    // A maximised window is not where the user put it.
    if (isMaximized())
        return;
    const QPoint place = m_docking->restingPlace();
    const QString x = QString::number(place.x()), y = QString::number(place.y());
    if (m_services.settings.value(QLatin1String(kPlaceXKey)) == x &&
        m_services.settings.value(QLatin1String(kPlaceYKey)) == y)
        return;
    m_services.settings.setValue(QLatin1String(kPlaceXKey), x);
    m_services.settings.setValue(QLatin1String(kPlaceYKey), y);
}

void Form1::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized())
        Form_Resize();
}

void Form1::closeEvent(QCloseEvent *event) {
    rememberPlace();
    m_services.tray.remove();
    event->accept();
    QApplication::quit();
}

// ---- the tray -------------------------------------------------------------------------------

void Form1::minimiseToTray() {
    // Without a notification area the window stays minimised the ordinary way: hidden, it could
    // never come back.
    if (!m_services.tray.available())
        return;
    m_services.tray.add();
    // Hidden from the event loop: hiding inside the state change races with the window system's
    // own handling of the minimise.
    QTimer::singleShot(0, this, [this] {
        if (isMinimized())
            hide();
    });
}

void Form1::restoreFromTray() {
    // A window hidden at an edge counts as being in the tray: it comes back shown at its edge, and
    // stays while it has the keyboard focus.
    m_docking->comeBackFromTray();
    show();
    showNormal();
    raise();
    activateWindow();
}

void Form1::bringToFront() {
    restoreFromTray();
}

void Form1::toggleFromTray() {
    trayMessage(kLeftButtonUp);
}

void Form1::trayMessage(int message) {
    switch (decodeTrayMessage(static_cast<float>(message), windowStateOf(*this))) {
    case TrayAction::OpenMenu:
        // Opened from the event loop: quitting from a menu opened inside the icon's own handler
        // deletes the icon while that handler still runs.
        QTimer::singleShot(0, this, [this] { sky->exec(m_services.pointer.cursor()); });
        break;
    case TrayAction::SendToTray:
        m_services.tray.add();
        hide();
        break;
    case TrayAction::Restore:
        restoreFromTray();
        break;
    case TrayAction::None:
        break;
    }
}

// ---- ways out -------------------------------------------------------------------------------

void Form1::endProgram() {
    rememberPlace();
    m_services.tray.remove();
    QApplication::quit();
}

void Form1::cmdend_Click() {
    endProgram();
}

void Form1::quit_Click() {
    endProgram();
}

void Form1::cmdabout_Click() {
    // One box, shown again where it was; the homepage is a link in it.
    if (!m_about)
        m_about = new AboutBox(m_services.pages, this);
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

// ---- the workspace --------------------------------------------------------------------------

QString Form1::workspaceText() const {
    // toPlainText() would turn no-break spaces into spaces; the raw text keeps them and marks
    // the workspace's line breaks with paragraph separators.
    QString text = Text1->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

void Form1::writeWorkspace(std::u16string_view text) {
    // The document copies the text in; a view of it saves one more copy of a large workspace.
    writeWorkspace(QString::fromRawData(reinterpret_cast<const QChar *>(text.data()),
                                        static_cast<qsizetype>(text.size())));
}

void Form1::writeWorkspace(const QString &text) {
    QTextCursor cursor(Text1->document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.insertText(text);
    cursor.endEditBlock();
    Text1->setTextCursor(QTextCursor(Text1->document()));
}

void Form1::cmdcopy_Click() {
    m_services.clipboard.setText(workspaceText());
}

void Form1::cmdpaste_Click() {
    const QString text = m_services.clipboard.text();
    // No text on the clipboard: the selection stays as it is.
    if (text.isEmpty())
        return;
    // An edit block of its own: typing just before would otherwise merge with the paste into one
    // undo step, and Ctrl+Z would take the typing away with it.
    QTextCursor cursor = Text1->textCursor();
    cursor.beginEditBlock();
    cursor.insertText(text);
    cursor.endEditBlock();
    Text1->setTextCursor(cursor);
    Text1->ensureCursorVisible();
}

void Form1::cmdclear_Click() {
    writeWorkspace(QString());
}

void Form1::buildWays() {
    for (const auto &[button, own] : {std::pair{cmdft, OwnWay::Traditional}, std::pair{cmdjt, OwnWay::Simplified},
                                      std::pair{CmdGetPY, OwnWay::Pinyin}, std::pair{cmdmoney, OwnWay::Amount}})
        m_buttonWays.push_back({own, button, buttonWaysFor(button, own)});
}

ButtonWays *Form1::buttonWaysFor(QPushButton *button, OwnWay own) {
    // Availability is asked when the menu opens or the way is about to run: a way's data (the
    // pinyin readings, a phrase configuration) loads on first use, never while the window is built.
    std::vector<ButtonWay> list;
    for (const Way &way : buttonWays(own))
        list.push_back({QString::fromStdString(wayKey(way)), QString::fromStdU16String(wayLabel(way)),
                        [this, way] { runWay(way); },
                        [this, way] {
                            return QString::fromStdString(
                                wayUnavailable(way, m_services.text).in(core::Language::Chinese));
                        }});
    return new ButtonWays(button, QStringLiteral("ways/") + button->objectName(), std::move(list),
                          QString::fromStdString(wayKey(defaultWayOf(own))), m_services.settings, this);
}

ButtonWays *Form1::ways(const QPushButton *button) const {
    for (const ButtonOfWays &b : m_buttonWays)
        if (b.button == button)
            return b.ways;
    return nullptr;
}

QString Form1::defaultWayKey(OwnWay own) const {
    for (const ButtonOfWays &b : m_buttonWays)
        if (b.own == own)
            return b.ways->defaultKey();
    return {};
}

void Form1::runWay(const Way &way) {
    WayResult result;
    {
        // The copy of the old text goes before the new one is written: on a large workspace
        // that is one copy less at the peak.
        const QString text = workspaceText();
        result = applyWay(way, view(text), m_services.text);
    }
    switch (result.outcome) {
    case WayResult::Done:
        break;
    case WayResult::Unavailable:
        // The button has said why before running it; the workspace stays as it is.
        return;
    case WayResult::AmountTooLarge:
    case WayResult::Refused: {
        QMessageBox box(QMessageBox::Information, toQString(core::kAmountLimitTitle),
                        QString::fromStdString(result.message.in(core::Language::Chinese)), QMessageBox::Ok, this);
        box.exec();
        // A refusal leaves the workspace as it was, so the user can correct the text.
        return;
    }
    }
    if (result.appends)
        appendToWorkspace(result.text);
    else
        writeWorkspace(result.text);
}

void Form1::cmdft_Click() {
    ways(cmdft)->trigger();
}

void Form1::cmdjt_Click() {
    ways(cmdjt)->trigger();
}

void Form1::cmdtol_Click() {
    runWay(OwnWay::Upper);
}

void Form1::cmdtos_Click() {
    runWay(OwnWay::Lower);
}

void Form1::cmdmoney_Click() {
    ways(cmdmoney)->trigger();
}

void Form1::CmdGetPY_Click() {
    ways(CmdGetPY)->trigger();
}

void Form1::appendToWorkspace(std::u16string_view added) {
    // The new text is the old one, a line break and the addition: only that tail is written, as
    // one undo step, which spares a large workspace a second copy of itself.
    std::u16string tail = u"\n";
    tail += added;
    QTextCursor cursor(Text1->document());
    cursor.movePosition(QTextCursor::End);
    cursor.beginEditBlock();
    cursor.insertText(QString::fromRawData(reinterpret_cast<const QChar *>(tail.data()),
                                           static_cast<qsizetype>(tail.size())));
    cursor.endEditBlock();
    Text1->setTextCursor(QTextCursor(Text1->document()));
}

// ---- the calculator -------------------------------------------------------------------------

void Form1::t1_Change() {
    // Without a result the box is emptied: an answer to other inputs must not stay to be copied.
    const auto d = core::proportionText(view(t1a->text()), view(t1b->text()), view(t1c->text()));
    t1d->setText(d ? toQString(*d) : QString());
    // A long result shows from its first character, not from its end.
    t1d->setCursorPosition(0);
}

void Form1::cmdRound_Click() {
    const int wei = opt0->isChecked() ? 0 : opt1->isChecked() ? 1 : 2;
    if (const auto copied = core::roundedCopyText(view(t1d->text()), wei))
        m_services.clipboard.setText(toQString(*copied));
}

void Form1::Label1_Click() {
    t1a->clear();
    t1b->clear();
    t1c->clear();
    t1d->clear();
}

// ---- edge docking ---------------------------------------------------------------------------

// The box and docking agree: ticked runs the docking timer, unticked stops it.
void Form1::Check1_Click() {
    m_docking->setEnabled(Check1->isChecked());
}

void Form1::timerLoad_Timer() {
    followFrame();
    m_docking->startAfterLoad(Check1->checkState() != Qt::Unchecked);
}

void Form1::Timer1_Timer() {
    m_docking->tick();
}

const QWidget *Form1::dockStrip() const {
    return m_docking->strip();
}

const DockState &Form1::dockState() const {
    return m_docking->state();
}

void Form1::disableDocking(const QString &why) {
    Check1->setChecked(false);
    Check1->setEnabled(false);
    Check1->setToolTip(why);
    Check1_Click();
}

} // namespace ui
