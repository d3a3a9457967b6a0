#include "phrase_config.h"

#include "character_maps.h"

#include <nlohmann/json.hpp>
#include <opencc/DartsDict.hpp>
#include <opencc/DictEntry.hpp>
#include <opencc/Lexicon.hpp>
#include <opencc/MarisaDict.hpp>
#include <opencc/TextDict.hpp>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

namespace fs = std::filesystem;
using json = nlohmann::json;

std::optional<std::string> readFile(const std::string &path) {
    std::unique_ptr<FILE, int (*)(FILE *)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!f)
        return std::nullopt;
    std::string data;
    char buf[1 << 16];
    std::size_t got;
    while ((got = std::fread(buf, 1, sizeof buf, f.get())) > 0)
        data.append(buf, got);
    if (std::ferror(f.get()))
        return std::nullopt;
    return data;
}

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

// One dictionary file of the configuration, as found on disk.
struct Source {
    std::string type, path, bytes;
};

// The file named in a configuration: an absolute path as it is, else beside the JSON file, else in
// the OpenCC data folder. (OpenCC's own tool looks in the working directory first; that makes a
// result depend on where it is run, which a stored image must not.)
std::string dictionaryPath(const std::string &file, const fs::path &configDir) {
    if (fs::path(file).is_absolute())
        return file;
    const fs::path beside = configDir / file;
    if (fs::exists(beside))
        return beside.string();
    return (fs::path(openccDataDir()) / file).string();
}

// Collects the dictionaries of one "dict" object into `group`; false with `failed` on error.
bool collect(const json &dict, const fs::path &configDir, std::vector<std::unique_ptr<Source>> &sources,
             std::vector<const Source *> &group, std::string &failed) {
    if (!dict.is_object() || !dict.contains("type") || !dict["type"].is_string())
        return false;
    const std::string type = dict["type"];
    if (type == "group") {
        if (!dict.contains("dicts") || !dict["dicts"].is_array() || dict["dicts"].empty())
            return false;
        for (const auto &d : dict["dicts"])
            if (!collect(d, configDir, sources, group, failed))
                return false;
        return true;
    }
    if ((type != "ocd2" && type != "ocd" && type != "text") || !dict.contains("file") ||
        !dict["file"].is_string())
        return false;
    const std::string path = dictionaryPath(dict["file"], configDir);
    for (const auto &s : sources)
        if (s->path == path && s->type == type) {
            group.push_back(s.get());
            return true;
        }
    auto bytes = readFile(path);
    if (!bytes) {
        failed = path;
        return false;
    }
    sources.push_back(std::make_unique<Source>(Source{type, path, std::move(*bytes)}));
    group.push_back(sources.back().get());
    return true;
}

// Whether a binary dictionary starts as its type does. OpenCC leaks and may crash on a foreign
// binary file: such a file is refused on its header.
bool headerFits(const Source &s) {
    static constexpr char kMarisa[] = "OPENCC_MARISA_0.2.5";
    static constexpr char kDarts[] = "OPENCCDARTS1";
    if (s.type == "ocd2")
        return s.bytes.compare(0, sizeof kMarisa - 1, kMarisa) == 0;
    if (s.type == "ocd")
        return s.bytes.compare(0, sizeof kDarts - 1, kDarts) == 0;
    return true;
}

// The dictionary file as entries, through libopencc's own readers; nullopt when it refuses it.
std::optional<core::PhraseDictionary> readDictionary(const Source &s) {
    if (!headerFits(s))
        return std::nullopt;
    std::unique_ptr<FILE, int (*)(FILE *)> f(
        fmemopen(const_cast<char *>(s.bytes.data()), s.bytes.size(), "rb"), &std::fclose);
    if (!f)
        return std::nullopt;
    try {
        opencc::LexiconPtr lexicon;
        if (s.type == "ocd2")
            lexicon = opencc::MarisaDict::NewFromFile(f.get())->GetLexicon();
        else if (s.type == "ocd")
            lexicon = opencc::DartsDict::NewFromFile(f.get())->GetLexicon();
        else
            lexicon = opencc::TextDict::NewFromFile(f.get())->GetLexicon();
        core::PhraseDictionary dict;
        dict.reserve(lexicon->Length());
        for (const auto &entry : *lexicon) {
            const std::string key = entry->Key();
            if (key.find('\0') != std::string::npos)
                return std::nullopt;
            dict.push_back({key, entry->GetDefault()});
        }
        return dict;
    } catch (...) {
        return std::nullopt;
    }
}

struct Configuration {
    std::string json;
    std::vector<std::unique_ptr<Source>> sources;
    std::vector<std::vector<const Source *>> groups; // [0] segmentation, then the steps
};

std::optional<Configuration> readConfiguration(const std::string &jsonPath, std::string &failed) {
    Configuration c;
    failed = jsonPath;
    auto text = readFile(jsonPath);
    if (!text)
        return std::nullopt;
    c.json = std::move(*text);
    const json j = json::parse(c.json, nullptr, false);
    if (j.is_discarded() || !j.is_object() || !j.contains("segmentation") || !j.contains("conversion_chain"))
        return std::nullopt;
    const json &seg = j["segmentation"];
    const json &chain = j["conversion_chain"];
    if (!seg.is_object() || !seg.contains("dict") || !chain.is_array() ||
        (seg.contains("type") && seg["type"] != "mmseg"))
        return std::nullopt;
    const fs::path dir = fs::path(jsonPath).parent_path();
    c.groups.emplace_back();
    if (!collect(seg["dict"], dir, c.sources, c.groups.back(), failed))
        return std::nullopt;
    for (const auto &step : chain) {
        c.groups.emplace_back();
        if (!step.is_object() || !step.contains("dict") ||
            !collect(step["dict"], dir, c.sources, c.groups.back(), failed))
            return std::nullopt;
    }
    failed.clear();
    return c;
}

std::optional<core::PhraseConfig> toPhraseConfig(const Configuration &c, std::string &failed) {
    std::unordered_map<const Source *, core::PhraseDictionary> read;
    core::PhraseConfig config;
    for (std::size_t g = 0; g < c.groups.size(); ++g) {
        core::PhraseGroup group;
        for (const Source *s : c.groups[g]) {
            auto it = read.find(s);
            if (it == read.end()) {
                auto dict = readDictionary(*s);
                if (!dict) {
                    failed = s->path;
                    return std::nullopt;
                }
                it = read.emplace(s, std::move(*dict)).first;
            }
            group.push_back(it->second);
        }
        if (g == 0)
            config.segmentation = std::move(group);
        else
            config.steps.push_back(std::move(group));
    }
    return config;
}

// The configuration's dictionaries, each read once however often it is named, and where each is used.
struct ReadDictionaries {
    std::vector<core::PhraseDictionary> dicts; // one per source
    core::PhraseConfigView view;
};

std::optional<ReadDictionaries> readDictionaries(const Configuration &c, std::string &failed) {
    ReadDictionaries r;
    r.dicts.reserve(c.sources.size()); // the view points into it
    for (const auto &s : c.sources) {
        auto dict = readDictionary(*s);
        if (!dict) {
            failed = s->path;
            return std::nullopt;
        }
        r.dicts.push_back(std::move(*dict));
    }
    auto dictOf = [&](const Source *s) {
        for (std::size_t i = 0; i < c.sources.size(); ++i)
            if (c.sources[i].get() == s)
                return &r.dicts[i];
        return static_cast<core::PhraseDictionary *>(nullptr);
    };
    for (std::size_t g = 0; g < c.groups.size(); ++g) {
        auto &group = g == 0 ? r.view.segmentation : r.view.steps.emplace_back();
        for (const Source *s : c.groups[g])
            group.push_back(dictOf(s));
    }
    return r;
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

std::vector<std::uint64_t> sourceHashes(const Configuration &c) {
    std::vector<std::uint64_t> h{hashBytes(c.json)};
    for (const auto &s : c.sources)
        h.push_back(hashBytes(s->bytes, hashBytes(s->type + '\n' + s->path)));
    return h;
}

std::uint64_t combine(const std::vector<std::uint64_t> &hashes) {
    return hashBytes(std::string_view(reinterpret_cast<const char *>(hashes.data()), hashes.size() * 8));
}

struct Mapping {
    void *data = MAP_FAILED;
    std::size_t size = 0;
    ~Mapping() {
        if (data != MAP_FAILED)
            munmap(data, size);
    }
};

// The converter in the image file at `path`, when that file is one of ours for exactly `hashes`.
std::optional<core::PhraseConverter> openImage(const std::string &path,
                                               const std::vector<std::uint64_t> &hashes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat st {};
    auto map = std::make_shared<Mapping>();
    if (fstat(fd, &st) == 0 && st.st_size >= static_cast<off_t>(sizeof(FileHeader))) {
        map->size = static_cast<std::size_t>(st.st_size);
        map->data = mmap(nullptr, map->size, PROT_READ, MAP_PRIVATE, fd, 0);
    }
    ::close(fd);
    if (map->data == MAP_FAILED)
        return std::nullopt;
    const char *base = static_cast<const char *>(map->data);
    FileHeader h;
    std::memcpy(&h, base, sizeof h);
    const std::size_t listEnd = sizeof h + hashes.size() * 8;
    if (std::memcmp(h.magic, kFileMagic, sizeof kFileMagic) != 0 || h.version != kFileVersion ||
        h.sourceCount != hashes.size() || h.sourcesHash != combine(hashes) || map->size < listEnd ||
        std::memcmp(base + sizeof h, hashes.data(), hashes.size() * 8) != 0 || h.imageOffset % 8 ||
        h.imageOffset < listEnd || h.imageOffset > map->size || h.imageSize != map->size - h.imageOffset)
        return std::nullopt;
    const std::string_view image(base + h.imageOffset, h.imageSize);
    if (hashBytes(image) != h.imageHash)
        return std::nullopt;
    return core::PhraseConverter::fromImage(image, map);
}

// Writes the image file through a temporary name, so that a reader never sees half of it, and
// removes the images of earlier sources of the same configuration.
bool writeImage(const std::string &dir, const std::string &path, const std::string &stem,
                const std::vector<std::uint64_t> &hashes, std::string_view image) {
    std::error_code ec;
    fs::create_directories(dir, ec);
    FileHeader h{};
    std::memcpy(h.magic, kFileMagic, sizeof kFileMagic);
    h.version = kFileVersion;
    h.sourceCount = static_cast<std::uint32_t>(hashes.size());
    h.sourcesHash = combine(hashes);
    h.imageHash = hashBytes(image);
    h.imageOffset = (sizeof h + hashes.size() * 8 + 7) & ~std::uint64_t(7);
    h.imageSize = image.size();
    std::string head(h.imageOffset, '\0');
    std::memcpy(head.data(), &h, sizeof h);
    std::memcpy(head.data() + sizeof h, hashes.data(), hashes.size() * 8);
    const std::string tmp = path + ".tmp" + std::to_string(::getpid());
    {
        std::unique_ptr<FILE, int (*)(FILE *)> f(std::fopen(tmp.c_str(), "wb"), &std::fclose);
        if (!f)
            return false;
        if (std::fwrite(head.data(), 1, head.size(), f.get()) != head.size() ||
            std::fwrite(image.data(), 1, image.size(), f.get()) != image.size() ||
            std::fflush(f.get()) != 0) {
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

} // namespace

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

std::string phraseConfigProblem(const std::string &name) {
    std::string failed;
    const auto c = readConfiguration(phraseConfigPath(name), failed);
    if (!c)
        return failed;
    for (const auto &s : c->sources)
        if (!headerFits(*s))
            return s->path;
    return {};
}

std::optional<core::PhraseConfig> readPhraseConfig(const std::string &jsonPath, std::string &failedPath) {
    const auto c = readConfiguration(jsonPath, failedPath);
    if (!c)
        return std::nullopt;
    return toPhraseConfig(*c, failedPath);
}

PhraseLoad loadPhraseConverter(const std::string &name, const std::string &cacheDir) {
    PhraseLoad result;
    const std::string jsonPath = phraseConfigPath(name);
    const auto c = readConfiguration(jsonPath, result.failedPath);
    if (!c)
        return result;
    const auto hashes = sourceHashes(*c);
    // Named after the configuration and where its JSON lies, so that two files of one name do not
    // take each other's place.
    const std::string stem = fs::path(jsonPath).stem().string() + "-" + hex(hashBytes(jsonPath)).substr(0, 8);
    std::string path;
    if (!cacheDir.empty()) {
        path = cacheDir + "/" + stem + "-" + hex(combine(hashes)) + ".lfimg";
        if (auto conv = openImage(path, hashes)) {
            result.converter = std::move(conv);
            result.fromImage = true;
            result.imagePath = path;
            return result;
        }
    }
    // Built from each dictionary held once: the first load's memory peaks here.
    if (const auto read = readDictionaries(*c, result.failedPath))
        result.converter = core::PhraseConverter::build(read->view);
    else
        return result;
    if (!path.empty() && writeImage(cacheDir, path, stem, hashes, result.converter->image()))
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
