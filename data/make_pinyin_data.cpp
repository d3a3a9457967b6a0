// make_pinyin_data: builds lanternfin's pinyin reading data file from Debian's packages.
//
//   make_pinyin_data OUT TERRA_DICT TERRA_TABLE UNIHAN_READINGS UNIHAN_VARIANTS JIEBA_DICT PINYIN_SIMP_DICT
//                    T2S_CONFIG INFO...
//
// TERRA_DICT    rime-data-terra-pinyin's terra_pinyin.dict.yaml (curated word readings)
// TERRA_TABLE   rime-data-terra-pinyin's build/terra_pinyin.table.txt (word, reading, frequency)
// UNIHAN_READINGS  unicode-data's Unihan_Readings.txt (kTGHZ2013, kMandarin, kHanyuPinlu), uncompressed
// UNIHAN_VARIANTS  unicode-data's Unihan_Variants.txt, uncompressed
// JIEBA_DICT    python3-jieba's dict.txt (word, frequency): the word frequencies of segmentation
// PINYIN_SIMP_DICT  rime-data-pinyin-simp's pinyin_simp.dict.yaml (simplified words, toneless
//               syllables, weights): which letters a word's polyphones have
// T2S_CONFIG    OpenCC's t2s.json: terra's keys are traditional, text is mostly simplified
// INFO          lines written into the file's info text (package versions)
//
// pinyin_sources reads the files, pinyin_policy chooses the readings, core's writePinyinData lays
// out the file.

#include "pinyin_policy.h"
#include "pinyin_sources.h"

#include "core/pinyin_data_format.h"

#include <cstdio>
#include <fstream>
#include <iostream>

using namespace pinyin_data;

int main(int argc, char **argv) {
    if (argc < 9)
        fail("usage: make_pinyin_data OUT TERRA_DICT TERRA_TABLE UNIHAN_READINGS UNIHAN_VARIANTS JIEBA_DICT "
             "PINYIN_SIMP_DICT T2S_CONFIG [INFO...]");
    const std::string out = argv[1];
    const std::string terraDict = readFile(argv[2]), terra = readFile(argv[3]), unihan = readFile(argv[4]),
                      variants = readFile(argv[5]), jieba = readFile(argv[6]), simp = readFile(argv[7]);
    const std::string t2s = argv[8];
    Sources src;
    readTerra(terra, src);
    readTerraDict(terraDict, src);
    readUnihan(unihan, src);
    readVariants(variants, src);
    readJieba(jieba, src);
    readToneless(simp, src);
    if (src.terraChars.empty() || src.tghz.empty() || src.jieba.empty())
        fail("an input file has none of the expected entries");

    core::PinyinDataContent content = chooseReadings(src, t2s);

    std::string info = "lanternfin pinyin reading data\n";
    for (int i = 9; i < argc; ++i)
        info += std::string(argv[i]) + "\n";
    info += "terra_pinyin.dict.yaml fnv64 " + fnv64(terraDict) + "\n";
    info += "terra_pinyin.table.txt fnv64 " + fnv64(terra) + "\n";
    info += "Unihan_Readings.txt fnv64 " + fnv64(unihan) + "\n";
    info += "Unihan_Variants.txt fnv64 " + fnv64(variants) + "\n";
    info += "jieba dict.txt fnv64 " + fnv64(jieba) + "\n";
    info += "pinyin_simp.dict.yaml fnv64 " + fnv64(simp) + "\n";
    content.info = std::move(info);
    std::string why;
    const auto file = core::writePinyinData(content, &why);
    if (file.empty())
        fail(why);
    std::cerr << "make_pinyin_data: " << content.readings.size() << " characters, " << content.words.size()
              << " words, " << file.size() << " bytes\n";

    const std::string tmp = out + ".tmp";
    {
        std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char *>(file.data()), static_cast<std::streamsize>(file.size()));
        if (!f)
            fail("cannot write " + tmp);
    }
    if (std::rename(tmp.c_str(), out.c_str()) != 0)
        fail("cannot rename " + tmp + " to " + out);
    return 0;
}
