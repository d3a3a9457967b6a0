#pragma once
// The commands of lanternfin-cli, each a transform registered on the command line.

#include "cli/command_line.h"
#include "cli/documents.h"
#include "cli/encodings.h"
#include "platform/phrase_config.h"

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
    std::string config;       // convert -c
    bool byCharacter = false; // traditional and simplified: the character tables instead of phrases
    // money's ways beside the capitals
    bool decode = false;
    std::string verify;
    std::string style = "design";
    std::string yuan = "元";
    // numerals
    bool capitals = false;
    // documents (traditional, simplified, convert)
    DocumentOptions documents;
    // every text command
    EncodingOptions encoding;
};

// Configuration `name` loaded as platform::loadPhraseConverter loads it, once per run: the jobs of a
// folder, and the question whether its lines convert alone, share the one converter (read-only, so
// threads may share it), where each had loaded and checked the image again. Thread-safe.
platform::PhraseLoad loadPhraseConverterOnce(const std::string &name);

// Registers every command on `commandLine`; `options` must outlive its run().
void addCommands(CommandLine &commandLine, CommandOptions &options);

} // namespace cli
