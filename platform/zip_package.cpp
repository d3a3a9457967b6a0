#include "platform/zip_package.h"

#include <zip.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <initializer_list>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

struct ErrorGuard {
    zip_error_t error;
    ErrorGuard() { zip_error_init(&error); }
    ~ErrorGuard() { zip_error_fini(&error); }
};

std::string lowerFirst(std::string s) {
    if (!s.empty() && s[0] >= 'A' && s[0] <= 'Z')
        s[0] = static_cast<char>(s[0] - 'A' + 'a');
    return s;
}

// libzip's reason for a failure, from the catalogue where it is one that damaged or unreadable
// files give (so that it reads in the message's language), else as libzip words it.
core::Message zipReason(zip_error_t *error) {
    using core::MessageId;
    switch (zip_error_code_zip(error)) {
    case ZIP_ER_NOZIP:
        return {MessageId::ZipNotZip};
    case ZIP_ER_INCONS:
        return {MessageId::ZipInconsistent};
    case ZIP_ER_CRC:
        return {MessageId::ZipCrc};
    case ZIP_ER_EOF:
        return {MessageId::ZipEndedEarly};
    case ZIP_ER_COMPRESSED_DATA:
        return {MessageId::ZipBadCompressedData};
    case ZIP_ER_COMPNOTSUPP:
        return {MessageId::ZipMethodNotSupported};
    case ZIP_ER_ENCRNOTSUPP:
    case ZIP_ER_NOPASSWD:
    case ZIP_ER_WRONGPASSWD:
        return {MessageId::ZipEncrypted};
    case ZIP_ER_MEMORY:
        return core::systemError(ENOMEM);
    default:
        if (zip_error_system_type(error) == ZIP_ET_SYS && zip_error_code_system(error) > 0)
            return core::systemError(zip_error_code_system(error));
        return core::Message::verbatim(lowerFirst(zip_error_strerror(error)));
    }
}

core::Message archiveError(zip_t *za) {
    return zipReason(zip_get_error(za));
}

std::uint32_t le(const unsigned char *p, int n) {
    std::uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

std::uint64_t le64(const unsigned char *p) {
    return le(p, 4) | (std::uint64_t(le(p + 4, 4)) << 32);
}

// The Zip64 values an entry's extra field gives for those of its header that are all ones, in the
// order the format fixes (uncompressed size, compressed size, then the directory's local offset).
// False when the field is missing or too short.
bool zip64Values(std::string_view extra, std::initializer_list<std::uint64_t *> wanted) {
    bool need = false;
    for (std::uint64_t *v : wanted)
        need = need || *v == 0xFFFFFFFFu;
    if (!need)
        return true;
    for (std::size_t at = 0; at + 4 <= extra.size();) {
        const auto *p = reinterpret_cast<const unsigned char *>(extra.data() + at);
        const std::size_t length = le(p + 2, 2);
        if (at + 4 + length > extra.size())
            return false;
        if (le(p, 2) == 1) {
            std::size_t used = 0;
            for (std::uint64_t *v : wanted) {
                if (*v != 0xFFFFFFFFu)
                    continue;
                if (used + 8 > length)
                    return false;
                *v = le64(p + 4 + used);
                used += 8;
            }
            return true;
        }
        at += 4 + length;
    }
    return false;
}

// libzip 1.7 takes an entry whose local header gives its sizes although a data descriptor follows
// for one whose headers disagree, unless all three values are zero. Info-ZIP writing to a pipe
// gives the uncompressed size there, and macOS's Archive Utility the compressed size, so their
// archives were refused as damaged; newer libzip allows each value to be zero or the directory's.
// The local headers that follow that rule, and would pass libzip's check with their values
// zeroed: their offsets, for the bytes libzip reads to show them zeroed (ByteSource). libzip then
// checks the archive as strictly as ever, with its own reading of the directory; this only finds
// the headers to show it zeroed.
std::vector<std::uint64_t> descriptorHeadersToZero(const ByteSource &in) {
    std::vector<std::uint64_t> found;
    constexpr std::uint64_t kTail = 22 + 0xFFFF;
    const std::uint64_t tailAt = in.size > kTail ? in.size - kTail : 0;
    std::string tail(static_cast<std::size_t>(in.size - tailAt), '\0');
    if (in.read(tailAt, tail.data(), tail.size()) != static_cast<long long>(tail.size()) || tail.size() < 22)
        return {};
    std::size_t end = std::string::npos;
    for (std::size_t i = tail.size() - 22 + 1; i-- > 0;) {
        const auto *p = reinterpret_cast<const unsigned char *>(tail.data() + i);
        if (le(p, 4) == 0x06054b50 && i + 22 + le(p + 20, 2) == tail.size()) {
            end = i;
            break;
        }
    }
    if (end == std::string::npos)
        return {};
    const auto *eocd = reinterpret_cast<const unsigned char *>(tail.data() + end);
    std::uint64_t count = le(eocd + 10, 2), dirSize = le(eocd + 12, 4), dirAt = le(eocd + 16, 4);
    const std::uint64_t endAt = tailAt + end;
    unsigned char locator[20], record[56];
    if (endAt >= 20 && in.read(endAt - 20, locator, 20) == 20 && le(locator, 4) == 0x07064b50) {
        const std::uint64_t recordAt = le64(locator + 8);
        if (in.read(recordAt, record, 56) != 56 || le(record, 4) != 0x06064b50)
            return {};
        count = le64(record + 32);
        dirSize = le64(record + 40);
        dirAt = le64(record + 48);
    }
    if (dirAt > in.size || dirSize > in.size - dirAt)
        return {};
    std::uint64_t at = 0;
    unsigned char c[46], l[30];
    std::string variable;
    std::vector<std::pair<std::uint64_t, std::uint64_t>> extents; // each entry's header and data
    for (std::uint64_t i = 0; i < count; ++i) {
        if (dirSize - at < 46 || in.read(dirAt + at, c, 46) != 46 || le(c, 4) != 0x02014b50)
            return {};
        const std::size_t nameLength = le(c + 28, 2), extraLength = le(c + 30, 2),
                          commentLength = le(c + 32, 2);
        if (dirSize - at - 46 < nameLength + extraLength + commentLength)
            return {};
        variable.resize(nameLength + extraLength);
        if (in.read(dirAt + at + 46, variable.data(), variable.size()) !=
            static_cast<long long>(variable.size()))
            return {};
        std::uint64_t usize = le(c + 24, 4), csize = le(c + 20, 4), offset = le(c + 42, 4);
        if (!zip64Values(std::string_view(variable).substr(nameLength), {&usize, &csize, &offset}))
            return {};
        at += 46 + nameLength + extraLength + commentLength;
        if (offset > dirAt || dirAt - offset < 30 || in.read(offset, l, 30) != 30 || le(l, 4) != 0x04034b50)
            continue;
        extents.emplace_back(offset, offset + 30 + le(l + 26, 2) + le(l + 28, 2) + csize);
        const std::uint64_t localCrc = le(l + 14, 4), localCsize = le(l + 18, 4), localUsize = le(l + 22, 4);
        const bool descriptor = (le(l + 6, 2) & 8) != 0;
        if (!descriptor || localCsize == 0xFFFFFFFFu || localUsize == 0xFFFFFFFFu ||
            (localCrc == 0 && localCsize == 0 && localUsize == 0))
            continue;
        auto zeroOr = [](std::uint64_t local, std::uint64_t central) {
            return local == 0 || local == central;
        };
        if (zeroOr(localCrc, le(c + 16, 4)) && zeroOr(localCsize, csize) && zeroOr(localUsize, usize))
            found.push_back(offset);
    }
    // Entries that overlap could show a zeroed header inside another's data: none then.
    std::sort(extents.begin(), extents.end());
    for (std::size_t i = 1; i < extents.size(); ++i)
        if (extents[i].first < extents[i - 1].second)
            return {};
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
}

// The method a replaced entry is written with: its old one where libzip can write it, else deflate.
zip_int32_t writeMethod(std::uint16_t method) {
    if (method == ZIP_CM_STORE)
        return ZIP_CM_STORE;
    if (method != ZIP_CM_DEFLATE && zip_compression_method_supported(method, 1))
        return method;
    return ZIP_CM_DEFLATE;
}


bool deflateRaw(const std::string &in, std::string &out) {
    z_stream z{};
    if (deflateInit2(&z, 6, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return false;
    // Deflated through a small buffer: sizing the output for the worst case up front would clear
    // (and map) as much memory as the part holds, for an output of a fraction of it.
    out.clear();
    out.reserve(in.size() / 3);
    char buffer[1 << 16];
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(in.data()));
    std::size_t left = in.size();
    int result = Z_OK;
    while (result == Z_OK) {
        // zlib counts in 32 bits: a part is fed in pieces.
        if (z.avail_in == 0 && left > 0) {
            const std::size_t piece = std::min<std::size_t>(left, 1u << 30);
            z.avail_in = static_cast<uInt>(piece);
            left -= piece;
        }
        z.next_out = reinterpret_cast<Bytef *>(buffer);
        z.avail_out = sizeof buffer;
        result = deflate(&z, left == 0 ? Z_FINISH : Z_NO_FLUSH);
        out.append(buffer, sizeof buffer - z.avail_out);
    }
    deflateEnd(&z);
    return result == Z_STREAM_END;
}

zip_uint32_t crcOf(const std::string &in) {
    uLong crc = crc32(0, nullptr, 0);
    for (std::size_t at = 0; at < in.size(); at += 1u << 30) {
        const std::size_t piece = std::min<std::size_t>(in.size() - at, 1u << 30);
        crc = crc32(crc, reinterpret_cast<const Bytef *>(in.data() + at), static_cast<uInt>(piece));
    }
    return static_cast<zip_uint32_t>(crc);
}



// The source of a package: it reads the package's bytes and, when a package is written, writes the
// new one into a string or into a file from the offset it had (`base`), so that nothing is copied
// twice (libzip's own buffer source would gather the output in pieces, to be copied out again).
struct ArchiveIo {
    const ByteSource *in = nullptr;
    std::string *out = nullptr; // the new package in memory, or
    int fd = -1;                // in this file, from `base` on
    off_t base = 0;
    std::uint64_t readAt = 0, writeAt = 0, written = 0;
    bool committed = false;
    zip_error_t error{};

    bool writable() const { return out || fd >= 0; }

    bool put(const char *p, std::uint64_t n) {
        if (out) {
            const std::size_t at = static_cast<std::size_t>(writeAt);
            if (at == out->size()) {
                out->append(p, static_cast<std::size_t>(n));
            } else {
                // After a seek back (a local header written again once its sizes are known).
                const std::size_t over = std::min(static_cast<std::size_t>(n), out->size() - at);
                out->replace(at, over, p, over);
                out->append(p + over, static_cast<std::size_t>(n) - over);
            }
        } else {
            for (std::uint64_t done = 0; done < n;) {
                const ssize_t w = ::pwrite(fd, p + done, static_cast<std::size_t>(n - done),
                                           base + static_cast<off_t>(writeAt + done));
                if (w < 0 && errno == EINTR)
                    continue;
                if (w <= 0) {
                    zip_error_set(&error, ZIP_ER_WRITE, w < 0 ? errno : EIO);
                    return false;
                }
                done += static_cast<std::uint64_t>(w);
            }
        }
        writeAt += n;
        written = std::max(written, writeAt);
        return true;
    }

    // What was written taken back: the string emptied, the file cut back to where it began.
    void undo() {
        if (out)
            out->clear();
        if (fd >= 0) {
            if (::ftruncate(fd, base) != 0) {
                // Nothing more to do: the caller throws the file away.
            }
            ::lseek(fd, base, SEEK_SET);
        }
        written = writeAt = 0;
    }
};

zip_int64_t archiveIoSource(void *state, void *data, zip_uint64_t length, zip_source_cmd_t command) {
    auto *io = static_cast<ArchiveIo *>(state);
    switch (command) {
    case ZIP_SOURCE_OPEN:
        io->readAt = 0;
        return 0;
    case ZIP_SOURCE_READ: {
        const zip_int64_t n = io->in->read(io->readAt, data, length);
        if (n < 0) {
            zip_error_set(&io->error, ZIP_ER_READ, errno);
            return -1;
        }
        io->readAt += static_cast<std::uint64_t>(n);
        return n;
    }
    case ZIP_SOURCE_CLOSE:
        return 0;
    case ZIP_SOURCE_SEEK: {
        const zip_int64_t at = zip_source_seek_compute_offset(io->readAt, io->in->size, data, length, &io->error);
        if (at < 0)
            return -1;
        io->readAt = static_cast<std::uint64_t>(at);
        return 0;
    }
    case ZIP_SOURCE_TELL:
        return static_cast<zip_int64_t>(io->readAt);
    case ZIP_SOURCE_STAT: {
        auto *st = static_cast<zip_stat_t *>(data);
        zip_stat_init(st);
        st->size = io->in->size;
        st->comp_size = io->in->size;
        st->comp_method = ZIP_CM_STORE;
        st->encryption_method = ZIP_EM_NONE;
        st->valid = ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_COMP_METHOD | ZIP_STAT_ENCRYPTION_METHOD;
        return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_BEGIN_WRITE:
        io->undo();
        io->committed = false;
        return 0;
    case ZIP_SOURCE_WRITE:
        return io->put(static_cast<const char *>(data), length) ? static_cast<zip_int64_t>(length) : -1;
    case ZIP_SOURCE_SEEK_WRITE: {
        const zip_int64_t at = zip_source_seek_compute_offset(io->writeAt, io->written, data, length, &io->error);
        if (at < 0)
            return -1;
        io->writeAt = static_cast<std::uint64_t>(at);
        if (io->out && io->writeAt > io->out->size())
            io->out->resize(static_cast<std::size_t>(io->writeAt));
        io->written = std::max(io->written, io->writeAt);
        return 0;
    }
    case ZIP_SOURCE_TELL_WRITE:
        return static_cast<zip_int64_t>(io->writeAt);
    case ZIP_SOURCE_COMMIT_WRITE:
        if (io->fd >= 0 && ::lseek(io->fd, io->base + static_cast<off_t>(io->written), SEEK_SET) < 0) {
            zip_error_set(&io->error, ZIP_ER_SEEK, errno);
            return -1;
        }
        io->committed = true;
        return 0;
    case ZIP_SOURCE_ROLLBACK_WRITE:
        io->undo();
        return 0;
    case ZIP_SOURCE_REMOVE:
        io->undo();
        io->committed = true;
        return 0;
    case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&io->error, data, length);
    case ZIP_SOURCE_FREE:
        zip_error_fini(&io->error);
        delete io;
        return 0;
    case ZIP_SOURCE_SUPPORTS:
        if (!io->writable())
            return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE,
                                                  ZIP_SOURCE_SEEK, ZIP_SOURCE_TELL, ZIP_SOURCE_STAT,
                                                  ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, -1);
        return zip_source_make_command_bitmap(
            ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_SEEK, ZIP_SOURCE_TELL,
            ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, ZIP_SOURCE_BEGIN_WRITE, ZIP_SOURCE_WRITE,
            ZIP_SOURCE_SEEK_WRITE, ZIP_SOURCE_TELL_WRITE, ZIP_SOURCE_COMMIT_WRITE, ZIP_SOURCE_ROLLBACK_WRITE,
            ZIP_SOURCE_REMOVE, -1);
    default:
        zip_error_set(&io->error, ZIP_ER_OPNOTSUPP, 0);
        return -1;
    }
}

// A source made for `io`; null with `error` set (and `io` freed) when libzip cannot make one.
zip_source_t *archiveIo(ArchiveIo *io, zip_error_t *error) {
    zip_error_init(&io->error);
    zip_source_t *source = zip_source_function_create(archiveIoSource, io, error);
    if (!source) {
        zip_error_fini(&io->error);
        delete io;
    }
    return source;
}

// What the replaced entries of one write share: who gives their bytes, and the first failure.
struct WriteRun {
    const ZipReplacer *replace;
    ZipStatus status = ZipStatus::Ok;
    core::Message why{};
};

// The source of a replaced entry, made before the package is written and filled only when libzip
// comes to it: the replacer's bytes deflated here (raw deflate at level 6, as zip(1) writes) and
// handed to libzip as compressed data, which it copies as it is (libzip 1.7.3 would deflate at
// level 9 whatever level is asked for, twice the time for a percent of size); bytes for another
// method handed over inflated, for libzip to compress; an entry that stays as it is read from the
// package compressed, as it was. The bytes are let go once libzip has read them.
struct PartSource {
    enum class State { Unknown, Kept, Changed };
    WriteRun *run;
    zip_t *package; // the package read, for the kept entry's compressed bytes
    std::size_t index;
    std::string name;
    zip_stat_t original{}; // the entry as the package has it
    bool deflate = false;  // its bytes deflated here
    State state = State::Unknown;
    std::string data{};
    bool held = false; // `data` holds the entry's bytes
    zip_uint64_t size = 0, compressedSize = 0;
    zip_uint32_t crc = 0;
    std::size_t offset = 0;
    zip_file_t *raw = nullptr;
    zip_error_t error{};

    bool fail(ZipStatus status, core::Message why) {
        if (run->status == ZipStatus::Ok) {
            run->status = status;
            run->why = std::move(why);
        }
        zip_error_set(&error, status == ZipStatus::Cancelled ? ZIP_ER_CANCELLED : ZIP_ER_INTERNAL, 0);
        return false;
    }

    // Asks the replacer for the entry's bytes, once (again only if libzip reads them twice).
    bool fill() {
        if (state == State::Kept || held)
            return true;
        if (run->status != ZipStatus::Ok)
            return fail(run->status, run->why);
        std::string bytes;
        bool changed = false;
        core::Message why;
        const ZipStatus status = (*run->replace)(index, bytes, changed, why);
        if (status != ZipStatus::Ok)
            return fail(status, std::move(why));
        if (!changed) {
            state = State::Kept;
            return true;
        }
        state = State::Changed;
        size = bytes.size();
        crc = crcOf(bytes);
        if (deflate) {
            if (!deflateRaw(bytes, data))
                return fail(ZipStatus::Failed, {core::MessageId::ZipCannotDeflate, {name}});
        } else {
            data = std::move(bytes);
        }
        compressedSize = data.size();
        held = true;
        return true;
    }
};

zip_int64_t partSource(void *state, void *data, zip_uint64_t length, zip_source_cmd_t command) {
    auto *p = static_cast<PartSource *>(state);
    using State = PartSource::State;
    switch (command) {
    case ZIP_SOURCE_OPEN:
        if (!p->fill())
            return -1;
        p->offset = 0;
        if (p->state == State::Kept) {
            p->raw = zip_fopen_index(p->package, p->index, ZIP_FL_COMPRESSED);
            if (!p->raw) {
                zip_error_set(&p->error, zip_error_code_zip(zip_get_error(p->package)),
                              zip_error_code_system(zip_get_error(p->package)));
                return -1;
            }
        }
        return 0;
    case ZIP_SOURCE_READ: {
        if (p->raw) {
            const zip_int64_t n = zip_fread(p->raw, data, length);
            if (n < 0)
                zip_error_set(&p->error, zip_error_code_zip(zip_file_get_error(p->raw)),
                              zip_error_code_system(zip_file_get_error(p->raw)));
            return n;
        }
        const std::size_t n = std::min<std::size_t>(length, p->data.size() - p->offset);
        std::memcpy(data, p->data.data() + p->offset, n);
        p->offset += n;
        return static_cast<zip_int64_t>(n);
    }
    case ZIP_SOURCE_CLOSE:
        if (p->raw) {
            zip_fclose(p->raw);
            p->raw = nullptr;
        }
        p->data = std::string();
        p->held = false;
        return 0;
    case ZIP_SOURCE_STAT: {
        // Asked again once the entry is written, when its bytes are gone: what they were is known.
        if (p->state == State::Unknown && !p->fill())
            return -1;
        auto *st = static_cast<zip_stat_t *>(data);
        zip_stat_init(st);
        st->mtime = p->original.mtime;
        st->encryption_method = ZIP_EM_NONE;
        if (p->state == State::Kept) {
            st->size = p->original.size;
            st->comp_size = p->original.comp_size;
            st->comp_method = p->original.comp_method;
            st->crc = p->original.crc;
        } else {
            st->size = p->size;
            st->comp_size = p->compressedSize;
            st->comp_method = p->deflate ? ZIP_CM_DEFLATE : ZIP_CM_STORE;
            st->crc = p->crc;
        }
        st->valid = ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_COMP_METHOD | ZIP_STAT_ENCRYPTION_METHOD |
                    ZIP_STAT_CRC | ZIP_STAT_MTIME;
        return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&p->error, data, length);
    case ZIP_SOURCE_FREE:
        if (p->raw)
            zip_fclose(p->raw);
        zip_error_fini(&p->error);
        delete p;
        return 0;
    case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE,
                                              ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, -1);
    default:
        zip_error_set(&p->error, ZIP_ER_OPNOTSUPP, 0);
        return -1;
    }
}

} // namespace

long long ByteSource::read(std::uint64_t at, void *to, std::uint64_t n) const {
    const long long got = readRaw(at, to, n);
    // The crc and sizes (14 to 26) of the local headers shown zeroed.
    if (got > 0 && !zeroedHeaders.empty()) {
        const std::uint64_t stop = at + static_cast<std::uint64_t>(got);
        for (auto h = std::lower_bound(zeroedHeaders.begin(), zeroedHeaders.end(), at > 26 ? at - 26 : 0);
             h != zeroedHeaders.end() && *h + 14 < stop; ++h) {
            const std::uint64_t from = std::max(*h + 14, at), until = std::min(*h + 26, stop);
            if (from < until)
                std::memset(static_cast<char *>(to) + (from - at), 0, static_cast<std::size_t>(until - from));
        }
    }
    return got;
}

long long ByteSource::readRaw(std::uint64_t at, void *to, std::uint64_t n) const {
    if (at >= size)
        return 0;
    n = std::min(n, size - at);
    if (fd < 0) {
        std::memcpy(to, bytes.data() + at, static_cast<std::size_t>(n));
        return static_cast<long long>(n);
    }
    std::uint64_t got = 0;
    while (got < n) {
        const ssize_t r = ::pread(fd, static_cast<char *>(to) + got, static_cast<std::size_t>(n - got),
                                  static_cast<off_t>(at + got));
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0)
            return -1;
        if (r == 0)
            break;
        got += static_cast<std::uint64_t>(r);
    }
    return static_cast<long long>(got);
}

struct ZipPackage::Handle {
    ByteSource bytes;
    zip_t *archive = nullptr;
    ~Handle() {
        if (archive)
            zip_discard(archive);
    }
};

ZipPackage::~ZipPackage() = default;

std::unique_ptr<ZipPackage> ZipPackage::open(std::string_view bytes, core::Message &why, ZipLimits limits) {
    return open(bytes, -1, why, limits);
}

std::unique_ptr<ZipPackage> ZipPackage::openFile(int fd, core::Message &why, ZipLimits limits) {
    return open({}, fd, why, limits);
}

std::unique_ptr<ZipPackage> ZipPackage::open(std::string_view bytes, int fd, core::Message &why,
                                             ZipLimits limits) {
    auto handle = std::make_unique<Handle>();
    handle->bytes.bytes = bytes;
    handle->bytes.fd = fd;
    handle->bytes.size = bytes.size();
    if (fd >= 0) {
        struct stat st {};
        if (::fstat(fd, &st) != 0) {
            why = core::systemError(errno);
            return nullptr;
        }
        if (!S_ISREG(st.st_mode)) {
            why = core::MessageId::NotRegularFile;
            return nullptr;
        }
        handle->bytes.size = static_cast<std::uint64_t>(st.st_size);
    }
    ErrorGuard guard;
    zip_source_t *source = fd < 0 ? zip_source_buffer_create(bytes.data(), bytes.size(), 0, &guard.error)
                                  : archiveIo(new ArchiveIo{&handle->bytes}, &guard.error);
    if (!source) {
        why = zipReason(&guard.error);
        return nullptr;
    }
    zip_t *archive = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &guard.error);
    if (!archive && zip_error_code_zip(&guard.error) == ZIP_ER_INCONS) {
        handle->bytes.zeroedHeaders = descriptorHeadersToZero(handle->bytes);
        if (!handle->bytes.zeroedHeaders.empty()) {
            zip_source_free(source);
            zip_error_fini(&guard.error);
            zip_error_init(&guard.error);
            source = archiveIo(new ArchiveIo{&handle->bytes}, &guard.error);
            if (!source) {
                why = zipReason(&guard.error);
                return nullptr;
            }
            archive = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &guard.error);
        }
    }
    if (!archive) {
        zip_source_free(source);
        why = zip_error_code_zip(&guard.error) == ZIP_ER_NOZIP
                  ? core::Message(core::MessageId::ZipNotZip)
                  : core::Message(core::MessageId::ZipDamaged, {}, {zipReason(&guard.error)});
        return nullptr;
    }
    std::unique_ptr<ZipPackage> package(new ZipPackage);
    handle->archive = archive;
    package->m_handle = std::move(handle);
    package->m_limits = limits;
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(archive, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW, &st) != 0 ||
            !(st.valid & ZIP_STAT_NAME)) {
            why = {core::MessageId::ZipEntryUnreadable, {std::to_string(i)}};
            return nullptr;
        }
        ZipEntry entry;
        entry.name = st.name;
        entry.size = (st.valid & ZIP_STAT_SIZE) ? st.size : 0;
        entry.compressedSize = (st.valid & ZIP_STAT_COMP_SIZE) ? st.comp_size : 0;
        entry.method = (st.valid & ZIP_STAT_COMP_METHOD) ? st.comp_method : 0;
        entry.encrypted = (st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE;
        package->m_entries.push_back(std::move(entry));
    }
    // Two entries of one name are read differently by different programs: refused.
    for (std::size_t i = 0; i < package->m_entries.size(); ++i)
        if (!package->m_index.emplace(package->m_entries[i].name, i).second) {
            why = {core::MessageId::ZipTwoEntries, {package->m_entries[i].name}};
            return nullptr;
        }
    return package;
}

std::vector<std::string> ZipPackage::names() const {
    std::vector<std::string> out;
    out.reserve(m_entries.size());
    for (const auto &entry : m_entries)
        out.push_back(entry.name);
    return out;
}

long ZipPackage::find(std::string_view name) const {
    const auto found = m_index.find(std::string(name));
    return found == m_index.end() ? -1 : static_cast<long>(found->second);
}

ZipStatus ZipPackage::read(std::size_t index, std::string &out, core::Message &why) const {
    out.clear();
    if (index >= m_entries.size()) {
        why = core::Message::verbatim("no such entry");
        return ZipStatus::Damaged;
    }
    const ZipEntry &entry = m_entries[index];
    if (entry.encrypted) {
        why = {core::MessageId::ZipPartEncrypted, {entry.name}};
        return ZipStatus::Damaged;
    }
    // The limit this entry may reach, from what it declares; its data is then held to it.
    const std::uint64_t byRatio = std::max<std::uint64_t>(entry.compressedSize, 1) * m_limits.maxRatio;
    const std::uint64_t limit = std::min(m_limits.maxEntrySize, byRatio);
    auto tooLarge = [&](std::uint64_t size) {
        why = size > m_limits.maxEntrySize
                  ? core::Message(
                        core::MessageId::ZipPastSizeLimit,
                        {entry.name, std::to_string(size), std::to_string(m_limits.maxEntrySize >> 20)})
                  : core::Message(core::MessageId::ZipPastRatioLimit,
                                  {entry.name, std::to_string(size), std::to_string(m_limits.maxRatio)});
        return ZipStatus::Limit;
    };
    if (entry.size > limit)
        return tooLarge(entry.size);
    zip_file_t *file = zip_fopen_index(m_handle->archive, index, 0);
    if (!file) {
        why = {core::MessageId::PartWhy, {entry.name}, {archiveError(m_handle->archive)}};
        return ZipStatus::Damaged;
    }
    out.reserve(static_cast<std::size_t>(entry.size));
    char buffer[1 << 16];
    for (;;) {
        const zip_int64_t got = zip_fread(file, buffer, sizeof buffer);
        if (got < 0) {
            why = {core::MessageId::PartWhy, {entry.name}, {zipReason(zip_file_get_error(file))}};
            zip_fclose(file);
            out.clear();
            return ZipStatus::Damaged;
        }
        if (got == 0)
            break;
        out.append(buffer, static_cast<std::size_t>(got));
        if (out.size() > limit) {
            zip_fclose(file);
            const std::uint64_t size = out.size();
            out.clear();
            out.shrink_to_fit();
            return tooLarge(size);
        }
        if (out.size() > entry.size) {
            zip_fclose(file);
            out.clear();
            why = {core::MessageId::ZipMoreThanDeclared, {entry.name}};
            return ZipStatus::Damaged;
        }
    }
    zip_fclose(file);
    if (out.size() != entry.size) {
        out.clear();
        why = {core::MessageId::ZipLessThanDeclared, {entry.name}};
        return ZipStatus::Damaged;
    }
    return ZipStatus::Ok;
}


namespace {

struct WriteState {
    const ZipProgress *progress;
    bool cancelled = false;
};

void onProgress(zip_t *, double fraction, void *state) {
    auto *s = static_cast<WriteState *>(state);
    if (*s->progress && !(*s->progress)(fraction))
        s->cancelled = true;
}

int onCancel(zip_t *, void *state) {
    return static_cast<WriteState *>(state)->cancelled ? 1 : 0;
}

} // namespace

ZipStatus ZipPackage::write(const std::vector<std::size_t> &replaced, const ZipReplacer &replace,
                            std::string &out, core::Message &why, const ZipProgress &progress) const {
    return write(replaced, replace, &out, -1, why, progress);
}

ZipStatus ZipPackage::write(const std::vector<std::size_t> &replaced, const ZipReplacer &replace, int fd,
                            core::Message &why, const ZipProgress &progress) const {
    return write(replaced, replace, nullptr, fd, why, progress);
}

ZipStatus ZipPackage::write(const std::vector<std::size_t> &replaced, const ZipReplacer &replace,
                            std::string *bytes, int fd, core::Message &why, const ZipProgress &progress) const {
    if (bytes)
        bytes->clear();
    ErrorGuard guard;
    // A second archive on the same package, opened for writing: libzip reads the entries it copies
    // from the package and writes the new one straight into `bytes` or the file.
    auto *io = new ArchiveIo{&m_handle->bytes, bytes, fd};
    if (fd >= 0 && (io->base = ::lseek(fd, 0, SEEK_CUR)) < 0) {
        const int error = errno;
        delete io;
        why = {core::MessageId::CannotWrite, {std::strerror(error)}};
        return ZipStatus::Failed;
    }
    zip_source_t *source = archiveIo(io, &guard.error);
    if (!source) {
        why = zipReason(&guard.error);
        return ZipStatus::Failed;
    }
    zip_t *archive = zip_open_from_source(source, 0, &guard.error);
    if (!archive) {
        zip_source_free(source);
        why = zipReason(&guard.error);
        return ZipStatus::Damaged;
    }
    zip_source_keep(source);
    WriteRun run{&replace};
    auto fail = [&](ZipStatus status, core::Message message) {
        zip_discard(archive);
        zip_source_free(source);
        why = std::move(message);
        if (bytes)
            bytes->clear();
        return status;
    };
    std::set<std::size_t> seen;
    for (const std::size_t index : replaced) {
        if (index >= m_entries.size())
            return fail(ZipStatus::Failed, core::Message::verbatim("no such entry"));
        if (!seen.insert(index).second)
            continue;
        auto *part = new PartSource{&run, m_handle->archive, index, m_entries[index].name};
        zip_stat_init(&part->original);
        zip_stat_index(m_handle->archive, index, 0, &part->original);
        part->original.name = nullptr;
        const zip_int32_t method = writeMethod(m_entries[index].method);
        part->deflate = method == ZIP_CM_DEFLATE && m_entries[index].method == ZIP_CM_DEFLATE;
        zip_error_init(&part->error);
        zip_source_t *data = zip_source_function(archive, partSource, part);
        if (!data) {
            zip_error_fini(&part->error);
            delete part;
            return fail(ZipStatus::Failed, archiveError(archive));
        }
        if (zip_file_replace(archive, index, data, 0) != 0) {
            zip_source_free(data);
            return fail(ZipStatus::Failed, archiveError(archive));
        }
        if ((!part->deflate && zip_set_file_compression(archive, index, method, 0) != 0) ||
            ((part->original.valid & ZIP_STAT_MTIME) &&
             zip_file_set_mtime(archive, index, part->original.mtime, 0) != 0))
            return fail(ZipStatus::Failed, archiveError(archive));
    }
    WriteState progressState{&progress};
    if (progress) {
        zip_register_progress_callback_with_state(archive, 0.01, onProgress, nullptr, &progressState);
        zip_register_cancel_callback_with_state(archive, onCancel, nullptr, &progressState);
    }
    // In memory, the written size is known roughly: the old package, give or take the replaced parts.
    if (bytes)
        bytes->reserve(m_handle->bytes.size + m_handle->bytes.size / 4);
    if (zip_close(archive) != 0) {
        if (run.status != ZipStatus::Ok)
            return fail(run.status, run.why);
        if (progressState.cancelled)
            return fail(ZipStatus::Cancelled, {core::MessageId::DocumentCancelled});
        return fail(ZipStatus::Failed, archiveError(archive));
    }
    const bool committed = io->committed;
    const off_t base = io->base;
    zip_source_free(source);
    if (progressState.cancelled || !committed) {
        if (bytes)
            bytes->clear();
        if (fd >= 0 && (::ftruncate(fd, base) != 0 || ::lseek(fd, base, SEEK_SET) < 0)) {
            // The caller throws the file away all the same.
        }
        why = progressState.cancelled ? core::Message(core::MessageId::DocumentCancelled)
                                      : core::Message(core::MessageId::ZipNotWritten);
        return progressState.cancelled ? ZipStatus::Cancelled : ZipStatus::Failed;
    }
    return ZipStatus::Ok;
}

} // namespace platform
