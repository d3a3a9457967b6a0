#include "cli/split.h"

#include "core/messages.h"
#include "core/phrase_convert.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <future>
#include <memory>

namespace cli {

std::size_t lastSafeLineCut(std::string_view text) {
    for (std::size_t to = text.size(); to > 0;) {
        const void *nl = memrchr(text.data(), '\n', to);
        if (!nl)
            return 0;
        const std::size_t cut = static_cast<std::size_t>(static_cast<const char *>(nl) - text.data()) + 1;
        if (core::lineCutIsSafe(text, cut))
            return cut;
        to = cut - 1;
    }
    return 0;
}

std::string renumberLines(const std::string &message, std::size_t lines) {
    // "line N: " as the catalogue words it in either language: the message was worded by the job in
    // the locale's, and a test may word it in the other.
    struct Form {
        std::string before, after;
    };
    std::vector<Form> forms;
    for (const core::Language language : {core::Language::English, core::Language::Chinese}) {
        const std::string pattern = core::wording(core::MessageId::Line, language, {"\x01", "\x02"});
        const std::size_t number = pattern.find('\x01'), why = pattern.find('\x02');
        forms.push_back({pattern.substr(0, number), pattern.substr(number + 1, why - number - 1)});
    }
    std::string out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = message.find('\n', start);
        const std::string_view line =
            std::string_view(message).substr(start, end == std::string::npos ? std::string::npos : end - start);
        bool renumbered = false;
        for (const Form &form : forms) {
            if (!line.starts_with(form.before))
                continue;
            std::size_t digits = 0;
            while (form.before.size() + digits < line.size() && line[form.before.size() + digits] >= '0' &&
                   line[form.before.size() + digits] <= '9')
                ++digits;
            const std::string_view rest = line.substr(form.before.size() + digits);
            if (digits == 0 || digits >= 19 || !rest.starts_with(form.after))
                continue;
            out += form.before +
                   std::to_string(std::stoull(std::string(line.substr(form.before.size(), digits))) + lines) +
                   std::string(rest);
            renumbered = true;
            break;
        }
        if (!renumbered)
            out += line;
        if (end == std::string::npos)
            return out;
        out += '\n';
        start = end + 1;
    }
}

namespace {

// A piece of the input and what its job made of it. The pieces are reused one per job, so that
// their memory is allocated once and not faulted in again for every piece.
struct Piece {
    std::string text;
    std::size_t linesBefore = 0;
    std::string out;
    Status status;
};

} // namespace

JobTransforms::JobTransforms(std::vector<Transform> given, std::function<Transform()> more, unsigned count)
    : m_jobs(std::move(given)), m_more(std::move(more)), m_count(std::max<unsigned>(count, 1)) {}

void JobTransforms::ensure(unsigned n) {
    n = std::min(n, m_count);
    while (m_jobs.size() < n) {
        try {
            if (!m_more)
                throw SetupFailure{};
            m_jobs.push_back(m_more());
        } catch (const SetupFailure &) {
            m_count = static_cast<unsigned>(m_jobs.size());
            return;
        }
    }
}

Transform splitAtLines(std::vector<Transform> jobs, std::size_t piece) {
    const auto count = static_cast<unsigned>(jobs.size());
    return splitAtLines(std::make_shared<JobTransforms>(std::move(jobs), nullptr, count), piece);
}

Transform splitAtLines(std::shared_ptr<JobTransforms> shared, std::size_t piece, CutTest cut) {
    return [shared, piece, cut](Input &in, Writer &out) -> Status {
        JobTransforms &jobs = *shared;
        jobs.ensure(1);
        // Only a file is cut: a pipe streams through the first job as it always did, so that each
        // line of `tail -f` still comes out as it comes in. So does a file that fits one piece, and
        // a document.
        const long long size = in.knownSize();
        if (size < 0 || static_cast<unsigned long long>(size) <= piece || (cut && !cut(in.head(4096))))
            return jobs[0](in, out);
        std::vector<Piece> pieces(jobs.count());
        // Reads the next piece: `carry` and then up to `piece` bytes more, cut at the last safe
        // line end (a piece without one grows until it has one or the input ends).
        std::string carry;
        bool ended = false;
        bool readFailed = false;
        auto nextPiece = [&](std::string &text) {
            text.assign(carry);
            carry.clear();
            std::size_t scanned = 0; // bytes of text known to hold no safe cut
            for (;;) {
                const std::size_t had = text.size();
                const std::size_t want = std::max(piece, had / 2);
                text.resize(had + want);
                std::size_t got = 0;
                while (got < want) {
                    const long n = in.read(text.data() + had + got, want - got);
                    if (n < 0) {
                        readFailed = true;
                        break;
                    }
                    if (n == 0) {
                        ended = true;
                        break;
                    }
                    got += static_cast<std::size_t>(n);
                }
                text.resize(had + got);
                if (ended || readFailed)
                    return;
                // The safety of a cut looks back a little: start the search a little before.
                const std::size_t from = scanned > 1024 ? scanned - 1024 : 0;
                const std::size_t cut = lastSafeLineCut(std::string_view(text).substr(from));
                if (cut > 0 && from + cut > scanned) {
                    carry.assign(text, from + cut, std::string::npos);
                    text.resize(from + cut);
                    return;
                }
                scanned = text.size();
            }
        };

        nextPiece(pieces[0].text);
        if (readFailed)
            return readFailure(in);
        if (ended) {
            Input whole("-", pieces[0].text);
            return jobs[0](whole, out);
        }
        jobs.ensure(jobs.count());
        // Two pieces per job: while a job converts one piece, the next is read for it, so that no
        // job waits for the reading and writing done here. Piece k always goes to job k % jobs, after
        // that job's piece before it.
        const std::size_t slots = 2 * jobs.size();
        pieces.resize(slots);
        std::vector<std::shared_future<void>> lastOfJob(jobs.size());

        std::deque<std::pair<Piece *, std::shared_future<void>>> running;
        std::size_t launched = 0, lines = 0;
        // Starts the job of the piece read into pieces[launched % slots].
        auto launch = [&]() {
            const std::size_t slot = launched % slots;
            const std::size_t jobIndex = launched % jobs.size();
            ++launched;
            Piece &p = pieces[slot];
            p.linesBefore = lines;
            lines += static_cast<std::size_t>(std::count(p.text.begin(), p.text.end(), '\n'));
            Transform &job = jobs[jobIndex];
            std::shared_future<void> previous = lastOfJob[jobIndex];
            std::shared_future<void> done = std::async(std::launch::async, [&p, &job, previous] {
                                                if (previous.valid())
                                                    previous.wait();
                                                Input pieceIn("-", std::move(p.text));
                                                p.out.clear();
                                                Writer pieceOut(p.out);
                                                p.status = job(pieceIn, pieceOut);
                                                pieceOut.flush();
                                            }).share();
            lastOfJob[jobIndex] = done;
            running.emplace_back(&p, std::move(done));
        };
        launch();
        Status result;
        std::string refusals;
        bool stopped = false;
        for (;;) {
            while (!stopped && !ended && !readFailed && running.size() < slots) {
                std::string &text = pieces[launched % slots].text;
                nextPiece(text);
                if (readFailed)
                    break;
                if (!text.empty())
                    launch();
            }
            if (running.empty())
                break;
            Piece &done = *running.front().first;
            running.front().second.get();
            running.pop_front();
            if (stopped)
                continue;
            out.write(done.out);
            if (done.status.code == kExitNoResult) {
                if (!refusals.empty())
                    refusals += '\n';
                refusals += renumberLines(done.status.message, done.linesBefore);
                if (result.code == kExitOk)
                    result = done.status;
            } else if (done.status.code != kExitOk) {
                result = done.status;
                stopped = true;
            }
        }
        if (readFailed && !stopped)
            return readFailure(in);
        if (result.code == kExitNoResult)
            result.message = refusals;
        return result;
    };
}

} // namespace cli
