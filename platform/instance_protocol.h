#pragma once

// The conversation between a start of the program and the instance already running for the same
// user and display, without any socket: how messages are framed, what a request says, and what a
// start does after trying to reach the running instance. local_instance.* carries it over a
// QLocalSocket.
//
// Framing: one request line from the new start, one reply line from the instance, each UTF-8
// ending in "\n", then the instance closes the connection. A clipboard command may take long
// (a large clipboard, a slow owner of it), so the instance first says "working" at once and then
// gives the outcome; a start that stops waiting closes the connection, and the instance then
// leaves the clipboard as it was.
//   show | toggle | quit | tray          -> "ok"
//   clipboard <command>                  -> "working", then "ok" or "error <message>"
//   anything else                        -> "error <message>"

#include "core/messages.h"

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

enum class Verb {
    Show,      // show and raise the window, from the tray or an edge too
    Toggle,    // what a left click on the tray icon does
    Quit,      // end the program
    Tray,      // nothing: a start in the tray finds the program already running
    Clipboard, // convert the clipboard's text with the command in `argument`
};

// The line by which the instance acknowledges a clipboard command before its outcome.
inline constexpr std::string_view kWorkingLine = "working";

// The longest a clipboard command may take in the instance, from its request to the moment the
// clipboard would be written: later, the instance leaves the clipboard as it was and says so. A
// start waits for the outcome a little longer than this, so that it never reports a failure for
// a command that is then applied.
inline constexpr std::chrono::milliseconds kCommandLimit{30000};

struct Request {
    Verb verb = Verb::Show;
    std::string argument; // the clipboard command; empty for the other verbs
    bool operator==(const Request &) const = default;
};

struct Reply {
    bool ok = true;
    std::string message; // why it failed; empty when ok
    bool operator==(const Reply &) const = default;
};

// The line for `request`, "\n" included.
std::string encodeRequest(const Request &request);

// The request that `line` (without its "\n") asks for; nullopt with `error` set for an unknown
// verb, a missing or surplus argument, or a line that is not printable text.
std::optional<Request> decodeRequest(std::string_view line, std::string &error);

// The line for `reply`, "\n" included; line breaks in the message become spaces.
std::string encodeReply(const Reply &reply);

// The reply that `line` (without its "\n") gives; nullopt for a line that is neither "ok" nor
// "error ...". The message comes as printableText makes it: a reply is printed to the user's
// terminal, and no escape sequence of a stranger's may reach it.
std::optional<Reply> decodeReply(std::string_view line);

// `text` without control characters (C0, DEL and the C1 range U+0080..U+009F, escape sequences'
// introducers), bytes that are not UTF-8 each a '?'; "\x1b[2Jok" -> "[2Jok".
std::string printableText(std::string_view text);

// Collects bytes as they arrive and hands out whole lines. A line longer than kMaxLine bytes
// marks the buffer broken, since no message of ours is that long.
class LineBuffer {
public:
    static constexpr std::size_t kMaxLine = 4096;
    void append(std::string_view bytes);
    // The next whole line without its "\n" (a "\r" before it dropped too); nullopt until one is there.
    std::optional<std::string> takeLine();
    bool broken() const { return m_broken; }

private:
    std::string m_data;
    bool m_broken = false;
};

// The name of the instance's socket for user `uid` on a display: the X display when there is one,
// else the Wayland one, else "none"; characters other than letters, digits, '.', '-' and '_' become
// '_' (":0" -> "lanternfin-1000-_0").
std::string instanceName(unsigned uid, std::string_view x11Display, std::string_view waylandDisplay);

// What trying to reach the running instance gave.
enum class Contact {
    Answered, // it replied to the request
    NoServer, // no socket by that name
    Refused,  // a socket is there but nobody listens: left behind by a crash
    Silent,   // connected (or still connecting) but no reply in time
    Failed,   // any other error of the socket
    Stranger, // the socket is held by a process of another user: never talked to
};

// What the start does next.
enum class StartStep {
    Exit,        // done: leave with the reply's outcome, or with the error for a silent instance
    Listen,      // become the instance
    RemoveStale, // remove the dead socket, then become the instance
    Spawn,       // start the instance in the tray, then send the request again
    Retry,       // the instance started for the request is not listening yet: try again shortly
    ExitQuietly, // nothing to do without an instance (quitting one that is not there)
};

// What a start whose request is `request` does after `contact`. `spawned` is true once an
// instance was started for the request: until it listens the start waits for it, and never
// starts another.
StartStep decideStart(Contact contact, const Request &request, bool spawned = false);

// The message for a start that ends without a reply, e.g. for a silent instance.
core::Message contactError(Contact contact, const std::string &socketName);

} // namespace platform
