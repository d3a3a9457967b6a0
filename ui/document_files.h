#pragma once
// Files and folders converted from the window: dropped on it, or chosen with 转换文件… and 转换文件夹…
// in the menus of 繁体 and 简体. Each is converted with the button's current way and written beside
// its original under a name that says the way (报告.docx -> 报告（繁体）.docx, 资料 -> 资料（繁体）),
// never over an existing file or folder; a folder is mirrored whole (platform/folder_mirror.h): its
// texts and documents converted, everything else copied, links kept as links, modes kept. The
// workspace and its undo history are not touched. The decisions here are plain functions;
// FileConversion (file_conversion.h) applies them to the window.

#include "core/document/segments.h"
#include "core/document/xml_part.h"
#include "platform/text_services.h"
#include "ui/ways.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace ui {

inline constexpr const char16_t *kConvertFilesMenu = u"转换文件…";
// A file dialog chooses files or a folder, not both: folders have their own entry.
inline constexpr const char16_t *kConvertFolderMenu = u"转换文件夹…";

// What a way's files are called after: 繁体 or 简体 for the buttons' own ways and the plain phrase
// ways, else the variant's menu label (台湾用词, 香港繁体惯用词).
QString wayFileLabel(const Way &way);

// Where the conversion of `path` is written: beside it, its base name followed by （label） and its
// extension; when `exists` says that is taken, （label）(2), (3)... up to (999); empty if all are.
QString convertedFilePath(const QString &path, const QString &label,
                          const std::function<bool(const QString &)> &exists);

// Where the conversion of the folder `path` is written: beside it, its name followed by （label）
// (资料 -> 资料（繁体）, the whole name: a dot in a folder's name starts no extension); when `exists`
// says that is taken, （label）(2), (3)... up to (999); empty if all are.
QString convertedFolderPath(const QString &path, const QString &label,
                            const std::function<bool(const QString &)> &exists);

struct FileResult {
    QString input;
    QString output; // where it was written; empty when it was not
    QString why;    // why not, when it was not
    QString shown;  // how the summary names it; empty: the file name of `output`, else of `input`
};

// The one message shown when the work is done: what was written, then what was not and why. With
// `lines` of 0 or more, each list is cut after that many lines and says how many more there are
// (a folder may refuse thousands of files; the whole list is for the message's details).
QString conversionSummary(const std::vector<FileResult> &results, bool cancelled, int lines = -1);

// Each of `paths` converted with `way` and written as convertedFilePath says; a folder (or a link
// to one) mirrored whole into the folder convertedFolderPath says. `progress(i, f)` is told that
// path i is fraction f done; false cancels: the file being written leaves nothing behind (a folder
// keeps the files finished, each whole) and the rest are not started. Returns what became of each
// file begun (for a folder: the folder, then each entry of it not written, named from the folder
// on), and sets `cancelled`.
std::vector<FileResult> convertFiles(const QStringList &paths, const Way &way,
                                     const platform::TextServices &services,
                                     const std::function<bool(int, double)> &progress, bool &cancelled);

} // namespace ui
