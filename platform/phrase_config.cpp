#include "phrase_config.h"

#include "character_maps.h"
#include "mapped_file.h"
#include "opencc_config.h"
#include "pinyin_data.h"
#include "private_folder.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <unistd.h>

namespace platform {
namespace {

namespace fs = std::filesystem;

// A prepared image is never larger than this; a larger file at its path is not one.
constexpr std::size_t kMaxImageBytes = std::size_t(1) << 30;

// A 64-bit hash of bytes, eight at a time; it tells whether a source changed, nothing more.
std::uint64_t hashBytes(std::string_view s, std::uint64_t h = 0x9E3779B97F4A7C15ull) {
    constexpr std::uint64_t k = 0xFF51AFD7ED558CCDull;
    std::size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) {
        std::uint64_t w;
        std::memcpy(&w, s.data() + i, 8);
        h = (h ^ w) * k;
        h ^= h >> 32;
    }
    std::uint64_t w = 0;
    std::memcpy(&w, s.data() + i, s.size() - i);
    h = (h ^ w ^ (std::uint64_t(s.size()) << 56)) * k;
    h ^= h >> 29;
    h *= 0xC4CEB9FE1A85EC53ull;
    return h ^ (h >> 32);
}

// The image file: this header, the hash of every source (the JSON first, then the dictionaries in
// the order they are read), then the converter's image at an offset that is a multiple of 8.
struct FileHeader {
    char magic[8];
    std::uint32_t version, sourceCount;
    std::uint64_t sourcesHash, imageHash, imageOffset, imageSize;
};
constexpr char kFileMagic[8] = {'L', 'F', 'P', 'H', 'I', 'M', 'G', '1'};
constexpr std::uint32_t kFileVersion = 1;

std::uint64_t combine(const std::vector<std::uint64_t> &hashes) {
    return hashBytes(std::string_view(reinterpret_cast<const char *>(hashes.data()), hashes.size() * 8));
}

// The converter in the image file at `path`: when `hashes` is given (an image in the cache), only
// if the file was made from exactly those sources and its checksum holds. Without (a built-in
// image, installed with the program and checked by the package manager), the checksum is not
// computed, so that loading stays within a few milliseconds. Either way every table is checked. A
// file that is not such an image in every part gives nullopt, with `why` set.
std::optional<core::PhraseConverter> openImage(const std::string &path,
                                               const std::vector<std::uint64_t> *hashes, core::Message &why) {
    const auto file = MappedFile::open(path, kMaxImageBytes, &why, !hashes);
    if (!file)
        return std::nullopt;
    const std::string_view bytes = file->bytes();
    FileHeader h;
    if (bytes.size() < sizeof h) {
        why = core::MessageId::NotOurImage;
        return std::nullopt;
    }
    std::memcpy(&h, bytes.data(), sizeof h);
    if (std::memcmp(h.magic, kFileMagic, sizeof kFileMagic) != 0 || h.version != kFileVersion) {
        why = core::MessageId::NotOurImage;
        return std::nullopt;
    }
    const std::uint64_t listEnd = sizeof h + std::uint64_t(h.sourceCount) * 8;
    if (hashes &&
        (h.sourceCount != hashes->size() || h.sourcesHash != combine(*hashes) || bytes.size() < listEnd ||
         std::memcmp(bytes.data() + sizeof h, hashes->data(), hashes->size() * 8) != 0)) {
        why = core::MessageId::ImageOfOtherSources;
        return std::nullopt;
    }
    if (h.imageOffset % 8 || h.imageOffset < listEnd || h.imageOffset > bytes.size() ||
        h.imageSize != bytes.size() - h.imageOffset) {
        why = core::MessageId::Damaged;
        return std::nullopt;
    }
    const std::string_view image = bytes.substr(h.imageOffset);
    if (hashes && hashBytes(image) != h.imageHash) {
        why = core::MessageId::Damaged;
        return std::nullopt;
    }
    auto converter = core::PhraseConverter::fromImage(image, file);
    if (!converter)
        why = core::MessageId::Damaged;
    return converter;
}

// Writes the image file through a temporary name, so that a reader never sees half of it, and
// removes the images of earlier sources of the same configuration.
bool writeImage(const std::string &dir, const std::string &path, const std::string &stem,
                const std::string &file) {
    std::error_code ec;
    const std::string tmp = path + ".tmp" + std::to_string(::getpid());
    {
        std::unique_ptr<FILE, int (*)(FILE *)> f(std::fopen(tmp.c_str(), "wbx"), &std::fclose);
        if (!f)
            return false;
        if (std::fwrite(file.data(), 1, file.size(), f.get()) != file.size() || std::fflush(f.get()) != 0 ||
            fsync(fileno(f.get())) != 0) {
            f.reset();
            fs::remove(tmp, ec);
            return false;
        }
    }
    for (const auto &entry : fs::directory_iterator(dir, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(stem + "-", 0) == 0 && entry.path().extension() == ".lfimg" && entry.path() != path)
            fs::remove(entry.path(), ec);
    }
    fs::rename(tmp, path, ec);
    if (ec)
        fs::remove(tmp, ec);
    return !ec;
}

std::string hex(std::uint64_t v) {
    char buf[17];
    std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(v));
    return buf;
}

std::string builtinImagePath(const std::string &config) {
    return builtinPhraseDir() + "/" + config + ".lfimg";
}

} // namespace

const std::vector<std::string> &builtinPhraseConfigs() {
    static const std::vector<std::string> names{"s2t",   "t2s",   "s2tw",  "tw2s", "s2hk", "hk2s",
                                                "s2twp", "tw2sp", "t2tw",  "hk2t", "t2hk", "t2jp",
                                                "jp2t",  "tw2t",  "s2hkp", "hk2sp"};
    return names;
}

std::string builtinPhraseConfig(const std::string &name) {
    std::string base = name;
    if (base.size() > 5 && base.compare(base.size() - 5, 5, ".json") == 0)
        base.resize(base.size() - 5);
    for (const auto &n : builtinPhraseConfigs())
        if (n == base)
            return n;
    return {};
}

std::string builtinPhraseDir() {
    return lanternfinDataDir() + "/phrase";
}

std::string phraseConfigPath(const std::string &name) {
    if (name.find('/') != std::string::npos)
        return name;
    const bool hasJson = name.size() >= 5 && name.compare(name.size() - 5, 5, ".json") == 0;
    return openccDataDir() + "/" + name + (hasJson ? "" : ".json");
}

std::string phraseCacheDir() {
    const char *xdg = std::getenv("XDG_CACHE_HOME");
    if (xdg && *xdg == '/')
        return std::string(xdg) + "/lanternfin";
    const char *home = std::getenv("HOME");
    return home && *home ? std::string(home) + "/.cache/lanternfin" : std::string();
}

std::vector<std::uint64_t> phraseSourceHashes(const OpenccConfig &c) {
    std::vector<std::uint64_t> h{hashBytes(c.json)};
    for (const auto &s : c.sources)
        h.push_back(hashBytes(s.bytes, hashBytes(s.type + '\n' + s.path)));
    return h;
}

std::string phraseImageFile(const std::vector<std::uint64_t> &hashes, std::string_view image) {
    FileHeader h{};
    std::memcpy(h.magic, kFileMagic, sizeof kFileMagic);
    h.version = kFileVersion;
    h.sourceCount = static_cast<std::uint32_t>(hashes.size());
    h.sourcesHash = combine(hashes);
    h.imageHash = hashBytes(image);
    h.imageOffset = (sizeof h + hashes.size() * 8 + 7) & ~std::uint64_t(7);
    h.imageSize = image.size();
    std::string file(h.imageOffset, '\0');
    std::memcpy(file.data(), &h, sizeof h);
    std::memcpy(file.data() + sizeof h, hashes.data(), hashes.size() * 8);
    file += image;
    return file;
}

std::string phraseConfigProblem(const std::string &name) {
    if (const std::string builtin = builtinPhraseConfig(name); !builtin.empty()) {
        const std::string path = builtinImagePath(builtin);
        const auto head = readDataFileHead(path, sizeof(FileHeader), kMaxImageBytes);
        return head && head->compare(0, sizeof kFileMagic, kFileMagic, sizeof kFileMagic) == 0 ? std::string()
                                                                                               : path;
    }
    std::string failed;
    const auto c = readOpenccConfig(phraseConfigPath(name), failed, nullptr, false);
    if (!c)
        return failed;
    for (const auto &s : c->sources)
        if (!dictionaryHeaderFits(s))
            return s.path;
    return {};
}

PhraseLoad loadPhraseConverter(const std::string &name, const std::string &cacheDir) {
    PhraseLoad result;
    if (const std::string builtin = builtinPhraseConfig(name); !builtin.empty()) {
        result.imagePath = builtinImagePath(builtin);
        result.converter = openImage(result.imagePath, nullptr, result.why);
        result.fromImage = result.converter.has_value();
        if (!result.converter) {
            result.failedPath = result.imagePath;
            result.imagePath.clear();
        }
        return result;
    }
    const std::string jsonPath = phraseConfigPath(name);
    const auto c = readOpenccConfig(jsonPath, result.failedPath, &result.why);
    if (!c)
        return result;
    const auto hashes = phraseSourceHashes(*c);
    // Named after the configuration and where its JSON lies, so that two files of one name do not
    // take each other's place.
    const std::string stem = fs::path(jsonPath).stem().string() + "-" + hex(hashBytes(jsonPath)).substr(0, 8);
    std::string path;
    // The cache is the user's alone: a folder that is a link, another user's, or cannot be made
    // private is not used (another user could plant an image that decides the output), and the
    // converter is built in memory instead.
    if (!cacheDir.empty()) {
        std::error_code ec;
        fs::create_directories(fs::path(cacheDir).parent_path(), ec);
        if (core::Message problem = makePrivateFolder(cacheDir, static_cast<unsigned>(::geteuid()));
            !problem.empty())
            result.cacheProblem =
                core::Message(core::MessageId::FolderProblem, {cacheDir}, {std::move(problem)});
    }
    if (!cacheDir.empty() && result.cacheProblem.empty()) {
        path = cacheDir + "/" + stem + "-" + hex(combine(hashes)) + ".lfimg";
        core::Message why;
        if (auto conv = openImage(path, &hashes, why)) {
            result.converter = std::move(conv);
            result.fromImage = true;
            result.imagePath = path;
            return result;
        }
    }
    // Built from each dictionary held once: the first load's memory peaks here.
    if (const auto read = readConfigDictionaries(*c, result.failedPath, &result.why))
        result.converter = core::PhraseConverter::build(read->view);
    else
        return result;
    if (!path.empty() && writeImage(cacheDir, path, stem, phraseImageFile(hashes, result.converter->image())))
        result.imagePath = path;
    return result;
}

PhraseConverters::PhraseConverters(Loader loader, Prober prober)
    : m_loader(std::move(loader)), m_prober(std::move(prober)) {
    if (!m_loader)
        m_loader = [](const std::string &name) { return loadPhraseConverter(name); };
    if (!m_prober)
        m_prober = phraseConfigProblem;
}

const core::PhraseConverter *PhraseConverters::get(const std::string &name) {
    // A configuration that failed is tried again: its files may have been installed since.
    auto it = m_loaded.find(name);
    if (it == m_loaded.end())
        it = m_loaded.emplace(name, m_loader(name)).first;
    else if (!it->second.converter)
        it->second = m_loader(name);
    return it->second.converter ? &*it->second.converter : nullptr;
}

std::string PhraseConverters::failedPath(const std::string &name) {
    const auto it = m_loaded.find(name);
    if (it != m_loaded.end() && it->second.converter)
        return {};
    const std::string problem = m_prober(name);
    // A configuration whose files look right but failed to build stays named until it loads.
    if (problem.empty() && it != m_loaded.end())
        return get(name) ? std::string() : it->second.failedPath;
    return problem;
}

} // namespace platform
