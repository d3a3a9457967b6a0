#include "form1.h"

#include "about.h"

#include "core/amount.h"
#include "core/proportion.h"
#include "dock_strip.h"
#include "layout.h"
#include "resources.h"
#include "tray.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <functional>

namespace ui {
namespace {

std::u16string_view view(const QString &s) {
    return {reinterpret_cast<const char16_t *>(s.utf16()), std::size_t(s.size())};
}

QString toQString(std::u16string_view s) {
    return QString(reinterpret_cast<const QChar *>(s.data()), static_cast<qsizetype>(s.size()));
}

// Fonts: 宋体 first, then an installed CJK serif face.
QFont songti(double points) {
    QFont f;
    f.setFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体"), QStringLiteral("Noto Serif CJK SC"),
                   QStringLiteral("Noto Serif CJK"), QStringLiteral("serif")});
    f.setPointSizeF(points);
    f.setWeight(QFont::Normal);
    return f;
}

constexpr float kDesignClientWidth = 5655;
constexpr float kDesignClientHeight = 6555;
constexpr float kRightEdgeGap = 280;

} // namespace

void ClickableLabel::mouseReleaseEvent(QMouseEvent *event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

Form1::Form1(Form1Services services, QWidget *parent) : QWidget(parent), m_services(services) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Lanternfin 2011"));
    setWindowIcon(programIcon());
    // Always on top from the start, with minimise and maximise buttons.
    setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint);
    setFont(songti(10.5));
    buildControls();
    m_services.tray.onMessage([this](int m) { trayMessage(m); });
    Form_Load();
}

Form1::~Form1() = default;

float Form1::twipsPerPixel() const {
    const QScreen *s = screen();
    const double dpi = s ? s->logicalDotsPerInchX() : 96.0;
    return static_cast<float>(1440.0 / (dpi > 0 ? dpi : 96.0));
}

void Form1::buildControls() {
    const float tpp = twipsPerPixel();
    auto px = [tpp](float twips) { return static_cast<int>(std::lround(twips / tpp)); };
    auto place = [&](QWidget *w, const char *name, float l, float t, float wd, float h) {
        w->setObjectName(QLatin1String(name));
        w->setGeometry(px(l), px(t), px(wd), px(h));
    };
    auto button = [&](QWidget *parent, const char *name, const QString &caption, float l, float t, float wd,
                      float h, double points) {
        auto *b = new QPushButton(caption, parent);
        place(b, name, l, t, wd, h);
        b->setFont(songti(points));
        b->setAutoDefault(false);
        return b;
    };

    resize(px(kDesignClientWidth), px(kDesignClientHeight));

    Text1 = new QPlainTextEdit(this);
    place(Text1, "Text1", 0, 0, 4215, 4935);
    Text1->setFont(songti(12));
    Text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setTabChangesFocus(true);

    cmdtos = button(this, "cmdtos", QStringLiteral("小写"), 4945, 600, 550, 375, 9);
    cmdtol = button(this, "cmdtol", QStringLiteral("大写"), 4320, 600, 550, 375, 9);
    cmdend = button(this, "cmdend", QStringLiteral("退 出"), 4320, 4560, 1150, 375, 9);
    cmdclear = button(this, "cmdclear", QStringLiteral("清    空"), 4320, 2160, 1150, 375, 9);
    cmdcopy = button(this, "cmdcopy", QStringLiteral("全部复制"), 4320, 2640, 1150, 375, 9);
    cmdpaste = button(this, "cmdpaste", QStringLiteral("粘    贴"), 4320, 3120, 1150, 375, 9);
    cmdjt = button(this, "cmdjt", QStringLiteral("简体"), 4320, 120, 550, 405, 9);
    cmdft = button(this, "cmdft", QStringLiteral("繁体"), 4945, 120, 550, 405, 9);
    cmdabout = button(this, "cmdabout", QStringLiteral("Vesk's Web"), 4320, 3600, 1150, 375, 9);
    Check1 = new QCheckBox(QStringLiteral("自动隐藏"), this);
    place(Check1, "Check1", 4320, 4080, 1095, 375);
    Check1->setFont(songti(9));
    // Ticked on the first start; afterwards as the user last left it.
    Check1->setChecked(m_services.settings.value(QLatin1String(kAutoHideKey)) != QLatin1String("false"));
    cmdmoney = button(this, "cmdmoney", QStringLiteral("金额大写"), 4320, 1200, 1150, 375, 9);
    cmdmoney->setToolTip(QStringLiteral("一亿亿以下"));

    Frame1 = new QGroupBox(QStringLiteral("比例三求一"), this);
    place(Frame1, "Frame1", 120, 5160, 5415, 1335);
    auto box = [&](const char *name, float l, float t) {
        auto *e = new QLineEdit(Frame1);
        place(e, name, l, t, 1335, 375);
        return e;
    };
    t1a = box("t1a", 120, 360);
    t1b = box("t1b", 1680, 360);
    t1c = box("t1c", 120, 840);
    t1d = box("t1d", 1680, 840);
    QPalette grey = t1d->palette();
    grey.setColor(QPalette::Base, QColor(192, 192, 192));
    t1d->setPalette(grey);
    cmdRound = button(Frame1, "cmdRound", QStringLiteral("复制"), 4560, 840, 735, 375, 10.5);
    Label1 = new ClickableLabel(QStringLiteral("清 空"), Frame1);
    place(Label1, "Label1", 4680, 480, 525, 210);
    QPalette red = Label1->palette();
    red.setColor(QPalette::WindowText, QColor(128, 0, 0));
    Label1->setPalette(red);
    Label1->setCursor(Qt::PointingHandCursor);
    opt0 = new QRadioButton(QStringLiteral("整数"), Frame1);
    place(opt0, "opt0", 3240, 240, 855, 255);
    opt0->setChecked(true);
    opt1 = new QRadioButton(QStringLiteral("小数一位"), Frame1);
    place(opt1, "opt1", 3240, 600, 1215, 255);
    opt2 = new QRadioButton(QStringLiteral("小数两位"), Frame1);
    place(opt2, "opt2", 3240, 960, 1215, 255);

    CmdGetPY = button(this, "CmdGetPY", QStringLiteral("汉字拼音"), 4320, 1680, 1150, 375, 9);
    CmdGetPY->setToolTip(QStringLiteral("大部分汉字"));

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kTickInterval);
    timerLoad = new QTimer(this);
    timerLoad->setObjectName(QStringLiteral("timerLoad"));
    timerLoad->setInterval(3000);

    sky = new QMenu(QStringLiteral("sky"), this);
    sky->setObjectName(QStringLiteral("sky"));
    quit = sky->addAction(QStringLiteral("退出"));
    quit->setObjectName(QStringLiteral("quit"));

    // Tab order: the order of the controls above.
    const QList<QWidget *> order{Text1, cmdtos, cmdtol,   cmdend, cmdclear, cmdcopy, cmdpaste,
                                 cmdjt, cmdft,  cmdabout, Check1, cmdmoney, t1a,     t1b,
                                 t1c,   t1d,    cmdRound, opt0,   opt1,     opt2,    CmdGetPY};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    Text1->setFocus();

    // Esc clicks 粘贴; Enter stays with the workspace, where it starts a new line.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, cmdpaste, &QPushButton::click);

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
    connect(Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);

    buildWays();

    if (!m_services.text.toTraditional || !m_services.text.toSimplified) {
        const QString why = QString::fromStdString(m_services.text.dictionaryError);
        for (QPushButton *b : {cmdft, cmdjt}) {
            b->setEnabled(false);
            b->setToolTip(why);
        }
    }
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
    move(screenGeometry.x() + static_cast<int>(std::lround(leftTwips / tpp)),
         screenGeometry.y() + static_cast<int>(std::lround(3840 / tpp)));
    m_dock.Hids = kTrue;
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
        QRect g = w->geometry();
        switch (m.property) {
        case LayoutMove::Property::Left:
            g.moveLeft(px(m.twips));
            break;
        case LayoutMove::Property::Top:
            g.moveTop(px(m.twips));
            break;
        case LayoutMove::Property::Width:
            g.setWidth(px(m.twips));
            break;
        case LayoutMove::Property::Height:
            g.setHeight(px(m.twips));
            break;
        }
        w->setGeometry(g);
    }
    if (!pass.newHeight && !pass.newWidth && !reframedSinceHeld())
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
    if (isMinimized() || isMaximized() || !isVisible() || m_remapFrame)
        return;
    const float tpp = twipsPerPixel();
    const QRect outer = outerFrame();
    const LayoutPass pass =
        layoutPass(static_cast<float>(outer.width()) * tpp, static_cast<float>(outer.height()) * tpp, tpp);
    auto px = [tpp](float twips) { return static_cast<int>(std::lround(twips / tpp)); };
    const QSize frame = outer.size() - size();
    // In whole pixels of the outer frame: a size the window already has raises no new pass.
    QSize client = size();
    // Each side stays held while it has the size set here; one the user changed is free.
    Held held = m_held.value_or(Held{});
    held.height = held.height && height() == held.client.height();
    held.width = held.width && width() == held.client.width();
    // A size held here before the window manager had framed the window was worked out from a
    // frame of nothing; once the frame is known the held sides are worked out again, so that the
    // window has the same outer size whichever came first (a race at every start).
    if (frame != held.frame) {
        if (held.height)
            client.setHeight(px(kMinimumHeight) - frame.height());
        if (held.width)
            client.setWidth(px(kMinimumWidth) - frame.width());
    }
    if (pass.newHeight) {
        client.setHeight(px(*pass.newHeight) - frame.height());
        held.height = true;
    }
    if (pass.newWidth) {
        client.setWidth(px(*pass.newWidth) - frame.width());
        held.width = true;
    }
    if (client == size())
        return;
    held.client = client;
    held.frame = frame;
    m_held = held;
    resize(client);
    // A window manager frames a new window soon after it is mapped: look again shortly, then
    // every few seconds with timerLoad.
    for (const int ms : {100, 300, 1000})
        QTimer::singleShot(ms, this, [this] { followFrame(); });
}

bool Form1::reframedSinceHeld() const {
    if (!m_held || outerFrame().size() - size() == m_held->frame)
        return false;
    return (m_held->height && height() == m_held->client.height()) ||
           (m_held->width && width() == m_held->client.width());
}

QRect Form1::outerFrame() const {
    // The window's own frame is read afresh; QWidget's copy is renewed only by a move or resize,
    // and a window manager that frames a window in place sends neither.
    return windowHandle() ? windowHandle()->frameGeometry() : frameGeometry();
}

void Form1::followFrame() {
    if (reframedSinceHeld())
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
    if (isVisible() && !m_remapFrame && frameGeometry().size() != m_laidOutFrame)
        Form_Resize();
}

void Form1::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized())
        Form_Resize();
}

void Form1::closeEvent(QCloseEvent *event) {
    m_services.tray.remove();
    event->accept();
    QApplication::quit();
}

// ---- the tray -------------------------------------------------------------------------------

WindowState Form1::windowState() const {
    if (!isVisible() || isMinimized())
        return WindowState::Minimised;
    return isMaximized() ? WindowState::Maximised : WindowState::Normal;
}

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
    // the next docking pass pauses before hiding it again, as for any window back from the tray.
    if (m_hiddenFrame) {
        showFromStrip(shownAtEdge(*m_hiddenFrame, screenRect()).topLeft());
        m_dock.Hids = kFalse;
    }
    // Brought back to be used: it stays while it has the keyboard focus.
    holdBroughtBack(m_dock);
    show();
    showNormal();
    raise();
    activateWindow();
}

void Form1::bringToFront() {
    restoreFromTray();
}

void Form1::trayMessage(int message) {
    switch (decodeTrayMessage(static_cast<float>(message), windowState())) {
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
    Text1->textCursor().insertText(text);
    Text1->ensureCursorVisible();
}

void Form1::cmdclear_Click() {
    writeWorkspace(QString());
}

void Form1::buildWays() {
    m_traditionalWays = buttonWaysFor(cmdft, OwnWay::Traditional);
    m_simplifiedWays = buttonWaysFor(cmdjt, OwnWay::Simplified);
    m_pinyinWays = buttonWaysFor(CmdGetPY, OwnWay::Pinyin);
    m_moneyWays = buttonWaysFor(cmdmoney, OwnWay::Amount);
}

ButtonWays *Form1::buttonWaysFor(QPushButton *button, OwnWay own) {
    // Availability is asked when the menu opens or the way is about to run: a way's data (the
    // pinyin readings, a phrase configuration) loads on first use, never while the window is built.
    std::vector<ButtonWay> list;
    for (const Way &way : buttonWays(own))
        list.push_back({QString::fromStdString(wayKey(way)), QString::fromStdU16String(wayLabel(way)),
                        [this, way] { runWay(way); },
                        [this, way] { return QString::fromStdString(wayUnavailable(way, m_services.text)); }});
    return new ButtonWays(button, QStringLiteral("ways/") + button->objectName(), std::move(list),
                          m_services.settings, this);
}

ButtonWays *Form1::ways(const QPushButton *button) const {
    if (button == cmdft)
        return m_traditionalWays;
    if (button == cmdjt)
        return m_simplifiedWays;
    if (button == CmdGetPY)
        return m_pinyinWays;
    if (button == cmdmoney)
        return m_moneyWays;
    return nullptr;
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
                        QString::fromStdString(result.message), QMessageBox::Ok, this);
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
    m_traditionalWays->trigger();
}

void Form1::cmdjt_Click() {
    m_simplifiedWays->trigger();
}

void Form1::cmdtol_Click() {
    runWay(OwnWay::Upper);
}

void Form1::cmdtos_Click() {
    runWay(OwnWay::Lower);
}

void Form1::cmdmoney_Click() {
    m_moneyWays->trigger();
}

void Form1::CmdGetPY_Click() {
    m_pinyinWays->trigger();
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
    if (Check1->isChecked())
        Timer1->start();
    else
        Timer1->stop();
}

void Form1::timerLoad_Timer() {
    followFrame();
    if (Check1->checkState() != Qt::Unchecked && !Timer1->isActive())
        Timer1->start();
}

QRect Form1::screenRect() const {
    return m_dockScreen;
}

void Form1::findDockScreen() {
    // The screen that wholly holds the window; a window hidden at an edge keeps the screen it was
    // on, even where most of it now lies on a neighbouring screen.
    const QRect frame = dockFrame();
    const QRect a = m_services.pointer.screenAt(frame.topLeft());
    if (a.contains(frame) || m_dockScreen.isNull())
        m_dockScreen = a.contains(frame) ? a : m_services.pointer.screenAt(frame.center());
}

QRect Form1::dockFrame() const {
    if (m_hiddenFrame)
        return *m_hiddenFrame;
    if (m_remapFrame)
        return *m_remapFrame;
    // The window's own frame margins: QWidget keeps those it read at the last move or resize.
    return windowHandle() ? windowHandle()->frameGeometry() : frameGeometry();
}

const QWidget *Form1::dockStrip() const {
    return m_strip.get();
}

// Twips relative to the top-left of the window's screen, cursor in pixels relative to it. The
// pass's moves go to `frame` at once, so each step sees those before it; Timer1_Timer applies the
// outcome to the window after the pass.
class Form1::DockView : public DockWindow {
public:
    explicit DockView(Form1 &form) : frame(form.dockFrame()), f(form) {}
    // Hidden at an edge, the window is out of sight but docked, not in the tray.
    WindowState state() const override { return f.m_hiddenFrame ? WindowState::Normal : f.windowState(); }
    float left() const override { return px(frame.x() - f.screenRect().x()); }
    float top() const override { return px(frame.y() - f.screenRect().y()); }
    float width() const override { return px(frame.width()); }
    float height() const override { return px(frame.height()); }
    float screenWidth() const override { return px(f.screenRect().width()); }
    int cursorX() const override { return f.m_passCursor.x() - f.screenRect().x(); }
    int cursorY() const override { return f.m_passCursor.y() - f.screenRect().y(); }
    bool focused() const override { return f.isActiveWindow(); }
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
    float px(int pixels) const { return static_cast<float>(pixels) * f.twipsPerPixel(); }
    int toPixels(float twips) const { return static_cast<int>(std::lround(twips / f.twipsPerPixel())); }
    Form1 &f;
};

void Form1::Timer1_Timer() {
    // Shown by other means while hidden at an edge: the window is where it shows.
    if (m_hiddenFrame && isVisible()) {
        m_hiddenFrame.reset();
        m_strip->hide();
    }
    if (m_remapFrame && windowHandle() && windowHandle()->frameMargins() == m_hiddenMargins)
        settleRemap();
    m_passCursor = m_services.pointer.cursor();
    findDockScreen();
    if (m_moveTarget && !m_moveSettled)
        m_moveSettled = dockFrame().topLeft();
    const int before = m_dock.interval;
    DockView dock(*this);
    dockPass(dock, m_dock);
    if (dock.moved)
        applyDockFrame(dock.frame);
    else if (m_hiddenFrame)
        m_strip->raise(); // above windows raised since
    if (m_dock.interval != before)
        Timer1->setInterval(m_dock.interval);
}

void Form1::applyDockFrame(const QRect &frame) {
    const QRect screen = screenRect();
    if (const auto strip = hiddenStrip(frame, screen, stripThickness(twipsPerPixel()))) {
        if (!m_hiddenFrame) {
            const QRect shown = dockFrame();
            // Hidden again before its window manager framed it: the margins stay those it had.
            if (m_remapFrame)
                m_remapFrame.reset();
            else
                m_hiddenMargins =
                    QMargins(geometry().left() - shown.left(), geometry().top() - shown.top(),
                             shown.right() - geometry().right(), shown.bottom() - geometry().bottom());
            m_activeWhenHidden = isActiveWindow();
            m_hiddenPicture = framePicture(*this, shown);
            if (!m_strip)
                m_strip = std::make_unique<DockStrip>();
            hide();
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

void Form1::showFromStrip(QPoint at) {
    m_strip->hide();
    m_remapFrame = QRect(at, m_hiddenFrame->size());
    m_hiddenFrame.reset();
    m_moveTarget.reset();
    m_moveSettled.reset();
    move(at);
    // Mapped again, the window gets its frame and stays above others by its flags; it takes the
    // focus back only if it had it.
    setAttribute(Qt::WA_ShowWithoutActivating, !m_activeWhenHidden);
    show();
    setAttribute(Qt::WA_ShowWithoutActivating, false);
    if (m_activeWhenHidden) {
        raise();
        activateWindow();
    }
    // A window manager frames the window again from scratch, in its own time; until the frame is
    // back as it was (or five seconds have passed, for one that changed it) the geometry reported
    // meanwhile is not acted on. Timer1_Timer watches for the frame.
    const int remap = ++m_remapCount;
    QTimer::singleShot(5000, this, [this, remap] {
        if (remap == m_remapCount)
            settleRemap();
    });
}

void Form1::settleRemap() {
    if (!m_remapFrame)
        return;
    m_remapFrame.reset();
    // Under openbox the window can be reported at (0, 0) without a frame while it is framed
    // again, and QWidget keeps the frame margins it read then until the next move or resize.
    // A move event makes it read them again; the layout then sees the window as it is.
    if (QWindow *w = windowHandle()) {
        QMoveEvent refresh(w->position(), w->position());
        QCoreApplication::sendEvent(w, &refresh);
    }
    Form_Resize();
}

void Form1::moveFrameTo(QPoint target) {
    // A window manager may keep part of the window on screen. Asking again for a place it has
    // already refused would only fight it, once every tick.
    if (m_moveTarget == target && m_moveSettled == dockFrame().topLeft())
        return;
    move(target);
    m_moveTarget = target;
    m_moveSettled.reset();
}

} // namespace ui
