// pinyin_eval: the reading of every character of each stdin line, for pinyin_accuracy.sh.
// Prints one line per input line: "index:syllable" for each code point that has a reading
// (index counts code points from 0; the syllable has a tone digit, 5 for neutral, v for ü).
//   pinyin_eval [DATA_FILE] < lines.txt

#include "core/pinyin_reading.h"
#include "platform/pinyin_data.h"

#include <cstdio>
#include <iostream>
#include <string>

int main(int argc, char **argv) {
    const std::string path =
        argc > 1 ? argv[1] : platform::lanternfinDataDir() + "/" + platform::kPinyinDataFile;
    core::Message why;
    const auto data = platform::PinyinData::load(path, &why);
    if (!data) {
        std::fprintf(stderr, "pinyin_eval: cannot load %s: %s\n", path.c_str(), why.in(core::Language::English).c_str());
        return 2;
    }
    core::PinyinReader reader(data->view(), {});
    std::string line;
    std::u32string run;
    std::vector<std::uint16_t> syl;
    while (std::getline(std::cin, line)) {
        std::u16string u16;
        core::decodeUtf8(line, u16, true);
        std::u32string cps;
        for (std::size_t i = 0; i < u16.size(); ++i) {
            char32_t c = u16[i];
            if (c >= 0xD800 && c < 0xDC00 && i + 1 < u16.size())
                c = 0x10000 + ((c - 0xD800) << 10) + (u16[++i] - 0xDC00);
            cps += c;
        }
        std::string out;
        for (std::size_t i = 0; i <= cps.size(); ++i) {
            if (i < cps.size() && data->view().hasReading(cps[i])) {
                run += cps[i];
                continue;
            }
            if (run.empty())
                continue;
            const std::size_t from = i - run.size();
            reader.readRun(run, syl,
                           from > 0 ? core::pinyinBoundaryOf(cps[from - 1]) : core::PinyinBoundary::Edge,
                           i < cps.size() ? core::pinyinBoundaryOf(cps[i]) : core::PinyinBoundary::Edge);
            for (std::size_t k = 0; k < syl.size(); ++k) {
                out +=
                    std::to_string(i - run.size() + k) + ":" + std::string(data->view().syllableName(syl[k]));
                out += ' ';
            }
            run.clear();
        }
        std::cout << out << '\n';
    }
}
