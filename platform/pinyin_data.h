#pragma once

// Finding and mapping the pinyin reading data file.

#include "mapped_file.h"
#include "core/messages.h"
#include "core/pinyin_reading.h"

#include <memory>
#include <string>

namespace platform {

inline constexpr const char *kPinyinDataFile = "pinyin.dat";

// The folder of the program's data: $LANTERNFIN_DATA_DIR when set; else ../share/lanternfin
// beside the running executable when the data file is there (an installed program); else the
// build tree's data folder.
std::string lanternfinDataDir();

// "cannot load PATH: WHY" (without ": WHY" when `why` is empty), for every message about a file
// that does not load; worded where it is shown.
core::Message loadFailure(const std::string &path, const core::Message &why);

// The data file mapped into memory with its checked view. The view stays valid as long as the
// object lives.
class PinyinData {
public:
    ~PinyinData();
    PinyinData(const PinyinData &) = delete;
    PinyinData &operator=(const PinyinData &) = delete;

    const core::PinyinReadingData &view() const { return *m_view; }
    const std::string &path() const { return m_path; }

    // nullptr when the file cannot be opened or is not a data file this program reads; `why`
    // then says why.
    static std::unique_ptr<PinyinData> load(const std::string &path, core::Message *why = nullptr);

private:
    PinyinData() = default;
    std::string m_path;
    std::shared_ptr<const MappedFile> m_file;
    std::optional<core::PinyinReadingData> m_view;
};

// The data file at a known path, loaded the first time it is asked for, so that a program's
// start-up does not pay for it. Not thread-safe.
class PinyinDataSource {
public:
    explicit PinyinDataSource(std::string path) : m_path(std::move(path)) {}

    // The data, or null when the file cannot be loaded (tried once).
    const core::PinyinReadingData *get();
    // Empty when the data loads, else "cannot load <path>: <why>". Loads on first use.
    core::Message error();
    const std::string &path() const { return m_path; }
    // Whether loading has been tried yet.
    bool tried() const { return m_tried; }

private:
    std::string m_path;
    bool m_tried = false;
    core::Message m_why;
    std::unique_ptr<PinyinData> m_data;
};

} // namespace platform
