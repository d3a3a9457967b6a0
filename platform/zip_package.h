#pragma once
// A ZIP package (docx, xlsx, odt, epub...) read from memory or from a file and written again with
// some entries replaced, on libzip. Entries that are not replaced keep their compressed bytes
// (copied, never inflated and deflated again), and every entry keeps its place, name, compression
// method and modification time; replaced entries are compressed with their old method. Inflating is
// bounded: an entry that declares, or turns out, to inflate past the limits is refused before or
// while it is read, never held whole. Writing holds one replaced entry at a time: each is asked
// for when its turn comes, and the package goes straight to a file, so that memory follows the
// largest replaced entry, never the package.

#include "core/messages.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform {

struct ZipEntry {
    std::string name;
    std::uint64_t size = 0;           // inflated, as the central directory declares it
    std::uint64_t compressedSize = 0; // as stored
    std::uint16_t method = 0;         // 0 stored, 8 deflated, ...
    bool encrypted = false;
};

struct ZipLimits {
    std::uint64_t maxEntrySize = 256ull << 20; // bytes an entry may inflate to
    std::uint64_t maxRatio = 1000;             // inflated size over compressed size
};

// A document's bytes: in memory, or a regular file read through its descriptor with pread where
// needed, so that copying an entry never holds more of it than a buffer (a mapping would count
// every page read against the process's memory).
struct ByteSource {
    std::string_view bytes;
    int fd = -1;
    std::uint64_t size = 0;

    // Local headers (their offsets, in order) whose crc and sizes read as zeros: a data
    // descriptor after their data gives those (see ZipPackage::open).
    std::vector<std::uint64_t> zeroedHeaders;

    // Up to `n` bytes from `at` into `to`: the count (short only at the end), or -1 with errno set.
    long long read(std::uint64_t at, void *to, std::uint64_t n) const;
    long long readRaw(std::uint64_t at, void *to, std::uint64_t n) const; // nothing zeroed
};

enum class ZipStatus {
    Ok,
    Damaged,   // not a readable ZIP, a bad entry (CRC, truncated data, unknown method), encryption
    Limit,     // an entry inflates past the limits
    Cancelled, // the progress callback asked to stop
    Failed,    // libzip could not write (out of memory)
};

// Called while a package is written with the fraction done (0..1); false stops the work.
using ZipProgress = std::function<bool(double)>;

// The new inflated bytes of entry `index`, asked for while the package is written, when libzip
// comes to that entry: Ok with `bytes` set and `changed` true, or Ok with `changed` false when the
// entry stays as it is (its compressed bytes are then copied); any other status stops the writing
// with that status and `why`.
using ZipReplacer =
    std::function<ZipStatus(std::size_t index, std::string &bytes, bool &changed, core::Message &why)>;

class ZipPackage {
public:
    // Opens the package in `bytes`, which must outlive the package. nullptr when it is not a
    // readable ZIP; `why` then says what is wrong ("truncated", "not a ZIP archive", ...).
    static std::unique_ptr<ZipPackage> open(std::string_view bytes, core::Message &why, ZipLimits limits = {});
    // Opens the package in the regular file open at `fd`, read where needed (never moved, never
    // mapped or held whole); `fd` must stay open while the package lives. nullptr as above.
    static std::unique_ptr<ZipPackage> openFile(int fd, core::Message &why, ZipLimits limits = {});
    ~ZipPackage();
    ZipPackage(const ZipPackage &) = delete;
    ZipPackage &operator=(const ZipPackage &) = delete;

    // The entries in their order in the central directory.
    const std::vector<ZipEntry> &entries() const { return m_entries; }
    // The names alone, in the same order.
    std::vector<std::string> names() const;
    // The index of entry `name`, or -1.
    long find(std::string_view name) const;

    // Inflates entry `index` into `out` (replaced). Limit when its declared size is past the
    // limits (checked before anything is inflated) or when the data inflates past its declared
    // size or the limits; Damaged for bad data, encryption, an unsupported method. `why` says
    // which, in a few words.
    ZipStatus read(std::size_t index, std::string &out, core::Message &why) const;

    // The package with the entries `replaced` given by `replace` (asked once each, in the order
    // the entries are written), all others copied as they are, into `out`. `progress` may cancel
    // it; on failure `out` is empty.
    ZipStatus write(const std::vector<std::size_t> &replaced, const ZipReplacer &replace, std::string &out,
                    core::Message &why, const ZipProgress &progress = {}) const;
    // The same written to the regular file open at `fd` from its current offset, which it may
    // seek back over (libzip completes each local header once its entry is written); the offset
    // is left at the package's end. On failure the file is cut back to where it began.
    ZipStatus write(const std::vector<std::size_t> &replaced, const ZipReplacer &replace, int fd,
                    core::Message &why, const ZipProgress &progress = {}) const;

private:
    ZipPackage() = default;
    static std::unique_ptr<ZipPackage> open(std::string_view bytes, int fd, core::Message &why, ZipLimits limits);
    ZipStatus write(const std::vector<std::size_t> &replaced, const ZipReplacer &replace, std::string *bytes,
                    int fd, core::Message &why, const ZipProgress &progress) const;
    struct Handle;
    std::unique_ptr<Handle> m_handle;
    std::vector<ZipEntry> m_entries;
    std::unordered_map<std::string, std::size_t> m_index; // each entry's index by its name
    ZipLimits m_limits;
};

} // namespace platform
