#pragma once

// The command line of the window's program: what a start asks of the running instance (or of
// itself, when it becomes the instance), and the exit statuses.

#include "platform/instance_protocol.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace ui {

inline constexpr int kExitDone = 0;   // done
inline constexpr int kExitFailed = 1; // failed; the reason is on stderr
inline constexpr int kExitUsage = 2;  // the command line is wrong

struct Invocation {
    // Set when the program ends right after reading its arguments: --help, --version or a usage
    // error; `output` goes to stdout, `error` to stderr.
    std::optional<int> exitStatus;
    QString output;
    QString error;
    // What the start asks for.
    platform::Request request;
    // When this start becomes the instance: whether the window starts hidden in the tray (when
    // there is one) rather than shown.
    bool startInTray = false;
};

// Reads `arguments` (the program's name first). At most one of --toggle, --show, --quit, --tray
// and --clipboard NAME; none means --show.
Invocation parseCommandLine(const QStringList &arguments);

} // namespace ui
