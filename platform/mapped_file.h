#pragma once

// Data files (prepared images, pinyin.dat, dictionaries, configurations) opened the one safe way:
// without blocking (a FIFO or a device at the path never hangs the program), only when they are
// regular files of a sane size, then mapped or read whole.

#include "core/messages.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// A read-only mapping of a whole regular file, unmapped when the last owner lets go.
class MappedFile {
public:
    // The file at `path` mapped; null with `why` set (NotRegularFile, LargerThanBytes, the
    // system's reason) when it is not a regular file of at most `maxSize` bytes or cannot be
    // mapped. An empty file maps to an empty view.
    static std::shared_ptr<const MappedFile> open(const std::string &path, std::size_t maxSize, core::Message *why,
                                                  bool populate = false);
    // The same with `why` worded in English.
    static std::shared_ptr<const MappedFile> open(const std::string &path, std::size_t maxSize,
                                                  std::string *why = nullptr, bool populate = false);
    ~MappedFile();
    MappedFile(const MappedFile &) = delete;
    MappedFile &operator=(const MappedFile &) = delete;

    std::string_view bytes() const { return {static_cast<const char *>(m_data), m_size}; }

private:
    MappedFile() = default;
    void *m_data = nullptr;
    std::size_t m_size = 0;
};

// A read-only descriptor (the caller closes it) of the regular file at `path`, opened without
// blocking, and its `size`; -1 with `why` set as MappedFile::open says.
int openDataFile(const std::string &path, std::size_t maxSize, std::size_t &size, core::Message *why);
int openDataFile(const std::string &path, std::size_t maxSize, std::size_t &size, std::string *why = nullptr);

// The contents of the regular file at `path`, read whole, at most `maxSize` bytes; nullopt with
// `why` set as MappedFile::open says.
std::optional<std::string> readDataFile(const std::string &path, std::size_t maxSize, core::Message *why);
std::optional<std::string> readDataFile(const std::string &path, std::size_t maxSize,
                                        std::string *why = nullptr);

// The first bytes of the regular file at `path`, at most `n`, refused as readDataFile refuses a
// file over `maxSize` bytes.
std::optional<std::string> readDataFileHead(const std::string &path, std::size_t n, std::size_t maxSize,
                                            core::Message *why);
std::optional<std::string> readDataFileHead(const std::string &path, std::size_t n, std::size_t maxSize,
                                            std::string *why = nullptr);

} // namespace platform
