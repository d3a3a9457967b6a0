// One instance per display over real local sockets: requests reach the instance, a socket left
// by a crash does not block a start, a silent instance is never replaced, and starts at the same
// moment end with one instance.

#include "platform/local_instance.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;
using platform::Reply;
using platform::Request;
using platform::StartOutcome;
using platform::Verb;

// An instance in a thread of its own, so that blocking clients in the test's thread reach it.
class ServingThread {
public:
    // `handler` replaces the plain one, which answers "too large" to the clipboard's money.
    ServingThread(QString path, std::chrono::milliseconds delay = 0ms, std::optional<unsigned> owner = {},
                  platform::InstanceServer::Handler handler = {},
                  std::chrono::milliseconds commandLimit = platform::kCommandLimit,
                  std::chrono::milliseconds idleLimit = platform::kIdleLimit) {
        m_thread.reset(QThread::create([this, path, delay, owner, handler, commandLimit, idleLimit] {
            QThread::msleep(static_cast<unsigned long>(delay.count()));
            platform::InstanceServer server(
                [this, handler](const Request &r, const platform::StillWanted &wanted) {
                    requests.push_back(r);
                    if (handler)
                        return handler(r, wanted);
                    return r.verb == Verb::Clipboard && r.argument == "money" ? Reply{false, "too large"}
                                                                              : Reply{};
                },
                nullptr, owner, commandLimit);
            server.setIdleLimit(idleLimit);
            QString error;
            listening = server.listen(path, error);
            while (listening && !m_stop)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 10), QThread::msleep(1);
        }));
        m_thread->start();
    }
    ~ServingThread() {
        m_stop = true;
        m_thread->wait();
    }
    bool waitListening() {
        for (int i = 0; i < 500 && !listening; ++i)
            QThread::msleep(10);
        return listening;
    }
    std::atomic<bool> listening{false};
    std::vector<Request> requests; // read only after the thread has stopped

    void stop() {
        m_stop = true;
        m_thread->wait();
    }

private:
    std::atomic<bool> m_stop{false};
    std::unique_ptr<QThread> m_thread;
};

// A socket file nobody listens on, as a crash leaves it; with `listening`, one that accepts into
// its backlog but never answers, as a hung instance does.
int deadSocket(const QString &path, bool listening) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const QByteArray p = path.toLocal8Bit();
    std::memcpy(addr.sun_path, p.constData(), static_cast<std::size_t>(p.size()));
    EXPECT_EQ(::bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr), 0);
    if (listening) {
        EXPECT_EQ(::listen(fd, 8), 0);
        return fd;
    }
    ::close(fd);
    return -1;
}

// A plain socket connected to `path`; -1 when it cannot connect.
int rawConnect(const QString &path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const QByteArray p = path.toLocal8Bit();
    std::memcpy(addr.sun_path, p.constData(), static_cast<std::size_t>(p.size()));
    if (::connect(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// A raw line to the instance and its raw reply.
QByteArray exchange(const QString &path, const QByteArray &line) {
    QLocalSocket s;
    s.connectToServer(path);
    if (!s.waitForConnected(2000))
        return "not connected";
    s.write(line);
    s.flush();
    QByteArray reply;
    while (!reply.endsWith('\n') && s.waitForReadyRead(2000))
        reply += s.readAll();
    return reply + s.readAll();
}

// A `becomeInstance` for startOrForward: makes `server` and listens at `path`.
std::function<bool(std::string &)> listenInto(std::unique_ptr<platform::InstanceServer> &server,
                                              const QString &path, std::function<void()> onRequest = {}) {
    return [&server, path, onRequest](std::string &error) {
        server = std::make_unique<platform::InstanceServer>(
            [onRequest](const Request &, const platform::StillWanted &) {
                if (onRequest)
                    onRequest();
                return Reply{};
            });
        QString e;
        const bool ok = server->listen(path, e);
        error = e.toStdString();
        return ok;
    };
}

class LocalInstanceTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("instance"));
};

TEST_F(LocalInstanceTest, RequestsReachTheInstanceAndRepliesComeBack) {
    ServingThread instance(path);
    ASSERT_TRUE(instance.waitListening());
    const platform::ContactResult shown = platform::contactInstance(path, {Verb::Show, {}});
    EXPECT_EQ(shown.contact, platform::Contact::Answered);
    EXPECT_TRUE(shown.reply.ok);
    const platform::ContactResult refused = platform::contactInstance(path, {Verb::Clipboard, "money"});
    EXPECT_EQ(refused.reply, (Reply{false, "too large"}));
    instance.stop();
    EXPECT_EQ(instance.requests, (std::vector<Request>{{Verb::Show, {}}, {Verb::Clipboard, "money"}}));
}

TEST_F(LocalInstanceTest, UnknownAndOversizedRequestsAreAnsweredWithAnError) {
    ServingThread instance(path);
    ASSERT_TRUE(instance.waitListening());
    EXPECT_EQ(exchange(path, "frobnicate\n"), "error unknown request 'frobnicate'\n");
    EXPECT_EQ(exchange(path, "clipboard\n"), "error clipboard needs one command name\n");
    EXPECT_EQ(exchange(path, QByteArray(5000, 'x')), "error request too long\n");
    // Only the first line of a connection counts.
    EXPECT_EQ(exchange(path, "tray\nquit\n"), "ok\n");
    instance.stop();
    EXPECT_EQ(instance.requests, (std::vector<Request>{{Verb::Tray, {}}}));
}

// What a neighbour may send: whatever it is, the instance answers with an error or drops the
// connection, in its own time, while other starts are served; only a whole request is run.
TEST_F(LocalInstanceTest, HalfSentStalledAndGarbledRequestsNeverHoldTheInstance) {
    ServingThread instance(path, 0ms, {}, {}, platform::kCommandLimit, 200ms);
    ASSERT_TRUE(instance.waitListening());
    QFileInfo socket(path);
    EXPECT_EQ(socket.permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                      QFile::ReadOther | QFile::WriteOther | QFile::ExeOther),
              QFile::Permissions()); // only its user may connect
    struct Case {
        const char *what;
        QByteArray sent;
        bool hangUp;          // closes its end right after sending
        const char *replyHas; // empty: no reply at all
    };
    const Case cases[] = {
        {"stalled mid-line", "clipboard up", false, ""},
        {"hung up mid-line", "clipboard up", true, ""},
        {"nothing at all", "", false, ""},
        {"a flood without a line end", QByteArray(8 << 20, 'x'), false, "error request too long"},
        {"control characters", "clip\x1b[2Jboard upper\n", false, "error "},
        {"NUL and bytes that are not UTF-8", QByteArray("show\0\xff\xfe\n", 8), false, "error "},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        // A plain socket: what the instance said stays readable after it closed the connection.
        const int fd = rawConnect(path);
        ASSERT_GE(fd, 0);
        const timeval wait{5, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
        ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &wait, sizeof wait);
        for (qsizetype sent = 0; sent < c.sent.size();) {
            const ssize_t n = ::send(fd, c.sent.constData() + sent,
                                     static_cast<std::size_t>(c.sent.size() - sent), MSG_NOSIGNAL);
            if (n <= 0)
                break; // the instance closed its end
            sent += n;
        }
        if (c.hangUp)
            ::close(fd);
        // Meanwhile another start is answered at once.
        const platform::ContactResult shown = platform::contactInstance(path, {Verb::Show, {}}, 1000ms);
        EXPECT_EQ(shown.contact, platform::Contact::Answered);
        if (c.hangUp)
            continue;
        QByteArray reply;
        char buf[4096];
        ssize_t got;
        while ((got = ::read(fd, buf, sizeof buf)) > 0)
            reply.append(buf, got);
        EXPECT_EQ(got, 0); // the instance closed it, well before the read's 5 s
        ::close(fd);
        if (*c.replyHas)
            EXPECT_TRUE(reply.startsWith(c.replyHas)) << reply.toStdString();
        else
            EXPECT_TRUE(reply.isEmpty()) << reply.toStdString();
    }
    instance.stop();
    // Only the starts' own requests ran.
    EXPECT_EQ(instance.requests, std::vector<Request>(std::size(cases), Request{Verb::Show, {}}));
}

// A peer that goes on sending after its request, while the command runs, is not read into memory.
TEST_F(LocalInstanceTest, BytesAfterTheRequestWaitInThePeer) {
    std::atomic<bool> stop{false}, listening{false}, asked{false};
    std::unique_ptr<QThread> thread(QThread::create([&] {
        std::function<void(Reply)> held; // the command never ends while the test runs
        platform::InstanceServer server(platform::InstanceServer::AsyncHandler(
            [&](const Request &, const platform::StillWanted &, std::function<void(Reply)> reply) {
                held = std::move(reply);
                asked = true;
            }));
        QString error;
        listening = server.listen(path, error);
        while (listening && !stop)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10), QThread::msleep(1);
    }));
    thread->start();
    for (int i = 0; i < 500 && !listening; ++i)
        QThread::msleep(10);
    ASSERT_TRUE(listening);
    const int fd = rawConnect(path);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "clipboard upper\n", 16), 16);
    for (int i = 0; i < 500 && !asked; ++i)
        QThread::msleep(10);
    ASSERT_TRUE(asked);
    ::fcntl(fd, F_SETFL, O_NONBLOCK);
    // Sends until the instance stops taking bytes for a while, or far more than it should hold.
    const std::string chunk(64 << 10, 'y');
    std::size_t taken = 0;
    QElapsedTimer idle;
    idle.start();
    while (taken < (std::size_t(32) << 20) && idle.elapsed() < 300) {
        const ssize_t n = ::send(fd, chunk.data(), chunk.size(), MSG_NOSIGNAL);
        if (n > 0) {
            taken += static_cast<std::size_t>(n);
            idle.restart();
        } else {
            QThread::msleep(5);
        }
    }
    ::close(fd);
    stop = true;
    thread->wait();
    // The system's buffer for the socket and one request line, no more.
    EXPECT_LT(taken, std::size_t(4) << 20);
}

TEST_F(LocalInstanceTest, AStaleSocketIsRemovedAndTheStartGoesOn) {
    deadSocket(path, false);
    ASSERT_TRUE(QFile::exists(path));
    EXPECT_EQ(platform::contactInstance(path, {Verb::Show, {}}).contact, platform::Contact::Refused);
    std::unique_ptr<platform::InstanceServer> server;
    const StartOutcome out = platform::startOrForward(path, {Verb::Show, {}}, listenInto(server, path),
                                                      [] { return ADD_FAILURE(), std::int64_t{0}; });
    EXPECT_EQ(out.kind, StartOutcome::Instance) << out.error;
    // Quitting when nothing runs does nothing and starts nothing.
    QTemporaryDir other;
    const StartOutcome quit = platform::startOrForward(
        other.filePath("instance"), {Verb::Quit, {}}, [](std::string &) { return ADD_FAILURE(), false; },
        [] { return ADD_FAILURE(), std::int64_t{0}; });
    EXPECT_EQ(quit.kind, StartOutcome::Nothing);
}

TEST_F(LocalInstanceTest, ASilentInstanceIsAnErrorNeverASecondInstance) {
    const int fd = deadSocket(path, true);
    const auto started = std::chrono::steady_clock::now();
    for (const Request &r : {Request{Verb::Show, {}}, Request{Verb::Clipboard, "upper"}}) {
        const StartOutcome out = platform::startOrForward(
            path, r, [](std::string &) { return ADD_FAILURE(), false; },
            [] { return ADD_FAILURE(), std::int64_t{0}; }, 300ms);
        EXPECT_EQ(out.kind, StartOutcome::Failed);
        EXPECT_NE(out.error.in(core::Language::English).find("does not answer"), std::string::npos)
            << out.error;
    }
    const auto took = std::chrono::steady_clock::now() - started;
    EXPECT_GE(took, 600ms);
    EXPECT_LT(took, 3s);
    EXPECT_TRUE(QFile::exists(path)); // the hung instance keeps its socket
    ::close(fd);
}

TEST_F(LocalInstanceTest, AClipboardRequestStartsTheInstanceAndWaitsForIt) {
    std::unique_ptr<ServingThread> spawned;
    const StartOutcome out = platform::startOrForward(
        path, {Verb::Clipboard, "traditional"}, [](std::string &) { return ADD_FAILURE(), false; },
        [&] {
            spawned = std::make_unique<ServingThread>(path, 300ms);  // slow to come up
            return std::int64_t(QCoreApplication::applicationPid()); // alive all along
        });
    EXPECT_EQ(out.kind, StartOutcome::Forwarded) << out.error;
    EXPECT_TRUE(out.reply.ok);
    ASSERT_TRUE(spawned);
    spawned->stop();
    EXPECT_EQ(spawned->requests, (std::vector<Request>{{Verb::Clipboard, "traditional"}}));

    // An instance that cannot be started, or never comes up, is an error.
    QTemporaryDir other;
    const QString otherPath = other.filePath("instance");
    const StartOutcome notStarted = platform::startOrForward(
        otherPath, {Verb::Clipboard, "upper"}, [](std::string &) { return false; },
        [] { return std::int64_t{0}; });
    EXPECT_EQ(notStarted.kind, StartOutcome::Failed);
    const auto self = [] { return std::int64_t(QCoreApplication::applicationPid()); };
    const StartOutcome neverUp = platform::startOrForward(
        otherPath, {Verb::Clipboard, "upper"}, [](std::string &) { return false; }, self, 2s, 300ms);
    EXPECT_EQ(neverUp.kind, StartOutcome::Failed);
    EXPECT_NE(neverUp.error.in(core::Language::English).find("could not be started"), std::string::npos)
        << neverUp.error;
    // A started process that ends without listening is not waited for to the end.
    const auto started = std::chrono::steady_clock::now();
    const StartOutcome ended = platform::startOrForward(
        otherPath, {Verb::Clipboard, "upper"}, [](std::string &) { return false; },
        [] {
            qint64 pid = 0;
            QProcess::startDetached(QStringLiteral("true"), {}, {}, &pid);
            return std::int64_t(pid);
        },
        2s, 20s);
    EXPECT_EQ(ended.kind, StartOutcome::Failed);
    EXPECT_NE(ended.error.in(core::Language::English).find("ended before it listened"), std::string::npos)
        << ended.error;
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
}

TEST_F(LocalInstanceTest, StartsAtTheSameMomentEndWithOneInstance) {
    for (const bool stale : {false, true}) {
        SCOPED_TRACE(stale ? "after a crash" : "fresh");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("instance"));
        // After a crash every start finds the dead socket and would remove it: without the lock, a
        // late one removes the socket of the one that already listens, and both go on as instances.
        if (stale)
            deadSocket(path, false);
        constexpr int kStarts = 6;
        std::atomic<int> instances{0}, forwarded{0}, finished{0}, served{0};
        std::atomic<bool> go{false};
        std::vector<std::unique_ptr<QThread>> starts;
        for (int i = 0; i < kStarts; ++i) {
            starts.emplace_back(QThread::create([&] {
                while (!go)
                    QThread::yieldCurrentThread();
                std::unique_ptr<platform::InstanceServer> server;
                const auto listen = listenInto(server, path, [&] { ++served; });
                const StartOutcome out = platform::startOrForward(
                    path, {Verb::Show, {}},
                    [&](std::string &error) {
                        // A start takes a moment to build its window before it listens.
                        QThread::msleep(20);
                        return listen(error);
                    },
                    [] { return std::int64_t{0}; });
                if (out.kind == StartOutcome::Instance)
                    ++instances;
                if (out.kind == StartOutcome::Forwarded && out.reply.ok)
                    ++forwarded;
                ++finished;
                // The instance serves the others until all of them are done.
                const auto until = std::chrono::steady_clock::now() + 20s;
                while (server && finished < kStarts && std::chrono::steady_clock::now() < until) {
                    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
                    QThread::msleep(1);
                }
            }));
            starts.back()->start();
        }
        go = true;
        for (auto &t : starts)
            t->wait();
        EXPECT_EQ(instances, 1);
        EXPECT_EQ(forwarded, kStarts - 1);
        EXPECT_EQ(served, kStarts - 1);
    }
}

TEST_F(LocalInstanceTest, AClipboardCommandIsAcknowledgedAtOnceAndNeverAppliedForAStartThatGaveUp) {
    // A command that takes a while (a large clipboard, a slow owner of it), then applies itself
    // only while its start still waits, as the window's clipboard commands do.
    std::atomic<int> applied{0}, dropped{0};
    const platform::InstanceServer::Handler slow = [&](const Request &, const platform::StillWanted &wanted) {
        QThread::msleep(400);
        if (!wanted())
            return ++dropped, Reply{false, "given up"};
        ++applied;
        return Reply{};
    };
    struct Case {
        const char *what;
        std::chrono::milliseconds outcomeWait;  // how long the start waits once acknowledged
        std::chrono::milliseconds commandLimit; // the instance's own limit
        platform::Contact contact;
        int applied, dropped;
    };
    const Case cases[] = {
        // The first reply wait (100 ms) is far shorter than the command: the acknowledgement counts.
        {"waited for", 5s, 5s, platform::Contact::Answered, 1, 0},
        {"start gave up", 50ms, 5s, platform::Contact::Silent, 0, 1},
        {"over the instance's limit", 5s, 200ms, platform::Contact::Answered, 0, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        applied = dropped = 0;
        QTemporaryDir here;
        const QString at = here.filePath(QStringLiteral("instance"));
        ServingThread instance(at, 0ms, {}, slow, c.commandLimit);
        ASSERT_TRUE(instance.waitListening());
        const platform::ContactResult got =
            platform::contactInstance(at, {Verb::Clipboard, "upper"}, 100ms, std::nullopt, c.outcomeWait);
        EXPECT_EQ(got.contact, c.contact);
        if (got.contact == platform::Contact::Answered) {
            EXPECT_EQ(got.reply.ok, c.applied == 1);
        }
        // The instance finishes the command whether or not its start still listens.
        for (int i = 0; i < 300 && applied + dropped == 0; ++i)
            QThread::msleep(10);
        instance.stop();
        EXPECT_EQ(applied, c.applied);
        EXPECT_EQ(dropped, c.dropped);
    }
}

// What a process of user `uid` (made with fork and setuid, so root only) did at `path`: as a
// listener it answers "ok" to anyone; as a client it sends "show". Returns what it received.
std::string asOtherUser(unsigned uid, const QString &path, bool listen) {
    int result[2], ready[2];
    if (::pipe(result) != 0 || ::pipe(ready) != 0)
        return "no pipe";
    const pid_t child = fork();
    if (child == 0) {
        ::alarm(10); // never outlive a test that went wrong
        ::signal(SIGPIPE, SIG_IGN); // a reply to a client that already hung up is not a failure
        if (::setgid(uid) != 0 || ::setuid(uid) != 0)
            _exit(1);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        const QByteArray p = path.toLocal8Bit();
        std::memcpy(addr.sun_path, p.constData(), static_cast<std::size_t>(p.size()));
        int conn = fd;
        if (listen) {
            if (::bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0 || ::listen(fd, 4) != 0)
                _exit(2);
            (void)!::write(ready[1], "r", 1);
            conn = ::accept(fd, nullptr, nullptr);
        } else if (::connect(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0) {
            _exit(3);
        } else {
            (void)!::write(conn, "show\n", 5);
        }
        char buf[256];
        ssize_t got;
        while ((got = ::read(conn, buf, sizeof buf)) > 0) {
            (void)!::write(result[1], buf, static_cast<std::size_t>(got));
            if (listen)
                (void)!::write(conn, "error \x1b[2Jowned\n", 16);
        }
        _exit(0);
    }
    ::close(result[1]);
    ::close(ready[1]);
    if (listen) {
        char r;
        if (::read(ready[0], &r, 1) != 1)
            return "the other user could not listen";
        EXPECT_EQ(platform::contactInstance(path, {Verb::Show, {}}).contact, platform::Contact::Stranger);
    }
    std::string received;
    char buf[256];
    ssize_t got;
    while ((got = ::read(result[0], buf, sizeof buf)) > 0)
        received.append(buf, static_cast<std::size_t>(got));
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(result[0]);
    ::close(ready[0]);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? received
                                                         : "the other user failed " + std::to_string(status);
}

TEST_F(LocalInstanceTest, AProcessOfAnotherUserIsNeitherToldNorAnswered) {
    // Faked: the instance and the start expect another user than this one.
    const unsigned other = static_cast<unsigned>(getuid()) + 1;
    ServingThread instance(path);
    ASSERT_TRUE(instance.waitListening());
    EXPECT_EQ(platform::contactInstance(path, {Verb::Show, {}}, 2s, other).contact,
              platform::Contact::Stranger);
    instance.stop();
    EXPECT_TRUE(instance.requests.empty());

    const QString strict = dir.filePath(QStringLiteral("strict"));
    ServingThread picky(strict, 0ms, other);
    ASSERT_TRUE(picky.waitListening());
    EXPECT_EQ(exchange(strict, "show\n"), "");
    picky.stop();
    EXPECT_TRUE(picky.requests.empty());
}

TEST_F(LocalInstanceTest, AnotherRealUserGetsNothingEitherWay) {
    if (geteuid() != 0)
        GTEST_SKIP() << "a second user needs root";
    ::chmod(dir.path().toLocal8Bit().constData(), 0777);
    // A stranger who listens first hears nothing, and its reply is never read.
    EXPECT_EQ(asOtherUser(65534, path, true), "");

    // A stranger who reaches the instance (its socket opened up) is not answered.
    const QString open = dir.filePath(QStringLiteral("open"));
    ServingThread instance(open);
    ASSERT_TRUE(instance.waitListening());
    ::chmod(open.toLocal8Bit().constData(), 0777);
    EXPECT_EQ(asOtherUser(65534, open, false), "");
    instance.stop();
    EXPECT_TRUE(instance.requests.empty());
}

TEST(SocketFolder, WithoutARuntimeFolderAPrivateOneIsMadeAndPlantedThingsAreSkipped) {
    const unsigned uid = static_cast<unsigned>(getuid());
    const std::string own = "lanternfin-" + std::to_string(uid);
    struct Case {
        const char *what;
        std::function<void(const std::string &tmp)> plant; // in the shared temporary folder
        bool runtime;                                      // a proper runtime folder is given
        const char *chosen;                                // "runtime", "tmp" or "cache"
    };
    const Case cases[] = {
        {"runtime folder", [](const std::string &) {}, true, "runtime"},
        {"nothing there", [](const std::string &) {}, false, "tmp"},
        {"our folder, too open",
         [&](const std::string &t) {
             ::mkdir((t + "/" + own).c_str(), 0777), ::chmod((t + "/" + own).c_str(), 0777);
         },
         false, "tmp"},
        {"a plain file",
         [&](const std::string &t) {
             QFile f(QString::fromStdString(t + "/" + own));
             f.open(QIODevice::WriteOnly);
         },
         false, "cache"},
        {"a link to a folder of ours",
         [&](const std::string &t) {
             ::mkdir((t + "/mine").c_str(), 0700);
             ::symlink((t + "/mine").c_str(), (t + "/" + own).c_str());
         },
         false, "cache"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir base;
        const std::string root = base.path().toStdString();
        const std::string tmp = root + "/tmp", cache = root + "/cache", runtime = root + "/run";
        ::mkdir(tmp.c_str(), 01777);
        ::chmod(tmp.c_str(), 01777);
        ::mkdir(cache.c_str(), 0700);
        ::mkdir(runtime.c_str(), 0700);
        c.plant(tmp);
        core::Message error;
        const std::string folder =
            platform::socketFolder(c.runtime ? runtime : root + "/missing", tmp, cache, uid, error);
        const std::string expected = std::string(c.chosen) == "runtime" ? runtime
                                     : std::string(c.chosen) == "tmp"   ? tmp + "/" + own
                                                                        : cache + "/" + own;
        EXPECT_EQ(folder, expected) << error;
        struct stat st {};
        ASSERT_EQ(::lstat(folder.c_str(), &st), 0);
        EXPECT_TRUE(S_ISDIR(st.st_mode));
        EXPECT_EQ(st.st_mode & 07777, 0700u);
    }

    // Nothing fit: every folder is named with its reason.
    QTemporaryDir base;
    const std::string tmp = base.path().toStdString();
    QFile(QString::fromStdString(tmp + "/" + own)).open(QIODevice::WriteOnly);
    core::Message error;
    EXPECT_EQ(platform::socketFolder("", tmp, tmp + "/nowhere/deeper", uid, error), "");
    EXPECT_EQ(error.in(core::Language::English), "no private folder for the instance's socket: " + tmp + "/" +
                                                     own + " is not a folder; " + tmp + "/nowhere/deeper/" +
                                                     own + " cannot be made: No such file or directory");
    // Regression: this reached the terminal in English under a Chinese locale.
    EXPECT_EQ(error.in(core::Language::Chinese), "找不到可放实例套接字的私有文件夹：" + tmp + "/" + own +
                                                     "：不是文件夹；" + tmp + "/nowhere/deeper/" + own +
                                                     "：无法创建：没有那个文件或目录");
}

// A candidate whose parent lets everyone rename its entries (writable by all, not sticky) could be
// moved away and replaced, splitting the instance in two: it is passed over for the cache folder,
// and the notice says so.
TEST(SocketFolder, AParentThatLetsOthersRenameIsPassedOver) {
    const unsigned uid = static_cast<unsigned>(::getuid());
    const std::string own = "lanternfin-" + std::to_string(uid);
    struct Case {
        const char *what;
        bool runtime; // the open folder is XDG_RUNTIME_DIR's parent, else TMPDIR itself
        mode_t mode;
        const char *chosen; // "runtime", "tmp" or "cache"
        bool passed;        // a candidate was passed over
    };
    for (const Case c : {Case{"shared TMPDIR without sticky", false, 0777, "cache", true},
                         Case{"shared TMPDIR with sticky", false, 01777, "tmp", false},
                         Case{"runtime folder in a folder open to all", true, 0777, "tmp", true},
                         Case{"runtime folder in a sticky folder", true, 01777, "runtime", false}}) {
        SCOPED_TRACE(c.what);
        QTemporaryDir base;
        const std::string root = base.path().toStdString();
        const std::string open = root + "/open", cache = root + "/cache";
        ::mkdir(open.c_str(), 0700);
        ::chmod(open.c_str(), c.mode);
        ::mkdir(cache.c_str(), 0700);
        const std::string runtime = open + "/run";
        if (c.runtime)
            ::mkdir(runtime.c_str(), 0700);
        const std::string tmp = c.runtime ? root : open;
        core::Message error, notice;
        const std::string folder =
            platform::socketFolder(c.runtime ? runtime : "", tmp, cache, uid, error, &notice);
        const std::string chosen = std::string(c.chosen);
        EXPECT_EQ(folder, chosen == "runtime" ? runtime
                          : chosen == "tmp"   ? tmp + "/" + own
                                              : cache + "/" + own)
            << error;
        if (c.passed)
            EXPECT_NE(notice.in(core::Language::English).find(open + " lets every user rename what it holds"),
                      std::string::npos)
                << notice;
        else
            EXPECT_TRUE(notice.empty()) << notice;
    }
}

TEST(SocketFolder, AFolderOfAnotherUserIsNotUsed) {
    if (geteuid() != 0)
        GTEST_SKIP() << "a folder of another user needs root";
    QTemporaryDir base;
    const std::string tmp = base.path().toStdString();
    const std::string folder = tmp + "/lanternfin-0";
    ::mkdir(folder.c_str(), 0700);
    ASSERT_EQ(::chown(folder.c_str(), 65534, 65534), 0);
    EXPECT_EQ(platform::makePrivateFolder(folder, 0).in(core::Language::English), "belongs to uid 65534");
    EXPECT_EQ(platform::makePrivateFolder(folder, 0).in(core::Language::Chinese), "属于 uid 65534");
    core::Message error;
    EXPECT_EQ(platform::socketFolder("", tmp, tmp + "/cache", 0, error), "");
    // A runtime folder that others may write to is passed over too.
    ::chmod(tmp.c_str(), 0777);
    EXPECT_EQ(platform::socketFolder(tmp, tmp, tmp, 0, error), "");
    EXPECT_NE(
        error.in(core::Language::English).find("XDG_RUNTIME_DIR " + tmp + " is not a folder of this user"),
        std::string::npos)
        << error;
}

TEST(SocketFolder, FilesPlantedAtTheOldSharedPathDoNotStopAStart) {
    QTemporaryDir tmp;
    const QByteArray oldTmp = qgetenv("TMPDIR"), oldRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", tmp.path().toLocal8Bit());
    qunsetenv("XDG_RUNTIME_DIR");
    const std::string name = platform::instanceName(static_cast<unsigned>(getuid()), ":0", "");
    // What a neighbour could plant where the socket and its lock used to be.
    for (const char *suffix : {"", ".lock"}) {
        QFile planted(tmp.filePath(QString::fromStdString(name) + QLatin1String(suffix)));
        ASSERT_TRUE(planted.open(QIODevice::WriteOnly));
        planted.write("12345\nhost\napp\n");
    }
    core::Message error;
    const QString path = platform::instanceSocketPath(name, error);
    qputenv("TMPDIR", oldTmp);
    if (oldRuntime.isEmpty())
        qunsetenv("XDG_RUNTIME_DIR");
    else
        qputenv("XDG_RUNTIME_DIR", oldRuntime);
    EXPECT_EQ(path,
              tmp.filePath(QStringLiteral("lanternfin-%1/").arg(getuid()) + QString::fromStdString(name)))
        << error;
    std::unique_ptr<platform::InstanceServer> server;
    const StartOutcome out = platform::startOrForward(path, {Verb::Show, {}}, listenInto(server, path),
                                                      [] { return ADD_FAILURE(), std::int64_t{0}; });
    EXPECT_EQ(out.kind, StartOutcome::Instance) << out.error;
}

} // namespace

TEST_F(LocalInstanceTest, AShowIsServedWhileAClipboardCommandWaitsForTheClipboard) {
    // The instance answers clipboard commands later (its clipboard is slow to read) and the rest at
    // once; a start that shows the window neither waits for the command nor for the start lock the
    // command's start took.
    QTemporaryDir here;
    const QString at = here.filePath(QStringLiteral("instance"));
    std::atomic<bool> listening{false}, stop{false};
    std::atomic<int> clipboardAnswers{0};
    std::unique_ptr<QThread> serving(QThread::create([&] {
        platform::InstanceServer server(platform::InstanceServer::AsyncHandler(
            [&](const Request &r, const platform::StillWanted &wanted, std::function<void(Reply)> reply) {
                if (r.verb != Verb::Clipboard)
                    return reply({});
                QTimer::singleShot(1500, [&clipboardAnswers, wanted, reply] {
                    ++clipboardAnswers;
                    reply(wanted() ? Reply{} : Reply{false, "given up"});
                });
            }));
        QString error;
        listening = server.listen(at, error);
        while (listening && !stop)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10), QThread::msleep(1);
    }));
    serving->start();
    for (int i = 0; i < 500 && !listening; ++i)
        QThread::msleep(10);
    ASSERT_TRUE(listening);

    const auto noInstance = [](std::string &) {
        ADD_FAILURE() << "a start became the instance beside the running one";
        return false;
    };
    const platform::SpawnInstance noSpawn = [] {
        ADD_FAILURE() << "a start spawned an instance beside the running one";
        return std::int64_t{0};
    };
    StartOutcome command;
    std::unique_ptr<QThread> commandStart(QThread::create(
        [&] { command = platform::startOrForward(at, {Verb::Clipboard, "upper"}, noInstance, noSpawn, 500ms); }));
    commandStart->start();
    QThread::msleep(300);
    QElapsedTimer clock;
    clock.start();
    const StartOutcome show = platform::startOrForward(at, {Verb::Show, {}}, noInstance, noSpawn, 500ms);
    const qint64 showMs = clock.elapsed();
    EXPECT_EQ(show.kind, StartOutcome::Forwarded) << show.error;
    EXPECT_TRUE(show.reply.ok);
    EXPECT_LT(showMs, 1000);
    EXPECT_EQ(clipboardAnswers, 0); // the show did not wait for the command
    commandStart->wait();
    EXPECT_EQ(command.kind, StartOutcome::Forwarded) << command.error;
    EXPECT_TRUE(command.reply.ok) << command.reply.message;
    EXPECT_EQ(clipboardAnswers, 1);
    stop = true;
    serving->wait();
}
