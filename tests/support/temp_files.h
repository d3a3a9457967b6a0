#pragma once

// Temporary folders and whole-file reads and writes, for the suites that touch files. Standard C++
// and POSIX only, so that every test program can use them.

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace testsupport {

// The bytes of the file at `path`; empty when it cannot be read.
inline std::string readFile(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Writes `bytes` as the whole of the file at `path`.
inline void writeFile(const std::filesystem::path &path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A fresh folder under /tmp, removed with all it holds when it goes out of scope (even where a
// test took its permissions away). `shared` makes it readable by everyone, for a run as another user.
struct TempDir {
    std::filesystem::path path;

    explicit TempDir(const char *stem = "lanternfin-test", bool shared = false) {
        std::string name = std::string("/tmp/") + stem + "-XXXXXX";
        if (::mkdtemp(name.data()))
            path = name;
        if (shared && !path.empty())
            ::chmod(path.c_str(), 0755);
    }
    ~TempDir() {
        if (path.empty())
            return;
        ::chmod(path.c_str(), 0755);
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    std::filesystem::path operator/(std::string_view name) const { return path / name; }
    std::string str() const { return path.string(); }
    // How many entries the folder holds.
    std::size_t entries() const {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(path), {}));
    }
};

} // namespace testsupport
