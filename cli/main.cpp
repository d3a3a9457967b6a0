// lanternfin-cli: the conversions of the Lanternfin window for scripts; `lanternfin-cli --help`
// lists the commands. The commands live in commands.cpp, the I/O in io.cpp and run.cpp.

#include "cli/commands.h"
#include "platform/atomic_file.h"

#include <iostream>
#include <unistd.h>

int main(int argc, char **argv) {
    // An interrupted -o or --in-place leaves no temporary file behind.
    platform::removeTemporaryFilesOnSignals();
    cli::CommandLine commandLine("lanternfin-cli " LANTERNFIN_VERSION);
    cli::CommandOptions options;
    cli::addCommands(commandLine, options);
    return commandLine.run(argc, argv, std::cout, std::cerr, STDOUT_FILENO);
}
