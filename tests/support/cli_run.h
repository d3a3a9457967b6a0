#pragma once

// lanternfin-cli run through the shell in a folder of its own, for the suites that drive the
// program as a user would. LANTERNFIN_CLI is the program's path, set by the build.

#include "temp_files.h"

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace testsupport {

struct CliRun {
    std::string out;
    std::string err;
    int status = -1; // the exit status; -1 when the program was killed
};

// Runs `shell` in `folder` with the program as $CLI and `input` on stdin.
inline CliRun runCli(const TempDir &folder, const std::string &shell, const std::string &input = "") {
    writeFile(folder / ".stdin", input);
    const std::string cmd =
        "cd '" + folder.str() + "' && CLI='" LANTERNFIN_CLI "' && { " + shell + "; } <.stdin 2>.stderr";
    CliRun run;
    FILE *p = popen(cmd.c_str(), "r");
    char buf[4096];
    std::size_t got;
    while ((got = fread(buf, 1, sizeof buf, p)) > 0)
        run.out.append(buf, got);
    const int status = pclose(p);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = readFile(folder / ".stderr");
    std::filesystem::remove(folder / ".stdin");
    std::filesystem::remove(folder / ".stderr");
    return run;
}

} // namespace testsupport
