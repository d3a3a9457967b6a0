#pragma once
// The command line of lanternfin-cli on CLI11: each command is registered with the transform it
// builds, and the runner gives it files, standard input, -o FILE and --in-place. Adding a command
// is one call here plus its own options on the CLI::App it returns.

#include "cli/transform.h"

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

// CLI11 is all headers and compiles its parser and its stock validators into every file that
// includes it (seconds each, more under the sanitizers): only the files that declare or parse
// options include it.
namespace CLI {
class App;
} // namespace CLI

namespace cli {

// Builds a command's transform once its options are parsed. Throws CLI::ValidationError for
// arguments that do not fit (a usage error) and SetupFailure when the command cannot run.
using TransformFactory = std::function<Transform()>;

class CommandLine {
public:
    explicit CommandLine(std::string version);
    ~CommandLine();

    // A command that converts text: FILE... each in turn (none or "-": standard input) to
    // standard output, to -o FILE, or --in-place.
    CLI::App &addTextCommand(const std::string &name, const std::string &help, TransformFactory make);
    // A command that takes values as arguments, in `values`, and reads standard input, if at all;
    // its output goes to standard output or -o FILE. A value may start with "-" (-5, -.5, -&H10:
    // the calculator reads them all); one that starts with "--" and is not an option is a usage
    // error. `synopsis` names the values in the usage line ("A B C"); `valuesHelp` says what each
    // one is, under the usage line of the command's help.
    CLI::App &addValueCommand(const std::string &name, const std::string &synopsis, const std::string &help,
                              const std::string &valuesHelp, std::vector<std::string> &values,
                              TransformFactory make);

    // Parses and runs; help and --version go to `out`, messages to `err`, the converted text to
    // `outFd`. Returns the exit status.
    int run(int argc, const char *const *argv, std::ostream &out, std::ostream &err, int outFd);

private:
    struct Command;
    Command &add(const std::string &name, const std::string &help, TransformFactory make);
    Command *parsedCommand() const;
    int usageError(const std::string &what, std::ostream &err) const;
    std::string helpText() const;

    std::unique_ptr<CLI::App> m_app;
    std::string m_version;
    std::vector<std::unique_ptr<Command>> m_commands;
};

} // namespace cli
