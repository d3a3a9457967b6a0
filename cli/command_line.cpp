#include "cli/command_line.h"

#include "cli/batch.h"
#include "cli/run.h"
#include "cli/usage_errors.h"

#include <algorithm>
#include <string_view>

namespace cli {

namespace {

constexpr const char *kDescription =
    "lanternfin-cli: the conversions of the Lanternfin window for scripts. Text is UTF-8, UTF-16,\n"
    "GB18030 or Big5.";

constexpr const char *kExitStatus =
    "Exit status: 0 success, 1 no result or refused content, 2 usage error, invalid UTF-8 or missing\n"
    "data file, 3 amount too large or a document part past the limits, 4 a file could not be read\n"
    "(or is invalid in its named encoding), written or replaced, or a document that is damaged or\n"
    "not supported (.doc, .xls, .ppt, encrypted).";

constexpr const char *kFooter =
    "Each COMMAND --help lists its options.\n"
    "\n"
    "Files: the text commands convert each FILE in turn (none, or -, is standard input). A file that\n"
    "fails is reported with its name and the next one is still converted; with --in-place a failing\n"
    "file is left exactly as it was. With -o FILE the first failure ends the run and FILE is not\n"
    "written. The exit status is then that of the first failure.\n"
    "\n"
    "Encodings: a byte order mark decides, else valid UTF-8 is UTF-8, else GB18030 or Big5 by which\n"
    "reads as Chinese (too short or too close to tell: refused, name it with --from-encoding). The\n"
    "result goes back in the input's encoding, or in --to-encoding's; a character without a code\n"
    "there is refused with its line and nothing is written. Subtitle files (.srt, .vtt, .ass, told\n"
    "by their content) are converted in their cue text only.\n"
    "\n"
    "Folders: -O DST writes each FILE into the folder DST (-r: folders with all they hold), text\n"
    "converted and other files copied, with --jobs N at once; see man lanternfin-cli.";

} // namespace

struct CommandLine::Command {
    CLI::App *app = nullptr;
    TransformFactory make;
    std::string synopsis;                       // the usage line's arguments
    std::string valuesHelp;                     // a value command's values, for its help
    std::vector<std::string> *values = nullptr; // a value command's arguments
    std::vector<std::string> files;
    std::string output;
    bool inPlace = false;
    bool textCommand = false;
    BatchOptions batch; // a text command's -O, -r, --jobs, progress...
};

CommandLine::CommandLine(std::string version)
    : m_app(kDescription, "lanternfin-cli"), m_version(std::move(version)) {
    m_app.require_subcommand(1);
    m_app.set_version_flag("--version", m_version);
    m_app.footer(std::string(kFooter) + "\n\n" + kExitStatus);
    m_app.get_formatter()->column_width(26);
}

CommandLine::~CommandLine() = default;

CLI::App &CommandLine::addTextCommand(const std::string &name, const std::string &help,
                                      TransformFactory make) {
    Command &command = add(name, help, std::move(make));
    command.synopsis = "[OPTIONS] [FILE...]";
    CLI::App &app = *command.app;
    app.add_option("FILE", command.files, "input files, converted in turn (none or -: standard input)")
        ->type_name("");
    app.add_flag("-i,--in-place", command.inPlace,
                 "replace each FILE by its output, atomically; a file that fails is left as it was and "
                 "the next one is still converted")
        ->excludes("--output");
    command.textCommand = true;
    addBatchOptions(app, command.batch);
    return app;
}

CLI::App &CommandLine::addValueCommand(const std::string &name, const std::string &synopsis,
                                       const std::string &help, const std::string &valuesHelp,
                                       std::vector<std::string> &values, TransformFactory make) {
    Command &command = add(name, name + " " + synopsis + ": " + help, std::move(make));
    command.synopsis = "[OPTIONS] " + synopsis;
    command.valuesHelp = valuesHelp;
    command.values = &values;
    // The values are what CLI11 does not recognise, in their order, so that "-.5" is a value
    // and not an option; unknown "--" options are refused in run().
    command.app->allow_extras();
    // It takes no files: its help says nothing of them.
    command.app->footer(kExitStatus);
    return *command.app;
}

CommandLine::Command &CommandLine::add(const std::string &name, const std::string &help,
                                       TransformFactory make) {
    auto command = std::make_unique<Command>();
    command->make = std::move(make);
    command->app = m_app.add_subcommand(name, help);
    command->app->get_formatter()->column_width(26);
    command->app
        ->add_option("-o,--output", command->output,
                     "write the output to FILE instead, replacing it atomically once everything succeeded")
        ->type_name("FILE");
    m_commands.push_back(std::move(command));
    return *m_commands.back();
}

CommandLine::Command *CommandLine::parsedCommand() const {
    for (const auto &command : m_commands)
        if (command->app->parsed())
            return command.get();
    return nullptr;
}

int CommandLine::usageError(const std::string &what, std::ostream &err) const {
    const Command *chosen = parsedCommand();
    const std::string name = chosen ? "lanternfin-cli " + chosen->app->get_name() : "lanternfin-cli";
    const std::string synopsis = chosen ? chosen->synopsis : "COMMAND [OPTIONS] [ARGS]";
    err << "lanternfin-cli: " << what << '\n' << platform::say(core::MessageId::UsageLine, {name, synopsis}) << '\n';
    return kExitUsage;
}

std::string CommandLine::helpText() const {
    std::string help = m_app.help();
    // CLI11 knows a value command's values only as extras: its usage line is given them here.
    const Command *chosen = parsedCommand();
    if (!chosen || !chosen->values)
        return help;
    const std::string usage = "Usage: lanternfin-cli " + chosen->app->get_name() + " [OPTIONS]\n";
    const std::size_t at = help.find(usage);
    if (at != std::string::npos)
        help.replace(at, usage.size(),
                     "Usage: lanternfin-cli " + chosen->app->get_name() + " " + chosen->synopsis + "\n\n" +
                         chosen->valuesHelp);
    return help;
}

int CommandLine::run(int argc, const char *const *argv, std::ostream &out, std::ostream &err, int outFd) {
    // "--" ends a value command's options: every word after it is a value, even one that starts
    // with "-" or "--" (round 2 -- -2.5). CLI11 would hand such words back to the top level.
    std::vector<const char *> words(argv, argv + argc);
    std::vector<std::string> afterMark;
    if (argc > 2) {
        for (const auto &command : m_commands) {
            if (!command->values || command->app->get_name() != argv[1])
                continue;
            const auto mark = std::find(words.begin() + 2, words.end(), std::string_view("--"));
            if (mark != words.end()) {
                afterMark.assign(mark + 1, words.end());
                words.erase(mark, words.end());
            }
        }
    }
    Command *chosen = nullptr;
    Transform transform;
    try {
        try {
            m_app.parse(static_cast<int>(words.size()), words.data());
        } catch (const CLI::RequiredError &) {
            // The one required thing at the top is the command: name what was given instead.
            if (!m_app.get_subcommands().empty())
                throw;
            if (argc > 1 && argv[1][0] != '-')
                return usageError(platform::say(core::MessageId::UnknownCommand, {argv[1]}), err);
            return usageError(platform::say(core::MessageId::NoCommandGiven), err);
        }
        chosen = parsedCommand();
        if (chosen->values) {
            *chosen->values = chosen->app->remaining();
            for (const auto &value : *chosen->values)
                if (value.rfind("--", 0) == 0)
                    throw CLI::ExtrasError({value});
            chosen->values->insert(chosen->values->end(), afterMark.begin(), afterMark.end());
        }
        if (chosen->inPlace) {
            if (chosen->files.empty())
                throw CLI::ValidationError("--in-place", platform::say(core::MessageId::InPlaceNeedsFiles));
            for (const auto &file : chosen->files)
                if (file == "-")
                    throw CLI::ValidationError("--in-place", platform::say(core::MessageId::InPlaceNotStandardInput));
        }
        transform = chosen->make();
    } catch (const CLI::CallForHelp &) {
        out << helpText();
        return kExitOk;
    } catch (const CLI::CallForAllHelp &) {
        out << m_app.help("", CLI::AppFormatMode::All);
        return kExitOk;
    } catch (const CLI::CallForVersion &) {
        out << m_version << '\n';
        return kExitOk;
    } catch (const CLI::ParseError &e) {
        return usageError(platform::say(usageErrorMessage(e)), err);
    } catch (const SetupFailure &failure) {
        err << "lanternfin-cli: " << failure.status.message << '\n';
        return failure.status.code;
    }

    Destination to;
    if (chosen->inPlace) {
        to.kind = Destination::Kind::InPlace;
    } else if (!chosen->output.empty() && chosen->output != "-") {
        to.kind = Destination::Kind::File;
        to.path = chosen->output;
    }
    if (chosen->textCommand)
        return runFiles(transform, chosen->make, *chosen->app, chosen->files, to, chosen->batch, outFd, err);
    return runTransform(transform, chosen->files, to, outFd, err);
}

} // namespace cli
