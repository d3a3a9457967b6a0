// lanternfin-cli: the conversions of the Lanternfin window for scripts.
// Input is UTF-8 on stdin, output UTF-8 on stdout; see usage() for the commands.

#include "core/amount.h"
#include "core/pinyin.h"
#include "core/proportion.h"
#include "core/text_convert.h"
#include "core/utf.h"
#include "platform/character_maps.h"
#include "platform/codepage936.h"

#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitNoResult = 1;
constexpr int kExitUsage = 2;
constexpr int kExitLimit = 3;

constexpr const char *kUsage =
    "Usage: lanternfin-cli COMMAND [ARGS] [--lines]\n"
    "\n"
    "Commands (input is UTF-8 on stdin, output UTF-8 on stdout):\n"
    "  money              the number that stdin starts with as an amount in Chinese capitals\n"
    "                     (exit 3 when it is 10^16 or more)\n"
    "  ratio A B C        d of a : b = c : d as the calculator shows it (exit 1: no result)\n"
    "  round WEI [TEXT]   the calculator's result TEXT (or stdin) rounded to WEI = 0, 1 or 2\n"
    "                     decimals, as the copy button places it (exit 1: not a number)\n"
    "  traditional        stdin with simplified characters made traditional (简体 -> 簡體)\n"
    "  simplified         stdin with traditional characters made simplified (簡體 -> 简体)\n"
    "  upper, lower       stdin in upper or lower case\n"
    "  pinyin             the pinyin of stdin trimmed of spaces at both ends (汉字 -> HanZi)\n"
    "\n"
    "  --lines            after the command: every stdin line is one input and gives one output\n"
    "                     line, empty where there is no result (ratio: A, B, C separated by TAB)\n"
    "  --help             this text\n"
    "\n"
    "Exit status: 0 success, 1 no result, 2 usage error or invalid UTF-8, 3 amount too large.\n";

int usageError() {
    std::fputs(kUsage, stderr);
    return kExitUsage;
}

int invalidUtf8() {
    std::fputs("lanternfin-cli: input is not valid UTF-8\n", stderr);
    return kExitUsage;
}

std::string readAll(std::FILE *in) {
    std::string data;
    struct stat st {};
    if (fstat(fileno(in), &st) == 0 && S_ISREG(st.st_mode))
        data.reserve(static_cast<std::size_t>(st.st_size) + 1);
    std::vector<char> buf(1 << 20);
    for (;;) {
        const std::size_t got = std::fread(buf.data(), 1, buf.size(), in);
        data.append(buf.data(), got);
        if (got < buf.size())
            break;
    }
    return data;
}

void writeOut(std::string_view s) {
    std::fwrite(s.data(), 1, s.size(), stdout);
}

// One input text to one output text; nullopt when the single command prints nothing.
using LineCommand = std::function<std::optional<std::u16string>(std::u16string_view)>;

// Runs `command` on every stdin line and prints one line per input line. The whole input is
// checked first, so that invalid UTF-8 prints nothing; then each line is decoded on its own, so
// memory stays near the size of the input.
int runLines(const LineCommand &command) {
    const std::string input = readAll(stdin);
    if (!core::isValidUtf8(input))
        return invalidUtf8();
    std::string out;
    std::u16string line;
    std::string_view rest = input;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view bytes = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (!bytes.empty() && bytes.back() == '\r')
            bytes.remove_suffix(1);
        line.clear();
        core::decodeUtf8(bytes, line, true);
        if (const auto result = command(line))
            core::encodeUtf8(*result, out);
        out += '\n';
        if (out.size() > (1 << 20)) {
            writeOut(out);
            out.clear();
        }
    }
    writeOut(out);
    return kExitOk;
}

// The three box texts of a --lines input line, separated by TAB; missing ones are empty and any
// further fields are not part of them.
std::optional<std::u16string> ratioOfLine(std::u16string_view line) {
    std::u16string_view box[3];
    for (auto &b : box) {
        const std::size_t tab = line.find(u'\t');
        b = line.substr(0, tab);
        line = tab == std::u16string_view::npos ? std::u16string_view() : line.substr(tab + 1);
    }
    return core::proportionText(box[0], box[1], box[2]);
}

int runMoney(bool lines) {
    if (lines)
        return runLines([](std::u16string_view s) { return core::amountCommandText(s); });
    // Any character beyond ASCII ends a number, so the number is read straight from the bytes.
    const std::string input = readAll(stdin);
    if (!core::isValidUtf8(input))
        return invalidUtf8();
    const auto result = core::daxie(core::readLeadingDecimal(std::string_view(input)));
    if (!result) {
        std::string msg = core::utf16ToUtf8(core::kAmountLimitMessage);
        msg += '\n';
        std::fputs(msg.c_str(), stderr);
        return kExitLimit;
    }
    writeOut(core::utf16ToUtf8(*result) + "\n");
    return kExitOk;
}

int runRatio(bool lines, const std::vector<std::string> &args) {
    if (lines)
        return args.empty() ? runLines(ratioOfLine) : usageError();
    if (args.size() != 3)
        return usageError();
    std::u16string box[3];
    for (int i = 0; i < 3; ++i) {
        const auto decoded = core::utf8ToUtf16(args[static_cast<std::size_t>(i)]);
        if (!decoded)
            return invalidUtf8();
        box[i] = *decoded;
    }
    const auto result = core::proportionText(box[0], box[1], box[2]);
    if (!result)
        return kExitNoResult;
    writeOut(core::utf16ToUtf8(*result) + "\n");
    return kExitOk;
}

// A single-line box holds no line break: the one that ends stdin is not part of the text.
std::string_view withoutFinalLineBreak(std::string_view s) {
    if (!s.empty() && s.back() == '\n')
        s.remove_suffix(1);
    if (!s.empty() && s.back() == '\r')
        s.remove_suffix(1);
    return s;
}

int runRound(bool lines, const std::vector<std::string> &args) {
    if (args.empty() || args[0].size() != 1 || args[0][0] < '0' || args[0][0] > '2')
        return usageError();
    const int wei = args[0][0] - '0';
    if (lines) {
        if (args.size() != 1)
            return usageError();
        return runLines([wei](std::u16string_view s) { return core::roundedCopyText(s, wei); });
    }
    if (args.size() > 2)
        return usageError();
    std::optional<std::u16string> text;
    if (args.size() == 2) {
        text = core::utf8ToUtf16(args[1]);
    } else {
        const std::string input = readAll(stdin);
        if (core::isValidUtf8(input))
            text = core::utf8ToUtf16(withoutFinalLineBreak(input));
    }
    if (!text)
        return invalidUtf8();
    const auto result = core::roundedCopyText(*text, wei);
    if (!result)
        return kExitNoResult;
    writeOut(core::utf16ToUtf8(*result) + "\n");
    return kExitOk;
}

// Streams stdin through a code-point mapping in chunks, so that memory stays flat however large
// the input. Output converted before an invalid byte is written before the error.
int runMapped(const core::CodePointMap &map) {
    std::vector<char> buf(1 << 20);
    std::size_t carried = 0;
    std::string out;
    for (;;) {
        const std::size_t got = std::fread(buf.data() + carried, 1, buf.size() - carried, stdin);
        const bool final = got == 0 || std::feof(stdin);
        const std::string_view chunk(buf.data(), carried + got);
        out.clear();
        const auto r = core::mapUtf8(chunk, map, out, final);
        writeOut(out);
        if (!r.ok) {
            std::fflush(stdout);
            return invalidUtf8();
        }
        carried = chunk.size() - r.consumed;
        std::memmove(buf.data(), buf.data() + r.consumed, carried);
        if (final)
            return kExitOk;
    }
}

int runMapCommand(const core::CodePointMap &map, bool lines) {
    if (lines)
        return runLines([&map](std::u16string_view s) { return core::mapCodePoints(s, map); });
    return runMapped(map);
}

int runDictionary(const char *file, bool lines) {
    const std::string path = platform::openccDataDir() + "/" + file;
    const auto map = platform::loadCharacterDictionary(path);
    if (!map) {
        std::fprintf(stderr, "lanternfin-cli: cannot load %s\n", path.c_str());
        return kExitUsage;
    }
    return runMapCommand(*map, lines);
}

// `text` without the U+0020 spaces at both ends, on UTF-8 bytes.
std::string_view trimSpaceBytes(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

int runPinyin(bool lines) {
    std::string error;
    const auto codes = platform::loadCodePage936(&error);
    if (!codes) {
        std::fprintf(stderr, "lanternfin-cli: %s\n", error.c_str());
        return kExitUsage;
    }
    const core::PinyinTable table(*codes);
    if (lines)
        return runLines([&table](std::u16string_view s) { return core::c(core::trimSpaces(s), table); });
    const std::string input = readAll(stdin);
    // Only spaces are trimmed, so the trimmed text is valid exactly when the input is. It goes
    // through in slices of about 1 MB, each cut just before a byte that starts a sequence; the
    // output is held until the whole input has proved valid.
    std::string_view rest = trimSpaceBytes(input);
    std::string out;
    out.reserve(input.size() * 2);
    while (!rest.empty()) {
        std::size_t cut = std::min<std::size_t>(rest.size(), 1 << 20);
        while (cut < rest.size() && cut > 0 && (static_cast<unsigned char>(rest[cut]) & 0xC0) == 0x80)
            --cut;
        if (cut == 0)
            cut = std::min<std::size_t>(rest.size(), 1 << 20);
        if (!core::appendPinyinUtf8(rest.substr(0, cut), table, out).ok)
            return invalidUtf8();
        rest.remove_prefix(cut);
    }
    writeOut(out);
    return kExitOk;
}

} // namespace

int main(int argc, char **argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty())
        return usageError();
    if (args[0] == "--help" || args[0] == "-h") {
        std::fputs(kUsage, stdout);
        return kExitOk;
    }
    const std::string command = args[0];
    bool lines = false;
    std::vector<std::string> rest;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--lines")
            lines = true;
        else if (args[i] == "--help")
            return std::fputs(kUsage, stdout), kExitOk;
        else
            rest.push_back(args[i]);
    }
    static char outBuf[1 << 16];
    std::setvbuf(stdout, outBuf, _IOFBF, sizeof outBuf);

    if (command == "money")
        return rest.empty() ? runMoney(lines) : usageError();
    if (command == "ratio")
        return runRatio(lines, rest);
    if (command == "round")
        return runRound(lines, rest);
    if (!rest.empty())
        return usageError();
    if (command == "traditional")
        return runDictionary(platform::kSimplifiedToTraditionalFile, lines);
    if (command == "simplified")
        return runDictionary(platform::kTraditionalToSimplifiedFile, lines);
    if (command == "upper")
        return runMapCommand(platform::upperCaseMap(), lines);
    if (command == "lower")
        return runMapCommand(platform::lowerCaseMap(), lines);
    if (command == "pinyin")
        return runPinyin(lines);
    return usageError();
}
