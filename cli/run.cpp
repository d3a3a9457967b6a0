#include "cli/run.h"

#include "core/utf.h"
#include "platform/document_file.h"
#include "platform/mapped_file.h"

#include <sys/stat.h>

namespace cli {

namespace {

class Runner {
public:
    explicit Runner(std::ostream &diagnostics) : m_diagnostics(diagnostics) {}

    // Prints the failure, a line for each line of its message, and remembers the first one's status.
    void fail(const std::string &name, const Status &status) {
        std::string_view rest = status.message;
        do {
            const std::size_t end = rest.find('\n');
            // A file name (given, or inside the reason) may hold anything a name can, escape
            // sequences and line breaks too: shown so that it cannot drive the terminal.
            const std::string message = core::escapedForTerminal(rest.substr(0, end));
            const std::string shown = core::escapedForTerminal(name);
            rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
            if (status.plain && name == "-")
                m_diagnostics << message << '\n';
            else if (name == "-" || status.namesInput)
                m_diagnostics << "lanternfin-cli: " << message << '\n';
            else
                m_diagnostics << "lanternfin-cli: " << shown << ": " << message << '\n';
        } while (!rest.empty());
        m_diagnostics.flush();
        if (m_exit == kExitOk)
            m_exit = status.code;
    }

    // Runs the transform on one input; false when it failed, which is reported after what was
    // written so far has been flushed.
    bool convert(const Transform &transform, const std::string &name, Writer &out) {
        Input in(name);
        const Status status =
            in.isOpen() ? transform(in, out) : Status{kExitIo, platform::say(core::MessageId::CannotOpen, {errorText(in.error())})};
        if (status.code == kExitOk)
            return true;
        out.flush();
        fail(name, status);
        return false;
    }

    bool writeFailed(const std::string &name, Writer &out) {
        if (out.flush())
            return false;
        fail(name, {kExitIo, platform::say(core::MessageId::CannotWrite, {errorText(out.error())})});
        return true;
    }

    bool commitFailed(AtomicFile &file) {
        if (file.commit())
            return false;
        fail(file.path(), {kExitIo, file.message()});
        return true;
    }

    bool opened(AtomicFile &file) {
        if (file.fd() >= 0)
            return true;
        fail(file.path(), {kExitIo, file.message()});
        return false;
    }

    // A FIFO cannot be read and then written back: its writer has gone when it ends, and its
    // reader is this program. Refused before anything is opened.
    bool replaceable(const std::string &name) {
        struct stat st {};
        if (::stat(name.c_str(), &st) != 0 || !S_ISFIFO(st.st_mode))
            return true;
        fail(name, {kExitIo, platform::say(core::MessageId::FifoInPlace)});
        return false;
    }

    // A document is a whole file of its own: two joined make a broken one. Refused before anything
    // is written when -o FILE gathers several inputs and one of them is a document.
    bool joinable(const std::vector<std::string> &names) {
        if (names.size() < 2)
            return true;
        for (const auto &name : names) {
            if (name == "-")
                continue;
            const auto head = platform::readDataFileHead(name, 4096, std::size_t(4) << 30);
            if (head && platform::isDocument(*head)) {
                fail(name, {kExitUsage, platform::say(core::MessageId::DocumentNotJoined)});
                return false;
            }
        }
        return true;
    }

    int exit() const { return m_exit; }

private:
    std::ostream &m_diagnostics;
    int m_exit = kExitOk;
};

} // namespace

int runTransform(const Transform &transform, const std::vector<std::string> &inputs, const Destination &to,
                 int outFd, std::ostream &diagnostics) {
    Runner run(diagnostics);
    const std::vector<std::string> stdinOnly{"-"};
    const auto &names = inputs.empty() ? stdinOnly : inputs;

    switch (to.kind) {
    case Destination::Kind::Stdout: {
        Writer out(outFd);
        for (const auto &name : names)
            run.convert(transform, name, out);
        run.writeFailed("-", out);
        break;
    }
    case Destination::Kind::File: {
        if (!run.joinable(names))
            break;
        AtomicFile file(to.path);
        if (!run.opened(file))
            break;
        Writer out(file.fd(), !file.direct());
        bool ok = true;
        for (const auto &name : names)
            if (!(ok = run.convert(transform, name, out)))
                break;
        if (ok && !run.writeFailed(to.path, out))
            run.commitFailed(file);
        break;
    }
    case Destination::Kind::InPlace:
        for (const auto &name : names) {
            if (!run.replaceable(name))
                continue;
            AtomicFile file(name);
            if (!run.opened(file))
                continue;
            Writer out(file.fd(), !file.direct());
            if (run.convert(transform, name, out) && !run.writeFailed(name, out))
                run.commitFailed(file);
        }
        break;
    }
    return run.exit();
}

} // namespace cli
