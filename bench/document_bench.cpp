// The document engine's part conversion beside the plain phrase conversion of the same text: the
// corpus (LANTERNFIN_CORPUS, else bench/corpus/zh.txt as bench/corpus.sh makes it) converted s2t as
// text, with its segmentation, and as a WordprocessingML body whose paragraphs (one a line) are
// split into runs of a few characters, as word processors write them. MB/s of the text; the part's
// figure should stay within 1.5x of the text's.

#include "core/document/run_mapping.h"
#include "core/document/xml_part.h"
#include "platform/phrase_config.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

const std::string &corpus() {
    static const std::string text = [] {
        const char *env = std::getenv("LANTERNFIN_CORPUS");
        std::ifstream f(env ? env : LANTERNFIN_SOURCE_DIR "/bench/corpus/zh.txt", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(f), {});
    }();
    return text;
}

const core::PhraseConverter &s2t() {
    static const auto converter = *platform::loadPhraseConverter("s2t").converter;
    return converter;
}

// The corpus as document.xml: a paragraph a line, runs of 5 to 11 characters with alternating
// formatting, text escaped.
const std::string &documentXml() {
    static const std::string xml = [] {
        std::string out = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
                          "\r\n<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body>";
        const std::string &text = corpus();
        std::size_t at = 0, run = 0;
        while (at < text.size()) {
            std::size_t end = text.find('\n', at);
            if (end == std::string::npos)
                end = text.size();
            out += "<w:p>";
            std::size_t i = at;
            while (i < end) {
                std::size_t j = i, chars = 0;
                const std::size_t want = 5 + run % 7;
                while (j < end && chars < want) {
                    ++j;
                    while (j < end && (static_cast<unsigned char>(text[j]) & 0xC0) == 0x80)
                        ++j;
                    ++chars;
                }
                out += run++ % 2 ? "<w:r><w:rPr><w:b/></w:rPr><w:t xml:space=\"preserve\">" : "<w:r><w:t xml:space=\"preserve\">";
                for (std::size_t k = i; k < j; ++k) {
                    const char c = text[k];
                    if (c == '&')
                        out += "&amp;";
                    else if (c == '<')
                        out += "&lt;";
                    else if (c == '>')
                        out += "&gt;";
                    else if (static_cast<unsigned char>(c) >= 0x20 || c == '\t')
                        out += c;
                }
                out += "</w:t></w:r>";
                i = j;
            }
            out += "</w:p>";
            at = end + 1;
        }
        return out + "</w:body></w:document>";
    }();
    return xml;
}

void BM_plainText(benchmark::State &state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(s2t().convert(corpus()));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * corpus().size()));
}
BENCHMARK(BM_plainText)->Unit(benchmark::kMillisecond);

void BM_segmentedText(benchmark::State &state) {
    std::string out;
    std::vector<core::Segment> segments;
    for (auto _ : state) {
        s2t().convertSegmented(corpus(), out, segments);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * corpus().size()));
}
BENCHMARK(BM_segmentedText)->Unit(benchmark::kMillisecond);

void BM_documentPart(benchmark::State &state) {
    const core::document::PhraseSegmentedConverter conv(s2t());
    const std::string &xml = documentXml();
    for (auto _ : state) {
        auto r = core::document::convertPart(xml, core::document::PartKind::WordprocessingText, conv);
        benchmark::DoNotOptimize(r.bytes.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * corpus().size()));
    state.counters["part MB"] = static_cast<double>(xml.size()) / 1e6;
}
BENCHMARK(BM_documentPart)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    // The corpus and the part are made before any timing (and outside a profile of the conversion).
    documentXml();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
