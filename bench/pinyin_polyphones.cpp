// pinyin_polyphones: how many labelled polyphones a data file reads as the labels say.
//   pinyin_polyphones DATA_FILE SENT LB [F/K [OFFSET]]
// SENT: sentences with one character marked by U+2581 on both sides; LB: its reading on the same
// line ("le5", "lu:4"). With F/K only lines n with (n + OFFSET) % K == F are read (a held-out fold;
// OFFSET: where SENT's first line stands among the sentences the data file learnt from).
// Prints: sentences, right with tone, right without tone, decided by a context model.

#include "core/pinyin_reading.h"
#include "core/utf.h"
#include "platform/pinyin_data.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

std::u32string decode(const std::string &s) {
    std::u16string u16;
    core::decodeUtf8(s, u16, true);
    std::u32string out;
    for (std::size_t i = 0; i < u16.size(); ++i) {
        char32_t c = u16[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < u16.size())
            c = 0x10000 + ((c - 0xD800) << 10) + (u16[++i] - 0xDC00);
        out += c;
    }
    return out;
}

std::string label(const std::string &s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s.compare(i, 2, "u:") == 0) {
            out += 'v';
            ++i;
        } else {
            out += s[i];
        }
    }
    return out == "r5" ? "er5" : out;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: pinyin_polyphones DATA_FILE SENT LB [F/K]\n");
        return 2;
    }
    core::Message why;
    const auto data = platform::PinyinData::load(argv[1], &why);
    if (!data) {
        std::fprintf(stderr, "pinyin_polyphones: cannot load %s: %s\n", argv[1], why.in(core::Language::English).c_str());
        return 2;
    }
    std::size_t fold = 0, folds = 1, offset = 0;
    if (argc > 4 && std::sscanf(argv[4], "%zu/%zu", &fold, &folds) != 2) {
        std::fprintf(stderr, "pinyin_polyphones: F/K expected, not %s\n", argv[4]);
        return 2;
    }
    if (argc > 5 && std::sscanf(argv[5], "%zu", &offset) != 1) {
        std::fprintf(stderr, "pinyin_polyphones: OFFSET expected, not %s\n", argv[5]);
        return 2;
    }
    const core::PinyinReadingData &d = data->view();
    core::PinyinReader reader(d, {});
    std::ifstream sent(argv[2]), lb(argv[3]);
    std::string line, lab;
    std::size_t n = 0, right = 0, rightLetters = 0, decided = 0;
    std::vector<std::uint16_t> syl;
    for (std::size_t index = 0; std::getline(sent, line) && std::getline(lb, lab); ++index) {
        if ((index + offset) % folds != fold)
            continue;
        const std::u32string marked = decode(line);
        const auto at = marked.find(U'\u2581');
        if (at == std::u32string::npos || at + 2 >= marked.size())
            continue;
        const std::u32string text = marked.substr(0, at) + marked[at + 1] + marked.substr(at + 3);
        const std::string want = label(lab);
        ++n;
        if (!d.hasReading(text[at]))
            continue;
        std::size_t from = at, to = at + 1;
        while (from > 0 && d.hasReading(text[from - 1]))
            --from;
        while (to < text.size() && d.hasReading(text[to]))
            ++to;
        const auto before = from > 0 ? core::pinyinBoundaryOf(text[from - 1]) : core::PinyinBoundary::Edge;
        const auto after = to < text.size() ? core::pinyinBoundaryOf(text[to]) : core::PinyinBoundary::Edge;
        reader.readRun(std::span<const char32_t>(text.data() + from, to - from), syl, before, after);
        const std::string got(d.syllableName(syl[at - from]));
        right += got == want;
        rightLetters += got.substr(0, got.size() - 1) == want.substr(0, want.size() - 1);
        decided += reader.standsAlone(at - from) && d.modelOf(text[at]) >= 0 && text[at] != U'一' &&
                   text[at] != U'不';
        if (std::getenv("SHOW_MISSES") && got != want) {
            // Where it stands: alone and read by a model, alone without one, or inside a word.
            const std::size_t i = at - from;
            std::string where = "alone-model";
            if (!reader.standsAlone(i)) {
                const auto starts = reader.wordStarts();
                std::size_t s = i, e = i + 1;
                while (s > 0 && !starts[s])
                    --s;
                while (e < starts.size() && !starts[e])
                    ++e;
                std::u16string w;
                for (std::size_t k = from + s; k < from + e; ++k) {
                    if (text[k] >= 0x10000) {
                        w += static_cast<char16_t>(0xD800 + ((text[k] - 0x10000) >> 10));
                        w += static_cast<char16_t>(0xDC00 + ((text[k] - 0x10000) & 0x3FF));
                    } else {
                        w += static_cast<char16_t>(text[k]);
                    }
                }
                std::string u8;
                core::encodeUtf8(w, u8);
                where = "word:" + u8;
            } else if (d.modelOf(text[at]) < 0) {
                where = "alone-none";
            }
            std::printf("miss %s -> %s %s %s\n", want.c_str(), got.c_str(), where.c_str(), line.c_str());
        }
    }
    std::printf("%zu %zu %zu %zu\n", n, right, rightLetters, decided);
}
