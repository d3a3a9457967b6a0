#include "ui/file_conversion.h"

#include "ui/document_files.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QUrl>

#include <algorithm>

namespace ui {

namespace {

QStringList localFiles(const QMimeData *mime) {
    QStringList files;
    if (!mime || !mime->hasUrls())
        return files;
    for (const QUrl &url : mime->urls())
        if (url.isLocalFile())
            files << url.toLocalFile();
    return files;
}

} // namespace

FileConversion::FileConversion(QWidget *window, QWidget *workspace, FileButton traditional,
                               FileButton simplified, const platform::TextServices &services)
    : QObject(window), m_window(window), m_traditional(traditional), m_simplified(simplified),
      m_services(services) {
    window->setAcceptDrops(true);
    window->installEventFilter(this);
    // The workspace would take a dropped file as text; its viewport is asked first.
    if (auto *area = qobject_cast<QAbstractScrollArea *>(workspace))
        area->viewport()->installEventFilter(this);
    workspace->installEventFilter(this);
    for (const FileButton &b : {traditional, simplified}) {
        QMenu *menu = b.ways->menu();
        menu->addSeparator();
        QAction *action = menu->addAction(QString::fromUtf16(kConvertFilesMenu));
        action->setObjectName(b.button->objectName() + QStringLiteral("Files"));
        connect(action, &QAction::triggered, this, [this, own = b.own] { choose(own); });
        QAction *folder = menu->addAction(QString::fromUtf16(kConvertFolderMenu));
        folder->setObjectName(b.button->objectName() + QStringLiteral("Folder"));
        connect(folder, &QAction::triggered, this, [this, own = b.own] { chooseFolder(own); });
    }
}

bool FileConversion::eventFilter(QObject *watched, QEvent *event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDropEvent *>(event);
        if (localFiles(drag->mimeData()).isEmpty())
            return false;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const QStringList files = localFiles(drop->mimeData());
        if (files.isEmpty())
            return false;
        drop->acceptProposedAction();
        const auto *widget = qobject_cast<QWidget *>(watched);
        const QPoint at = widget ? widget->mapTo(m_window, drop->position().toPoint()) : QPoint();
        const bool onSimplified = m_window->childAt(at) == m_simplified.button;
        // Converting opens dialogs: not inside the drop's own event.
        QMetaObject::invokeMethod(
            this,
            [this, files, onSimplified] {
                convert(files, onSimplified ? OwnWay::Simplified : OwnWay::Traditional);
            },
            Qt::QueuedConnection);
        return true;
    }
    default:
        return false;
    }
}

void FileConversion::choose(OwnWay button) {
    const QStringList files = QFileDialog::getOpenFileNames(m_window, QString::fromUtf16(kConvertFilesMenu));
    if (!files.isEmpty())
        convert(files, button);
}

void FileConversion::chooseFolder(OwnWay button) {
    const QString folder =
        QFileDialog::getExistingDirectory(m_window, QString::fromUtf16(kConvertFolderMenu));
    if (!folder.isEmpty())
        convert({folder}, button);
}

void FileConversion::convert(const QStringList &paths, OwnWay button) {
    if (m_busy)
        return;
    const FileButton &b = button == OwnWay::Simplified ? m_simplified : m_traditional;
    const auto way = wayNamed(button, b.ways->defaultKey().toStdString());
    if (!way)
        return;
    m_busy = true;
    const bool folders =
        std::any_of(paths.begin(), paths.end(), [](const QString &p) { return QFileInfo(p).isDir(); });
    const QString title = QString::fromUtf16(folders ? kConvertFolderMenu : kConvertFilesMenu);
    QProgressDialog dialog(QStringLiteral("正在转换文件…"), QStringLiteral("取消"), 0, 1000, m_window);
    dialog.setWindowTitle(title);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumDuration(600); // shown only for work of more than a moment
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    bool cancelled = false;
    const auto results = convertFiles(
        paths, *way, m_services,
        [&](int file, double fraction) {
            dialog.setLabelText(QStringLiteral("正在转换 %1 / %2").arg(file + 1).arg(paths.size()));
            dialog.setValue(static_cast<int>(1000.0 * (file + fraction) / paths.size()));
            QApplication::processEvents();
            return !dialog.wasCanceled();
        },
        cancelled);
    dialog.close();
    m_busy = false;
    // A message box taller than the screen cannot be read: the lists are cut, the whole of them
    // is in the details.
    constexpr int kSummaryLines = 30;
    QMessageBox box(QMessageBox::Information, title, conversionSummary(results, cancelled, kSummaryLines),
                    QMessageBox::Ok, m_window);
    const QString whole = conversionSummary(results, cancelled);
    if (whole != box.text())
        box.setDetailedText(whole);
    box.exec();
}

} // namespace ui
