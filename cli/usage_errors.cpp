#include "cli/usage_errors.h"

#include <CLI/CLI.hpp>

#include <regex>
#include <string>

namespace cli {

namespace {

// One form of CLI11's texts (CLI11 2.1, CLI/Error.hpp and the validators of CLI/Validators.hpp):
// the regular expression's groups are the message's arguments, in order.
struct Form {
    const char *kind;
    const char *pattern;
    core::MessageId id;
};

const Form kForms[] = {
    {"ExtrasError", "The following argument was not expected: (.*)", core::MessageId::UnexpectedArgument},
    {"ExtrasError", "The following arguments were not expected: (.*)", core::MessageId::UnexpectedArguments},
    {"ArgumentMismatch", "(.*): (\\d+) required (.*) missing", core::MessageId::ArgumentMissing},
    {"ArgumentMismatch", "Expected exactly (\\d+) arguments to (.*), got (\\d+)",
     core::MessageId::ArgumentsExpected},
    {"ArgumentMismatch", "(.*): At least (\\d+) required but received (\\d+)",
     core::MessageId::ArgumentsAtLeast},
    {"ArgumentMismatch", "(.*): At Most (\\d+) required but received (\\d+)",
     core::MessageId::ArgumentsAtMost},
    {"RequiredError", "(.*) is required", core::MessageId::OptionRequired},
    {"ExcludesError", "(.*) excludes (.*)", core::MessageId::OptionExcludes},
    {"RequiresError", "(.*) requires (.*)", core::MessageId::OptionRequires},
    {"ValidationError", "(-[^ :]*): Value (.*) not in range (.*) to (.*)", core::MessageId::ValueNotInRange},
    {"ValidationError", "(-[^ :]*): (.*) not in (\\{.*\\})", core::MessageId::ValueNotAllowed},
    // lanternfin-cli's own refusals, already worded, after the option or the command.
    {"ValidationError", "((?:[a-z]+ )?--?[a-z-]+|[a-z]+): (.*)", core::MessageId::OptionWhy},
    {"ConversionError", "Could not convert: (.*) = (.*)", core::MessageId::ValueNotConverted},
    {"ConversionError", "(.*): too many inputs for a flag", core::MessageId::FlagTakesNoValue},
};

} // namespace

core::Message usageErrorMessage(std::string_view kind, std::string_view what) {
    const std::string text(what);
    for (const Form &form : kForms) {
        if (kind != form.kind)
            continue;
        std::smatch match;
        if (!std::regex_match(text, match, std::regex(form.pattern)))
            continue;
        std::vector<std::string> args;
        for (std::size_t i = 1; i < match.size(); ++i)
            args.push_back(match[i].str());
        return {form.id, std::move(args)};
    }
    return core::Message::verbatim(text);
}

core::Message usageErrorMessage(const CLI::ParseError &error) {
    const char *kind = dynamic_cast<const CLI::ExtrasError *>(&error)        ? "ExtrasError"
                       : dynamic_cast<const CLI::ArgumentMismatch *>(&error) ? "ArgumentMismatch"
                       : dynamic_cast<const CLI::RequiredError *>(&error)    ? "RequiredError"
                       : dynamic_cast<const CLI::ExcludesError *>(&error)    ? "ExcludesError"
                       : dynamic_cast<const CLI::RequiresError *>(&error)    ? "RequiresError"
                       : dynamic_cast<const CLI::ValidationError *>(&error)  ? "ValidationError"
                       : dynamic_cast<const CLI::ConversionError *>(&error)  ? "ConversionError"
                                                                             : "";
    return usageErrorMessage(kind, error.what());
}

} // namespace cli
