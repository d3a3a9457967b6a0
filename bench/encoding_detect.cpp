// How often the encoding of a GB18030 or Big5 text is told right, told wrong or refused, by the
// number of Chinese characters in it: stretches of lines of the corpus (bench/corpus.sh) cut after
// N characters, each encoded in GB18030 and, where every character has a code, in Big5 (texts that
// are valid UTF-8 as well left out). The floor: no wrong guess from 8 characters on (at 4, about one
// in a thousand, box drawing read as Big5), and no refusal from 16 on.
// Usage: encoding_detect [CORPUS] (default bench/corpus/zh.txt of the source tree)

#include "core/text_encoding.h"
#include "core/utf.h"
#include "platform/text_codecs.h"

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Tally {
    int right = 0, wrong = 0, refused = 0;
};

bool isHan(char32_t c) {
    return c >= 0x4E00 && c < 0xA000;
}

// The text of `lines` from `first` on, cut after `han` Chinese characters; empty when it runs out.
std::string stretch(const std::vector<std::string> &lines, std::size_t first, int han) {
    std::string text;
    int seen = 0;
    for (std::size_t i = first; i < lines.size(); ++i) {
        const std::string &line = lines[i];
        std::size_t at = 0;
        bool done = false;
        core::forEachCodePoint(line, true, [&](char32_t c) {
            if (done)
                return;
            at += c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
            if (isHan(c) && ++seen == han)
                done = true;
        });
        text += line.substr(0, at);
        if (done)
            return text;
        text += '\n';
    }
    return {};
}

} // namespace

int main(int argc, char **argv) {
    const std::string path = argc > 1 ? argv[1] : LANTERNFIN_SOURCE_DIR "/bench/corpus/zh.txt";
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "cannot read %s (make it with bench/corpus.sh)\n", path.c_str());
        return 1;
    }
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);)
        if (line.size() >= 9 && core::isValidUtf8(line))
            lines.push_back(line);
    const core::CommonHan common = platform::loadCommonHan();
    std::mt19937 random(7);
    std::printf("%-5s %-9s %7s %7s %7s\n", "chars", "encoding", "right", "wrong", "refused");
    for (const int han : {2, 4, 8, 16, 40, 200}) {
        Tally tally[2];
        for (int k = 0; k < 1000; ++k) {
            const std::string text = stretch(lines, random() % lines.size(), han);
            if (text.empty())
                continue;
            const core::TextEncoding encodings[2] = {core::TextEncoding::Gb18030, core::TextEncoding::Big5};
            for (int e = 0; e < 2; ++e) {
                std::string bytes;
                if (!platform::encodeText(text, encodings[e], bytes) || core::isValidUtf8(bytes))
                    continue;
                const auto found = platform::detectEncoding(bytes, common);
                const bool big5 = found.encoding == core::TextEncoding::Big5 ||
                                  found.encoding == core::TextEncoding::Big5Hkscs;
                if (found.kind != platform::Detection::Kind::Found)
                    ++tally[e].refused;
                else if ((e == 1) == big5)
                    ++tally[e].right;
                else
                    ++tally[e].wrong;
            }
        }
        for (int e = 0; e < 2; ++e)
            std::printf("%-5d %-9s %7d %7d %7d\n", han, e ? "BIG5" : "GB18030", tally[e].right,
                        tally[e].wrong, tally[e].refused);
    }
    return 0;
}
