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

PinyinData::~PinyinData() {
    if (m_map)
        munmap(m_map, m_size);
}

std::unique_ptr<PinyinData> PinyinData::load(const std::string &path, std::string *why) {
    auto fail = [why](std::string reason) {
        if (why)
            *why = std::move(reason);
        return nullptr;
    };
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return fail("cannot open");
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size == 0) {
        ::close(fd);
        return fail("not a data file");
    }
    std::unique_ptr<PinyinData> data(new PinyinData);
    data->m_path = path;
    data->m_size = static_cast<std::size_t>(st.st_size);
    void *map = mmap(nullptr, data->m_size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    ::close(fd);
    if (map == MAP_FAILED)
        return fail("cannot map");
    data->m_map = map;
    std::string reason;
    data->m_view =
        core::PinyinReadingData::open({static_cast<const unsigned char *>(map), data->m_size}, &reason);
    if (!data->m_view)
        return fail(reason);
    return data;
}

const core::PinyinReadingData *PinyinDataSource::get() {
    if (!m_tried) {
        m_tried = true;
        m_data = PinyinData::load(m_path);
    }
    return m_data ? &m_data->view() : nullptr;
}

std::string PinyinDataSource::error() {
    return get() ? std::string() : "cannot load " + m_path;
}

} // namespace platform
