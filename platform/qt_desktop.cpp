#include "qt_desktop.h"

#include "message_language.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <QClipboard>
#include <QCoreApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QProcess>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QTimer>
#include <sys/stat.h>

#if QT_CONFIG(xcb) && defined(LANTERNFIN_HAS_XCB)
#include <xcb/xcb.h>
#endif

namespace platform {

namespace {

// Why a program did not start, with the system's reason where the file tells it (missing, not
// executable), so that it is worded in the message's language; Qt's own text otherwise.
core::Message startFailure(const QString &program, const QString &qtText) {
    const QFileInfo file(program);
    if (file.isAbsolute() && !file.exists())
        return core::systemError(ENOENT);
    if (file.isAbsolute() && (!file.isFile() || !file.isExecutable()))
        return core::systemError(EACCES);
    return core::Message::verbatim(qtText.toStdString());
}

// Whether `data` holds its text and nothing besides: plain text under its MIME name, the X11 names
// of the same text, and the bookkeeping targets every X11 owner offers. Anything else (a picture,
// HTML, a file list) would be lost by replacing it.
bool onlyPlainText(const QMimeData &data) {
    static const QStringList kPlainNames{QStringLiteral("UTF8_STRING"), QStringLiteral("STRING"),
                                         QStringLiteral("TEXT"),        QStringLiteral("COMPOUND_TEXT"),
                                         QStringLiteral("TARGETS"),     QStringLiteral("MULTIPLE"),
                                         QStringLiteral("TIMESTAMP"),   QStringLiteral("SAVE_TARGETS")};
    const QStringList formats = data.formats();
    return std::all_of(formats.begin(), formats.end(), [](const QString &f) {
        return f.startsWith(QLatin1String("text/plain")) || kPlainNames.contains(f);
    });
}

// Qt gives up on a clipboard owner that does not answer after about 5 s; a read that came back
// empty after this long was one of those.
constexpr qint64 kNoAnswerMs = 4000;

} // namespace

QtClipboard::~QtClipboard() {
    // Readers still running are stopped without calling back: their callers may be gone.
    for (QProcess *process : findChildren<QProcess *>(Qt::FindDirectChildrenOnly)) {
        process->disconnect();
        process->kill();
        process->waitForFinished(1000);
    }
}

QString QtClipboard::text() const {
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    // mimeData() is null after clear() on some platforms.
    if (!data || !data->hasText())
        return {};
    return data->text();
}

void QtClipboard::setText(const QString &text) {
    QGuiApplication::clipboard()->setText(text);
}

bool QtClipboard::holdsOnly(const QString &text) const {
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText() && data->text() == text && onlyPlainText(*data);
}

void QtClipboard::readThrough(const QString &program, const QStringList &arguments,
                              std::chrono::milliseconds limit, std::size_t maxBytes) {
    m_program = program;
    m_arguments = arguments;
    m_limit = limit;
    m_maxBytes = maxBytes;
}

void QtClipboard::read(std::function<void(ClipboardContents)> done) {
    if (m_program.isEmpty()) {
        Clipboard::read(std::move(done));
        return;
    }
    auto *process = new QProcess(this);
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    // Whichever comes first of its end, its failure to start and the limit answers; once.
    auto answer = std::make_shared<std::function<void(ClipboardContents)>>(std::move(done));
    auto finish = [process, answer](ClipboardContents contents) {
        if (!*answer)
            return;
        const auto call = std::move(*answer);
        *answer = nullptr;
        process->disconnect();
        process->deleteLater();
        call(std::move(contents));
    };
    auto unreadable = [](core::Message why) {
        ClipboardContents contents;
        contents.read = false;
        contents.why = std::move(why);
        return contents;
    };
    const std::chrono::milliseconds limit = m_limit;
    auto *timer = new QTimer(process);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, [process, finish, unreadable, limit] {
        process->kill();
        finish(unreadable({core::MessageId::ClipboardTooSlow, {std::to_string(limit.count() / 1000)}}));
    });
    // QProcess keeps all the child prints: the size is checked as it comes, so that a clipboard of
    // gigabytes costs this process no more than the limit.
    const std::size_t maxBytes = m_maxBytes;
    auto tooLarge = [process, maxBytes] {
        return static_cast<std::size_t>(process->bytesAvailable()) > maxBytes;
    };
    auto refuseSize = [finish, unreadable, maxBytes] {
        finish(unreadable({core::MessageId::ClipboardTooLarge, {std::to_string(maxBytes >> 20)}}));
    };
    connect(process, &QProcess::readyReadStandardOutput, this, [process, tooLarge, refuseSize] {
        if (tooLarge()) {
            process->kill();
            refuseSize();
        }
    });
    connect(process, &QProcess::errorOccurred, this, [process, finish, unreadable](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart)
            finish(unreadable({core::MessageId::ClipboardReaderNotStarted,
                               {process->program().toStdString()},
                               {startFailure(process->program(), process->errorString())}}));
    });
    connect(process, &QProcess::finished, this,
            [process, finish, unreadable, tooLarge, refuseSize](int code, QProcess::ExitStatus status) {
                if (tooLarge()) {
                    refuseSize();
                    return;
                }
                if (status != QProcess::NormalExit) {
                    finish(unreadable(core::MessageId::ClipboardReaderCrashed));
                    return;
                }
                ClipboardContents contents;
                switch (code) {
                case kPrintedOnlyText:
                case kPrintedTextAndMore:
                    contents.text = QString::fromUtf8(process->readAllStandardOutput());
                    contents.onlyText = code == kPrintedOnlyText && !contents.text.isEmpty();
                    break;
                case kPrintedNoText:
                    break;
                case kPrintedNoAnswer:
                    contents = unreadable(core::MessageId::ClipboardOwnerSilent);
                    break;
                default:
                    contents = unreadable({core::MessageId::ClipboardReadStatus, {std::to_string(code)}});
                    break;
                }
                finish(std::move(contents));
            });
    timer->start(m_limit);
    process->start(m_program, m_arguments);
}

int printClipboard() {
    QElapsedTimer clock;
    clock.start();
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasText()) {
        const bool slow = clock.elapsed() >= kNoAnswerMs;
        return slow ? kPrintedNoAnswer : kPrintedNoText;
    }
    const QByteArray bytes = data->text().toUtf8();
    if (std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout) !=
            static_cast<std::size_t>(bytes.size()) ||
        std::fflush(stdout) != 0)
        return 4;
    return onlyPlainText(*data) ? kPrintedOnlyText : kPrintedTextAndMore;
}

bool QtPageOpener::open(const QUrl &url) {
    return QDesktopServices::openUrl(url);
}

QtTrayIcon::QtTrayIcon(const QIcon &icon, const QString &tip)
    : m_icon(std::make_unique<QSystemTrayIcon>(icon)) {
    m_icon->setToolTip(tip);
    QObject::connect(m_icon.get(), &QSystemTrayIcon::activated, this,
                     [this](QSystemTrayIcon::ActivationReason r) {
                         if (!m_handler)
                             return;
                         // Clicks arrive on the press: Trigger for the left button, Context for the right one
                         // and, for a double click, Trigger then DoubleClick, so a double click acts twice.
                         switch (r) {
                         case QSystemTrayIcon::Trigger:
                         case QSystemTrayIcon::DoubleClick:
                             m_handler(514);
                             break;
                         case QSystemTrayIcon::Context:
                             m_handler(517);
                             break;
                         default:
                             break;
                         }
                     });
}

QtTrayIcon::~QtTrayIcon() = default;

void QtTrayIcon::add() {
    m_icon->show();
}

void QtTrayIcon::remove() {
    m_icon->hide();
}

bool QtTrayIcon::available() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

QString QtTrayIcon::tip() const {
    return m_icon->toolTip();
}

void QtTrayIcon::onMessage(std::function<void(int)> handler) {
    m_handler = std::move(handler);
}

QPoint QtPointer::cursor() const {
    return QCursor::pos();
}

bool QtPointer::buttonHeld() const {
    // Qt knows of the buttons pressed on its own windows only.
    if (QGuiApplication::mouseButtons() != Qt::NoButton)
        return true;
#if QT_CONFIG(xcb) && defined(LANTERNFIN_HAS_XCB)
    // A press on the window manager's frame (a drag by the title bar) goes to the window manager,
    // which grabs the pointer; the X server still tells whoever asks which buttons are down.
    if (const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
        xcb_connection_t *c = x11->connection();
        const xcb_setup_t *setup = c ? xcb_get_setup(c) : nullptr;
        if (!setup)
            return false;
        const xcb_window_t root = xcb_setup_roots_iterator(setup).data->root;
        std::unique_ptr<xcb_query_pointer_reply_t, decltype(&std::free)> reply(
            xcb_query_pointer_reply(c, xcb_query_pointer(c, root), nullptr), &std::free);
        constexpr uint16_t kButtons = XCB_BUTTON_MASK_1 | XCB_BUTTON_MASK_2 | XCB_BUTTON_MASK_3;
        return reply && (reply->mask & kButtons) != 0;
    }
#endif
    return false;
}

QRect QtPointer::screenAt(const QPoint &point) const {
    QScreen *screen = QGuiApplication::screenAt(point);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1920, 1080);
}

QtSettings::QtSettings(QString path) : m_path(std::move(path)) {}

QString QtSettings::defaultPath() {
    // As QSettings finds its file on Unix, found without opening it.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/') +
           QCoreApplication::organizationName() + QLatin1Char('/') + QCoreApplication::applicationName() +
           QStringLiteral(".conf");
}

bool QtSettings::usable() const {
    struct stat st {};
    const QByteArray path = QFile::encodeName(m_path);
    if (::stat(path.constData(), &st) != 0 || S_ISREG(st.st_mode))
        return true; // missing: QSettings makes it
    if (!m_reported) {
        m_reported = true;
        std::fprintf(stderr, "lanternfin: %s\n",
                     say(core::MessageId::SettingsNotRegular, {path.toStdString()}).c_str());
    }
    return false;
}

QString QtSettings::value(const QString &key) const {
    if (const auto kept = m_thisRun.constFind(key); kept != m_thisRun.constEnd())
        return *kept;
    if (!usable())
        return {};
    return QSettings(m_path, QSettings::IniFormat).value(key).toString();
}

void QtSettings::setValue(const QString &key, const QString &value) {
    if (!usable()) {
        m_thisRun.insert(key, value);
        return;
    }
    QSettings(m_path, QSettings::IniFormat).setValue(key, value);
}

} // namespace platform
