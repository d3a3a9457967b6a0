#pragma once
// One large text converted by several jobs at once: the input is cut into pieces at line ends,
// each piece goes through its own copy of the transform, and the outputs are written in order.
// Only for ways whose output on a text is the output on its lines, one after the other.

#include "cli/transform.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

namespace cli {

// Where `text` may be cut, after its last line break at which the pieces convert alone; 0 when it
// holds none. Conservative for every way: a cut inside the reach of an ideographic description is
// passed over, as the phrase conversion needs.
std::size_t lastSafeLineCut(std::string_view text);

// The transforms of the jobs, one per job since a transform is used by one thread at a time: the
// first given, the others built by `more` only when they are needed (building one loads the way's
// data, which a small input never needs twice). Not thread-safe: ensure() before the jobs start.
class JobTransforms {
public:
    JobTransforms(std::vector<Transform> given, std::function<Transform()> more, unsigned count);
    // Builds the transforms up to min(n, count); where building fails, the jobs are fewer.
    void ensure(unsigned n);
    // The transforms built so far.
    std::size_t size() const { return m_jobs.size(); }
    unsigned count() const { return m_count; }
    Transform &operator[](std::size_t i) { return m_jobs[i]; }

private:
    std::vector<Transform> m_jobs;
    std::function<Transform()> m_more;
    unsigned m_count;
};

// The size of the pieces a large text is cut into: small enough that a piece's output is still in
// the caches when it is written out (4 MB pieces made copying it out cost ten times as much).
constexpr std::size_t kSplitPiece = std::size_t(1) << 20;

// A transform that feeds pieces of about `piece` bytes, cut by lastSafeLineCut, to `jobs` (one
// thread each, each transform used by one thread at a time); two pieces per job are in memory at
// once (one converted, the next read for it). A pipe, and a file that fits one piece, go to jobs[0]
// as they are.
// The output equals that of jobs[0] on the whole input. A piece refused line by line ("line N:
// why", exit 1) is reported with the line numbers of the whole input and the rest still goes on;
// any other failure ends the run after the output of the pieces before it and the failing piece's own.
// A regular file whose first bytes fail `cut` (a document, a text in another encoding, which are
// converted whole) is given to the first job as it is. The pieces are memory inputs named "-", so
// that no way looks at a file, marked as text already decided (Input::markDecidedText).
// `cut` is given the first kCutTestHead bytes, as much as the encodings' detection looks at.
using CutTest = std::function<bool(std::string_view head)>;
constexpr std::size_t kCutTestHead = std::size_t(1) << 20;
Transform splitAtLines(std::shared_ptr<JobTransforms> jobs, std::size_t piece = kSplitPiece,
                       CutTest cut = nullptr);
Transform splitAtLines(std::vector<Transform> jobs, std::size_t piece = kSplitPiece);

// The message of a piece refused line by line, with each "line N:" moved on by `lines`.
std::string renumberLines(const std::string &message, std::size_t lines);

} // namespace cli
