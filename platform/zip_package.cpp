#include "platform/zip_package.h"

#include <zip.h>

#include <algorithm>
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
        why = zip_error_code_zip(&guard.error) == ZIP_ER_NOZIP ? "not a ZIP archive, or its end is missing"
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
              (size > m_limits.maxEntrySize ? ", more than the limit of " + std::to_string(m_limits.maxEntrySize >> 20) + " MB"
                                            : ", more than " + std::to_string(m_limits.maxRatio) +
                                                  " times its compressed size");
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
        zip_source_t *data = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
        if (!data)
            return fail(ZipStatus::Failed, archiveError(archive));
        if (zip_file_replace(archive, index, data, 0) != 0) {
            zip_source_free(data);
            return fail(ZipStatus::Failed, archiveError(archive));
        }
        // Level 6, as zip(1) writes: level 9 costs twice the time for a percent of size. libzip
        // 1.7.3 (Debian 12) deflates at 9 whatever is asked here (the entry says "maximum"); later
        // releases keep the level.
        const zip_int32_t method = writeMethod(m_entries[index].method);
        if (zip_set_file_compression(archive, index, method, method == ZIP_CM_DEFLATE ? 6 : 0) != 0 ||
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
