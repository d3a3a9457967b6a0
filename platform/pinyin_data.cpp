#include "pinyin_data.h"

#include <cstdlib>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#ifndef LANTERNFIN_BUILD_DATA_DIR
#define LANTERNFIN_BUILD_DATA_DIR ""
#endif

namespace platform {

std::string lanternfinDataDir() {
    if (const char *env = std::getenv("LANTERNFIN_DATA_DIR"); env && *env)
        return env;
    char exe[4096];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n > 0) {
        std::string dir(exe, static_cast<std::size_t>(n));
        dir.resize(dir.rfind('/') + 1);
        const std::string installed = dir + "../share/lanternfin";
        struct stat st {};
        if (stat((installed + "/" + kPinyinDataFile).c_str(), &st) == 0)
            return installed;
    }
    return LANTERNFIN_BUILD_DATA_DIR;
}

core::Message loadFailure(const std::string &path, const core::Message &why) {
    return why.empty() ? core::Message(core::MessageId::CannotLoad, {path})
                       : core::Message(core::MessageId::CannotLoadWhy, {path}, {why});
}

PinyinData::~PinyinData() = default;

std::unique_ptr<PinyinData> PinyinData::load(const std::string &path, core::Message *why) {
    auto fail = [why](core::Message reason) {
        if (why)
            *why = std::move(reason);
        return nullptr;
    };
    // Opened without blocking and only as a regular file: a FIFO or a device there is refused.
    core::Message reason;
    auto file = MappedFile::open(path, std::size_t(256) << 20, &reason, true);
    if (!file)
        return fail(reason);
    if (file->bytes().empty())
        return fail(core::MessageId::NotADataFile);
    std::unique_ptr<PinyinData> data(new PinyinData);
    data->m_path = path;
    data->m_file = std::move(file);
    const std::string_view bytes = data->m_file->bytes();
    data->m_view = core::PinyinReadingData::open(
        {reinterpret_cast<const unsigned char *>(bytes.data()), bytes.size()}, &reason);
    if (!data->m_view)
        return fail(reason);
    return data;
}

const core::PinyinReadingData *PinyinDataSource::get() {
    if (!m_tried) {
        m_tried = true;
        m_data = PinyinData::load(m_path, &m_why);
    }
    return m_data ? &m_data->view() : nullptr;
}

core::Message PinyinDataSource::error() {
    return get() ? core::Message() : loadFailure(m_path, m_why);
}

} // namespace platform
