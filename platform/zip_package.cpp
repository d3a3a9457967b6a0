#include "platform/zip_package.h"

#include <zip.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <set>

namespace platform {

namespace {

struct ErrorGuard {
    zip_error_t error;
    ErrorGuard() { zip_error_init(&error); }
    ~ErrorGuard() { zip_error_fini(&error); }
    std::string text() { return zip_error_strerror(&error); }
};

std::string lowerFirst(std::string s) {
    if (!s.empty() && s[0] >= 'A' && s[0] <= 'Z')
        s[0] = static_cast<char>(s[0] - 'A' + 'a');
    return s;
}

std::string archiveError(zip_t *za) {
    return lowerFirst(zip_error_strerror(zip_get_error(za)));
}

// The method a replaced entry is written with: its old one where libzip can write it, else deflate.
zip_int32_t writeMethod(std::uint16_t method) {
    if (method == ZIP_CM_STORE)
        return ZIP_CM_STORE;
    if (method != ZIP_CM_DEFLATE && zip_compression_method_supported(method, 1))
        return method;
    return ZIP_CM_DEFLATE;
}

// A replaced part deflated here (raw deflate at level 6, as zip(1) writes) and handed to libzip as
// compressed data, which it then copies as it is. libzip 1.7.3 would deflate it at level 9 whatever
// level is asked for, twice the time for a percent of size.
struct Deflated {
    std::string data;
    zip_uint64_t size = 0;
    zip_uint32_t crc = 0;
    time_t mtime = 0;
    std::size_t offset = 0;
    zip_error_t error;
};

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

zip_int64_t deflatedSource(void *state, void *data, zip_uint64_t length, zip_source_cmd_t command) {
    auto *d = static_cast<Deflated *>(state);
    switch (command) {
    case ZIP_SOURCE_OPEN:
        d->offset = 0;
        return 0;
    case ZIP_SOURCE_READ: {
        const std::size_t n = std::min<std::size_t>(length, d->data.size() - d->offset);
        std::memcpy(data, d->data.data() + d->offset, n);
        d->offset += n;
        return static_cast<zip_int64_t>(n);
    }
    case ZIP_SOURCE_CLOSE:
        return 0;
    case ZIP_SOURCE_STAT: {
        auto *st = static_cast<zip_stat_t *>(data);
        zip_stat_init(st);
        st->size = d->size;
        st->comp_size = d->data.size();
        st->comp_method = ZIP_CM_DEFLATE;
        st->encryption_method = ZIP_EM_NONE;
        st->crc = d->crc;
        st->mtime = d->mtime;
        st->valid = ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_COMP_METHOD | ZIP_STAT_ENCRYPTION_METHOD |
                    ZIP_STAT_CRC | ZIP_STAT_MTIME;
        return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&d->error, data, length);
    case ZIP_SOURCE_FREE:
        zip_error_fini(&d->error);
        delete d;
        return 0;
    case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE,
                                              ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, -1);
    default:
        zip_error_set(&d->error, ZIP_ER_OPNOTSUPP, 0);
        return -1;
    }
}

// The source of a replaced deflated part; null when zlib or libzip fails.
zip_source_t *deflatedPart(zip_t *archive, const std::string &bytes, time_t mtime) {
    auto *d = new Deflated;
    zip_error_init(&d->error);
    d->size = bytes.size();
    d->crc = crcOf(bytes);
    d->mtime = mtime;
    if (!deflateRaw(bytes, d->data)) {
        zip_error_fini(&d->error);
        delete d;
        return nullptr;
    }
    zip_source_t *source = zip_source_function(archive, deflatedSource, d);
    if (!source) {
        zip_error_fini(&d->error);
        delete d;
    }
    return source;
}

} // namespace

struct ZipPackage::Handle {
    std::string_view bytes;
    zip_t *archive = nullptr;
    ~Handle() {
        if (archive)
            zip_discard(archive);
    }
};

ZipPackage::~ZipPackage() = default;

std::unique_ptr<ZipPackage> ZipPackage::open(std::string_view bytes, core::Message &why, ZipLimits limits) {
    ErrorGuard guard;
    zip_source_t *source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &guard.error);
    if (!source) {
        why = core::Message::verbatim(lowerFirst(guard.text()));
        return nullptr;
    }
    zip_t *archive = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &guard.error);
    if (!archive) {
        zip_source_free(source);
        why = zip_error_code_zip(&guard.error) == ZIP_ER_NOZIP
                  ? core::Message(core::MessageId::ZipNotZip)
                  : core::Message(core::MessageId::ZipDamaged, {lowerFirst(guard.text())});
        return nullptr;
    }
    std::unique_ptr<ZipPackage> package(new ZipPackage);
    package->m_handle = std::make_unique<Handle>();
    package->m_handle->bytes = bytes;
    package->m_handle->archive = archive;
    package->m_limits = limits;
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    std::set<std::string_view> seen;
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
    for (const auto &entry : package->m_entries)
        if (!seen.insert(entry.name).second) {
            why = {core::MessageId::ZipTwoEntries, {entry.name}};
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
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].name == name)
            return static_cast<long>(i);
    return -1;
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
        why = {core::MessageId::PartWhy, {entry.name, archiveError(m_handle->archive)}};
        return ZipStatus::Damaged;
    }
    out.reserve(static_cast<std::size_t>(entry.size));
    char buffer[1 << 16];
    for (;;) {
        const zip_int64_t got = zip_fread(file, buffer, sizeof buffer);
        if (got < 0) {
            why = {core::MessageId::PartWhy,
                   {entry.name, lowerFirst(zip_error_strerror(zip_file_get_error(file)))}};
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

// The source of a package being rewritten: it reads the original bytes and writes the new
// package into a string, so that nothing is copied twice (libzip's own buffer source would gather
// the output in pieces, to be copied out again).
struct ArchiveBuffer {
    std::string_view in;
    std::string *out;
    std::size_t readAt = 0, writeAt = 0;
    bool committed = false;
    zip_error_t error;
};

zip_int64_t archiveBufferSource(void *state, void *data, zip_uint64_t length, zip_source_cmd_t command) {
    auto *b = static_cast<ArchiveBuffer *>(state);
    switch (command) {
    case ZIP_SOURCE_OPEN:
        b->readAt = 0;
        return 0;
    case ZIP_SOURCE_READ: {
        const std::size_t n = std::min<std::size_t>(length, b->in.size() - std::min(b->readAt, b->in.size()));
        if (n)
            std::memcpy(data, b->in.data() + b->readAt, n);
        b->readAt += n;
        return static_cast<zip_int64_t>(n);
    }
    case ZIP_SOURCE_CLOSE:
        return 0;
    case ZIP_SOURCE_SEEK: {
        const zip_int64_t at =
            zip_source_seek_compute_offset(b->readAt, b->in.size(), data, length, &b->error);
        if (at < 0)
            return -1;
        b->readAt = static_cast<std::size_t>(at);
        return 0;
    }
    case ZIP_SOURCE_TELL:
        return static_cast<zip_int64_t>(b->readAt);
    case ZIP_SOURCE_STAT: {
        auto *st = static_cast<zip_stat_t *>(data);
        zip_stat_init(st);
        st->size = b->in.size();
        st->comp_size = b->in.size();
        st->comp_method = ZIP_CM_STORE;
        st->encryption_method = ZIP_EM_NONE;
        st->valid = ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_COMP_METHOD | ZIP_STAT_ENCRYPTION_METHOD;
        return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_BEGIN_WRITE:
        b->out->clear();
        b->writeAt = 0;
        b->committed = false;
        return 0;
    case ZIP_SOURCE_WRITE: {
        std::string &out = *b->out;
        const auto *p = static_cast<const char *>(data);
        const std::size_t n = static_cast<std::size_t>(length);
        if (b->writeAt == out.size()) {
            out.append(p, n);
        } else {
            // After a seek back (a local header written again once its sizes are known).
            const std::size_t over = std::min(n, out.size() - b->writeAt);
            out.replace(b->writeAt, over, p, over);
            out.append(p + over, n - over);
        }
        b->writeAt += n;
        return static_cast<zip_int64_t>(n);
    }
    case ZIP_SOURCE_SEEK_WRITE: {
        const zip_int64_t at =
            zip_source_seek_compute_offset(b->writeAt, b->out->size(), data, length, &b->error);
        if (at < 0)
            return -1;
        b->writeAt = static_cast<std::size_t>(at);
        if (b->writeAt > b->out->size())
            b->out->resize(b->writeAt);
        return 0;
    }
    case ZIP_SOURCE_TELL_WRITE:
        return static_cast<zip_int64_t>(b->writeAt);
    case ZIP_SOURCE_COMMIT_WRITE:
        b->committed = true;
        return 0;
    case ZIP_SOURCE_ROLLBACK_WRITE:
        b->out->clear();
        return 0;
    case ZIP_SOURCE_REMOVE:
        b->out->clear();
        b->committed = true;
        return 0;
    case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&b->error, data, length);
    case ZIP_SOURCE_FREE:
        zip_error_fini(&b->error);
        delete b;
        return 0;
    case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(
            ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_SEEK, ZIP_SOURCE_TELL,
            ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, ZIP_SOURCE_BEGIN_WRITE, ZIP_SOURCE_WRITE,
            ZIP_SOURCE_SEEK_WRITE, ZIP_SOURCE_TELL_WRITE, ZIP_SOURCE_COMMIT_WRITE, ZIP_SOURCE_ROLLBACK_WRITE,
            ZIP_SOURCE_REMOVE, -1);
    default:
        zip_error_set(&b->error, ZIP_ER_OPNOTSUPP, 0);
        return -1;
    }
}

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

ZipStatus ZipPackage::write(const std::map<std::size_t, std::string> &replacements, std::string &out,
                            core::Message &why, const ZipProgress &progress) const {
    out.clear();
    ErrorGuard guard;
    // A second archive on the same bytes, opened for writing: libzip reads the entries it copies
    // from the original bytes and writes the new package straight into `out`.
    auto *state = new ArchiveBuffer;
    state->in = m_handle->bytes;
    state->out = &out;
    zip_error_init(&state->error);
    zip_source_t *source = zip_source_function_create(archiveBufferSource, state, &guard.error);
    if (!source) {
        zip_error_fini(&state->error);
        delete state;
        why = core::Message::verbatim(lowerFirst(guard.text()));
        return ZipStatus::Failed;
    }
    zip_t *archive = zip_open_from_source(source, 0, &guard.error);
    if (!archive) {
        zip_source_free(source);
        why = core::Message::verbatim(lowerFirst(guard.text()));
        return ZipStatus::Damaged;
    }
    zip_source_keep(source);
    auto fail = [&](ZipStatus status, core::Message message) {
        zip_discard(archive);
        zip_source_free(source);
        why = std::move(message);
        out.clear();
        return status;
    };
    for (const auto &[index, bytes] : replacements) {
        if (index >= m_entries.size())
            return fail(ZipStatus::Failed, core::Message::verbatim("no such entry"));
        zip_stat_t st;
        zip_stat_init(&st);
        zip_stat_index(archive, index, 0, &st);
        const zip_int32_t method = writeMethod(m_entries[index].method);
        const bool deflated = method == ZIP_CM_DEFLATE && m_entries[index].method == ZIP_CM_DEFLATE;
        zip_source_t *data = deflated ? deflatedPart(archive, bytes, st.mtime)
                                      : zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
        if (!data)
            return fail(ZipStatus::Failed,
                        deflated ? core::Message(core::MessageId::ZipCannotDeflate, {m_entries[index].name})
                                 : core::Message::verbatim(archiveError(archive)));
        if (zip_file_replace(archive, index, data, 0) != 0) {
            zip_source_free(data);
            return fail(ZipStatus::Failed, core::Message::verbatim(archiveError(archive)));
        }
        if ((!deflated && zip_set_file_compression(archive, index, method, 0) != 0) ||
            ((st.valid & ZIP_STAT_MTIME) && zip_file_set_mtime(archive, index, st.mtime, 0) != 0))
            return fail(ZipStatus::Failed, core::Message::verbatim(archiveError(archive)));
    }
    WriteState progressState{&progress};
    if (progress) {
        zip_register_progress_callback_with_state(archive, 0.01, onProgress, nullptr, &progressState);
        zip_register_cancel_callback_with_state(archive, onCancel, nullptr, &progressState);
    }
    // The written size is known roughly: the old package, give or take the replaced parts.
    out.reserve(m_handle->bytes.size() + m_handle->bytes.size() / 4);
    if (zip_close(archive) != 0) {
        if (progressState.cancelled)
            return fail(ZipStatus::Cancelled, {core::MessageId::DocumentCancelled});
        return fail(ZipStatus::Failed, core::Message::verbatim(archiveError(archive)));
    }
    const bool committed = state->committed;
    zip_source_free(source);
    if (progressState.cancelled) {
        out.clear();
        return ZipStatus::Cancelled;
    }
    if (!committed) {
        out.clear();
        why = {core::MessageId::ZipNotWritten};
        return ZipStatus::Failed;
    }
    return ZipStatus::Ok;
}

} // namespace platform
