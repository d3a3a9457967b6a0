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
    out.resize(deflateBound(&z, in.size()));
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(in.data()));
    z.next_out = reinterpret_cast<Bytef *>(out.data());
    std::size_t left = in.size();
    int result = Z_OK;
    // zlib counts in 32 bits: a part is fed in pieces.
    while (result == Z_OK) {
        const std::size_t piece = std::min<std::size_t>(left, 1u << 30);
        z.avail_in = static_cast<uInt>(piece);
        left -= piece;
        z.avail_out = static_cast<uInt>(std::min<std::size_t>(out.size() - z.total_out, 1u << 30));
        result = deflate(&z, left == 0 ? Z_FINISH : Z_NO_FLUSH);
    }
    out.resize(z.total_out);
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

std::unique_ptr<ZipPackage> ZipPackage::open(std::string_view bytes, std::string &why, ZipLimits limits) {
    ErrorGuard guard;
    zip_source_t *source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &guard.error);
    if (!source) {
        why = lowerFirst(guard.text());
        return nullptr;
    }
    zip_t *archive = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &guard.error);
    if (!archive) {
        zip_source_free(source);
        why = zip_error_code_zip(&guard.error) == ZIP_ER_NOZIP
                  ? "not a ZIP archive, or its end is missing"
                  : "damaged ZIP archive: " + lowerFirst(guard.text());
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
            why = "damaged ZIP archive: entry " + std::to_string(i) + " cannot be read";
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
            why = "damaged ZIP archive: it holds two entries named " + entry.name;
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

ZipStatus ZipPackage::read(std::size_t index, std::string &out, std::string &why) const {
    out.clear();
    if (index >= m_entries.size()) {
        why = "no such entry";
        return ZipStatus::Damaged;
    }
    const ZipEntry &entry = m_entries[index];
    if (entry.encrypted) {
        why = entry.name + " is encrypted";
        return ZipStatus::Damaged;
    }
    // The limit this entry may reach, from what it declares; its data is then held to it.
    const std::uint64_t byRatio = std::max<std::uint64_t>(entry.compressedSize, 1) * m_limits.maxRatio;
    const std::uint64_t limit = std::min(m_limits.maxEntrySize, byRatio);
    auto tooLarge = [&](std::uint64_t size) {
        why = entry.name + " inflates to " + std::to_string(size) + " bytes" +
              (size > m_limits.maxEntrySize
                   ? ", more than the limit of " + std::to_string(m_limits.maxEntrySize >> 20) + " MB"
                   : ", more than " + std::to_string(m_limits.maxRatio) + " times its compressed size");
        return ZipStatus::Limit;
    };
    if (entry.size > limit)
        return tooLarge(entry.size);
    zip_file_t *file = zip_fopen_index(m_handle->archive, index, 0);
    if (!file) {
        why = entry.name + ": " + archiveError(m_handle->archive);
        return ZipStatus::Damaged;
    }
    out.reserve(static_cast<std::size_t>(entry.size));
    char buffer[1 << 16];
    for (;;) {
        const zip_int64_t got = zip_fread(file, buffer, sizeof buffer);
        if (got < 0) {
            why = entry.name + ": " + lowerFirst(zip_error_strerror(zip_file_get_error(file)));
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
            why = entry.name + " holds more data than it declares";
            return ZipStatus::Damaged;
        }
    }
    zip_fclose(file);
    if (out.size() != entry.size) {
        out.clear();
        why = entry.name + " holds less data than it declares";
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

ZipStatus ZipPackage::write(const std::map<std::size_t, std::string> &replacements, std::string &out,
                            std::string &why, const ZipProgress &progress) const {
    out.clear();
    ErrorGuard guard;
    // A second archive on the same bytes, opened for writing: libzip writes the new package into
    // the buffer source, reading the entries it copies from the original bytes meanwhile.
    zip_source_t *source =
        zip_source_buffer_create(m_handle->bytes.data(), m_handle->bytes.size(), 0, &guard.error);
    if (!source) {
        why = lowerFirst(guard.text());
        return ZipStatus::Failed;
    }
    zip_t *archive = zip_open_from_source(source, 0, &guard.error);
    if (!archive) {
        zip_source_free(source);
        why = lowerFirst(guard.text());
        return ZipStatus::Damaged;
    }
    zip_source_keep(source);
    auto fail = [&](ZipStatus status, std::string message) {
        zip_discard(archive);
        zip_source_free(source);
        why = std::move(message);
        out.clear();
        return status;
    };
    for (const auto &[index, bytes] : replacements) {
        if (index >= m_entries.size())
            return fail(ZipStatus::Failed, "no such entry");
        zip_stat_t st;
        zip_stat_init(&st);
        zip_stat_index(archive, index, 0, &st);
        const zip_int32_t method = writeMethod(m_entries[index].method);
        const bool deflated = method == ZIP_CM_DEFLATE && m_entries[index].method == ZIP_CM_DEFLATE;
        zip_source_t *data = deflated ? deflatedPart(archive, bytes, st.mtime)
                                      : zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
        if (!data)
            return fail(ZipStatus::Failed,
                        deflated ? "cannot deflate " + m_entries[index].name : archiveError(archive));
        if (zip_file_replace(archive, index, data, 0) != 0) {
            zip_source_free(data);
            return fail(ZipStatus::Failed, archiveError(archive));
        }
        if ((!deflated && zip_set_file_compression(archive, index, method, 0) != 0) ||
            ((st.valid & ZIP_STAT_MTIME) && zip_file_set_mtime(archive, index, st.mtime, 0) != 0))
            return fail(ZipStatus::Failed, archiveError(archive));
    }
    WriteState state{&progress};
    if (progress) {
        zip_register_progress_callback_with_state(archive, 0.01, onProgress, nullptr, &state);
        zip_register_cancel_callback_with_state(archive, onCancel, nullptr, &state);
    }
    if (zip_close(archive) != 0) {
        if (state.cancelled)
            return fail(ZipStatus::Cancelled, "cancelled");
        return fail(ZipStatus::Failed, archiveError(archive));
    }
    if (state.cancelled) {
        zip_source_free(source);
        return ZipStatus::Cancelled;
    }
    // What zip_close wrote is now the source's data.
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_source_stat(source, &st) != 0 || !(st.valid & ZIP_STAT_SIZE) || zip_source_open(source) != 0) {
        zip_source_free(source);
        why = "cannot read the written package back";
        return ZipStatus::Failed;
    }
    out.resize(static_cast<std::size_t>(st.size));
    std::size_t done = 0;
    while (done < out.size()) {
        const zip_int64_t got = zip_source_read(source, out.data() + done, out.size() - done);
        if (got <= 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    zip_source_close(source);
    zip_source_free(source);
    if (done != out.size()) {
        out.clear();
        why = "cannot read the written package back";
        return ZipStatus::Failed;
    }
    return ZipStatus::Ok;
}

} // namespace platform
