// The built-in configurations against OpenCC's own command line of the release built in, through
// what it wrote (tests/data/opencc, made by make_oracle.py): trap texts made of each
// configuration's dictionaries, a shared text, and OpenCC's own test cases of that release.

#include "core/utf.h"
#include "platform/phrase_config.h"
#include "platform/phrase_stream.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#ifndef LANTERNFIN_OPENCC_TEST_DATA
#define LANTERNFIN_OPENCC_TEST_DATA ""
#endif

namespace {

std::string readText(const std::string &name) {
    std::ifstream f(std::string(LANTERNFIN_OPENCC_TEST_DATA) + "/" + name, std::ios::binary);
    EXPECT_TRUE(f) << name;
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

const core::PhraseConverter &builtin(const std::string &config) {
    static std::map<std::string, core::PhraseConverter> loaded;
    auto it = loaded.find(config);
    if (it == loaded.end()) {
        auto load = platform::loadPhraseConverter(config, "");
        EXPECT_TRUE(load.converter) << load.failedPath << ": " << load.why;
        EXPECT_TRUE(load.fromImage);
        it = loaded.emplace(config, std::move(*load.converter)).first;
    }
    return it->second;
}

std::string streamed(const core::PhraseConverter &conv, const std::string &text, std::size_t block) {
    std::size_t at = 0;
    std::string out;
    const auto result = platform::convertStream(
        conv,
        [&](char *data, std::size_t n) {
            n = std::min(n, text.size() - at);
            std::copy_n(text.data() + at, n, data);
            at += n;
            return static_cast<long>(n);
        },
        [&](std::string_view bytes) {
            out += bytes;
            return true;
        },
        block);
    EXPECT_EQ(result, platform::StreamResult::Ok);
    return out;
}

class BuiltinConfig : public ::testing::TestWithParam<std::string> {};

TEST_P(BuiltinConfig, TrapsAndTextEqualOpencc) {
    const std::string config = GetParam();
    const auto &conv = builtin(config);
    const std::string traps = readText("traps/" + config + ".txt");
    const std::string expected = readText("expected/" + config + ".txt");
    ASSERT_FALSE(traps.empty());
    const std::string out = conv.convert(traps);
    ASSERT_EQ(out.size(), expected.size());
    EXPECT_TRUE(out == expected);
    EXPECT_TRUE(conv.convert(readText("common.txt")) == readText("expected/" + config + ".common.txt"));
    // In blocks, cut anywhere (descriptions and normalized characters included), the same.
    for (const std::size_t block : {std::size_t(61), std::size_t(4096)}) {
        SCOPED_TRACE(block);
        EXPECT_TRUE(streamed(conv, traps, block) == expected);
    }
}

INSTANTIATE_TEST_SUITE_P(All, BuiltinConfig, ::testing::ValuesIn(platform::builtinPhraseConfigs()));

// Every case of OpenCC's own suite that its command line meets, we meet. It misses three t2s cases,
// which need TSCharactersExt, a dictionary its command line leaves out (it may give characters
// that fonts lack) unless asked: we leave it out as it does, and give what it gives.
TEST(BuiltinConfig, OpenccTestCases) {
    const auto cases = nlohmann::json::parse(readText("testcases.json"))["cases"];
    const std::set<std::string> missedByOpencc{"BYVoid_OpenCC_PR_1228_existing_behaviors",
                                               "BYVoid_OpenCC_PR_1229_existing_behaviors",
                                               "BYVoid_OpenCC_PR_464_xi_vs_xi"};
    int pairs = 0, met = 0;
    for (const auto &c : cases) {
        const std::string input = c["input"];
        for (const auto &[config, want] : c["expected"].items()) {
            SCOPED_TRACE(c["id"].get<std::string>() + " " + config);
            ++pairs;
            const std::string got = builtin(config).convert(input);
            if (got == want.get<std::string>())
                ++met;
            else
                EXPECT_TRUE(missedByOpencc.count(c["id"]) && config == "t2s") << got;
        }
    }
    EXPECT_EQ(pairs, 475);
    EXPECT_EQ(met, 472);
}

TEST(BuiltinConfig, NamesWithAndWithoutJson) {
    EXPECT_EQ(platform::builtinPhraseConfig("s2hkp"), "s2hkp");
    EXPECT_EQ(platform::builtinPhraseConfig("hk2sp.json"), "hk2sp");
    EXPECT_EQ(platform::builtinPhraseConfig("./s2t.json"), "");
    EXPECT_EQ(platform::builtinPhraseConfig("s2x"), "");
    EXPECT_EQ(platform::phraseConfigProblem("s2hkp"), "");
    EXPECT_EQ(platform::builtinPhraseConfigs().size(), 16u);
}

} // namespace

namespace {

// A description that takes a line break as a part (⿰ with \n and 头) must not be cut apart where
// lines are converted on two threads: texts large enough for that, with such descriptions every
// hundred lines, at shifting places.
TEST(BuiltinConfig, DescriptionsAcrossLineBreaksSurviveCuts) {
    const auto &conv = builtin("s2t");
    for (int shift = 0; shift < 12; ++shift) {
        SCOPED_TRACE(shift);
        std::string text(static_cast<std::size_t>(shift), 'a');
        for (int line = 0; line < 100000; ++line)
            text += line % 100 == 37 ? "头发⿰\n" : "头发\n";
        const std::string whole = conv.convert(text);
        EXPECT_TRUE(streamed(conv, text, std::size_t(1) << 17) == whole);
        const std::u16string out = core::convertUtf16(conv, *core::utf8ToUtf16(text));
        EXPECT_TRUE(out == *core::utf8ToUtf16(whole));
    }
}

} // namespace
