#pragma once

// The main window: a workspace, a column of conversion buttons and the proportion calculator.
// Handlers read the controls, call one core function and write the result back.

#include "button_ways.h"
#include "ways.h"
#include "docking.h"
#include "held_size.h"
#include "platform/desktop.h"
#include "platform/text_services.h"

#include <QLabel>
#include <QMargins>
#include <QPixmap>
#include <QPoint>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QMenu;
class QAction;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace ui {

class AboutBox;
class EdgeDocking;

// The homepage, a link in the About box that "Vesk's Web" opens.
inline constexpr const char *kProjectPage = "https://github.com/lanternfin/lanternfin";

// The settings key under which the state of 自动隐藏 is kept: "true" or "false".
inline constexpr const char *kAutoHideKey = "window/autohide";

// The tip of the notification-area icon.
inline constexpr const char *kTrayTip = "Lanternfin";

// The services the window rests on, built by the caller and outliving the window.
struct Form1Services {
    platform::Clipboard &clipboard;
    platform::PageOpener &pages;
    platform::TrayIcon &tray;
    platform::Pointer &pointer;
    const platform::TextServices &text;
    platform::Settings &settings;
};

// A label that works as a button, as the calculator's "清 空" does: it reports clicks, and it is
// a tab stop that Space or Enter clicks, drawn with a focus frame while it has the focus.
class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickableLabel(QWidget *parent = nullptr);
signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};

class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(Form1Services services, QWidget *parent = nullptr);
    ~Form1() override;

    // Twips per pixel of the screen the window is on (15 at 96 DPI).
    float twipsPerPixel() const;

    // The docking state (Hids, Timer1's next interval).
    const DockState &dockState() const;
    // The strip window that stands for the window while it is hidden at an edge; null until the
    // window first hides.
    const QWidget *dockStrip() const;

    // The workspace text with the workspace's own line breaks ("\n"), every other character as
    // typed (no-break spaces and line separators included).
    QString workspaceText() const;

    // The ways of a button that has more than one (繁体, 简体, 汉字拼音); null for other buttons.
    ButtonWays *ways(const QPushButton *button) const;

    // Handlers, named after their control and event.
    void cmdcopy_Click();
    void cmdpaste_Click();
    void cmdclear_Click();
    void cmdft_Click();
    void cmdjt_Click();
    void cmdtol_Click();
    void cmdtos_Click();
    void cmdmoney_Click();
    void CmdGetPY_Click();
    void t1_Change();
    void cmdRound_Click();
    void Label1_Click();
    void cmdabout_Click();
    void cmdend_Click();
    void quit_Click();
    void Check1_Click();
    void timerLoad_Timer();
    void Timer1_Timer();
    // A mouse message from the tray icon (514 left button, 517 right button).
    void trayMessage(int message);
    // Edge docking cannot work here: 自动隐藏 is unticked and disabled, with `why` as its tip.
    void disableDocking(const QString &why);
    // The key of the way a left click on the button of `own` runs ("char", "s2twp", "marks", ...);
    // empty for a button without other ways.
    QString defaultWayKey(OwnWay own) const;
    // What a left click on the tray icon does: the window goes to the tray or comes back from it.
    void toggleFromTray();
    // Shows and raises the window wherever it is: in the tray, minimised, or hidden at an edge
    // (it then comes out at that edge and stays a moment, as from the tray).
    void bringToFront();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    // Creates the controls of the design table, each in its place, in tab order.
    void buildDesign();
    void Form_Load();
    void Form_Resize();
    void holdMinimumSize();
    // True when holdMinimumSize is due although no side is below the minimum: the window manager
    // framed the window after it was held, or answered an earlier resize late.
    bool heldSizeStale() const;
    // The width and height the window manager's frame adds, as it announces them now.
    QSize frameExtent() const;
    // Works the held size out again when it is stale (see heldSizeStale); called by the timers,
    // as no event tells the window of a frame added in place.
    void followFrame();
    // Moves the window back to where it was to start, if its window manager put it elsewhere.
    void keepStartPlace();
    // Keeps where the window is (shown at its edge, when hidden there) for the next start.
    void rememberPlace();
    void minimiseToTray();
    void restoreFromTray();
    void endProgram();
    // Replaces the whole workspace text as one undo step; the caret goes to the start.
    void writeWorkspace(const QString &text);
    void writeWorkspace(std::u16string_view text);
    // Appends a line break and `added` to the workspace, as one undo step.
    void appendToWorkspace(std::u16string_view added);
    // Applies `way` to the workspace: replaces its text, or appends to it, or says why not.
    void runWay(const Way &way);
    // The ways of `button`, whose own way is `own`, kept under "ways/<objectName>".
    ButtonWays *buttonWaysFor(QPushButton *button, OwnWay own);
    void buildWays();
    QWidget *control(std::string_view name) const;

    Form1Services m_services;
    EdgeDocking *m_docking = nullptr;
    // The buttons of several ways (繁体, 简体, 汉字拼音, 金额大写) with their own way and menu.
    struct ButtonOfWays {
        OwnWay own;
        const QPushButton *button;
        ButtonWays *ways;
    };
    std::vector<ButtonOfWays> m_buttonWays;
    QSize m_laidOutFrame;
    bool m_resizePending = false;
    // The sides the minimum-size step holds, and the sizes it asked for.
    HeldSize m_heldSize;
    AboutBox *m_about = nullptr;
    // Where the window starts, while the first moments after its first showing last.
    std::optional<QPoint> m_startPlace;
    bool m_startChecks = false;
    QTimer *m_placeTimer = nullptr;

public:
    // The controls, in tab order; each one's objectName is its member name.
    QPlainTextEdit *Text1 = nullptr;
    QPushButton *cmdtos = nullptr;
    QPushButton *cmdtol = nullptr;
    QPushButton *cmdend = nullptr;
    QPushButton *cmdclear = nullptr;
    QPushButton *cmdcopy = nullptr;
    QPushButton *cmdpaste = nullptr;
    QPushButton *cmdjt = nullptr;
    QPushButton *cmdft = nullptr;
    QPushButton *cmdabout = nullptr;
    QCheckBox *Check1 = nullptr;
    QPushButton *cmdmoney = nullptr;
    QGroupBox *Frame1 = nullptr;
    QLineEdit *t1a = nullptr;
    QLineEdit *t1b = nullptr;
    QLineEdit *t1c = nullptr;
    QLineEdit *t1d = nullptr;
    QPushButton *cmdRound = nullptr;
    ClickableLabel *Label1 = nullptr;
    QRadioButton *opt0 = nullptr;
    QRadioButton *opt1 = nullptr;
    QRadioButton *opt2 = nullptr;
    QPushButton *CmdGetPY = nullptr;
    QTimer *Timer1 = nullptr;
    QTimer *timerLoad = nullptr;
    QMenu *sky = nullptr;
    QAction *quit = nullptr;
};

} // namespace ui
