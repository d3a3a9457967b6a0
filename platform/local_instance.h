#pragma once

// One instance per user and display, over a local socket (QLocalServer/QLocalSocket): a start
// either hands its request to the running instance or becomes the instance itself. The messages
// and the decisions are in instance_protocol.h; this file only carries them.

#include "instance_protocol.h"
#include "private_folder.h"

#include <QObject>
#include <QString>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QLocalServer;
class QLocalSocket;

namespace platform {

// How long a start waits for the running instance's reply before it gives up on it.
inline constexpr std::chrono::milliseconds kReplyTimeout{2000};
// How long the instance waits for a connection's whole request line before dropping it.
inline constexpr std::chrono::milliseconds kIdleLimit{5000};

// The folder for the socket and its lock file of user `uid`: `runtimeDir` ($XDG_RUNTIME_DIR) when
// it is a folder of that user that nobody else may write to; else `tempDir`/lanternfin-<uid>;
// else `fallbackDir`/lanternfin-<uid> (the user's cache folder), each made private. A shared
// temporary folder is never used as it is: anyone could listen or plant files there first. The
// runtime and temporary candidates are passed over when their parent folder lets every user rename
// its entries (writable by all, not sticky); `notice` then says so and where the socket went. Empty
// with `error` set (every folder tried and why) when none is fit.
std::string socketFolder(const std::string &runtimeDir, const std::string &tempDir,
                         const std::string &fallbackDir, unsigned uid, core::Message &error,
                         core::Message *notice = nullptr);

// The socket's full path for instance name `name`, in socketFolder of this process's user and
// environment; empty with `error` set when no private folder can be had. `notice` as socketFolder.
QString instanceSocketPath(const std::string &name, core::Message &error, core::Message *notice = nullptr);

struct ContactResult {
    Contact contact = Contact::Failed;
    Reply reply; // the instance's reply when contact is Answered
};

// The user id of the process at the other end of the connected local socket `fd`; nullopt when
// the system does not tell.
std::optional<unsigned> peerUid(qintptr fd);

// Sends `request` to the instance listening at `path` and waits at most `timeout` in all, from
// connecting to the end of the reply line; once the instance has said it is working on a
// clipboard command, up to `outcomeTimeout` more for the outcome. Nothing is sent when the process
// listening there does not run as `owner` (this process's user when nullopt): that is
// Contact::Stranger. `connected`, when given, is called as soon as a process listens there and
// took the connection. Blocks; needs a QCoreApplication.
ContactResult contactInstance(const QString &path, const Request &request,
                              std::chrono::milliseconds timeout = kReplyTimeout,
                              std::optional<unsigned> owner = std::nullopt,
                              std::chrono::milliseconds outcomeTimeout = kCommandLimit + kReplyTimeout,
                              const std::function<void()> &connected = {});

// Whether the start that sent a request is still waiting for its outcome: asked by a handler
// before it applies a command. False once the start has closed its end, or after the limit.
using StillWanted = std::function<bool()>;

// The running instance's end: reads one request line per connection and writes `handler`'s reply.
// A connection that says nothing whole within a few seconds, or too much, is closed; so is one
// from a process that does not run as `owner` (this process's user when nullopt), unanswered.
// A clipboard request is acknowledged ("working") before the handler runs; the handler gets a
// StillWanted that turns false when its start gave up or `commandLimit` has passed, and must not
// change anything then.
class InstanceServer : public QObject {
public:
    using Handler = std::function<Reply(const Request &, const StillWanted &)>;
    // A handler that answers later, from the event loop, by calling its third argument once; other
    // connections are served meanwhile.
    using AsyncHandler = std::function<void(const Request &, const StillWanted &, std::function<void(Reply)>)>;
    explicit InstanceServer(Handler handler, QObject *parent = nullptr,
                            std::optional<unsigned> owner = std::nullopt,
                            std::chrono::milliseconds commandLimit = kCommandLimit);
    explicit InstanceServer(AsyncHandler handler, QObject *parent = nullptr,
                            std::optional<unsigned> owner = std::nullopt,
                            std::chrono::milliseconds commandLimit = kCommandLimit);
    ~InstanceServer() override;
    // Listens at `path`, reachable by this user only; false with `error` set when the name is in
    // use or cannot be made.
    bool listen(const QString &path, QString &error);
    // The number of requests answered so far (bad ones included).
    int answered() const { return m_answered; }
    // How long a connection may take to send its request line (kIdleLimit); for connections to come.
    void setIdleLimit(std::chrono::milliseconds limit) { m_idleLimit = limit; }

private:
    void serve(QLocalSocket *socket);
    std::unique_ptr<QLocalServer> m_server;
    AsyncHandler m_handler;
    unsigned m_owner;
    std::chrono::milliseconds m_commandLimit;
    std::chrono::milliseconds m_idleLimit = kIdleLimit;
    int m_answered = 0;
};

// How a start ended.
struct StartOutcome {
    enum Kind {
        Forwarded, // the running instance answered; `reply` says how it went
        Instance,  // this process is the instance now: `becomeInstance` returned true
        Failed,    // `error` says why
        Nothing,   // nothing to do (quitting an instance that is not there)
    };
    Kind kind = Failed;
    Reply reply;
    core::Message error;
};

// Starts the instance for a request that needs one; returns the id of the process started, or 0
// when none could be started.
using SpawnInstance = std::function<std::int64_t()>;

// The whole start for `request` at socket `path`. Under a lock file beside the socket, so that
// starts at the same moment end with one instance: contacts the running instance; when there is
// none, removes a stale socket if needed and calls `becomeInstance`, which must start listening
// at `path` and return true once it does (false with its error set when it cannot). A clipboard
// request without an instance calls `spawn` and sends the request again once the new instance
// listens, waiting at most `spawnTimeout` for it, and no longer once that process has ended.
StartOutcome startOrForward(const QString &path, const Request &request,
                            const std::function<bool(std::string &error)> &becomeInstance,
                            const SpawnInstance &spawn,
                            std::chrono::milliseconds replyTimeout = kReplyTimeout,
                            std::chrono::milliseconds spawnTimeout = std::chrono::seconds(15));

} // namespace platform
