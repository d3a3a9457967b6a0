#include "cli/split.h"

#include "core/messages.h"
#include "core/phrase_convert.h"

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
        const std::string_view line = std::string_view(message).substr(
            start, end == std::string::npos ? std::string::npos : end - start);
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

// Bytes read from the input, in a buffer that grows but is never cleared: reading into it
// costs no zero-filling, and a buffer reused piece after piece is not faulted in again.
struct Bytes {
    std::unique_ptr<char[]> data;
    std::size_t size = 0;
    std::size_t capacity = 0;

    std::string_view view() const { return {data.get(), size}; }
    // Room for `more` bytes after size().
    char *reserveMore(std::size_t more) {
        if (size + more > capacity) {
            const std::size_t grown = std::max(size + more, capacity + capacity / 2);
            std::unique_ptr<char[]> larger(new char[grown]);
            if (size > 0)
                std::memcpy(larger.get(), data.get(), size);
            data = std::move(larger);
            capacity = grown;
        }
        return data.get() + size;
    }
};

// A piece of the input and what its job made of it. The pieces are reused one per slot, so that
// their memory is allocated once and not faulted in again for every piece.
struct Piece {
    Bytes text;
    std::size_t lines = 0; // line ends in text, counted by the job
    bool done = false;     // guarded by the pool's mutex
    std::exception_ptr failure;

    std::string out;
    Status status;
};

// Line ends in `text`, sixteen bytes at a time where the processor has SSE2 (every x86-64 one):
// a byte loop cost as much as a tenth of a job's time, and eight bytes at a time with a population
// count still 3% of it, the count being a library call on the baseline processor.
std::size_t countLines(std::string_view text) {
    const char *s = text.data();
    const std::size_t n = text.size();
    std::size_t lines = 0, i = 0;
#if defined(__SSE2__)
    const __m128i lineEnd = _mm_set1_epi8('\n');
    while (n - i >= 16) {
        // Each byte lane counts up to 255 blocks, then the lanes are summed.
        __m128i counts = _mm_setzero_si128();
        const std::size_t end = i + std::min<std::size_t>((n - i) / 16, 255) * 16;
        for (; i < end; i += 16) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + i));
            counts = _mm_sub_epi8(counts, _mm_cmpeq_epi8(block, lineEnd));
        }
        const __m128i sums = _mm_sad_epu8(counts, _mm_setzero_si128());
        lines += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
                 static_cast<std::size_t>(_mm_extract_epi16(sums, 4));
    }
#endif
    for (; i < n; ++i)
        lines += s[i] == '\n';
    return lines;
}

// One thread per job, each converting the pieces queued for it in turn, with its own transform
// (so that no transform is used by two threads at once). The threads end with the pool.
class PiecePool {
public:
    PiecePool(JobTransforms &jobs, std::vector<Piece> &pieces) : m_pieces(pieces) {
        for (std::size_t j = 0; j < jobs.size(); ++j)
            m_threads.emplace_back([this, &job = jobs[j]] { work(job); });
    }
    ~PiecePool() {
        {
            std::lock_guard lock(m_mutex);
            m_closing = true;
        }
        m_wake.notify_all();
        for (std::thread &t : m_threads)
            t.join();
    }
    PiecePool(const PiecePool &) = delete;
    PiecePool &operator=(const PiecePool &) = delete;

    void convert(std::size_t slot) {
        {
            std::lock_guard lock(m_mutex);
            m_pieces[slot].done = false;
            m_queue.push_back(slot);
        }
        m_wake.notify_one();
    }
    void wait(std::size_t slot) {
        std::unique_lock lock(m_mutex);
        m_finished.wait(lock, [&] { return m_pieces[slot].done; });
    }

private:
    void work(Transform &job) {
        for (;;) {
            std::size_t slot;
            {
                std::unique_lock lock(m_mutex);
                m_wake.wait(lock, [&] { return m_closing || !m_queue.empty(); });
                if (m_queue.empty())
                    return;
                slot = m_queue.front();
                m_queue.pop_front();
            }
            Piece &p = m_pieces[slot];
            p.failure = nullptr;
            try {
                p.lines = countLines(p.text.view());
                Input pieceIn("-", p.text.view(), Input::Borrowed{});
                pieceIn.markDecidedText();
                p.out.clear();
                Writer pieceOut(p.out);
                p.status = job(pieceIn, pieceOut);
                pieceOut.flush();
            } catch (...) {
                p.failure = std::current_exception();
            }
            {
                std::lock_guard lock(m_mutex);
                p.done = true;
            }
            m_finished.notify_all();
        }
    }

    std::vector<Piece> &m_pieces;
    std::mutex m_mutex;
    std::condition_variable m_wake, m_finished;
    std::deque<std::size_t> m_queue;
    bool m_closing = false;
    std::vector<std::thread> m_threads;
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
    // A piece without a line end grows until it has one: a file of gigabytes without one fails
    // as that input, not as the program.
    return refusingExhaustion([shared, piece, cut](Input &in, Writer &out) -> Status {
        JobTransforms &jobs = *shared;
        jobs.ensure(1);
        // Only a file is cut: a pipe streams through the first job as it always did, so that each
        // line of `tail -f` still comes out as it comes in. So does a file that fits one piece, and
        // a document.
        const long long size = in.knownSize();
        if (size < 0 || static_cast<unsigned long long>(size) <= piece ||
            (cut && !cut(in.head(kCutTestHead))))
            return jobs[0](in, out);
        std::vector<Piece> pieces(jobs.count());
        // Reads the next piece: `carry` and then up to `piece` bytes more, cut at the last safe
        // line end (a piece without one grows until it has one or the input ends).
        std::string carry;
        bool ended = false;
        bool readFailed = false;
        // A piece that grows this far without a place to cut (a line of gigabytes) is not grown
        // further, each of the jobs holding one: the rest of the input streams through one job,
        // which converts a line of any length in little memory.
        const std::size_t longest = piece * 16;
        bool streamRest = false;
        auto nextPiece = [&](Bytes &text) {
            text.size = 0;
            if (!carry.empty())
                std::memcpy(text.reserveMore(carry.size()), carry.data(), carry.size());
            text.size = carry.size();
            carry.clear();
            std::size_t scanned = 0; // bytes of text known to hold no safe cut
            for (;;) {
                const std::size_t want = std::max(piece, text.size / 2);
                char *to = text.reserveMore(want);
                std::size_t got = 0;
                while (got < want) {
                    const long n = in.read(to + got, want - got);
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
                text.size += got;
                if (ended || readFailed)
                    return;
                // The safety of a cut looks back a little: start the search a little before.
                const std::size_t from = scanned > 1024 ? scanned - 1024 : 0;
                const std::size_t cut = lastSafeLineCut(text.view().substr(from));
                if (cut > 0 && from + cut > scanned) {
                    carry.assign(text.view().substr(from + cut));
                    text.size = from + cut;
                    return;
                }
                scanned = text.size;
                if (text.size >= longest) {
                    streamRest = true;
                    return;
                }
            }
        };

        nextPiece(pieces[0].text);
        if (readFailed)
            return readFailure(in);
        if (ended) {
            Input whole("-", pieces[0].text.view(), Input::Borrowed{});
            return jobs[0](whole, out);
        }
        if (streamRest) {
            std::string first(pieces[0].text.view());
            pieces[0].text = Bytes();
            in.unread(std::move(first));
            return jobs[0](in, out);
        }
        jobs.ensure(jobs.count());
        // Each job has a thread of its own that takes the next piece waiting, whichever it is, so
        // that a job never waits while another has work queued. Pieces are written out here in
        // their order. Four pieces per job are in memory: while the jobs convert, the next ones are
        // read, and a write that waits for the disk does not leave the jobs without work.
        const std::size_t slots = 4 * jobs.size();
        pieces.resize(slots);
        PiecePool pool(jobs, pieces);

        std::deque<std::size_t> running; // slots, in the order of the input
        std::size_t launched = 0, lines = 0;
        auto launch = [&]() {
            const std::size_t slot = launched % slots;
            ++launched;
            running.push_back(slot);
            pool.convert(slot);
        };
        launch();
        Status result;
        std::string refusals;
        bool stopped = false;
        std::string rest; // with streamRest: the piece that found no cut, streamed after the others
        for (;;) {
            while (!stopped && !ended && !readFailed && !streamRest && running.size() < slots) {
                Bytes &text = pieces[launched % slots].text;
                nextPiece(text);
                if (readFailed)
                    break;
                if (streamRest) {
                    rest.assign(text.view());
                    break;
                }
                if (text.size > 0)
                    launch();
            }
            if (running.empty())
                break;
            Piece &done = pieces[running.front()];
            pool.wait(running.front());
            running.pop_front();
            if (done.failure)
                std::rethrow_exception(done.failure); // the pool's threads are joined on the way out
            if (stopped)
                continue;
            out.write(done.out);
            const std::size_t linesBefore = lines;
            lines += done.lines;
            if (done.status.code == kExitNoResult) {
                if (!refusals.empty())
                    refusals += '\n';
                refusals += renumberLines(done.status.message, linesBefore);
                if (result.code == kExitOk)
                    result = done.status;
            } else if (done.status.code != kExitOk) {
                result = done.status;
                stopped = true;
            }
        }
        if (readFailed && !stopped)
            return readFailure(in);
        if (streamRest && !stopped) {
            for (Piece &p : pieces) // written out: their memory is let go before the rest streams
                p.text = Bytes();
            in.unread(std::move(rest));
            const Status streamed = jobs[0](in, out);
            if (streamed.code == kExitNoResult) {
                if (!refusals.empty())
                    refusals += '\n';
                refusals += renumberLines(streamed.message, lines);
                if (result.code == kExitOk)
                    result = streamed;
            } else if (streamed.code != kExitOk) {
                return streamed;
            }
        }
        if (result.code == kExitNoResult)
            result.message = refusals;
        return result;
    });
}

} // namespace cli
