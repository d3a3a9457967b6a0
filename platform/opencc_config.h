#pragma once

// OpenCC's JSON configurations as a tree of dictionary files, and those files as entries. The
// language is OpenCC 1.4's: an optional "normalization" chain, an optional "segmentation"
// (type "mmseg"), the "conversion_chain", and dictionaries of type "ocd2", "ocd", "text",
// "inline" or "group" (nested, with "match_policy" "short_circuit" or "union"). A dictionary
// marked "may_output_tofu" is left out of the conversion chain, as OpenCC's command line does.

#include "core/phrase_convert.h"

#include "core/messages.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// One dictionary of a configuration: its type and file, its bytes ("inline": the JSON file, the
// JSON text of its entries, and `entry` the number of that inline dictionary in the file).
struct DictionarySource {
    std::string type, path, bytes, entry;
};

// A dictionary (`source` >= 0, an index into the configuration's sources) or a group of members.
struct DictionaryNode {
    int source = -1;
    core::MatchPolicy policy = core::MatchPolicy::ShortCircuit;
    std::vector<DictionaryNode> members;
};

struct OpenccConfig {
    std::string json;
    std::vector<DictionarySource> sources; // each file once, in the order first named
    DictionaryNode segmentation;           // no member: no segmentation
    std::vector<DictionaryNode> steps;
    std::vector<DictionaryNode> normalization;
};

// Where the file named in a configuration lies, and its type, given the type the configuration
// says; by default an absolute path as it is, else beside the JSON file, else in the OpenCC data
// folder. (OpenCC's own tool looks in the working folder first; that makes a result depend on
// where it is run, which a stored image must not.)
using DictionaryResolver = std::function<DictionarySource(const std::string &type, const std::string &file)>;

// Reads the configuration at `jsonPath` and its dictionary files: whole when `contents`, else only
// their first bytes (enough to tell their type). nullopt with `failed` set to the file and `why` to
// the reason when a file cannot be read or the JSON is not a configuration.
std::optional<OpenccConfig> readOpenccConfig(const std::string &jsonPath, std::string &failed,
                                             core::Message *why = nullptr, bool contents = true,
                                             const DictionaryResolver &resolve = nullptr);

// Whether a dictionary's first bytes are of its type (binary dictionaries carry a signature).
bool dictionaryHeaderFits(const DictionarySource &source);

// The dictionary's entries (each key with its first value); nullopt with `why` set when it is not
// a dictionary of its type (a binary one that OpenCC cannot read: "damaged dictionary"). Binary
// dictionaries are read by OpenCC in a child process, so that a crafted file cannot crash this one. Text
// dictionaries are read as OpenCC reads them: "#" starts a comment line, a tab ends the key, spaces part the
// values; a line without a tab or a key named twice makes the file invalid.
std::optional<core::PhraseDictionary> readDictionary(const DictionarySource &source,
                                                     core::Message *why = nullptr);

// The configuration's dictionaries, each read once however often it is named, and the view that
// builds a converter from them; nullopt with `failed` (and `why`) when one cannot be read.
struct ConfigDictionaries {
    std::vector<core::PhraseDictionary> dicts; // one per source
    core::PhraseConfigView view;
};
std::optional<ConfigDictionaries> readConfigDictionaries(const OpenccConfig &config, std::string &failed,
                                                         core::Message *why = nullptr);

} // namespace platform
