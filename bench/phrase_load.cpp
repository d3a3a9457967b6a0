// Loading of the phrase configurations. The built-in ones: the image mapped, its checksum and every
// table checked (floor 5 ms). A JSON file's (Debian's, by path): the first load (dictionaries read
// through libopencc, the converter built, its image written) and later loads from the cached image
// (the JSON and every dictionary read and hashed, the image mapped and checked), with the image's
// size.
// Usage: phrase_load [config...]   (default: all stock configurations)

#include "platform/phrase_config.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

double msSince(std::chrono::steady_clock::time_point t) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t).count();
}

} // namespace

int main(int argc, char **argv) {
    std::vector<std::string> configs(argv + 1, argv + argc);
    if (configs.empty())
        configs = platform::builtinPhraseConfigs();
    std::printf("%-6s %12s %12s (floor 5 ms)\n", "config", "built-in ms", "image KB");
    for (const auto &c : configs) {
        double best = 1e9;
        std::string path;
        for (int i = 0; i < 20; ++i) {
            const auto t = std::chrono::steady_clock::now();
            const auto load = platform::loadPhraseConverter(c, "");
            best = std::min(best, msSince(t));
            if (!load.converter) {
                std::printf("%-6s cannot load %s: %s\n", c.c_str(), load.failedPath.c_str(),
                            load.why.in(core::Language::English).c_str());
                break;
            }
            path = load.imagePath;
        }
        if (!path.empty())
            std::printf("%-6s %12.2f %12.0f\n", c.c_str(), best, std::filesystem::file_size(path) / 1024.0);
    }
    char dir[] = "/tmp/lanternfin-load-XXXXXX";
    const std::string cache = mkdtemp(dir);
    std::printf("\nDebian's configurations by path, cached images\n");
    std::printf("%-6s %10s %12s %12s\n", "config", "first ms", "image ms", "image KB");
    for (const auto &c : configs) {
        auto t = std::chrono::steady_clock::now();
        const std::string json = platform::phraseConfigPath(c);
        const auto first = platform::loadPhraseConverter(json, cache);
        const double firstMs = msSince(t);
        if (!first.converter) {
            std::printf("%-6s cannot load %s\n", c.c_str(), first.failedPath.c_str());
            continue;
        }
        double best = 1e9;
        for (int i = 0; i < 20; ++i) {
            t = std::chrono::steady_clock::now();
            const auto again = platform::loadPhraseConverter(json, cache);
            const double ms = msSince(t);
            if (!again.fromImage)
                std::printf("%-6s image not used\n", c.c_str());
            best = std::min(best, ms);
        }
        std::printf("%-6s %10.1f %12.2f %12.0f\n", c.c_str(), firstMs, best,
                    std::filesystem::file_size(first.imagePath) / 1024.0);
    }
    std::filesystem::remove_all(cache);
    return 0;
}
