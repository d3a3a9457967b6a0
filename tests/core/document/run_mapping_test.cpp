// Putting a converted paragraph back onto its runs: phrases inside a run, across runs with the same
// length, across runs with another length, and empty runs.

#include "core/document/run_mapping.h"
#include "small_phrases.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace core::document;

std::vector<std::string> mapped(const std::vector<std::string> &pieces, const SegmentedConverter &conv) {
    std::vector<std::string_view> views(pieces.begin(), pieces.end());
    const auto edits = convertPieces(views, conv);
    std::vector<std::string> out;
    for (std::size_t k = 0; k < pieces.size(); ++k)
        out.push_back(applyEdits(pieces[k], edits[k]));
    return out;
}

// Built once: the converter is immutable.
const core::PhraseConverter &smallS2twp() {
    static const auto converter = core::PhraseConverter::build(testsupport::smallS2twpConfig());
    return converter;
}

std::string joined(const std::vector<std::string> &pieces) {
    std::string s;
    for (const auto &p : pieces)
        s += p;
    return s;
}

TEST(RunMapping, PhrasesGoBackOntoTheirRuns) {
    const auto &phrases = smallS2twp();
    const PhraseSegmentedConverter conv(phrases);
    struct Case {
        std::vector<std::string> in, out;
        const char *why;
    };
    const Case cases[] = {
        {{"这个内存"}, {"這個記憶體"}, "a phrase inside one run is replaced there"},
        {{"内", "存"}, {"記憶體", ""}, "longer across two runs: wholly where it starts"},
        {{"方", "便", "面"}, {"泡麵", "", ""}, "shorter across three runs: the others keep empty text"},
        {{"买U", "盘了"}, {"买隨身碟", "了"}, "across two runs, with text before and after"},
        {{"方便", "面和内", "存"}, {"泡麵", "和記憶體", ""}, "two phrases sharing a run"},
        {{"软", "件"}, {"軟", "體"}, "the same length: each character keeps its run"},
        {{"鼠", "标说"}, {"滑", "鼠說"}, "the same length, a character that moves between words"},
        {{"", "内", "", "存", ""}, {"", "記憶體", "", "", ""}, "empty runs around and inside a phrase"},
        {{"", ""}, {"", ""}, "only empty runs"},
        {{"abc", "汉语"}, {"abc", "漢語"}, "characters on their own"},
        {{"头", "发"}, {"頭", "髮"}, "a phrase whose characters convert otherwise alone (发 -> 發)"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.why);
        const auto out = mapped(c.in, conv);
        EXPECT_EQ(out, c.out);
        // The runs always read as the whole text converted.
        EXPECT_EQ(joined(out), phrases.convert(joined(c.in)));
    }
}

TEST(RunMapping, UnchangedTextHasNoEdits) {
    const auto &phrases = smallS2twp();
    const PhraseSegmentedConverter conv(phrases);
    const std::vector<std::string_view> pieces{"No Chinese ", "here", "", "數學"};
    for (const auto &e : convertPieces(pieces, conv))
        EXPECT_TRUE(e.empty());
}

// A converter that inserts and deletes, as no dictionary here does: the mapping must neither lose
// nor repeat text.
class InsertingConverter : public SegmentedConverter {
public:
    void convert(std::string_view utf8, std::string &out, std::vector<core::Segment> &segments) const override {
        // "ab" -> "X" (one segment), then an insertion "+" of no source, then the rest as it is.
        out.clear();
        segments.clear();
        std::size_t cps = 0;
        for (char c : utf8)
            cps += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        if (utf8.substr(0, 2) == "ab") {
            out = "X+";
            segments.push_back({0, 2, 0, 1});
            segments.push_back({2, 2, 1, 2});
            out += utf8.substr(2);
            segments.push_back({2, cps, 2, 2 + cps - 2});
        } else {
            out = utf8;
            segments.push_back({0, cps, 0, cps});
        }
    }
};

TEST(RunMapping, InsertionsGoToTheRunBefore) {
    const InsertingConverter conv;
    EXPECT_EQ(mapped({"a", "bc"}, conv), (std::vector<std::string>{"X", "+c"}));
    EXPECT_EQ(mapped({"ab", "c"}, conv), (std::vector<std::string>{"X+", "c"}));
}

TEST(RunMapping, CodePointConverterKeepsEveryCharacterInItsRun) {
    core::CodePointMap upper;
    upper.set(U'a', U'A');
    upper.set(U'𝑎', U'Z'); // a character beyond U+FFFF counts as one
    const CodePointSegmentedConverter conv(upper);
    EXPECT_EQ(mapped({"ba", "𝑎a", ""}, conv), (std::vector<std::string>{"bA", "ZA", ""}));
}

TEST(RunMapping, ApplyEditsIgnoresEditsOutOfRange) {
    EXPECT_EQ(applyEdits("abc", {{1, 2, "X"}, {1, 9, "Y"}}), "aXc");
}

} // namespace
