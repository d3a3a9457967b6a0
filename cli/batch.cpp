#include "cli/batch.h"

#include "cli/progress.h"
#include "cli/split.h"
#include "core/utf.h"
#include "platform/document_file.h"
#include "platform/phrase_config.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace cli {

namespace {

constexpr unsigned kMaxJobs = 64;
// A text of at least this size is split across the jobs rather than given to one of them.
constexpr std::uint64_t kSplitSize = std::uint64_t(8) << 20;
constexpr std::size_t kHeadSize = 64 << 10;

std::string lower(std::string_view s) {
    std::string out(s);
    for (char &c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string extensionOf(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos || dot == 0 ? std::string() : lower(name.substr(dot + 1));
}

bool isOneOf(const std::string &s, std::initializer_list<std::string_view> list) {
    return std::find(list.begin(), list.end(), s) != list.end();
}

std::string baseName(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string joinPath(const std::string &folder, const std::string &name) {
    return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

bool newer(const struct stat &a, const struct stat &b) {
    return a.st_mtim.tv_sec != b.st_mtim.tv_sec ? a.st_mtim.tv_sec > b.st_mtim.tv_sec
                                                : a.st_mtim.tv_nsec > b.st_mtim.tv_nsec;
}

} // namespace

void addBatchOptions(CLI::App &command, BatchOptions &o) {
    CLI::Option *dir =
        command
            .add_option("-O,--output-dir", o.outputDir,
                        "write each FILE under its own name into folder DST (created when missing): text "
                        "files converted, other files copied unchanged, each replaced atomically")
            ->type_name("DST");
    for (const char *other : {"--output", "--in-place"})
        if (CLI::Option *opt = command.get_option_no_throw(other))
            dir->excludes(opt);
    command.add_flag("-r,--recursive", o.recursive,
                     "with -O: mirror the folders among the FILEs, with all they hold; links are copied as "
                     "links, never followed; folder permissions and file modes are kept")
        ->needs(dir);
    command.add_flag("--names", o.names,
                     "with -O: convert file and folder names too; names that would become one are refused")
        ->needs(dir);
    command.add_flag("--skip-existing", o.skipExisting,
                     "with -O: keep each output that exists and is newer than its source (to finish an "
                     "interrupted run)")
        ->needs(dir);
    command.add_option("-j,--jobs", o.jobs,
                       "convert N files at once, and a large text in N parts cut at line ends (default: "
                       "one per core); the output is the same for every N")
        ->type_name("N")
        ->check(CLI::Range(1u, kMaxJobs));
    CLI::Option *progress = command.add_flag(
        "--progress", o.progress, "show progress on stderr even when it is not a terminal (a line every 5 s)");
    command.add_flag("--no-progress", o.noProgress, "never show progress")->excludes(progress);
}

bool splitsAtLines(const CLI::App &command) {
    const std::string name = command.get_name();
    const auto given = [&command](const char *option) {
        const CLI::Option *opt = command.get_option_no_throw(option);
        return opt && opt->count() > 0;
    };
    if (given("--lines"))
        return true;
    if (isOneOf(name, {"traditional", "simplified", "upper", "lower"}))
        return true;
    if (name == "pinyin")
        return given("--tone") || given("--separator") || given("--initials");
    if (name == "convert") {
        const CLI::Option *config = command.get_option_no_throw("--config");
        if (!config || config->count() == 0)
            return false;
        auto load = platform::loadPhraseConverter(config->as<std::string>());
        return load.converter && load.converter->linesConvertAlone();
    }
    return false;
}

bool isDocumentHead(std::string_view head) {
    return platform::isDocument(head);
}

bool convertsDocuments(const CLI::App &command) {
    // The commands whose transform converts a document file whole (cli/documents.h).
    return isOneOf(command.get_name(), {"convert", "traditional", "simplified", "upper", "lower"});
}

FileKind classifyFile(std::string_view name, std::string_view head, bool whole) {
    const std::string ext = extensionOf(name);
    // Office and OpenDocument packages, EPUB: their text is converted inside the package.
    if (isOneOf(ext, {"docx", "docm", "dotx", "xlsx", "xlsm", "pptx", "odt", "ods", "odp", "epub"}))
        return FileKind::Document;
    if (isOneOf(ext, {"txt", "text", "md", "markdown", "rst", "org", "tex", "csv", "tsv", "srt", "ass", "ssa",
                      "vtt", "lrc", "sub", "htm", "html", "xhtml", "xml", "json", "yaml", "yml", "toml", "ini",
                      "conf", "cfg", "log", "properties", "po"}))
        return FileKind::Text;
    if (head.empty() || head.find('\0') != std::string_view::npos)
        return FileKind::Other;
    const core::Utf8DecodeResult valid = core::validUtf8Prefix(head, whole);
    // Not final: a sequence cut by the end of the head is not a fault.
    return valid.ok && (whole ? valid.consumed == head.size() : head.size() - valid.consumed < 4) ? FileKind::Text
                                                                                                  : FileKind::Other;
}

std::optional<std::string> convertName(const Transform &transform, const std::string &name) {
    // Named "-", so that no way looks for a file of that name.
    Input in("-", name);
    std::string converted;
    Writer out(converted);
    if (transform(in, out).code != kExitOk || !out.flush())
        return std::nullopt;
    if (!converted.empty() && converted.back() == '\n')
        converted.pop_back();
    if (converted.empty() || converted == "." || converted == ".." ||
        converted.find_first_of(std::string_view("/\0", 2)) != std::string::npos)
        return std::nullopt;
    return converted;
}

namespace {

enum class Outcome { Converted, Copied, Skipped, Refused, Failed };

struct FileResult {
    Outcome outcome = Outcome::Converted;
    std::string message; // why it was refused or failed
};

// One entry of the mirror: what to make at `dst` from `src`.
struct Entry {
    enum class Type { Folder, File, Link };
    Type type = Type::File;
    std::string src, dst;
    struct stat st {};
};

// The work of one run: the entries in the order they are made, and those refused while planning.
class Batch {
public:
    Batch(const BatchOptions &options, const CLI::App &command, std::shared_ptr<JobTransforms> jobs,
          Progress &progress)
        : m_options(options), m_jobs(std::move(jobs)), m_progress(progress),
          m_split(m_jobs->count() > 1 && splitsAtLines(command)), m_documents(convertsDocuments(command)) {
        if (m_split)
            m_splitter = splitAtLines(m_jobs, std::size_t(4) << 20, [](std::string_view head) { return !isDocumentHead(head); });
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

    // Plans `files` under the output folder.
    void plan(const std::vector<std::string> &files) {
        std::vector<std::pair<std::string, std::string>> named; // source, target name
        for (const std::string &file : files)
            named.emplace_back(file, baseName(file));
        placeAll(named, m_options.outputDir, true);
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
        for (const Entry &e : m_entries) {
            if (e.type == Entry::Type::Folder)
                makeFolder(e);
            else if (e.type == Entry::Type::File && m_split && e.st.st_size >= static_cast<off_t>(kSplitSize))
                large.push_back(&e);
            else
                work.push_back(&e);
        }
        // A large file takes every job in turn, the others one job each.
        for (const Entry *e : large)
            finish(*e, convertFile(*e, m_splitter));
        std::atomic<std::size_t> next{0};
        auto worker = [&](Transform &transform) {
            for (std::size_t i; (i = next.fetch_add(1)) < work.size();) {
                const Entry &e = *work[i];
                finish(e, e.type == Entry::Type::Link ? makeLink(e) : convertFile(e, transform));
            }
        };
        m_jobs->ensure(static_cast<unsigned>(std::min<std::size_t>(m_jobs->count(), work.size())));
        std::vector<std::thread> threads;
        for (std::size_t j = 1; j < m_jobs->size(); ++j)
            threads.emplace_back(worker, std::ref((*m_jobs)[j]));
        worker((*m_jobs)[0]);
        for (auto &t : threads)
            t.join();
        for (auto e = m_entries.rbegin(); e != m_entries.rend(); ++e)
            if (e->type == Entry::Type::Folder)
                ::chmod(e->dst.c_str(), e->st.st_mode & 07777);
        m_progress.stop();
    }

    // The summary line and the exit status.
    int summary(double seconds) {
        const int exit = m_count[int(Outcome::Failed)] ? kExitIo : m_count[int(Outcome::Refused)] ? kExitNoResult : kExitOk;
        std::string line = "lanternfin-cli: " + std::to_string(m_count[int(Outcome::Converted)]) + " converted, " +
                           std::to_string(m_count[int(Outcome::Copied)]) + " copied, ";
        if (m_count[int(Outcome::Skipped)])
            line += std::to_string(m_count[int(Outcome::Skipped)]) + " skipped (up to date), ";
        line += std::to_string(m_count[int(Outcome::Refused)]) + " refused";
        if (m_count[int(Outcome::Failed)])
            line += ", " + std::to_string(m_count[int(Outcome::Failed)]) + " not read or written";
        line += " in " + clockText(seconds);
        if (exit == kExitIo)
            line += "; exit 4: some files could not be read or written";
        else if (exit == kExitNoResult)
            line += "; exit 1: some content was refused";
        m_progress.say(line + "\n");
        return exit;
    }

private:
    // Places the sources `named` (path, name) in `folder`: their target names, collisions refused,
    // folders walked when asked to.
    void placeAll(const std::vector<std::pair<std::string, std::string>> &named, const std::string &folder,
                  bool arguments) {
        std::map<std::string, std::vector<std::size_t>> byTarget;
        std::vector<std::optional<std::string>> targets;
        for (std::size_t i = 0; i < named.size(); ++i) {
            std::optional<std::string> target = named[i].second;
            const bool dots = named[i].second == "." || named[i].second == ".." || named[i].second == "/";
            if (m_options.names && !dots) {
                target = convertName((*m_jobs)[0], named[i].second);
                if (!target) {
                    refuse(named[i].first, platform::say(core::MessageId::NameNotConverted));
                }
            }
            targets.push_back(target);
            if (target)
                byTarget[*target].push_back(i);
        }
        for (const auto &[target, sources] : byTarget) {
            if (sources.size() > 1) {
                for (std::size_t i : sources) {
                    std::string others;
                    for (std::size_t j : sources)
                        if (j != i)
                            others += (others.empty() ? "" : ", ") + named[j].first;
                    refuse(named[i].first,
                           platform::say(core::MessageId::NamesCollide, {joinPath(folder, target), others}));
                }
                continue;
            }
            place(named[sources[0]].first, joinPath(folder, target), arguments);
        }
    }

    void place(const std::string &src, const std::string &dst, bool argument) {
        Entry e;
        e.src = src;
        e.dst = dst;
        // A link named on the command line is followed; one found inside a folder is copied as a link.
        if ((argument ? ::stat(src.c_str(), &e.st) : ::lstat(src.c_str(), &e.st)) != 0) {
            fail(src, platform::say(core::MessageId::CannotOpen, {errorText(errno)}));
            return;
        }
        if (S_ISLNK(e.st.st_mode)) {
            e.type = Entry::Type::Link;
            m_entries.push_back(e);
        } else if (S_ISREG(e.st.st_mode)) {
            m_entries.push_back(e);
        } else if (S_ISDIR(e.st.st_mode)) {
            if (e.st.st_dev == m_outputDev && e.st.st_ino == m_outputIno)
                return; // the output folder inside a source: never a source of itself
            e.type = Entry::Type::Folder;
            m_entries.push_back(e);
            walk(src, dst);
        } else {
            refuse(src, platform::say(core::MessageId::NotFileFolderOrLink));
        }
    }

    void walk(const std::string &src, const std::string &dst) {
        DIR *dir = ::opendir(src.c_str());
        if (!dir) {
            fail(src, platform::say(core::MessageId::CannotOpenFolder, {errorText(errno)}));
            return;
        }
        std::vector<std::string> names;
        while (const dirent *d = ::readdir(dir)) {
            const std::string name = d->d_name;
            if (name != "." && name != "..")
                names.push_back(name);
        }
        ::closedir(dir);
        std::sort(names.begin(), names.end());
        std::vector<std::pair<std::string, std::string>> named;
        for (const auto &name : names)
            named.emplace_back(joinPath(src, name), name);
        placeAll(named, dst, false);
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
    void makeFolder(const Entry &e) {
        struct stat st {};
        if (::mkdir(e.dst.c_str(), (e.st.st_mode & 0777) | S_IRWXU) != 0) {
            if (errno != EEXIST || ::stat(e.dst.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
                fail(e.dst, platform::say(core::MessageId::CannotCreateFolder, {errorText(errno == EEXIST ? EEXIST : errno)}));
                return;
            }
            ::chmod(e.dst.c_str(), st.st_mode | S_IRWXU);
        }
    }

    FileResult makeLink(const Entry &e) {
        std::string target(static_cast<std::size_t>(e.st.st_size > 0 ? e.st.st_size : 4096) + 1, '\0');
        const ssize_t n = ::readlink(e.src.c_str(), target.data(), target.size());
        if (n < 0)
            return {Outcome::Failed, platform::say(core::MessageId::CannotReadLink, {errorText(errno)})};
        target.resize(static_cast<std::size_t>(n));
        struct stat st {};
        if (::lstat(e.dst.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
            ::unlink(e.dst.c_str());
        if (::symlink(target.c_str(), e.dst.c_str()) != 0)
            return {Outcome::Failed, platform::say(core::MessageId::CannotCreateLink, {e.dst, errorText(errno)})};
        return {Outcome::Copied, {}};
    }

    // The one step for every file: skipped, converted by its kind, or copied.
    FileResult convertFile(const Entry &e, const Transform &transform) {
        struct stat out {};
        if (m_options.skipExisting && ::stat(e.dst.c_str(), &out) == 0 && S_ISREG(out.st_mode) && newer(out, e.st)) {
            m_progress.bytes().fetch_add(static_cast<std::uint64_t>(e.st.st_size));
            return {Outcome::Skipped, {}};
        }
        Input in(e.src);
        if (!in.isOpen())
            return {Outcome::Failed, platform::say(core::MessageId::CannotOpen, {errorText(in.error())})};
        std::string head(kHeadSize, '\0');
        head.resize(readHead(e.src, head));
        const FileKind kind =
            classifyFile(baseName(e.src), head, static_cast<std::uint64_t>(e.st.st_size) <= head.size());
        switch (kind) {
        case FileKind::Text:
            return write(e, in, transform, Outcome::Converted);
        case FileKind::Document: // the way's transform converts a document whole, by its content
            // A damaged or unsupported document is refused with the engine's reason, as content.
            if (m_documents)
                return write(e, in, transform, Outcome::Converted, true);
            break;
        case FileKind::Other:
            break;
        }
        return write(e, in, copyTransform(), Outcome::Copied);
    }

    static std::size_t readHead(const std::string &path, std::string &head) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return 0;
        std::size_t got = 0;
        while (got < head.size()) {
            const ssize_t n = ::pread(fd, head.data() + got, head.size() - got, static_cast<off_t>(got));
            if (n <= 0)
                break;
            got += static_cast<std::size_t>(n);
        }
        ::close(fd);
        return got;
    }

    static const Transform &copyTransform() {
        static const Transform copy = [](Input &in, Writer &out) -> Status {
            std::vector<char> buf(1 << 20);
            for (;;) {
                const long got = in.read(buf.data(), buf.size());
                if (got < 0)
                    return readFailure(in);
                if (got == 0)
                    return {};
                out.write(std::string_view(buf.data(), static_cast<std::size_t>(got)));
            }
        };
        return copy;
    }

    // Writes the output of `transform` on `in` to the entry's target, atomically, with its mode.
    FileResult write(const Entry &e, Input &in, const Transform &transform, Outcome done, bool document = false) {
        AtomicFile file(e.dst);
        if (file.fd() < 0)
            return {Outcome::Failed, file.message()};
        in.countInto(&m_progress.bytes());
        Writer out(file.fd());
        const Status status = transform(in, out);
        if (status.code != kExitOk) {
            file.discard();
            return {status.code == kExitIo && !document ? Outcome::Failed : Outcome::Refused, status.message};
        }
        if (!out.flush()) {
            file.discard();
            return {Outcome::Failed, platform::say(core::MessageId::CannotWrite, {errorText(out.error())})};
        }
        if (!file.direct())
            ::fchmod(file.fd(), e.st.st_mode & 0777);
        if (!file.commit())
            return {Outcome::Failed, file.message()};
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
    // "lanternfin-cli: NAME: why", for each line of `why`.
    void report(const std::string &name, const std::string &why) {
        std::string text;
        std::istringstream lines(why);
        for (std::string line; std::getline(lines, line);)
            text += "lanternfin-cli: " + name + ": " + line + "\n";
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
    std::mutex m_countMutex;
    std::size_t m_count[5] = {};
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

int runFiles(const Transform &first, const TransformFactory &make, const CLI::App &command,
             const std::vector<std::string> &files, const Destination &to, const BatchOptions &options, int outFd,
             std::ostream &err) {
    const bool batch = !options.outputDir.empty();
    if (batch && (files.empty() || std::find(files.begin(), files.end(), "-") != files.end())) {
        err << "lanternfin-cli: -O needs the files or folders to convert (not standard input)\n";
        return kExitUsage;
    }
    const bool split = !batch && jobCount(options) > 1 && splitsAtLines(command);
    auto jobs = std::make_shared<JobTransforms>(std::vector<Transform>{first}, make, jobCount(options));
    err.flush();
    Progress progress(Progress::modeFor(STDERR_FILENO, options.progress, options.noProgress), STDERR_FILENO, err);

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
        if ((file == "-" ? ::fstat(STDIN_FILENO, &st) : ::stat(file.c_str(), &st)) == 0 && S_ISREG(st.st_mode))
            total += static_cast<std::uint64_t>(st.st_size);
    }
    progress.setTotals(files.size() > 1 ? files.size() : 0, total);
    const Transform inner =
        split ? splitAtLines(jobs, std::size_t(4) << 20, [](std::string_view head) { return !isDocumentHead(head); })
              : first;
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
