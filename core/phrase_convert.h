#pragma once

// Phrase-aware conversion of UTF-8 text by dictionaries: the text is cut into segments by longest
// match in a segmentation dictionary, and each segment goes on its own through a chain of
// conversion steps, each step rewriting the previous step's output by longest match.
//
// The converter is a set of flat arrays (an image) that can be written to a file and used again
// straight from memory, without rebuilding.

#include "segment.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// One dictionary: each key (UTF-8, not empty) with the text that replaces it (its first candidate).
struct PhraseEntry {
    std::string key;
    std::string value;
};
using PhraseDictionary = std::vector<PhraseEntry>;

// Dictionaries tried in order at each position: the first that has any key there wins, with its
// own longest key. A single dictionary is a group of one.
using PhraseGroup = std::vector<PhraseDictionary>;

struct PhraseConfig {
    // Segmentation: at each position the longest key that starts there is one segment; the
    // characters where no key starts are gathered into one segment up to the next key. An empty
    // group (no key at all) leaves the whole text one segment.
    PhraseGroup segmentation;
    // Applied in order to every segment on its own; a segment's boundaries never move.
    std::vector<PhraseGroup> steps;
    // Applied in order to the whole text before segmentation. Each entry maps one character to one
    // character (compatibility ideographs to their unified forms); other entries are left out.
    std::vector<PhraseGroup> normalization;
};

// How a group of dictionaries matches at a position: ShortCircuit takes the first member that has
// any key there (with its longest key); Union takes the longest key of all members, the earlier
// member on a tie.
enum class MatchPolicy { ShortCircuit, Union };

// A dictionary (`dict` set) or a group of members, which may be groups themselves. A group with
// no member matches nothing.
struct PhraseTree {
    const PhraseDictionary *dict = nullptr;
    MatchPolicy policy = MatchPolicy::ShortCircuit;
    std::vector<PhraseTree> members;
};

// The same as dictionaries that lie elsewhere, so that a dictionary named in several places is held
// once; they must outlive the build.
struct PhraseConfigView {
    PhraseTree segmentation;
    std::vector<PhraseTree> steps;
    std::vector<PhraseTree> normalization;
};

// The view of `config`, pointing into it.
PhraseConfigView viewOf(const PhraseConfig &config);

// Ideographic description characters (U+2FF0..U+2FFF) start a description such as ⿰氵青 that is
// kept as it is where no key matches at its first character: the characters described are not
// converted one by one.
inline bool isIdsOperator(std::uint32_t c) {
    return c - 0x2FF0u < 16u;
}

class PhraseConverter {
public:
    // Builds the converter. Keys or values that are not valid UTF-8, and empty keys, are left out.
    static PhraseConverter build(const PhraseConfig &config);
    static PhraseConverter build(const PhraseConfigView &config);

    // The converter's image: flat arrays that fromImage() reads back as they are.
    const std::string_view image() const { return m_image; }

    // A converter over `image` (which `owner` keeps alive, e.g. a mapped file) made by image() of
    // this program's build; nullopt when the bytes are not such an image.
    static std::optional<PhraseConverter> fromImage(std::string_view image,
                                                    std::shared_ptr<const void> owner);

    // Converts `in`, which must be valid UTF-8 (NUL is an ordinary character), appending to `out`.
    // With `final` the whole of `in` is converted and its size returned. Without it, conversion
    // stops where text still to come could change the result: the bytes converted are returned,
    // and the caller passes the rest again with what follows. The result of converting in pieces
    // this way equals the result of converting the whole text at once.
    std::size_t convert(std::string_view in, std::string &out, bool final = true) const;
    std::string convert(std::string_view in) const {
        std::string out;
        convert(in, out, true);
        return out;
    }

    // The conversion of `in` (valid UTF-8), equal to convert(in), with its segmentation: `out` and
    // `segments` are replaced by the result and by the segments in code points, each output piece
    // attributed to the source span it came from through normalization, segmentation and every
    // step, as finely as the steps allow (a key matched in any step joins the spans it covers).
    // Characters that pass unchanged are segments of their own.
    void convertSegmented(std::string_view in, std::string &out, std::vector<Segment> &segments) const;

    // Whether no key holds a line break: then the conversion of a text is the conversion of its
    // lines (each with its line break) one by one, and they may be converted apart.
    bool linesConvertAlone() const;

    struct Tables;

private:
    PhraseConverter() = default;
    std::string_view m_image;
    std::shared_ptr<const void> m_owner;
    std::shared_ptr<const Tables> m_tables;
};

// Whether a text whose lines convert alone may be cut at `at`, just after a line break, and its
// parts converted apart: an ideographic description may take a line break as a part, so a cut is
// safe only where no description character lies within the 64 characters before it.
bool lineCutIsSafe(std::string_view utf8, std::size_t at);
bool lineCutIsSafe(std::u16string_view text, std::size_t at);

// `in` converted by `converter`, for UTF-16 text. A lone surrogate, which no key can hold, stays as
// it is, and the text on each side of it is converted on its own.
std::u16string convertUtf16(const PhraseConverter &converter, std::u16string_view in);

} // namespace core
