// The phrase conversion of Debian's OpenCC configurations (by their JSON paths, with the system's
// dictionaries) against libopencc itself, in process: tricky cases, generated text for every
// configuration, streaming, and the prepared images.

#include "core/utf.h"
#include "platform/character_maps.h"
#include "platform/opencc_config.h"
#include "platform/phrase_config.h"
#include "platform/phrase_stream.h"

#include <opencc/SimpleConverter.hpp>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;

const char *const kStockConfigs[] = {"s2t",  "t2s",  "s2tw", "tw2s", "s2twp", "tw2sp", "s2hk",
                                     "hk2s", "t2tw", "tw2t", "t2hk", "hk2t",  "t2jp",  "jp2t"};

// libopencc's conversion of the whole text. It stops at a NUL, which this program keeps as an
// ordinary character: the pieces between NULs are converted on their own.
std::string oracle(const std::string &config, const std::string &text) {
    static std::map<std::string, std::unique_ptr<opencc::SimpleConverter>> converters;
    auto &c = converters[config];
    if (!c)
        c = std::make_unique<opencc::SimpleConverter>(platform::phraseConfigPath(config));
    std::string out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t nul = text.find('\0', start);
        out += c->Convert(text.substr(start, nul == std::string::npos ? std::string::npos : nul - start));
        if (nul == std::string::npos)
            return out;
        out += '\0';
        start = nul + 1;
    }
}

// A fresh folder for images, removed at the end of the test.
class TempDir {
public:
    TempDir() {
        char name[] = "/tmp/lanternfin-phrase-XXXXXX";
        m_path = mkdtemp(name);
    }
    ~TempDir() { fs::remove_all(m_path); }
    const std::string &path() const { return m_path; }

private:
    std::string m_path;
};

const core::PhraseConverter &converter(const std::string &config) {
    static TempDir cache;
    static std::map<std::string, core::PhraseConverter> loaded;
    auto it = loaded.find(config);
    if (it == loaded.end()) {
        // By its path: Debian's configuration with Debian's dictionaries, not the built-in one.
        auto load = platform::loadPhraseConverter(platform::phraseConfigPath(config), cache.path());
        EXPECT_TRUE(load.converter) << load.failedPath << ": " << load.why;
        it = loaded.emplace(config, std::move(*load.converter)).first;
    }
    return it->second;
}

TEST(PhraseConfig, TrickyCasesEqualLibopencc) {
    using namespace std::string_literals;
    struct Case {
        const char *config;
        std::string in;
        const char *expected; // what the configuration is known to give, or null
    };
    const Case cases[] = {
        {"s2t", "头发", "頭髮"},
        {"s2t", "头发了狂", "頭發了狂"},
        {"s2t", "皇后", "皇后"},
        {"s2t", "干杯", "乾杯"},
        {"s2twp", "软件", "軟體"},
        {"s2twp", "U盘", "隨身碟"},
        {"s2twp", "SQL注入", "SQL注入"},
        {"s2twp", "U盘回", "U盤迴"},
        {"jp2t", "弁", "辨"},
        {"s2t", "𠮷野家的头发𪚥", nullptr},
        {"t2s", "𠮷頭髮\r\n\r\n乾杯", nullptr},
        {"s2t", "头\n发", "頭\n發"},
        {"s2t", "头发\0头发"s, nullptr},
        {"s2tw", "着装汇合", nullptr},
        {"tw2sp", "記憶體隨身碟軟體", nullptr},
        {"hk2s", "裏邊着", nullptr},
        {"s2hk", "里边着", nullptr},
        {"t2jp", "乘蓋國", nullptr},
        {"tw2s", "", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.config) + " " + c.in);
        const std::string out = converter(c.config).convert(c.in);
        EXPECT_EQ(out, oracle(c.config, c.in));
        if (c.expected) {
            EXPECT_EQ(out, c.expected);
        }
    }
}

std::size_t firstCharLength(const std::string &s) {
    std::size_t n = 1;
    while (n < s.size() && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80)
        ++n;
    return n;
}

// Text made of the configuration's own keys and values, run together so that phrases overlap,
// with characters beyond U+FFFF, ASCII, CR/LF, lone CRs, NULs, empty lines and no final line break.
std::string generatedText(const std::string &configName, std::size_t pieces, unsigned seed) {
    std::string failed;
    const auto config = platform::readOpenccConfig(platform::phraseConfigPath(configName), failed);
    EXPECT_TRUE(config) << failed;
    const auto dicts = platform::readConfigDictionaries(*config, failed);
    EXPECT_TRUE(dicts) << failed;
    std::vector<const core::PhraseEntry *> entries;
    for (const auto &d : dicts->dicts)
        for (const auto &e : d)
            entries.push_back(&e);
    static const std::vector<std::string> extras{"\n", "\r\n", "\n\n", " ", "ab", "𠮷", "𪚥",
                                                 "，", "。",   "1",    "\r", std::string(1, '\0')};
    std::mt19937 rng(seed);
    std::string text;
    for (std::size_t i = 0; i < pieces; ++i) {
        const unsigned r = rng() % 10;
        const auto *e = entries[rng() % entries.size()];
        if (r < 4)
            text += e->key;
        else if (r < 7)
            text += e->value;
        else if (r < 8) // the start of a key: its first character
            text += e->key.substr(0, firstCharLength(e->key));
        else
            text += extras[rng() % extras.size()];
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

class StockConfig : public ::testing::TestWithParam<const char *> {};

TEST_P(StockConfig, GeneratedTextEqualsLibopencc) {
    const std::string config = GetParam();
    for (unsigned seed = 1; seed <= 3; ++seed) {
        const std::string text = generatedText(config, 30000, seed);
        const std::string expected = oracle(config, text);
        const std::string out = converter(config).convert(text);
        ASSERT_EQ(out.size(), expected.size()) << "seed " << seed;
        ASSERT_TRUE(out == expected) << "seed " << seed;
    }
}

// `text` through convertStream in blocks of `block` bytes: the result and the output.
std::pair<platform::StreamResult, std::string> streamed(const core::PhraseConverter &conv,
                                                        const std::string &text, std::size_t block) {
    std::FILE *in =
        text.empty() ? std::tmpfile() : fmemopen(const_cast<char *>(text.data()), text.size(), "rb");
    char *outData = nullptr;
    std::size_t outSize = 0;
    std::FILE *out = open_memstream(&outData, &outSize);
    const auto result = platform::convertStream(conv, in, out, block);
    std::fclose(in);
    std::fclose(out);
    std::string output(outData, outSize);
    std::free(outData);
    return {result, output};
}

TEST_P(StockConfig, StreamInBlocksEqualsWhole) {
    const auto &conv = converter(GetParam());
    const std::string text = generatedText(GetParam(), 40000, 7);
    const std::string whole = conv.convert(text);
    // Small blocks cut lines; large ones are shared by two threads at a line break.
    for (const std::size_t block : {std::size_t(97), std::size_t(1) << 16, std::size_t(1) << 20}) {
        SCOPED_TRACE(block);
        const auto [result, output] = streamed(conv, text, block);
        EXPECT_EQ(result, platform::StreamResult::Ok);
        EXPECT_TRUE(output == whole);
    }
    // A bad byte early in a large block: the text before it, converted as if it ended there.
    std::size_t at = text.size() / 4;
    while ((static_cast<unsigned char>(text[at]) & 0xC0) == 0x80)
        --at;
    const std::string bad = text.substr(0, at) + "\xff" + text.substr(at);
    const auto [result, output] = streamed(conv, bad, std::size_t(1) << 20);
    EXPECT_EQ(result, platform::StreamResult::InvalidUtf8);
    EXPECT_TRUE(output == conv.convert(text.substr(0, at)));
}

INSTANTIATE_TEST_SUITE_P(All, StockConfig, ::testing::ValuesIn(kStockConfigs));

TEST(PhraseStream, InvalidUtf8ConvertsTheValidPartFirst) {
    using namespace std::string_literals;
    struct Case {
        std::string in, out;
        platform::StreamResult result;
    };
    const Case cases[] = {
        {"头发\xff头发"s, "頭髮", platform::StreamResult::InvalidUtf8},
        {"头\xe5\x8f"s, "頭", platform::StreamResult::InvalidUtf8},     // cut at the end
        {"头\xed\xa0\x80"s, "頭", platform::StreamResult::InvalidUtf8}, // a surrogate
        {"\xc0\xaf"s, "", platform::StreamResult::InvalidUtf8},         // overlong
        {"头\0发\n"s, "頭\0發\n"s, platform::StreamResult::Ok},
        {"", "", platform::StreamResult::Ok},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.out);
        for (const std::size_t block : {std::size_t(1), std::size_t(2), std::size_t(4096)}) {
            const auto [result, output] = streamed(converter("s2t"), c.in, block);
            EXPECT_EQ(result, c.result);
            EXPECT_EQ(output, c.out);
        }
    }
}

// The valid prefix found one sequence at a time, the rule the fast check must give exactly.
platform::Utf8Prefix prefixByDecoding(std::string_view in, bool final) {
    const auto s = reinterpret_cast<const unsigned char *>(in.data());
    std::size_t i = 0;
    while (i < in.size()) {
        char32_t cp;
        const int len = core::decodeUtf8Sequence(s + i, in.size() - i, cp);
        if (len <= 0)
            return {i, len == 0 && !final};
        i += static_cast<std::size_t>(len);
    }
    return {i, true};
}

// Every kind of fault, and every cut, at every place across the 16- and 64-byte groups that the
// fast check takes at once, in texts of each sequence length.
TEST(PhraseStream, ValidPrefixEqualsDecodingOneByOne) {
    using namespace std::string_literals;
    const std::string texts[] = {
        "abcdefghijklmnopqrstuvwxyz0123456789"s,
        "头发简体字转换为繁体"s,
        "a头\xc3\xa9\xf0\x9f\x98\x80\0b\xe2\x82\xac\xf4\x8f\xbf\xbf\xef\xbf\xbf\xc2\x80"s,
    };
    const std::string faults[] = {
        "\xff"s, "\x80"s, "\xbf\xbf"s, "\xc0\xaf"s, "\xc1\xbf"s, "\xc3"s, "\xc3" "a"s,
        "\xe0\x9f\xbf"s, "\xed\xa0\x80"s, "\xe5\x8f"s, "\xe5" "a"s, "\xf0\x8f\xbf\xbf"s,
        "\xf4\x90\x80\x80"s, "\xf5\x80\x80\x80"s, "\xf8\x88\x80\x80\x80"s, "\xf0\x9f\x98"s,
        "\xe4\xb8\xad\x80"s, "\xf0\x9f\x98\x80\x80"s, "\xc3\xa9\xa9"s,
    };
    for (const auto &unit : texts) {
        std::string text;
        while (text.size() < 300)
            text += unit;
        for (std::size_t at = 0; at < 200; ++at) {
            if ((static_cast<unsigned char>(text[at]) & 0xC0) == 0x80)
                continue;
            for (const bool final : {true, false}) {
                SCOPED_TRACE(testing::Message() << unit << " at " << at << (final ? " final" : ""));
                // Cut short, then with each fault put in.
                std::vector<std::string> inputs = {text.substr(0, at + 70), text.substr(0, at + 71),
                                                   text.substr(0, at + 72)};
                for (const auto &fault : faults)
                    inputs.push_back(text.substr(0, at) + fault + text.substr(at));
                for (const auto &in : inputs) {
                    const auto got = platform::validUtf8Prefix(in, final);
                    const auto want = prefixByDecoding(in, final);
                    EXPECT_EQ(got.valid, want.valid);
                    EXPECT_EQ(got.ok, want.ok);
                }
            }
        }
    }
}

void writeFile(const std::string &path, const std::string &text) {
    std::ofstream(path, std::ios::binary) << text;
}

TEST(PhraseConfig, ImageIsUsedUntilASourceChanges) {
    TempDir dir, cache;
    writeFile(dir.path() + "/mine.json",
              R"({"segmentation": {"type": "mmseg", "dict": {"type": "text", "file": "p.txt"}},
        "conversion_chain": [{"dict": {"type": "group", "dicts": [{"type": "text", "file": "p.txt"},
                                                                  {"type": "ocd2", "file": "STCharacters.ocd2"}]}}]})");
    writeFile(dir.path() + "/p.txt", "头发\t頭髮\n");
    const std::string json = dir.path() + "/mine.json";

    auto first = platform::loadPhraseConverter(json, cache.path());
    ASSERT_TRUE(first.converter) << first.failedPath;
    EXPECT_FALSE(first.fromImage);
    ASSERT_FALSE(first.imagePath.empty());
    EXPECT_EQ(first.converter->convert("头发"), "頭髮");

    auto second = platform::loadPhraseConverter(json, cache.path());
    ASSERT_TRUE(second.converter);
    EXPECT_TRUE(second.fromImage);
    EXPECT_EQ(second.converter->convert("头发"), "頭髮");

    // A changed dictionary: the image is not used, a new one replaces it.
    writeFile(dir.path() + "/p.txt", "头发\t头髪\n");
    auto third = platform::loadPhraseConverter(json, cache.path());
    ASSERT_TRUE(third.converter);
    EXPECT_FALSE(third.fromImage);
    EXPECT_EQ(third.converter->convert("头发"), "头髪");
    EXPECT_FALSE(fs::exists(first.imagePath));

    // A damaged image is refused and built again.
    {
        std::fstream f(third.imagePath, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(-1, std::ios::end);
        f.put('\x7f');
    }
    auto fourth = platform::loadPhraseConverter(json, cache.path());
    ASSERT_TRUE(fourth.converter);
    EXPECT_FALSE(fourth.fromImage);
    EXPECT_EQ(fourth.converter->convert("头发"), "头髪");
}

TEST(PhraseConfig, WorksWithoutAWritableCache) {
    for (const std::string &cacheDir : {std::string("/proc/self/no-such"), std::string()}) {
        auto load = platform::loadPhraseConverter(platform::phraseConfigPath("s2t.json"), cacheDir);
        ASSERT_TRUE(load.converter);
        EXPECT_TRUE(load.imagePath.empty());
        EXPECT_EQ(load.converter->convert("干杯"), "乾杯");
    }
}

TEST(PhraseConfig, WhatCannotBeLoadedIsNamed) {
    TempDir dir;
    const std::string d = dir.path();
    writeFile(d + "/missing.json",
              R"({"segmentation": {"type": "mmseg", "dict": {"type": "ocd2", "file": "nope.ocd2"}},
        "conversion_chain": []})");
    writeFile(d + "/foreign.json",
              R"({"segmentation": {"type": "mmseg", "dict": {"type": "ocd2", "file": "x.ocd2"}},
        "conversion_chain": []})");
    writeFile(d + "/x.ocd2", "not a dictionary at all, just text\n");
    writeFile(d + "/broken.json", "{\"segmentation\": ");
    writeFile(d + "/other.json",
              R"({"segmentation": {"type": "mmseg", "dict": {"type": "sqlite", "file": "x"}},
        "conversion_chain": []})");
    struct Case {
        std::string name, failed;
    };
    const Case cases[] = {
        {"no-such-config", platform::openccDataDir() + "/no-such-config.json"},
        {d + "/missing.json", platform::openccDataDir() + "/nope.ocd2"},
        {d + "/foreign.json", d + "/x.ocd2"},
        {d + "/broken.json", d + "/broken.json"},
        {d + "/other.json", d + "/other.json"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const auto load = platform::loadPhraseConverter(c.name, "");
        EXPECT_FALSE(load.converter);
        EXPECT_EQ(load.failedPath, c.failed);
        // The quick look, without building, names the same file.
        EXPECT_EQ(platform::phraseConfigProblem(c.name), c.failed);
    }
    EXPECT_EQ(platform::phraseConfigProblem("s2twp"), "");
}

} // namespace
