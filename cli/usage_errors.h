#pragma once
// CLI11's usage errors worded through the message catalogue, so that lanternfin-cli speaks the
// locale's language in them too. CLI11 words its errors in English when it throws them; they are
// told apart by the error's kind and its fixed words, and their names and values kept as given.

#include "core/messages.h"

#include <string_view>

namespace CLI {
class ParseError;
} // namespace CLI

namespace cli {

// The message for a CLI11 error of kind `kind` ("ExtrasError", "ArgumentMismatch", ... as the
// classes are named) whose text is `what`. A text of no known form (one of our own
// ValidationErrors, already worded) comes back verbatim.
core::Message usageErrorMessage(std::string_view kind, std::string_view what);

// The same for a thrown error; its kind is told by its class (get_name() may hold the name of
// the subcommand instead).
core::Message usageErrorMessage(const CLI::ParseError &error);

} // namespace cli
