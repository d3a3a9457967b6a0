// Builds the images of OpenCC's stock configurations at build time: for each NAME, the
// configuration data/opencc/config/NAME.json with its dictionaries read as text from
// data/opencc/dictionary and data/opencc/generated (a configuration names "X.ocd2"; its text is
// X.txt), written to OUT/NAME.lfimg in the format the program's image cache reads.
//
//   make_phrase_images OUT OPENCC_DATA NAME...

#include "platform/opencc_config.h"
#include "platform/phrase_config.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>

namespace fs = std::filesystem;

int main(int argc, char **argv) {
    if (argc < 4) {
        std::cerr << "usage: make_phrase_images OUT OPENCC_DATA NAME...\n";
        return 2;
    }
    const fs::path out = argv[1], data = argv[2];
    fs::create_directories(out);
    // A dictionary named as a file of OpenCC's build is read from our text form of it.
    const platform::DictionaryResolver resolve = [&data](const std::string &, const std::string &file) {
        const std::string stem = fs::path(file).stem().string();
        for (const char *dir : {"dictionary", "generated"}) {
            const fs::path text = data / dir / (stem + ".txt");
            if (fs::exists(text))
                return platform::DictionarySource{"text", text.string(), {}, {}};
        }
        return platform::DictionarySource{"text", (data / "dictionary" / (stem + ".txt")).string(), {}, {}};
    };
    for (int i = 3; i < argc; ++i) {
        const std::string name = argv[i];
        std::string failed;
        core::Message why;
        auto config = platform::readOpenccConfig((data / "config" / (name + ".json")).string(), failed, &why,
                                                 true, resolve);
        if (!config) {
            std::cerr << "make_phrase_images: " << failed << ": " << why << "\n";
            return 1;
        }
        const auto dicts = platform::readConfigDictionaries(*config, failed, &why);
        if (!dicts) {
            std::cerr << "make_phrase_images: " << failed << ": " << why << "\n";
            return 1;
        }
        const auto converter = core::PhraseConverter::build(dicts->view);
        // The sources are hashed under their names, not where this build found them, so that the
        // image is the same from any build folder.
        for (auto &s : config->sources)
            s.path = fs::path(s.path).filename().string();
        const std::string file =
            platform::phraseImageFile(platform::phraseSourceHashes(*config), converter.image());
        const fs::path target = out / (name + ".lfimg");
        const fs::path tmp = out / (name + ".lfimg.tmp");
        std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
        f.write(file.data(), static_cast<std::streamsize>(file.size()));
        f.close();
        if (!f) {
            std::cerr << "make_phrase_images: cannot write " << tmp << "\n";
            return 1;
        }
        fs::rename(tmp, target);
    }
    return 0;
}
