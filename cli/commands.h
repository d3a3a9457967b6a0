#pragma once
// The commands of lanternfin-cli, each a transform registered on the command line.

#include "cli/command_line.h"
#include "cli/documents.h"

#include <string>
#include <vector>

namespace cli {

// The options the commands share; only one command runs, so one set serves them all.
struct CommandOptions {
    bool lines = false;
    std::vector<std::string> values;
    // pinyin's reading options; none given: the window's capitalised pinyin.
    std::string tone = "marks";
    std::string separator = " ";
    bool initials = false;
    std::string config; // convert -c
    // money's ways beside the capitals
    bool decode = false;
    std::string verify;
    std::string style = "design";
    std::string yuan = "元";
    // numerals
    bool capitals = false;
    // documents (traditional, simplified, convert)
    DocumentOptions documents;
};

// Registers every command on `commandLine`; `options` must outlive its run().
void addCommands(CommandLine &commandLine, CommandOptions &options);

} // namespace cli
