#pragma once
// The input and output of lanternfin-cli: one buffered writer for every output, reading an input
// whole or in slices; files are replaced through platform::AtomicFile. Plain POSIX, so that tests
// can drive each part.

#include "core/text_encoding.h"
#include "platform/atomic_file.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace cli {

// Buffered writer on a file descriptor it does not own. After the first failed write it keeps
// the error (an errno value) and writes nothing more, so a caller checks once, after flush().
class Writer {
public:
    // `scratch`: `fd` is a new file of this run's own (a temporary file that replaces its target on
    // success), which a document may be written into directly and which is thrown away on failure.
    explicit Writer(int fd, bool scratch = false);
    // A writer that appends to `sink` (which must outlive it) and never fails.
    explicit Writer(std::string &sink);
    ~Writer();
    Writer(const Writer &) = delete;
    Writer &operator=(const Writer &) = delete;

    void write(std::string_view bytes);
    // Writes what is buffered; false when this or any earlier write failed.
    bool flush();
    // 0 while every write succeeded, else the errno of the first failure.
    int error() const { return m_error; }
    // The string a sink writer appends to (null for a file descriptor's writer): a producer may
    // append to it directly instead of through write().
    std::string *sink() const { return m_sink; }
    // The descriptor written to, for a writer on one (-1 for a string), and whether it is scratch.
    // Whoever writes to it directly flushes first.
    int fd() const { return m_fd; }
    bool scratch() const { return m_scratch; }

    // The encoding of the text written so far, once a text has been: the inputs joined into one
    // output (-o FILE, standard output) must share it, and only the first writes a byte order mark.
    std::optional<core::TextEncoding> textEncoding;
    // Text of ASCII alone written before any other: it reads the same in UTF-8 and in the Chinese
    // code pages, so it joins them, but not UTF-16.
    bool asciiWritten = false;

private:
    class Flusher;
    void drain();
    void writeThrough(std::string_view bytes);

    int m_fd;
    bool m_scratch = false;
    int m_error = 0;
    // A regular file's written bytes are handed to the disk as they accumulate, so that the
    // flush to disk before an atomic rename finds little left to write: offsets in the file.
    bool m_regular = false;
    long long m_writtenTo = 0;
    long long m_handedTo = 0;
    // A scratch file is also flushed to the disk as it grows, by a thread of its own, from 32 MB on.
    long long m_flushAskedTo = 0;
    std::unique_ptr<Flusher> m_flusher;
    std::string m_buffer;
    std::string *m_sink = nullptr;
};

// An input: standard input (name "-") or a named file, read whole or in slices.
class Input {
public:
    // Opens `name` for reading ("-" is standard input, not owned). On failure isOpen() is false
    // and error() holds the errno.
    explicit Input(std::string name);
    // An input read from `fd`, already open (and owned from now on), named `name` in messages.
    Input(std::string name, int fd);
    // An input of `bytes` in memory, named `name` in messages; never fails.
    Input(std::string name, std::string bytes);
    // The same for bytes given as a view (copied).
    Input(std::string name, std::string_view bytes);
    // An input of bytes that stay the caller's (not copied), which must outlive it.
    struct Borrowed {};
    Input(std::string name, std::string_view bytes, Borrowed);
    ~Input();
    Input(const Input &) = delete;
    Input &operator=(const Input &) = delete;

    bool isOpen() const { return m_fd >= 0 || m_inMemory; }
    const std::string &name() const { return m_name; }
    bool isStdin() const { return m_name == "-"; }
    // Whether all of it can be read without waiting for a writer: a regular file, or bytes in memory.
    bool isRegularFile() const;
    // Up to `size` bytes; 0 at the end; -1 on a read error (kept in error()).
    long read(char *data, std::size_t size);
    // Appends everything that is left to `out`; false on a read error.
    bool readAll(std::string &out);
    int error() const { return m_error; }
    // The rest of an in-memory input, taken whole without a copy: it stays valid while the input
    // lives, and the input is at its end. False (nothing taken) for a file or a pipe, or when
    // bytes were put back.
    bool takeMemory(std::string_view &rest);
    // Puts `bytes` back in front of what is left, to be read again first.
    void unread(std::string bytes);
    // The size of a regular file (standard input included) or of bytes in memory; -1 for a pipe or
    // a device.
    long long knownSize() const;
    // Up to `size` bytes from the start of a regular file or memory, without reading them (the next
    // read still starts where it would); empty for a pipe or a device.
    std::string head(std::size_t size) const;
    // Marks a piece of a larger text cut at a line end: what the text is (UTF-8, no document, no
    // subtitles) was decided on the whole, and the ways do not look for it again in the piece.
    void markDecidedText() { m_decidedText = true; }
    bool decidedText() const { return m_decidedText; }
    // Adds every byte read from now on to `*counter` (progress), which must outlive the reads.
    void countInto(std::atomic<std::uint64_t> *counter) { m_counter = counter; }
    // Reads no more than `bytes` from the file: a read past them fails with EFBIG (a file of a
    // folder that goes on growing while it is converted would be read without end).
    void limitTo(std::uint64_t bytes) { m_limit = bytes; }
    // The descriptor of a named regular file not read from yet, for a reader that reads it at
    // offsets of its own (pread); -1 for standard input, bytes in memory, a pipe or a device.
    int untouchedFile() const;
    // Counts `n` bytes read through untouchedFile() as read (progress).
    void countRead(std::uint64_t n);

private:
    std::string m_name;
    int m_fd = -1;
    int m_error = 0;
    bool m_inMemory = false;
    bool m_decidedText = false;
    std::string m_owned;       // the bytes of an in-memory input that owns them
    std::string_view m_memory; // what is left of an in-memory input (in m_owned, or borrowed)
    std::string m_pending;     // bytes put back, read again first, from m_pendingAt on
    std::size_t m_pendingAt = 0;
    std::atomic<std::uint64_t> *m_counter = nullptr;
    std::uint64_t m_limit = UINT64_MAX, m_fromFile = 0; // the most to read from the file, and what was
};

// Files replaced atomically (or written directly where they are devices): the helper that the
// window's files share.
using AtomicFile = platform::AtomicFile;

// "Permission denied" and the like, for messages, in the language of the locale.
std::string errorText(int error);

} // namespace cli
