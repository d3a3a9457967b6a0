// lanternfin-cli's split of one text across jobs: for any bytes, any piece size and any number of
// jobs, the pieces' outputs in order, and their refusals renumbered, are those of the whole text
// through one job; a cut is always just after a line break.

#include "cli/split.h"
#include "fuzz_support.h"

#include <algorithm>

namespace {

// A line-local way: each line upper-cased in ASCII; a line holding '!' refused, as --lines does.
cli::Status upperLines(cli::Input &in, cli::Writer &out) {
    std::string text;
    in.readAll(text);
    std::string refusals;
    std::size_t number = 0;
    for (std::size_t start = 0; start < text.size();) {
        ++number;
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (line.find('!') != std::string::npos) {
            refusals += (refusals.empty() ? "" : "\n") + ("line " + std::to_string(number) + ": refused");
            line.clear();
        }
        std::transform(line.begin(), line.end(), line.begin(), [](char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; });
        out.write(line + "\n");
    }
    return refusals.empty() ? cli::Status{} : cli::Status{cli::kExitNoResult, refusals};
}

std::string run(const cli::Transform &t, std::string_view text, cli::Status &status) {
    cli::Input in("-", text);
    std::string out;
    cli::Writer w(out);
    status = t(in, w);
    w.flush();
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 2 || size > 2048)
        return 0;
    const std::size_t piece = 32 + data[0];
    const std::size_t jobs = 1 + data[1] % 3;
    const std::string text(reinterpret_cast<const char *>(data) + 2, size - 2);

    const std::size_t cut = cli::lastSafeLineCut(text);
    fuzz::check(cut == 0 || (cut <= text.size() && text[cut - 1] == '\n'), "a cut follows a line break");

    cli::Status whole, split;
    const std::string expected = run(upperLines, text, whole);
    const std::string got = run(cli::splitAtLines(std::vector<cli::Transform>(jobs, upperLines), piece), text, split);
    fuzz::check(got == expected, "the pieces' output is the whole output");
    fuzz::check(split.code == whole.code && split.message == whole.message, "the same refusals, the same numbers");
    return 0;
}
