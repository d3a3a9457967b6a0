#pragma once

// Phrase converters by OpenCC configuration: the stock configurations from the images built into
// the program (OpenCC's data of the release named in data/opencc/VERSION), any other JSON file with
// its own dictionaries (.ocd2, .ocd, text), its prepared image kept in a cache folder.

#include "core/phrase_convert.h"

#include "core/messages.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The stock configurations, whose images are built into the program.
const std::vector<std::string> &builtinPhraseConfigs();

// The built-in configuration meant by `name` ("s2t" or "s2t.json"); empty when it is none (a path,
// or a name of no stock configuration).
std::string builtinPhraseConfig(const std::string &name);

// Where the built-in images lie: <lanternfinDataDir()>/phrase.
std::string builtinPhraseDir();

// The JSON file meant by `name`: a path when it holds a '/', else <openccDataDir()>/<name>, with
// ".json" added when it does not end so.
std::string phraseConfigPath(const std::string &name);

// Where prepared images are kept: $XDG_CACHE_HOME/lanternfin, else $HOME/.cache/lanternfin.
std::string phraseCacheDir();

struct PhraseLoad {
    std::optional<core::PhraseConverter> converter;
    std::string failedPath; // when there is no converter: the file that could not be loaded
    core::Message why;      // and why not
    bool fromImage = false; // the converter came from a prepared image
    std::string imagePath;  // the image file used or written, empty when there is none
    core::Message cacheProblem = {}; // why the cache folder was not used ("... is a symbolic link"), or empty
};

// Loads the configuration `name`: a stock one from its built-in image, else the JSON file of
// phraseConfigPath(name). A JSON file's image in `cacheDir` is used when it was made from the same
// JSON and dictionary contents by this program and holds together; otherwise the converter is built
// from the dictionaries and its image written there (an unwritable folder is no error). `cacheDir`
// is made private (0700) first; one that is a link or another user's is not used at all. An empty
// `cacheDir` neither reads nor writes an image.
PhraseLoad loadPhraseConverter(const std::string &name, const std::string &cacheDir = phraseCacheDir());

// What keeps configuration `name` from loading, found from the files' first bytes only: the image,
// the JSON file or a dictionary that cannot be read or is not of its type. Empty when nothing is
// seen.
std::string phraseConfigProblem(const std::string &name);

// The image file: a header naming the sources it was made from, then a converter's image.
// `sourceHashes` hashes the configuration's JSON and dictionaries as loadPhraseConverter does.
std::string phraseImageFile(const std::vector<std::uint64_t> &sourceHashes, std::string_view image);

// The hashes of a configuration's sources for phraseImageFile: the JSON, then each dictionary
// (its type, path and bytes) in the order read.
struct OpenccConfig;
std::vector<std::uint64_t> phraseSourceHashes(const OpenccConfig &config);

// Configurations loaded when first asked for, then kept: for the window, whose start-up must not
// wait for them.
class PhraseConverters {
public:
    using Loader = std::function<PhraseLoad(const std::string &name)>;
    using Prober = std::function<std::string(const std::string &name)>;
    // `loader` loads one configuration (by default loadPhraseConverter with the user's cache);
    // `prober` tells cheaply what keeps one from loading (by default phraseConfigProblem).
    explicit PhraseConverters(Loader loader = nullptr, Prober prober = nullptr);

    // The converter of configuration `name`, loaded on the first call (and again on later calls
    // while it fails); null when it cannot be loaded.
    const core::PhraseConverter *get(const std::string &name);
    // Empty when `name` loaded or looks loadable, else the file that keeps it from loading. Does not
    // build a converter, so that asking is quick even before the first use.
    std::string failedPath(const std::string &name);

private:
    Loader m_loader;
    Prober m_prober;
    std::map<std::string, PhraseLoad> m_loaded;
};

} // namespace platform
