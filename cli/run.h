#pragma once
// Runs one transform over the inputs of a command line and sends the output where it was asked.

#include "cli/transform.h"

#include <ostream>
#include <string>
#include <vector>

namespace cli {

struct Destination {
    enum class Kind {
        Stdout,  // every input in turn to the output descriptor
        File,    // every input in turn to `path`, replaced atomically once all have succeeded
        InPlace, // each input replaced by its own output, atomically, when its conversion succeeded
    };
    Kind kind = Kind::Stdout;
    std::string path;
};

// Converts each of `inputs` ("-" is standard input) in turn. A failing input is reported on
// `diagnostics` with its name and the run goes on with the next (to stdout and in place: the
// file is then left as it was); with Kind::File the first failure ends the run and nothing is
// written. Returns 0, or the exit status of the first failure.
int runTransform(const Transform &transform, const std::vector<std::string> &inputs, const Destination &to,
                 int outFd, std::ostream &diagnostics);

} // namespace cli
