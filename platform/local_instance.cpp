#include "local_instance.h"

#include "message_language.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>
#include <QThread>
#include <QTimer>

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

using std::chrono::milliseconds;

// While an instance started for a clipboard request comes up, it is asked this often.
constexpr int kSpawnPollMs = 50;
// A start waiting for another one to finish looks again this often.
constexpr int kLockPollMs = 10;

StartOutcome failed(core::Message error) {
    StartOutcome out;
    out.kind = StartOutcome::Failed;
    out.error = std::move(error);
    return out;
}

StartOutcome fromContact(const ContactResult &c, const QString &path) {
    if (c.contact != Contact::Answered)
        return failed(contactError(c.contact, path.toStdString()));
    StartOutcome out;
    out.kind = StartOutcome::Forwarded;
    out.reply = c.reply;
    return out;
}

// Whether process `pid` has ended. A process whose parent does not collect it (a detached one
// under an init that does not reap) stays a zombie, which /proc shows where there is one.
bool processEnded(std::int64_t pid) {
    if (::kill(static_cast<pid_t>(pid), 0) != 0)
        return errno == ESRCH;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const qsizetype close = line.lastIndexOf(") ");
    return close >= 0 && close + 2 < line.size() && (line[close + 2] == 'Z' || line[close + 2] == 'X');
}

// Whether the client at the other end of the connected socket `fd` is still there: a closed end
// reads as the end of the stream.
bool peerWaiting(qintptr fd) {
    if (fd < 0)
        return false;
    char byte;
    const ssize_t got = ::recv(static_cast<int>(fd), &byte, 1, MSG_PEEK | MSG_DONTWAIT);
    return got > 0 || (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR));
}

} // namespace

std::string socketFolder(const std::string &runtimeDir, const std::string &tempDir,
                         const std::string &fallbackDir, unsigned uid, core::Message &error,
                         core::Message *notice) {
    using core::Message;
    using core::MessageId;
    // The reasons of the folders tried, in order, as one message.
    Message tried, passed;
    auto add = [](Message &list, Message reason) {
        list = list.empty() ? std::move(reason)
                            : Message(MessageId::ReasonList, {}, {std::move(list), std::move(reason)});
    };
    error = {};
    // A folder whose parent lets anyone rename its entries could be moved away and replaced by a
    // neighbour, and a second instance would start beside the first: such a candidate is passed
    // over, and the reason kept for the notice.
    auto parentOf = [](std::string path) {
        while (path.size() > 1 && path.back() == '/')
            path.pop_back();
        const auto slash = path.rfind('/');
        return slash == std::string::npos ? std::string(".")
               : slash == 0               ? std::string("/")
                                          : path.substr(0, slash);
    };
    if (!runtimeDir.empty()) {
        struct stat st {};
        Message open = openToRenames(parentOf(runtimeDir));
        if (!open.empty()) {
            add(tried, Message(MessageId::RuntimeDirPassedOver, {runtimeDir}, {open}));
            add(passed, Message(MessageId::RuntimeDirPassedOver, {runtimeDir}, {open}));
        } else if (::lstat(runtimeDir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == uid &&
                   (st.st_mode & 022) == 0) {
            return runtimeDir;
        } else {
            add(tried, Message(MessageId::RuntimeDirNotPrivate, {runtimeDir}));
        }
    }
    const std::string own = "lanternfin-" + std::to_string(uid);
    for (const bool temp : {true, false}) {
        const std::string &base = temp ? tempDir : fallbackDir;
        if (base.empty())
            continue;
        const std::string folder = base + "/" + own;
        if (temp) {
            if (Message open = openToRenames(base); !open.empty()) {
                add(tried, Message(MessageId::FolderPassedOver, {folder}, {open}));
                add(passed, Message(MessageId::FolderPassedOver, {folder}, {open}));
                continue;
            }
        }
        Message problem = makePrivateFolder(folder, uid);
        if (problem.empty()) {
            if (notice && !passed.empty())
                *notice = Message(MessageId::SocketFolderNotice, {}, {passed, Message::verbatim(folder)});
            return folder;
        }
        add(tried, Message(MessageId::FolderProblem, {folder}, {std::move(problem)}));
    }
    error = Message(MessageId::NoPrivateSocketFolder, {}, {tried});
    return {};
}

QString instanceSocketPath(const std::string &name, core::Message &error, core::Message *notice) {
    QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    if (!cache.startsWith(QLatin1Char('/')))
        cache = QDir::homePath() + QStringLiteral("/.cache");
    QDir().mkpath(cache);
    const std::string folder =
        socketFolder(qEnvironmentVariable("XDG_RUNTIME_DIR").toStdString(), QDir::tempPath().toStdString(),
                     cache.toStdString(), static_cast<unsigned>(::getuid()), error, notice);
    if (folder.empty())
        return {};
    return QString::fromStdString(folder + "/" + name);
}

std::optional<unsigned> peerUid(qintptr fd) {
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (fd < 0 || ::getsockopt(static_cast<int>(fd), SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0)
        return std::nullopt;
    return static_cast<unsigned>(credentials.uid);
}

ContactResult contactInstance(const QString &path, const Request &request, milliseconds timeout,
                              std::optional<unsigned> owner, milliseconds outcomeTimeout,
                              const std::function<void()> &connected) {
    QElapsedTimer clock;
    clock.start();
    auto left = [&] { return static_cast<int>(std::max<qint64>(0, timeout.count() - clock.elapsed())); };

    QLocalSocket socket;
    socket.connectToServer(path);
    if (socket.state() != QLocalSocket::ConnectedState && !socket.waitForConnected(left())) {
        switch (socket.error()) {
        case QLocalSocket::ServerNotFoundError:
            return {Contact::NoServer, {}};
        case QLocalSocket::ConnectionRefusedError:
            return {Contact::Refused, {}};
        case QLocalSocket::SocketTimeoutError:
            return {Contact::Silent, {}};
        default:
            // Still connecting when the time is up: the instance's backlog is full.
            return {socket.state() == QLocalSocket::ConnectingState ? Contact::Silent : Contact::Failed, {}};
        }
    }
    if (connected)
        connected();
    // Whoever listens there hears nothing of ours unless it is this user's own instance.
    if (peerUid(socket.socketDescriptor()) != owner.value_or(static_cast<unsigned>(::getuid())))
        return {Contact::Stranger, {}};
    const std::string line = encodeRequest(request);
    socket.write(line.data(), static_cast<qint64>(line.size()));
    socket.flush();

    LineBuffer buffer;
    for (;;) {
        buffer.append(socket.readAll().toStdString());
        if (std::optional<std::string> got = buffer.takeLine()) {
            if (*got == kWorkingLine && request.verb == Verb::Clipboard) {
                // The instance has the command: from now on the wait is the command's own.
                timeout = milliseconds(clock.elapsed()) + outcomeTimeout;
                continue;
            }
            if (std::optional<Reply> reply = decodeReply(*got))
                return {Contact::Answered, *reply};
            return {Contact::Failed, {}};
        }
        if (buffer.broken())
            return {Contact::Failed, {}};
        if (socket.state() != QLocalSocket::ConnectedState)
            return {Contact::Failed, {}}; // closed without a whole reply
        if (left() == 0)
            return {Contact::Silent, {}};
        if (!socket.waitForReadyRead(left()) && socket.state() == QLocalSocket::ConnectedState &&
            socket.bytesAvailable() == 0)
            return {Contact::Silent, {}};
    }
}

InstanceServer::InstanceServer(Handler handler, QObject *parent, std::optional<unsigned> owner,
                               milliseconds commandLimit)
    : InstanceServer(
          AsyncHandler([handler = std::move(handler)](const Request &request, const StillWanted &wanted,
                                                      const std::function<void(Reply)> &reply) {
              reply(handler(request, wanted));
          }),
          parent, owner, commandLimit) {}

InstanceServer::InstanceServer(AsyncHandler handler, QObject *parent, std::optional<unsigned> owner,
                               milliseconds commandLimit)
    : QObject(parent), m_server(std::make_unique<QLocalServer>()), m_handler(std::move(handler)),
      m_owner(owner.value_or(static_cast<unsigned>(::getuid()))), m_commandLimit(commandLimit) {
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection())
            serve(socket);
    });
}

InstanceServer::~InstanceServer() = default;

bool InstanceServer::listen(const QString &path, QString &error) {
    if (m_server->listen(path))
        return true;
    // The system's reason where Qt tells it, in the language of the program's other messages.
    switch (m_server->serverError()) {
    case QAbstractSocket::AddressInUseError:
        error = QString::fromStdString(say(core::Message(core::MessageId::ErrorAddressInUse)));
        break;
    case QAbstractSocket::SocketAccessError:
        error = QString::fromStdString(say(core::systemError(EACCES)));
        break;
    default:
        error = m_server->errorString();
    }
    return false;
}

void InstanceServer::serve(QLocalSocket *socket) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    // Another user's process that reached the socket (through a folder too open) gets nothing.
    if (peerUid(socket->socketDescriptor()) != m_owner) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    // Qt would otherwise take in whatever the peer sends, also after the request while its command
    // runs: no more than a request line is held, and a peer that goes on sending waits.
    socket->setReadBufferSize(static_cast<qint64>(LineBuffer::kMaxLine) + 2);
    auto buffer = std::make_shared<LineBuffer>();
    auto idle = new QTimer(socket);
    idle->setSingleShot(true);
    connect(idle, &QTimer::timeout, socket, [socket] { socket->abort(); });
    idle->start(static_cast<int>(m_idleLimit.count()));
    auto read = std::make_shared<QMetaObject::Connection>();
    *read = connect(socket, &QLocalSocket::readyRead, this, [this, socket, buffer, read, idle] {
        buffer->append(socket->readAll().toStdString());
        std::optional<std::string> line = buffer->takeLine();
        if (!line && !buffer->broken())
            return;
        // One request per connection: this connection is done reading before the handler is
        // called, and it is not dropped as idle while the command runs.
        disconnect(*read);
        idle->stop();
        QPointer<QLocalSocket> alive(socket);
        QPointer<InstanceServer> self(this);
        // Writes the reply, once, if the start is still connected.
        auto answer = [self, alive](const Reply &reply) {
            if (self)
                ++self->m_answered;
            if (!alive)
                return;
            const std::string out = encodeReply(reply);
            alive->write(out.data(), static_cast<qint64>(out.size()));
            alive->flush();
            alive->disconnectFromServer();
        };
        if (!line) {
            answer(Reply{false, "request too long"});
            return;
        }
        std::string error;
        const std::optional<Request> request = decodeRequest(*line, error);
        if (!request) {
            answer(Reply{false, error});
            return;
        }
        if (request->verb == Verb::Clipboard) {
            const std::string working = std::string(kWorkingLine) + "\n";
            socket->write(working.data(), static_cast<qint64>(working.size()));
            socket->flush();
        }
        QElapsedTimer clock;
        clock.start();
        const milliseconds limit = m_commandLimit;
        const StillWanted wanted = [alive, clock, limit] {
            return alive && alive->state() == QLocalSocket::ConnectedState &&
                   clock.elapsed() < limit.count() && peerWaiting(alive->socketDescriptor());
        };
        auto once = std::make_shared<bool>(false);
        m_handler(*request, wanted, [answer, once](const Reply &reply) {
            if (*once)
                return;
            *once = true;
            answer(reply);
        });
    });
    if (socket->bytesAvailable() > 0)
        emit socket->readyRead();
}

StartOutcome startOrForward(const QString &path, const Request &request,
                            const std::function<bool(std::string &)> &becomeInstance,
                            const SpawnInstance &spawn, milliseconds replyTimeout,
                            milliseconds spawnTimeout) {
    // The lock turns "ask the instance, else become it" into one step: a second start waits here
    // and then finds the first one listening. A lock left by a crashed start is taken over (its
    // owner process is gone).
    // QLockFile's own wait doubles its pause up to seconds; starts hold the lock for moments only.
    QLockFile lock(path + QStringLiteral(".lock"));
    QElapsedTimer waited;
    waited.start();
    while (!lock.tryLock(0)) {
        if (lock.error() != QLockFile::LockFailedError || waited.elapsed() > 3 * replyTimeout.count())
            return failed({lock.error() == QLockFile::LockFailedError ? core::MessageId::StartLockHeld
                                                                      : core::MessageId::StartLockFailed,
                           {lock.fileName().toStdString()}});
        QThread::msleep(kLockPollMs);
    }

    // Once something listens at the socket this start only talks to it, which may take as long as
    // a clipboard command: other starts need not wait for that.
    const ContactResult first =
        contactInstance(path, request, replyTimeout, std::nullopt, kCommandLimit + kReplyTimeout,
                        [&lock] { lock.unlock(); });
    switch (decideStart(first.contact, request)) {
    case StartStep::Exit:
    case StartStep::Retry:
        return fromContact(first, path);
    case StartStep::ExitQuietly: {
        StartOutcome out;
        out.kind = StartOutcome::Nothing;
        return out;
    }
    case StartStep::RemoveStale:
        QLocalServer::removeServer(path);
        [[fallthrough]];
    case StartStep::Listen: {
        std::string error;
        if (!becomeInstance(error))
            return failed({core::MessageId::CannotListen, {path.toStdString(), error}});
        StartOutcome out;
        out.kind = StartOutcome::Instance;
        return out;
    }
    case StartStep::Spawn:
        break;
    }

    // The instance started for this request takes the lock itself.
    lock.unlock();
    const std::int64_t pid = spawn();
    if (pid <= 0)
        return failed(core::MessageId::CannotStartInBackground);
    QElapsedTimer clock;
    clock.start();
    bool ended = false;
    for (;;) {
        const ContactResult c = contactInstance(path, request, replyTimeout);
        if (decideStart(c.contact, request, true) != StartStep::Retry ||
            clock.elapsed() > spawnTimeout.count())
            return fromContact(c, path);
        // The process started may end at once when another start's instance won; that one is
        // asked once more before giving up.
        if (ended)
            return failed({core::MessageId::BackgroundEndedEarly, {path.toStdString()}});
        ended = processEnded(pid);
        QThread::msleep(kSpawnPollMs);
    }
}

} // namespace platform
