#pragma once
// The input and output of lanternfin-cli: one buffered writer for every output, reading an input
// whole or in slices, and files replaced atomically. Plain POSIX, so that tests can drive each part.

#include <cstddef>
#include <string>
#include <string_view>

namespace cli {

// Buffered writer on a file descriptor it does not own. After the first failed write it keeps
// the error (an errno value) and writes nothing more, so a caller checks once, after flush().
class Writer {
public:
    explicit Writer(int fd);
    Writer(const Writer &) = delete;
    Writer &operator=(const Writer &) = delete;

    void write(std::string_view bytes);
    // Writes what is buffered; false when this or any earlier write failed.
    bool flush();
    // 0 while every write succeeded, else the errno of the first failure.
    int error() const { return m_error; }

private:
    void writeThrough(std::string_view bytes);

    int m_fd;
    int m_error = 0;
    std::string m_buffer;
};

// An input: standard input (name "-") or a named file, read whole or in slices.
class Input {
public:
    // Opens `name` for reading ("-" is standard input, not owned). On failure isOpen() is false
    // and error() holds the errno.
    explicit Input(std::string name);
    ~Input();
    Input(const Input &) = delete;
    Input &operator=(const Input &) = delete;

    bool isOpen() const { return m_fd >= 0; }
    const std::string &name() const { return m_name; }
    bool isStdin() const { return m_name == "-"; }
    // Up to `size` bytes; 0 at the end; -1 on a read error (kept in error()).
    long read(char *data, std::size_t size);
    // Appends everything that is left to `out`; false on a read error.
    bool readAll(std::string &out);
    int error() const { return m_error; }

private:
    std::string m_name;
    int m_fd = -1;
    int m_error = 0;
};

// A file written through a temporary file in the same folder, which replaces `path` by rename
// only in commit(). Until then, and whenever commit() fails, `path` is untouched; an uncommitted
// temporary file is removed by the destructor. Where `path` is a symbolic link, the file it points
// to is replaced and the link stays.
class AtomicFile {
public:
    // Creates the temporary file. A file already at `path` lends its permissions (and owner,
    // where allowed) to the new one; a new file gets 0666 less the umask. On failure fd() is -1
    // and error() holds the errno.
    explicit AtomicFile(std::string path);
    ~AtomicFile();
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    int fd() const { return m_fd; }
    const std::string &path() const { return m_path; }
    // Flushes the data to disk and renames the temporary file over `path`; false (errno in
    // error()) when any step fails, in which case the temporary file is removed.
    bool commit();
    // Removes the temporary file; `path` stays as it was.
    void discard();
    int error() const { return m_error; }

private:
    std::string m_path;
    std::string m_target; // `path`, or the file its symbolic link points to
    std::string m_temp;
    int m_fd = -1;
    int m_error = 0;
};

// "Permission denied" and the like, for messages.
std::string errorText(int error);

} // namespace cli
