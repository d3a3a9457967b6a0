// lanternfin-cli: the conversions of the Lanternfin window for scripts; `lanternfin-cli --help`
// lists the commands. The commands live in commands.cpp, the I/O in io.cpp and run.cpp.

#include "cli/commands.h"
#include "platform/atomic_file.h"

#include <iostream>
#include <malloc.h>
#include <unistd.h>

int main(int argc, char **argv) {
    // An interrupted -o or --in-place leaves no temporary file behind.
    platform::removeTemporaryFilesOnSignals();
    // A file cut into pieces across the jobs allocates and frees buffers of a few megabytes for
    // every piece. Kept in the heap rather than mapped afresh each time, they are not faulted in
    // again page by page (a third of the CPU time of a split run went there).
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 128 << 20);
    cli::CommandLine commandLine("lanternfin-cli " LANTERNFIN_VERSION);
    cli::CommandOptions options;
    cli::addCommands(commandLine, options);
    return commandLine.run(argc, argv, std::cout, std::cerr, STDOUT_FILENO);
}
