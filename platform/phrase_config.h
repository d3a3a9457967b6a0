#pragma once

// OpenCC's JSON configurations and their dictionaries (.ocd2, .ocd, plain text) as a
// core::PhraseConverter, with a prepared image kept in a cache folder.

#include "core/phrase_convert.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// The JSON file meant by `name`: a path when it holds a '/', else <openccDataDir()>/<name>, with
// ".json" added when it does not end so.
std::string phraseConfigPath(const std::string &name);

// Where prepared images are kept: $XDG_CACHE_HOME/lanternfin, else $HOME/.cache/lanternfin.
std::string phraseCacheDir();

struct PhraseLoad {
    std::optional<core::PhraseConverter> converter;
    std::string failedPath; // when there is no converter: the file that could not be loaded
    bool fromImage = false; // the converter came from a prepared image
    std::string imagePath;  // the image file used or written, empty when there is none
};

// Loads the configuration `name` (see phraseConfigPath). Its image in `cacheDir` is used when it
// was made from the same JSON and dictionary contents by this program; otherwise the converter is
// built from the dictionaries and its image written there (an unwritable folder is no error).
// An empty `cacheDir` neither reads nor writes an image.
PhraseLoad loadPhraseConverter(const std::string &name, const std::string &cacheDir = phraseCacheDir());

// What keeps configuration `name` from loading, found without building it: the JSON file or a
// dictionary that cannot be read or is not of its type. Empty when nothing is seen.
std::string phraseConfigProblem(const std::string &name);

// The configuration as dictionaries, read as libopencc reads them; nullopt with `failedPath` set
// when a file cannot be read or is not what it should be.
std::optional<core::PhraseConfig> readPhraseConfig(const std::string &jsonPath, std::string &failedPath);

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
