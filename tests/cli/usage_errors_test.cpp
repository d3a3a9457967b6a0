// CLI11's usage errors and the system's reasons, worded through the catalogue.

#include "cli/usage_errors.h"
#include "platform/message_language.h"

#include <CLI/CLI.hpp>

#include <gtest/gtest.h>

#include <cerrno>
#include <clocale>
#include <cstring>
#include <string>

namespace {

using core::Language;

// Each error as CLI11 itself throws it: the English wording is CLI11's own text again, names and
// values kept; the Chinese is the catalogue's.
TEST(UsageErrors, CliElevenErrorsInEitherLanguage) {
    const struct {
        const char *kind;
        std::string what; // as CLI11 words it
        std::string chinese;
    } cases[] = {
        {"ExtrasError", CLI::ExtrasError({"--bogus"}).what(), "多余的参数：--bogus"},
        {"ExtrasError", CLI::ExtrasError("money", {"x", "--y"}).what(), "多余的参数：--y x"},
        {"ArgumentMismatch", CLI::ArgumentMismatch::TypedAtLeast("--output", 1, "FILE").what(),
         "--output：缺少 1 个 FILE 参数"},
        {"ArgumentMismatch", CLI::ArgumentMismatch("--pair", 2, 1).what(),
         "--pair 需要正好 2 个参数，这里有 1 个"},
        {"ArgumentMismatch", CLI::ArgumentMismatch::AtLeast("--x", 2, 1).what(),
         "--x 至少需要 2 个参数，这里有 1 个"},
        {"ArgumentMismatch", CLI::ArgumentMismatch::AtMost("--x", 1, 3).what(),
         "--x 至多接受 1 个参数，这里有 3 个"},
        {"RequiredError", CLI::RequiredError("--config").what(), "必须给出 --config"},
        {"ExcludesError", CLI::ExcludesError("--output", "--in-place").what(),
         "--output 不能与 --in-place 同用"},
        {"RequiresError", CLI::RequiresError("--recursive", "--output-dir").what(),
         "--recursive 需要同时给出 --output-dir"},
        {"ValidationError", CLI::ValidationError("--style", "nope not in {design,bank}").what(),
         "--style：nope 不是可选的值 {design,bank} 之一"},
        {"ValidationError", CLI::ValidationError("--jobs", "Value 0 not in range 1 to 64").what(),
         "--jobs：值 0 不在 1 到 64 的范围内"},
        {"ConversionError", CLI::ConversionError("--jobs", std::vector<std::string>{"abc"}).what(),
         "无法转换：--jobs = abc"},
        {"ConversionError", CLI::ConversionError::TooManyInputsFlag("--lines").what(),
         "--lines：开关选项不接受值"},
        // Already worded by lanternfin-cli itself: only the colon after the command or option is
        // the language's; of no known form: kept as it is.
        {"ValidationError", CLI::ValidationError("round", "WEI 只能是 0、1 或 2").what(),
         "round：WEI 只能是 0、1 或 2"},
        {"ValidationError", CLI::ValidationError("money --verify", "NUMBER 不是数字").what(),
         "money --verify：NUMBER 不是数字"},
        {"RequiredError", "The following argument was not expected: x",
         "The following argument was not expected: x"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const core::Message message = cli::usageErrorMessage(c.kind, c.what);
        EXPECT_EQ(message.in(Language::English), c.what);
        EXPECT_EQ(message.in(Language::Chinese), c.chinese);
    }
    // The kind is told by the class: CLI11 names a subcommand's ExtrasError after the subcommand.
    const CLI::ExtrasError extras("money", {"--bogus"});
    EXPECT_EQ(extras.get_name(), "money");
    EXPECT_EQ(cli::usageErrorMessage(extras).id, core::MessageId::UnexpectedArgument);
}

// The common reasons are glibc's own English words, so that English messages stay as they were.
TEST(SystemErrors, CommonReasonsInEitherLanguage) {
    std::setlocale(LC_MESSAGES, "C");
    const struct {
        int error;
        const char *chinese;
    } cases[] = {
        {ENOENT, "没有那个文件或目录"}, {EACCES, "权限不够"},         {ENOSPC, "设备上没有空间"},
        {EISDIR, "是一个目录"},         {ENOTDIR, "不是目录"},        {EROFS, "只读文件系统"},
        {EEXIST, "文件已存在"},         {ENAMETOOLONG, "文件名过长"}, {ELOOP, "符号链接的层数过多"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.error);
        EXPECT_EQ(core::systemError(c.error).in(Language::English), std::strerror(c.error));
        EXPECT_EQ(core::systemError(c.error).in(Language::Chinese), c.chinese);
    }
    // Any other reason as the system words it.
    EXPECT_EQ(core::systemError(EPIPE).in(Language::Chinese), std::strerror(EPIPE));
}

} // namespace
