#pragma once
// Files and folders dropped on the window, or chosen with 转换文件… or 转换文件夹… in the menus of 繁体
// and 简体, converted with that button's current way (a drop on 简体 uses 简体's, anywhere else
// 繁体's), written beside their originals (a folder into a new folder beside it); a progress dialog
// that can cancel shows for work of more than a moment, and one summary at the end. Drops on the
// workspace are taken here, so that the workspace and its undo history are never touched.

#include "platform/text_services.h"
#include "ui/button_ways.h"
#include "ui/ways.h"

#include <QObject>

class QPushButton;
class QWidget;

namespace ui {

struct FileButton {
    QPushButton *button;
    ButtonWays *ways;
    OwnWay own;
};

class FileConversion : public QObject {
    Q_OBJECT
public:
    // Attaches to `window` and its `workspace` (whose viewport gets the drops) and adds 转换文件…
    // and 转换文件夹… to the menus of `traditional` and `simplified`.
    FileConversion(QWidget *window, QWidget *workspace, FileButton traditional, FileButton simplified,
                   const platform::TextServices &services);

    // Converts `paths` with the current way of `button`'s kind, then shows the summary.
    void convert(const QStringList &paths, OwnWay button);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void choose(OwnWay button);
    void chooseFolder(OwnWay button);

    QWidget *m_window;
    FileButton m_traditional, m_simplified;
    const platform::TextServices &m_services;
    bool m_busy = false;
};

} // namespace ui
