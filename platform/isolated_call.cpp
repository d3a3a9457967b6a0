#include "platform/isolated_call.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace platform {
namespace {

bool writeAll(int fd, const char *data, std::size_t n) {
    while (n) {
        const ssize_t w = ::write(fd, data, n);
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0)
            return false;
        data += w;
        n -= static_cast<std::size_t>(w);
    }
    return true;
}

// The child's address space now, read from /proc; 0 when it cannot be told.
std::size_t addressSpace() {
    const int fd = ::open("/proc/self/statm", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    char buf[64] = {};
    const ssize_t n = ::read(fd, buf, sizeof buf - 1);
    ::close(fd);
    std::size_t pages = 0;
    for (ssize_t i = 0; i < n && buf[i] >= '0' && buf[i] <= '9'; ++i)
        pages = pages * 10 + static_cast<std::size_t>(buf[i] - '0');
    return pages * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

[[noreturn]] void child(int out, const std::function<std::optional<std::string>()> &work,
                        const IsolationLimits &limits) {
    // The parent's handlers (removing its temporary files on a signal) are not the child's.
    for (int s = 1; s < NSIG; ++s)
        if (s != SIGKILL && s != SIGSTOP)
            ::signal(s, SIG_DFL);
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    if (const std::size_t now = addressSpace()) {
        const rlim_t cap = now + limits.extraMemory;
        const rlimit as{cap, cap};
        ::setrlimit(RLIMIT_AS, &as);
    }
    // The processor time is counted to the millisecond by a timer on this process's clock, which
    // sends SIGXCPU as the kernel does at RLIMIT_CPU; that limit (whole seconds) stays as a backstop.
    timer_t timer;
    sigevent ev{};
    ev.sigev_notify = SIGEV_SIGNAL;
    ev.sigev_signo = SIGXCPU;
    if (::timer_create(CLOCK_PROCESS_CPUTIME_ID, &ev, &timer) == 0) {
        const auto ms = std::max<long long>(1, limits.cpuTime.count());
        itimerspec when{};
        when.it_value.tv_sec = static_cast<time_t>(ms / 1000);
        when.it_value.tv_nsec = static_cast<long>(ms % 1000) * 1000000L;
        ::timer_settime(timer, 0, &when, nullptr);
    }
    const auto wholeSeconds = static_cast<rlim_t>((limits.cpuTime.count() + 999) / 1000 + 1);
    const rlimit cpu{wholeSeconds, wholeSeconds + 1};
    ::setrlimit(RLIMIT_CPU, &cpu);
    const rlimit core{0, 0};
    ::setrlimit(RLIMIT_CORE, &core);
    int status = 1;
    try {
        if (const auto result = work())
            status = writeAll(out, result->data(), result->size()) ? 0 : 1;
    } catch (...) {
        status = 1;
    }
    ::_exit(status);
}

// A time for a message: whole seconds, or tenths below ten.
std::string seconds(std::chrono::milliseconds t) {
    const long long tenths = (t.count() + 50) / 100;
    if (tenths >= 100 || tenths % 10 == 0)
        return std::to_string((tenths + 5) / 10);
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

} // namespace

std::chrono::milliseconds wallDeadline(const IsolationLimits &limits) {
    return limits.wallTime.count() > 0 ? limits.wallTime : 20 * limits.cpuTime;
}

std::optional<std::string> runIsolated(const std::function<std::optional<std::string>()> &work,
                                       core::Message &why, const IsolationLimits &limits) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        why = core::Message(core::MessageId::ReaderCannotStart, {}, {core::systemError(errno)});
        return std::nullopt;
    }
    const pid_t pid = ::fork();
    if (pid < 0) {
        why = core::Message(core::MessageId::ReaderCannotStart, {}, {core::systemError(errno)});
        ::close(fds[0]);
        ::close(fds[1]);
        return std::nullopt;
    }
    if (pid == 0) {
        ::close(fds[0]);
        child(fds[1], work, limits);
    }
    ::close(fds[1]);
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + wallDeadline(limits);
    std::string result;
    bool overrun = false, late = false;
    char buf[1 << 16];
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            late = true;
            break;
        }
        pollfd p{fds[0], POLLIN, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(left));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0) {
            late = ready == 0;
            break;
        }
        const ssize_t n = ::read(fds[0], buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        if (result.size() + static_cast<std::size_t>(n) > limits.maxResult) {
            overrun = true;
            break;
        }
        result.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fds[0]);
    if (late || overrun)
        ::kill(pid, SIGKILL);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (late) {
        why = core::Message(core::MessageId::ReaderStuck, {seconds(wallDeadline(limits))});
        return std::nullopt;
    }
    if (overrun) {
        why = core::MessageId::ReaderTooMuch;
        return std::nullopt;
    }
    if (WIFSIGNALED(status)) {
        why = WTERMSIG(status) == SIGXCPU
                  ? core::Message(core::MessageId::ReaderTooCostly, {seconds(limits.cpuTime)})
                  : core::Message(core::MessageId::ReaderCrashed, {std::to_string(WTERMSIG(status))});
        return std::nullopt;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        why = core::MessageId::ReaderFailed;
        return std::nullopt;
    }
    return result;
}

} // namespace platform
