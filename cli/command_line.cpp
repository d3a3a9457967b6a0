#include "cli/command_line.h"

#include "cli/batch.h"
#include "cli/run.h"
#include "cli/usage_errors.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <string_view>

namespace cli {

namespace {

using core::MessageId;
using platform::say;

// CLI11's layout in the locale's language: its labels, the groups of options and commands, and
// the help flag's description. Set on `app` before its options are added, which take the group
// from it; the help flag is made again for its description.
void speakLanguage(CLI::App &app) {
    const auto formatter = app.get_formatter();
    formatter->column_width(26);
    formatter->label("Usage", say(MessageId::HelpLabelUsage));
    formatter->label("Positionals", say(MessageId::HelpLabelPositionals));
    formatter->label("REQUIRED", say(MessageId::HelpLabelRequired));
    formatter->label("Needs", say(MessageId::HelpLabelNeeds));
    formatter->label("Excludes", say(MessageId::HelpLabelExcludes));
    app.option_defaults()->group(say(MessageId::HelpLabelOptions));
    app.set_help_flag();
    app.set_help_flag("-h,--help", say(MessageId::HelpHelpFlag));
}

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
    : m_app(std::make_unique<CLI::App>(say(MessageId::HelpProgram), "lanternfin-cli")),
      m_version(std::move(version)) {
    speakLanguage(*m_app);
    m_app->require_subcommand(1);
    m_app->set_version_flag("--version", m_version, say(MessageId::HelpVersionFlag));
    m_app->footer(say(MessageId::HelpFooter) + "\n\n" + say(MessageId::HelpExitStatus));
}

CommandLine::~CommandLine() = default;

CLI::App &CommandLine::addTextCommand(const std::string &name, const std::string &help,
                                      TransformFactory make) {
    Command &command = add(name, help, std::move(make));
    command.synopsis = "[OPTIONS] [FILE...]";
    CLI::App &app = *command.app;
    app.add_option("FILE", command.files, say(MessageId::HelpFiles))->type_name("");
    app.add_flag("-i,--in-place", command.inPlace, say(MessageId::HelpInPlace))->excludes("--output");
    command.textCommand = true;
    addBatchOptions(app, command.batch);
    return app;
}

CLI::App &CommandLine::addValueCommand(const std::string &name, const std::string &synopsis,
                                       const std::string &help, const std::string &valuesHelp,
                                       std::vector<std::string> &values, TransformFactory make) {
    Command &command = add(name, say(MessageId::HelpValueCommand, {name, synopsis, help}), std::move(make));
    command.synopsis = "[OPTIONS] " + synopsis;
    command.valuesHelp = valuesHelp;
    command.values = &values;
    // The values are what CLI11 does not recognise, in their order, so that "-.5" is a value
    // and not an option; unknown "--" options are refused in run().
    command.app->allow_extras();
    // It takes no files: its help says nothing of them.
    command.app->footer(say(MessageId::HelpExitStatus));
    return *command.app;
}

CommandLine::Command &CommandLine::add(const std::string &name, const std::string &help,
                                       TransformFactory make) {
    auto command = std::make_unique<Command>();
    command->make = std::move(make);
    command->app = m_app->add_subcommand(name, help);
    command->app->group(say(MessageId::HelpLabelSubcommands));
    speakLanguage(*command->app);
    command->app->add_option("-o,--output", command->output, say(MessageId::HelpOutput))->type_name("FILE");
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
    err << "lanternfin-cli: " << what << '\n'
        << platform::say(core::MessageId::UsageLine, {name, synopsis}) << '\n';
    return kExitUsage;
}

std::string CommandLine::helpText() const {
    std::string help = m_app->help();
    // CLI11 knows a value command's values only as extras: its usage line is given them here.
    const Command *chosen = parsedCommand();
    if (!chosen || !chosen->values)
        return help;
    const std::string label = say(MessageId::HelpLabelUsage) + ": lanternfin-cli " + chosen->app->get_name();
    const std::string usage = label + " [OPTIONS]\n";
    const std::size_t at = help.find(usage);
    if (at != std::string::npos)
        help.replace(at, usage.size(), label + " " + chosen->synopsis + "\n\n" + chosen->valuesHelp);
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
            m_app->parse(static_cast<int>(words.size()), words.data());
        } catch (const CLI::RequiredError &) {
            // The one required thing at the top is the command: name what was given instead.
            if (!m_app->get_subcommands().empty())
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
                    throw CLI::ValidationError("--in-place",
                                               platform::say(core::MessageId::InPlaceNotStandardInput));
        }
        transform = refusingExhaustion(chosen->make());
    } catch (const CLI::CallForHelp &) {
        out << helpText();
        return kExitOk;
    } catch (const CLI::CallForAllHelp &) {
        out << m_app->help("", CLI::AppFormatMode::All);
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
        return runFiles(
            transform, [make = chosen->make] { return refusingExhaustion(make()); }, *chosen->app,
            chosen->files, to, chosen->batch, outFd, err);
    return runTransform(transform, chosen->files, to, outFd, err);
}

} // namespace cli
