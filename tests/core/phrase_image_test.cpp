// A converter's image read back: what this program writes is taken, anything else is refused when
// it is opened, never trusted and run into (an image in the cache folder can be written by anyone
// who can write there, its checksum recomputed).

#include "core/phrase_convert.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>

namespace {

// The image's layout as its writer puts it: a header, then (offset, size) of each section.
constexpr std::size_t kHeaderBytes = 40;
enum Section { Pool = 0, SegNodes = 6, SegEdges = 7 };
struct Place {
    std::uint64_t offset, size;
};
struct HashEdge {
    std::uint32_t node, ch, child;
};
struct Node {
    std::uint32_t childCount, valOff, valLen, reserved;
};

Place section(const std::string &image, int i) {
    Place p;
    std::memcpy(&p, image.data() + kHeaderBytes + i * sizeof(Place), sizeof p);
    return p;
}

template <class T> T *at(std::string &image, Place p, std::size_t i) {
    return reinterpret_cast<T *>(image.data() + p.offset) + i;
}

std::optional<core::PhraseConverter> open(const std::string &image) {
    auto owner = std::make_shared<std::string>(image);
    return core::PhraseConverter::fromImage(*owner, owner);
}

core::PhraseConverter sample() {
    core::PhraseConfig c;
    c.segmentation = {{{"头发", ""}, {"发展", ""}, {"干杯", ""}}};
    c.steps.push_back({{{"头发", "頭髮"}, {"干杯", "乾杯"}, {"发", "發"}, {"头", "頭"}, {"展", "展"}}});
    c.steps.push_back({{{"頭髮", "头发!"}}});
    return core::PhraseConverter::build(c);
}

TEST(PhraseImage, OwnImageReadsBack) {
    const auto conv = sample();
    const auto again = open(std::string(conv.image()));
    ASSERT_TRUE(again);
    EXPECT_EQ(again->convert("头发干杯发展"), conv.convert("头发干杯发展"));
}

// Each a fault that passed the old checks and crashed or hung the program when converting.
TEST(PhraseImage, InconsistentTablesAreRefused) {
    const std::string good(sample().image());
    auto firstEdge = [](std::string &img) {
        const Place e = section(img, SegEdges);
        for (std::size_t i = 0;; ++i)
            if (at<HashEdge>(img, e, i)->node != 0xFFFFFFFFu)
                return at<HashEdge>(img, e, i);
    };
    struct Case {
        const char *what;
        void (*spoil)(std::string &);
    };
    static auto edgeOf = firstEdge;
    const Case cases[] = {
        {"a child index past the nodes",
         [](std::string &img) { edgeOf(img)->child = 0x3FFFFFF0u | 0x80000000u; }},
        {"an edge from a node that is not there", [](std::string &img) { edgeOf(img)->node = 0x00FFFFFFu; }},
        {"an edge table without an empty slot",
         [](std::string &img) {
             const Place e = section(img, SegEdges);
             for (std::size_t i = 0; i < e.size / sizeof(HashEdge); ++i)
                 if (at<HashEdge>(img, e, i)->node == 0xFFFFFFFFu)
                     *at<HashEdge>(img, e, i) = {0, 0x10FFFF, 1};
         }},
        {"a text past the pool",
         [](std::string &img) {
             const Place n = section(img, SegNodes);
             at<Node>(img, n, 1)->valOff = 0xFFFFFF00u;
             at<Node>(img, n, 1)->valLen = 64;
         }},
        {"a text that ends inside a character",
         [](std::string &img) {
             const Place n = section(img, SegNodes);
             for (std::size_t i = 0; i < n.size / sizeof(Node); ++i)
                 if (at<Node>(img, n, i)->valLen != 0xFFFFFFFFu && at<Node>(img, n, i)->valLen % 3 == 0 &&
                     at<Node>(img, n, i)->valLen > 0) {
                     at<Node>(img, n, i)->valLen -= 1;
                     return;
                 }
         }},
        {"a key's end with no text",
         [](std::string &img) {
             const Place n = section(img, SegNodes);
             for (std::size_t i = 1; i < n.size / sizeof(Node); ++i)
                 at<Node>(img, n, i)->valLen = 0xFFFFFFFFu;
         }},
        {"invalid UTF-8 in the pool",
         [](std::string &img) {
             const Place p = section(img, Pool);
             img[p.offset + p.size - 1] = '\xff';
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        std::string bad = good;
        c.spoil(bad);
        ASSERT_NE(bad, good);
        EXPECT_FALSE(open(bad));
    }
}

// Random bytes anywhere: the image is refused, or it converts without fault (ASan and UBSan builds
// say so), and no probe runs for ever.
TEST(PhraseImage, RandomDamageNeverRunsAway) {
    const std::string good(sample().image());
    std::mt19937 rng(5);
    int refused = 0;
    for (int round = 0; round < 400; ++round) {
        std::string bad = good;
        for (int k = 1 + rng() % 4; k > 0; --k)
            bad[rng() % bad.size()] = static_cast<char>(rng());
        const auto conv = open(bad);
        if (!conv) {
            ++refused;
            continue;
        }
        std::string out;
        conv->convert("头发干杯发展头发头\n发𠮷ab", out, true);
        conv->convert("头发干杯发", out, false);
    }
    EXPECT_GT(refused, 0);
}

} // namespace
