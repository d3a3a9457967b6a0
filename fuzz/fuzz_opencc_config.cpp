// A user's OpenCC configuration: the fuzzer's bytes are the JSON file (nested groups, inline
// dictionaries, file names, segmentation, normalization). Reading it must give a configuration or
// name the file and the reason; a configuration read must build a converter that converts a text.
// Every file name resolves to one of three small dictionaries in a private folder (so the fuzzer
// never reads the machine's files); binary types meet a text file and are refused on its header,
// which keeps each input cheap.

#include "core/phrase_convert.h"
#include "fuzz_support.h"
#include "platform/opencc_config.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

std::string put(const std::string &path, const std::string &text) {
    FILE *f = std::fopen(path.c_str(), "wb");
    if (f) {
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
    return path;
}

const std::string &folder() {
    static const std::string dir = [] {
        char name[] = "/tmp/lanternfin-fuzz-config-XXXXXX";
        const std::string d = mkdtemp(name) ? name : "/tmp";
        put(d + "/a.txt", "头发\t頭髮\n发\t發 髮\n");
        put(d + "/b.txt", "# comment\n干\t乾 幹\n\xEF\xBB\xBF\n");
        put(d + "/c.txt", "no tab here\n");
        return d;
    }();
    return dir;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string json =
        put(folder() + "/fuzz.json", std::string(reinterpret_cast<const char *>(data), size));
    const platform::DictionaryResolver resolve = [](const std::string &type, const std::string &file) {
        const char pick =
            file.empty() ? 'a' : static_cast<char>('a' + static_cast<unsigned char>(file.back()) % 3);
        return platform::DictionarySource{type, folder() + "/" + pick + ".txt", {}, {}};
    };
    std::string failed;
    core::Message why;
    const auto config = platform::readOpenccConfig(json, failed, &why, true, resolve);
    if (!config) {
        fuzz::check(!failed.empty() && !why.empty(), "a configuration refused without file and reason");
        return 0;
    }
    const auto dicts = platform::readConfigDictionaries(*config, failed, &why);
    if (!dicts) {
        fuzz::check(!failed.empty(), "a dictionary refused without naming its file");
        return 0;
    }
    const auto converter = core::PhraseConverter::build(dicts->view);
    converter.convert("头发干杯 abc 发");
    return 0;
}
