#include "cli/batch.h"

#include "cli/commands.h"
#include "cli/progress.h"
#include "cli/split.h"
#include "core/subtitles.h"
#include "core/text_encoding.h"
#include "core/utf.h"
#include "platform/document_file.h"
#include "platform/message_language.h"
#include "platform/phrase_config.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace cli {

namespace {

constexpr unsigned kMaxJobs = 64;
// A text of at least this size is split across the jobs rather than given to one of them.
constexpr std::uint64_t kSplitSize = std::uint64_t(8) << 20;

bool newer(const struct stat &a, const struct stat &b) {
    return a.st_mtim.tv_sec != b.st_mtim.tv_sec ? a.st_mtim.tv_sec > b.st_mtim.tv_sec
                                                : a.st_mtim.tv_nsec > b.st_mtim.tv_nsec;
}

} // namespace

void addBatchOptions(CLI::App &command, BatchOptions &o) {
    CLI::Option *dir =
        command.add_option("-O,--output-dir", o.outputDir, platform::say(core::MessageId::HelpOutputDir))
            ->type_name("DST");
    for (const char *other : {"--output", "--in-place"})
        if (CLI::Option *opt = command.get_option_no_throw(other))
            dir->excludes(opt);
    command.add_flag("-r,--recursive", o.recursive, platform::say(core::MessageId::HelpRecursive))
        ->needs(dir);
    command.add_flag("--names", o.names, platform::say(core::MessageId::HelpNames))->needs(dir);
    command.add_flag("--skip-existing", o.skipExisting, platform::say(core::MessageId::HelpSkipExisting))
        ->needs(dir);
    command.add_option("-j,--jobs", o.jobs, platform::say(core::MessageId::HelpJobs))
        ->type_name("N")
        ->check(CLI::Range(1u, kMaxJobs));
    CLI::Option *progress =
        command.add_flag("--progress", o.progress, platform::say(core::MessageId::HelpProgress));
    command.add_flag("--no-progress", o.noProgress, platform::say(core::MessageId::HelpNoProgress))
        ->excludes(progress);
}

bool splitsAtLines(const CLI::App &command) {
    const std::string name = command.get_name();
    const auto given = [&command](const char *option) {
        const CLI::Option *opt = command.get_option_no_throw(option);
        return opt && opt->count() > 0;
    };
    // Another encoding is decoded whole and written back whole, never streamed.
    if (given("--from-encoding") || given("--to-encoding"))
        return false;
    if (given("--lines"))
        return true;
    if (platform::isOneOf(name, {"traditional", "simplified", "upper", "lower"}))
        return true;
    if (name == "pinyin")
        return given("--tone") || given("--separator") || given("--initials");
    if (name == "convert") {
        const CLI::Option *config = command.get_option_no_throw("--config");
        if (!config || config->count() == 0)
            return false;
        auto load = loadPhraseConverterOnce(config->as<std::string>());
        return load.converter && load.converter->linesConvertAlone();
    }
    return false;
}

bool isSplittableHead(std::string_view head) {
    return !isDocumentHead(head) && !core::byteOrderMark(head) && core::validUtf8Prefix(head, false).ok &&
           !core::utf8MayBeCodePage(head) && core::detectSubtitles(head) == core::SubtitleFormat::None;
}

bool isDocumentHead(std::string_view head) {
    return platform::isDocument(head);
}

bool convertsDocuments(const CLI::App &command) {
    // The commands whose transform converts a document file whole (cli/documents.h).
    return platform::isOneOf(command.get_name(), {"convert", "traditional", "simplified", "upper", "lower"});
}

std::optional<std::string> convertName(const Transform &transform, const std::string &name) {
    // Named "-", so that no way looks for a file of that name. A name in UTF-8 is UTF-8, however
    // short (é.txt, Ω.txt were refused as text whose encoding cannot be told).
    Input in("-", name);
    if (core::validUtf8Prefix(name, true).ok)
        in.markDecidedText();
    std::string converted;
    Writer out(converted);
    if (transform(in, out).code != kExitOk || !out.flush())
        return std::nullopt;
    // A line way ends its output with a line break the name did not have; a name that ends with
    // one of its own keeps it (a way that streams gives it back as it was).
    const auto breaksAtEnd = [](std::string_view s) {
        const std::size_t kept = s.find_last_not_of('\n');
        return kept == std::string_view::npos ? s.size() : s.size() - kept - 1;
    };
    if (breaksAtEnd(converted) > breaksAtEnd(name))
        converted.pop_back();
    if (converted.empty() || converted == "." || converted == ".." ||
        converted.find_first_of(std::string_view("/\0", 2)) != std::string::npos)
        return std::nullopt;
    return converted;
}

namespace {

// Pending: converted, its commit still to come.
enum class Outcome { Converted, Copied, Skipped, Refused, Failed, Pending };

struct FileResult {
    Outcome outcome = Outcome::Converted;
    std::string message; // why it was refused or failed
};

// One entry of the mirror: what to make at `dst` from `src`.
using Entry = platform::MirrorEntry;

// Commits a job's converted files on a thread of its own, a few at a time, while the job goes on
// converting: a job that flushed each file to the disk itself waited about as long as converting
// it took, and several flushed together wait less (one flush of the filesystem for all, each
// file's metadata written once, see AtomicFile::syncTogether). The files
// waiting are temporary files removed on a signal like any other, so an interrupted run still
// leaves only whole files. `done` is told each file's outcome, on the committer's thread.
class Committer {
public:
    using Done = std::function<void(const Entry &, const FileResult &)>;
    Committer(platform::FolderSyncs &folders, Done done, CommitterRoom room)
        : m_folders(folders), m_done(std::move(done)), m_room(room), m_thread([this] { run(); }) {}
    ~Committer() { close(); }
    Committer(const Committer &) = delete;
    Committer &operator=(const Committer &) = delete;

    // Hands over a converted file (`done`: its outcome once committed); waits while many are.
    void add(const Entry &e, std::unique_ptr<AtomicFile> file, Outcome done) {
        std::unique_lock lock(m_mutex);
        m_hasRoom.wait(lock, [this] { return m_waiting.size() < m_room.mostWaiting; });
        m_waiting.push_back({&e, std::move(file), done});
        // Woken only when there is something new for it to do: the first file it waits for, or
        // a batch full. Waking it for each file cost two thread switches per file.
        if (m_waiting.size() == 1 || m_waiting.size() == m_room.atOnce)
            m_work.notify_one();
    }
    // Commits what is left and ends the thread.
    void close() {
        {
            const std::lock_guard lock(m_mutex);
            m_closing = true;
        }
        m_work.notify_one();
        if (m_thread.joinable())
            m_thread.join();
    }

private:
    struct File {
        const Entry *entry;
        std::unique_ptr<AtomicFile> file;
        Outcome done;
    };
    // A file waits at most this long for others to be flushed with, so that a job of a few
    // large files still reports each soon after converting it.
    static constexpr std::chrono::milliseconds kLongestWait{250};

    void run() {
        std::vector<File> batch;
        std::vector<AtomicFile *> files;
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_work.wait(lock, [this] { return m_closing || !m_waiting.empty(); });
            m_work.wait_for(lock, kLongestWait,
                            [this] { return m_closing || m_waiting.size() >= m_room.atOnce; });
            if (m_waiting.empty())
                return;
            batch.clear();
            while (!m_waiting.empty() && batch.size() < m_room.atOnce) {
                batch.push_back(std::move(m_waiting.front()));
                m_waiting.pop_front();
            }
            m_hasRoom.notify_all();
            lock.unlock();
            files.clear();
            for (File &f : batch)
                files.push_back(f.file.get());
            AtomicFile::syncTogether(files);
            for (File &f : batch)
                m_done(*f.entry, f.file->commit(&m_folders) ? FileResult{f.done, {}}
                                                            : FileResult{Outcome::Failed, f.file->message()});
            batch.clear(); // closes and forgets the files before taking the lock again
            lock.lock();
        }
    }

    platform::FolderSyncs &m_folders;
    Done m_done;
    std::mutex m_mutex;
    const CommitterRoom m_room;
    std::condition_variable m_work, m_hasRoom;
    std::deque<File> m_waiting;
    bool m_closing = false;
    std::thread m_thread; // last: it starts once the rest is there
};

// The work of one run: the entries in the order they are made, and those refused while planning.
class Batch {
public:
    Batch(const BatchOptions &options, const CLI::App &command, std::shared_ptr<JobTransforms> jobs,
          Progress &progress)
        : m_options(options), m_jobs(std::move(jobs)), m_progress(progress),
          m_split(m_jobs->count() > 1 && splitsAtLines(command)), m_documents(convertsDocuments(command)) {
        if (m_split)
            m_splitter = splitAtLines(m_jobs, kSplitPiece, isSplittableHead);
    }

    // False after naming each folder among `files` when -r is not given: a usage error.
    bool checkArguments(const std::vector<std::string> &files) {
        bool ok = true;
        for (const std::string &file : files) {
            struct stat st {};
            if (::stat(file.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && !m_options.recursive) {
                report(file, platform::say(core::MessageId::IsAFolderNeedsR));
                ok = false;
            }
        }
        return ok;
    }

    // Plans `files` under the output folder; what the plan leaves out is named.
    void plan(const std::vector<std::string> &files) {
        std::vector<std::pair<std::string, std::string>> named; // source, target name
        for (const std::string &file : files) {
            std::string name = platform::baseName(file);
            // A source named . or .. (src/., docs/..) is mirrored under its folder's own name:
            // its mirror was DST/. or DST/.., which wrote over the files beside DST, or into
            // DST past the check of two sources that become one.
            if (name == "." || name == "..") {
                char *real = ::realpath(file.c_str(), nullptr);
                name = real ? platform::baseName(real) : "."; // never .. of DST
                std::free(real);
            }
            named.emplace_back(file, std::move(name));
        }
        platform::MirrorOptions options;
        if (m_options.names)
            options.names = [this](const std::string &name) { return convertName((*m_jobs)[0], name); };
        options.skip = true;
        options.skipDev = m_outputDev;
        options.skipIno = m_outputIno;
        platform::MirrorPlan plan = platform::planMirror(named, m_options.outputDir, options);
        for (const platform::MirrorProblem &p : plan.problems) {
            if (p.failed)
                fail(p.path, p.why.in(platform::messageLanguage()));
            else
                refuse(p.path, p.why.in(platform::messageLanguage()));
        }
        m_entries = std::move(plan.entries);
    }

    void run() {
        std::uint64_t files = 0, bytes = 0;
        for (const Entry &e : m_entries)
            if (e.type == Entry::Type::File) {
                ++files;
                bytes += static_cast<std::uint64_t>(e.st.st_size);
            }
        m_progress.setTotals(files, bytes);
        m_progress.start();
        // Folders first, open to us while they fill; their own permissions once they are full.
        std::vector<const Entry *> work, large;
        // A folder that could not be made (a link or a file in its place) takes what it holds
        // with it: written there, it would go wherever that link leads.
        std::vector<std::string> unmade;
        std::vector<Entry> made;
        const auto inUnmade = [&unmade](const std::string &dst) {
            return std::any_of(unmade.begin(), unmade.end(), [&dst](const std::string &folder) {
                return dst.size() > folder.size() && dst.compare(0, folder.size(), folder) == 0 &&
                       dst[folder.size()] == '/';
            });
        };
        for (const Entry &e : m_entries) {
            if (inUnmade(e.dst))
                finish(e, {Outcome::Failed, platform::say(core::MessageId::FolderNotMade)});
            else if (e.type == Entry::Type::Folder && makeFolder(e))
                made.push_back(e);
            else if (e.type == Entry::Type::Folder)
                unmade.push_back(e.dst);
            else if (e.type == Entry::Type::File && m_split && e.st.st_size >= static_cast<off_t>(kSplitSize))
                large.push_back(&e);
            else
                work.push_back(&e);
        }
        // A large file takes every job in turn, the others one job each.
        for (const Entry *e : large)
            finish(*e, convertFile(*e, m_splitter));
        std::atomic<std::size_t> next{0};
        m_jobs->ensure(static_cast<unsigned>(std::min<std::size_t>(m_jobs->count(), work.size())));
        rlimit limit{};
        // Within the open files allowed, and the temporary files a signal can remove.
        const std::uint64_t openFiles =
            ::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY ? limit.rlim_cur : 1u << 20;
        const CommitterRoom room =
            committerRoom(std::min<std::uint64_t>(openFiles, platform::kMostTemporaryFiles),
                          static_cast<unsigned>(m_jobs->size()));
        // Each job has a committer of its own: the disk flushes two files at once faster than one.
        auto worker = [&](Transform &transform) {
            Committer committer(m_folderSyncs, [this](const Entry &e, const FileResult &r) { finish(e, r); },
                                room);
            for (std::size_t i; (i = next.fetch_add(1)) < work.size();) {
                const Entry &e = *work[i];
                if (e.type == Entry::Type::Link)
                    finish(e, makeLink(e));
                else if (const FileResult r = convertFile(e, transform, &committer);
                         r.outcome != Outcome::Pending)
                    finish(e, r);
            }
        };
        std::vector<std::thread> threads;
        for (std::size_t j = 1; j < m_jobs->size(); ++j)
            threads.emplace_back(worker, std::ref((*m_jobs)[j]));
        worker((*m_jobs)[0]);
        for (auto &t : threads)
            t.join();
        m_folderSyncs.syncAll();
        platform::finishMirrorFolders(made);
        m_progress.stop();
    }

    // The summary line and the exit status.
    int summary(double seconds) {
        const int exit = m_count[int(Outcome::Failed)]    ? kExitIo
                         : m_count[int(Outcome::Refused)] ? kExitNoResult
                                                          : kExitOk;
        using core::MessageId;
        const auto n = [this](Outcome o) { return std::to_string(m_count[int(o)]); };
        std::string line = "lanternfin-cli: " +
                           platform::say(MessageId::BatchCounts, {n(Outcome::Converted), n(Outcome::Copied)});
        if (m_count[int(Outcome::Skipped)])
            line += platform::say(MessageId::BatchSkipped, {n(Outcome::Skipped)});
        line += platform::say(MessageId::BatchRefused, {n(Outcome::Refused)});
        if (m_count[int(Outcome::Failed)])
            line += platform::say(MessageId::BatchFailed, {n(Outcome::Failed)});
        line += platform::say(MessageId::BatchTime, {clockText(seconds)});
        if (exit == kExitIo)
            line += platform::say(MessageId::BatchExitIo);
        else if (exit == kExitNoResult)
            line += platform::say(MessageId::BatchExitRefused);
        m_progress.say(line + "\n");
        return exit;
    }

public:
    // Creates the output folder; false (reported) when it cannot be.
    bool makeOutput() {
        const std::string &dst = m_options.outputDir;
        if (::mkdir(dst.c_str(), 0777) != 0 && errno != EEXIST) {
            fail(dst, platform::say(core::MessageId::CannotCreateOutputFolder, {errorText(errno)}));
            return false;
        }
        struct stat st {};
        if (::stat(dst.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
            fail(dst, platform::say(core::MessageId::NotAFolder));
            return false;
        }
        m_outputDev = st.st_dev;
        m_outputIno = st.st_ino;
        return true;
    }

private:
    bool makeFolder(const Entry &e) {
        const core::Message why = platform::makeMirrorFolder(e);
        if (!why.empty())
            fail(e.dst, why.in(platform::messageLanguage()));
        return why.empty();
    }

    FileResult makeLink(const Entry &e) {
        const core::Message why = platform::makeMirrorLink(e);
        if (!why.empty())
            return {Outcome::Failed, why.in(platform::messageLanguage())};
        return {Outcome::Copied, {}};
    }

    // The one step for every file: skipped, converted by its kind, or copied. With `committer`, a
    // converted file may be handed to it (Pending) instead of committed here.
    FileResult convertFile(const Entry &e, const Transform &transform, Committer *committer = nullptr) {
        struct stat out {};
        if (m_options.skipExisting && ::stat(e.dst.c_str(), &out) == 0 && S_ISREG(out.st_mode) &&
            newer(out, e.st)) {
            m_progress.bytes().fetch_add(static_cast<std::uint64_t>(e.st.st_size));
            return {Outcome::Skipped, {}};
        }
        const FileKind kind = platform::fileKindOf(e.src, static_cast<std::uint64_t>(e.st.st_size));
        if (kind == FileKind::Text || (kind == FileKind::Document && m_documents)) {
            // Read only while it is the file listed: see openMirrorSource.
            core::Message why;
            const int fd = platform::openMirrorSource(e, why);
            if (fd < 0)
                return {Outcome::Failed, why.in(platform::messageLanguage())};
            Input in(e.src, fd);
            in.limitTo(static_cast<std::uint64_t>(e.st.st_size)); // as listed; one growing fails
            // A document's transform converts it whole, by its content; a damaged or unsupported
            // one is refused with the engine's reason, as content.
            return write(e, in, transform, Outcome::Converted, kind == FileKind::Document, committer);
        }
        const core::Message why = platform::copyMirrorFile(
            e,
            [this](std::uint64_t n) {
                m_progress.bytes().fetch_add(n);
                return true;
            },
            nullptr, &m_folderSyncs);
        if (!why.empty())
            return {Outcome::Failed, why.in(platform::messageLanguage())};
        return {Outcome::Copied, {}};
    }

    // Writes the output of `transform` on `in` to the entry's target, atomically, with its mode.
    FileResult write(const Entry &e, Input &in, const Transform &transform, Outcome done, bool document,
                     Committer *committer) {
        auto file = e.held ? std::make_unique<AtomicFile>(e.dst, *e.held)
                           : std::make_unique<AtomicFile>(e.dst, e.root);
        if (file->fd() < 0)
            return {Outcome::Failed, file->message()};
        in.countInto(&m_progress.bytes());
        Writer out(file->fd(), !file->direct());
        const Status status = transform(in, out);
        if (status.code != kExitOk) {
            file->discard();
            return {status.code == kExitIo && !document ? Outcome::Failed : Outcome::Refused, status.message};
        }
        if (!out.flush()) {
            file->discard();
            return {Outcome::Failed, platform::say(core::MessageId::CannotWrite, {errorText(out.error())})};
        }
        platform::keepMode(*file, e.st);
        if (committer && !file->direct() && file->removedOnSignal()) {
            committer->add(e, std::move(file), done);
            return {Outcome::Pending, {}};
        }
        if (!file->commit(&m_folderSyncs))
            return {Outcome::Failed, file->message()};
        return {done, {}};
    }

    void finish(const Entry &e, const FileResult &r) {
        if (e.type == Entry::Type::File)
            m_progress.fileDone();
        if (r.outcome == Outcome::Refused)
            refuse(e.src, r.message);
        else if (r.outcome == Outcome::Failed)
            fail(e.src, r.message);
        else
            count(r.outcome);
    }

    void count(Outcome o) {
        std::lock_guard lock(m_countMutex);
        ++m_count[int(o)];
    }
    void refuse(const std::string &name, const std::string &why) {
        count(Outcome::Refused);
        report(name, why);
    }
    void fail(const std::string &name, const std::string &why) {
        count(Outcome::Failed);
        report(name, why);
    }
    // "lanternfin-cli: NAME: why", for each line of `why`; names (also those the reason holds)
    // as a terminal may show them, whatever bytes a file name holds.
    void report(const std::string &name, const std::string &why) {
        std::string text;
        std::istringstream lines(why);
        for (std::string line; std::getline(lines, line);)
            text += "lanternfin-cli: " + core::escapedForTerminal(name) + ": " + core::escapedForTerminal(line) +
                    "\n";
        m_progress.say(text);
    }

    const BatchOptions &m_options;
    std::shared_ptr<JobTransforms> m_jobs;
    Progress &m_progress;
    bool m_split;
    bool m_documents;
    Transform m_splitter;
    std::vector<Entry> m_entries;
    dev_t m_outputDev = 0;
    ino_t m_outputIno = 0;
    platform::FolderSyncs m_folderSyncs; // each output folder synced once, after its files
    std::mutex m_countMutex;
    std::size_t m_count[int(Outcome::Pending) + 1] = {};
};

// A stream whose complete messages go through the progress line.
class ProgressStreamBuf : public std::stringbuf {
public:
    explicit ProgressStreamBuf(Progress &progress) : m_progress(progress) {}
    ~ProgressStreamBuf() override { sync(); }

protected:
    int sync() override {
        if (!str().empty())
            m_progress.say(str());
        str("");
        return 0;
    }

private:
    Progress &m_progress;
};

unsigned jobCount(const BatchOptions &o) {
    if (o.jobs > 0)
        return std::min(o.jobs, kMaxJobs);
    return std::clamp(std::thread::hardware_concurrency(), 1u, kMaxJobs);
}

} // namespace

CommitterRoom committerRoom(std::uint64_t openFiles, unsigned jobs) {
    // Kept for the rest of the process (standard streams, the phrase images, a document's
    // scratch files, the folders being listed), and per job for the file it reads and writes.
    constexpr std::uint64_t kKept = 48, kPerJob = 6;
    const std::uint64_t perJob = openFiles > kKept ? (openFiles - kKept) / std::max(jobs, 1u) : 0;
    // A committer holds up to mostWaiting files waiting and atOnce = mostWaiting / 2 being flushed;
    // a waiting file holds two descriptors, its own and its folder's, which it is renamed in.
    const std::uint64_t waiting = perJob > kPerJob ? (perJob - kPerJob) * 2 / 5 : 0;
    const std::size_t most = static_cast<std::size_t>(std::clamp<std::uint64_t>(waiting, 1, 128));
    return {most, std::max<std::size_t>(most / 2, 1)};
}

int runFiles(const Transform &first, const TransformFactory &make, const CLI::App &command,
             const std::vector<std::string> &files, const Destination &to, const BatchOptions &options,
             int outFd, std::ostream &err) {
    const bool batch = !options.outputDir.empty();
    if (batch && (files.empty() || std::find(files.begin(), files.end(), "-") != files.end())) {
        err << "lanternfin-cli: " << platform::say(core::MessageId::OutputDirNeedsFiles) << '\n';
        return kExitUsage;
    }
    const bool split = !batch && jobCount(options) > 1 && splitsAtLines(command);
    auto jobs = std::make_shared<JobTransforms>(std::vector<Transform>{first}, make, jobCount(options));
    err.flush();
    Progress progress(Progress::modeFor(STDERR_FILENO, options.progress, options.noProgress), STDERR_FILENO,
                      err);

    if (batch) {
        Batch run(options, command, jobs, progress);
        if (!run.checkArguments(files))
            return kExitUsage;
        if (!run.makeOutput())
            return kExitIo;
        run.plan(files);
        run.run();
        return run.summary(progress.seconds());
    }

    // Standard output, -o or --in-place: the inputs in turn, each split across the jobs when the
    // way allows it, counted for the progress line.
    std::uint64_t total = 0;
    for (const std::string &file : files.empty() ? std::vector<std::string>{"-"} : files) {
        struct stat st {};
        if ((file == "-" ? ::fstat(STDIN_FILENO, &st) : ::stat(file.c_str(), &st)) == 0 &&
            S_ISREG(st.st_mode))
            total += static_cast<std::uint64_t>(st.st_size);
    }
    progress.setTotals(files.size() > 1 ? files.size() : 0, total);
    const Transform inner = split ? splitAtLines(jobs, kSplitPiece, isSplittableHead) : first;
    const Transform counted = [&inner, &progress](Input &in, Writer &out) {
        in.countInto(&progress.bytes());
        const Status status = inner(in, out);
        progress.fileDone();
        return status;
    };
    ProgressStreamBuf buf(progress);
    std::ostream diagnostics(&buf);
    progress.start();
    const int exit = runTransform(counted, files, to, outFd, diagnostics);
    diagnostics.flush();
    progress.stop();
    return exit;
}

} // namespace cli
