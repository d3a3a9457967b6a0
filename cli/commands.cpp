#include "cli/commands.h"

#include "core/amount.h"
#include "core/amount_number.h"
#include "core/amount_reading.h"
#include "core/bill_date.h"
#include "core/document/run_mapping.h"
#include "core/numerals.h"
#include "core/pinyin.h"
#include "core/pinyin_reading.h"
#include "core/proportion.h"
#include "core/text_convert.h"
#include "core/utf.h"
#include "platform/character_maps.h"
#include "platform/codepage936.h"
#include "platform/phrase_config.h"
#include "platform/phrase_stream.h"
#include "platform/pinyin_data.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

namespace cli {

namespace {

using core::MessageId;
using platform::say;

// One input text to one output text; nullopt when the single command prints nothing.
using LineCommand = std::function<std::optional<std::u16string>(std::u16string_view)>;
// One input text to one output text, or a refusal that is reported with the line's number.
using RefusingLineCommand = std::function<core::Outcome<std::u16string>(std::u16string_view)>;

// A number too large for its numerals or capitals: exit 3 with the window's message, for every
// command that meets that limit.
bool isAmountLimit(const core::Refusal &refusal) {
    return refusal.message.id == core::MessageId::AmountTooLarge;
}

Status amountLimit() {
    return {kExitLimit, platform::say(core::MessageId::AmountTooLarge), true};
}

// Calls `each(line, number)` for every line of `input`, without its line break and a carriage
// return before it; numbers count from 1.
template <class Each> void forEachLine(std::string_view input, Each &&each) {
    for (std::size_t number = 1; !input.empty(); ++number) {
        const std::size_t end = input.find('\n');
        std::string_view line = input.substr(0, end);
        input = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        each(line, number);
    }
}

// Reads the whole input, checked as UTF-8 first so that invalid UTF-8 writes nothing, and writes one
// line per input line: what `each(line, number, text)` appends to `text`.
template <class Each> Status writeEachLine(Input &in, Writer &out, Each &&each) {
    std::string input;
    if (!in.readAll(input))
        return readFailure(in);
    if (!core::isValidUtf8(input))
        return invalidUtf8();
    std::string text;
    forEachLine(input, [&](std::string_view line, std::size_t number) {
        text.clear();
        each(line, number, text);
        text += '\n';
        out.write(text);
    });
    return {};
}

// Runs `command` on every line and writes one line per input line, empty where there is no
// result; each refusal is reported as "line N: why" and makes the exit status 1. Each line is
// decoded on its own, so memory stays near the size of the input.
Transform linesTransform(RefusingLineCommand command) {
    return [command = std::move(command)](Input &in, Writer &out) -> Status {
        std::string refusals;
        std::u16string line;
        const Status status =
            writeEachLine(in, out, [&](std::string_view bytes, std::size_t number, std::string &text) {
                line.clear();
                core::decodeUtf8(bytes, line, true);
                const auto result = command(line);
                if (result)
                    core::encodeUtf8(*result.value, text);
                else
                    refusals += (refusals.empty() ? "" : "\n") +
                                platform::say(core::Message(core::MessageId::Line, {std::to_string(number)},
                                                            {result.refusal.message}));
            });
        if (status.code != kExitOk)
            return status;
        if (!refusals.empty())
            return {kExitNoResult, refusals};
        return {};
    };
}

// A line transform that stays in UTF-8: `command` appends the result of one valid line to `out`.
using Utf8LineCommand = std::function<void(std::string_view line, std::string &out)>;

// Runs `command` on every line of a valid UTF-8 input and writes one line per input line.
Transform utf8LinesTransform(Utf8LineCommand command) {
    return [command = std::move(command)](Input &in, Writer &out) -> Status {
        return writeEachLine(
            in, out, [&](std::string_view line, std::size_t, std::string &text) { command(line, text); });
    };
}

// The same for a command whose only refusal is `why`.
Transform linesTransform(LineCommand command, core::MessageId why) {
    return linesTransform([command = std::move(command), why](std::u16string_view s) {
        auto result = command(s);
        return result ? core::Outcome<std::u16string>::ok(std::move(*result))
                      : core::Outcome<std::u16string>::refused(0, why);
    });
}

// Reads the whole input as one text; a refusal exits 1 with its message (3 for the amount limit).
Transform wholeTextTransform(RefusingLineCommand command) {
    return [command = std::move(command)](Input &in, Writer &out) -> Status {
        std::string input;
        if (!in.readAll(input))
            return readFailure(in);
        const auto text = core::utf8ToUtf16(input);
        if (!text)
            return invalidUtf8();
        const auto result = command(*text);
        if (!result)
            return isAmountLimit(result.refusal)
                       ? amountLimit()
                       : Status{kExitNoResult, platform::say(result.refusal.message)};
        out.write(core::utf16ToUtf8(*result.value) + "\n");
        return {};
    };
}

// The whole text as one input, or each line with --lines.
Transform textTransform(RefusingLineCommand command, bool lines) {
    return lines ? linesTransform(std::move(command)) : wholeTextTransform(std::move(command));
}

std::u16string ascii(const std::string &s) {
    return {s.begin(), s.end()};
}

// A reader of Chinese text as a line command: the value it reads written by `write` (ASCII), or its
// refusal with the reader's position and reason.
template <class Read, class Write> RefusingLineCommand readBack(Read read, Write write) {
    return [read, write](std::u16string_view text) {
        const auto value = read(text);
        if (!value)
            return core::Outcome<std::u16string>{std::nullopt, value.refusal};
        return core::Outcome<std::u16string>::ok(ascii(write(*value.value)));
    };
}

// Writes `result` as one line; exit 1 when there is none.
Status writeLine(const std::optional<std::u16string> &result, Writer &out) {
    if (!result)
        return {kExitNoResult, platform::say(core::MessageId::NoResult)};
    out.write(core::utf16ToUtf8(*result) + "\n");
    return {};
}

// Why the calculator gives no result.
core::Message proportionFault(const core::Proportion &p) {
    switch (p.fault) {
    case core::ProportionFault::NotANumber: {
        static constexpr const char *kBox[] = {"a", "b", "c"};
        return {core::MessageId::BoxNotANumber, {kBox[static_cast<int>(p.box)]}};
    }
    case core::ProportionFault::ZeroA:
        return core::MessageId::ZeroA;
    case core::ProportionFault::OutOfRange:
        break;
    }
    return core::MessageId::OutOfRange;
}

// d for the three fields of a --lines input line; a line of more or fewer fields is refused.
core::Outcome<std::u16string> ratioOfLine(std::u16string_view line) {
    const auto fields = core::proportionFields(line);
    if (fields.size() != 3)
        return core::Outcome<std::u16string>::refused(
            0, core::Message(core::MessageId::RatioFieldCount, {std::to_string(fields.size())}));
    core::Proportion p = core::proportion(fields[0], fields[1], fields[2]);
    if (!p.d)
        return core::Outcome<std::u16string>::refused(0, proportionFault(p));
    return core::Outcome<std::u16string>::ok(std::move(*p.d));
}

// A single-line box holds no line break: the one that ends the input is not part of the text.
std::string_view withoutFinalLineBreak(std::string_view s) {
    if (!s.empty() && s.back() == '\n')
        s.remove_suffix(1);
    if (!s.empty() && s.back() == '\r')
        s.remove_suffix(1);
    return s;
}

// `text` without the U+0020 spaces at both ends, on UTF-8 bytes.
std::string_view trimSpaceBytes(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The capitals of the amount a text holds as the money command writes them, the window's or the
// bank style; refused as the window refuses it, AmountTooLarge beyond the limit.
RefusingLineCommand moneyWriter(const std::string &style, const std::string &yuan) {
    const bool bank = style == "bank";
    const char16_t y = yuan == "圆" ? u'圆' : u'元';
    return [bank, y](std::u16string_view text) {
        using Result = core::Outcome<std::u16string>;
        const auto amount = core::readAmountNumber(text);
        if (!amount)
            return Result{std::nullopt, amount.refusal};
        auto capitals = bank ? core::bankCapitals(*amount.value, y) : core::daxie(*amount.value);
        if (!capitals)
            return Result::refused(0, core::Message(core::MessageId::AmountTooLarge));
        return Result::ok(std::move(*capitals));
    };
}

Transform moneyTransform(const CommandOptions &o) {
    if (!o.verify.empty()) {
        // NUMBER is read as money reads its input: 1005元, ￥-1,234.56, 1.5万.
        const std::string &number = o.verify;
        const auto text = core::utf8ToUtf16(number);
        const auto read = text ? core::readAmountNumber(*text) : core::Outcome<core::Decimal>{};
        if (!read)
            throw CLI::ValidationError(
                "money --verify", text ? platform::say(core::Message(core::MessageId::VerifyNotANumberWhy,
                                                                     {number}, {read.refusal.message}))
                                       : platform::say(core::MessageId::VerifyNotANumber, {number}));
        const core::Decimal expected = *read.value;
        // A number beyond what capitals can state fails as money does for it, whatever the input.
        if (!core::daxie(expected))
            return [](Input &, Writer &) { return amountLimit(); };
        return textTransform(
            [expected](std::u16string_view capitals) {
                const auto check = core::checkAmountCapitals(expected, capitals);
                if (!check)
                    return core::Outcome<std::u16string>{std::nullopt, check.refusal};
                if (!check.value->same)
                    return core::Outcome<std::u16string>::refused(0, check.value->message);
                return core::Outcome<std::u16string>::ok(ascii(core::amountText(check.value->stated)));
            },
            o.lines);
    }
    if (o.decode)
        return textTransform(readBack(core::readAmountCapitals, core::amountText), o.lines);
    return textTransform(moneyWriter(o.style, o.yuan), o.lines);
}

// Chinese numerals of the amount a text holds, or the number that numerals write.
Transform numeralsTransform(const CommandOptions &o) {
    if (o.decode)
        return textTransform(readBack(core::readChineseNumerals, core::decimalText), o.lines);
    const core::NumeralDigits digits =
        o.capitals ? core::NumeralDigits::Capital : core::NumeralDigits::Ordinary;
    return textTransform(
        [digits](std::u16string_view text) {
            const auto number = core::readAmountNumber(text);
            if (!number)
                return core::Outcome<std::u16string>{std::nullopt, number.refusal};
            return core::chineseNumerals(*number.value, digits);
        },
        o.lines);
}

Transform ratioTransform(bool lines, const std::vector<std::string> &values) {
    if (lines) {
        if (!values.empty())
            throw CLI::ValidationError("ratio --lines", platform::say(core::MessageId::ValuesFromInput));
        return linesTransform(RefusingLineCommand(ratioOfLine));
    }
    if (values.size() != 3)
        throw CLI::ValidationError("ratio", platform::say(core::MessageId::NeedsThreeValues));
    return [values](Input &, Writer &out) -> Status {
        std::u16string box[3];
        for (std::size_t i = 0; i < 3; ++i) {
            const auto decoded = core::utf8ToUtf16(values[i]);
            if (!decoded)
                return invalidUtf8();
            box[i] = *decoded;
        }
        const core::Proportion p = core::proportion(box[0], box[1], box[2]);
        if (!p.d)
            return {kExitNoResult, platform::say(proportionFault(p))};
        out.write(core::utf16ToUtf8(*p.d) + "\n");
        return {};
    };
}

Transform roundTransform(bool lines, const std::vector<std::string> &values) {
    if (values.empty() || values[0].size() != 1 || values[0][0] < '0' || values[0][0] > '2')
        throw CLI::ValidationError("round", platform::say(core::MessageId::WeiValues));
    const int wei = values[0][0] - '0';
    if (lines) {
        if (values.size() != 1)
            throw CLI::ValidationError("round --lines", platform::say(core::MessageId::TextsFromInput));
        return linesTransform([wei](std::u16string_view s) { return core::roundedCopyText(s, wei); },
                              core::MessageId::NotANumber);
    }
    if (values.size() > 2)
        throw CLI::ValidationError("round", platform::say(core::MessageId::RoundArguments));
    if (values.size() == 2) {
        return [wei, text = values[1]](Input &, Writer &out) -> Status {
            const auto decoded = core::utf8ToUtf16(text);
            return decoded ? writeLine(core::roundedCopyText(*decoded, wei), out) : invalidUtf8();
        };
    }
    return [wei](Input &in, Writer &out) -> Status {
        std::string input;
        if (!in.readAll(input))
            return readFailure(in);
        if (!core::isValidUtf8(input))
            return invalidUtf8();
        const auto text = core::utf8ToUtf16(withoutFinalLineBreak(input));
        return writeLine(core::roundedCopyText(*text, wei), out);
    };
}

// Streams the input in slices through `feed` (a chunk, the text to append to, whether the chunk is
// the last), carrying a sequence cut at a slice's end over to the next, so that memory stays flat
// however large the input. Output converted before an invalid byte is written before the error.
template <typename Feed> Status streamSlices(Input &in, Writer &out, Feed &&feed) {
    constexpr std::size_t kSlice = 1 << 20;
    std::string own;
    // A writer into memory (a piece of a text split across jobs) is given the text directly.
    std::string &text = out.sink() ? *out.sink() : own;
    // Text in memory goes through where it is, in slices of its own.
    std::string_view memory;
    if (in.takeMemory(memory)) {
        while (!memory.empty()) {
            std::size_t cut = std::min(memory.size(), kSlice);
            const bool final = cut == memory.size();
            const auto r = feed(memory.substr(0, cut), text, final);
            if (&text == &own) {
                out.write(text);
                text.clear();
            }
            if (!r.ok)
                return invalidUtf8();
            memory.remove_prefix(r.consumed);
            if (final)
                return {};
        }
        feed(std::string_view(), text, true);
        if (&text == &own)
            out.write(text);
        return {};
    }
    // Slices of 1 MB; a smaller input gets a buffer of its own size (not zero-filled), since a
    // folder of small files asks for one buffer per file.
    const long long known = in.knownSize();
    const std::size_t size =
        known >= 0 ? std::clamp<std::size_t>(static_cast<std::size_t>(known) + 64, 4096, kSlice) : kSlice;
    const std::unique_ptr<char[]> buf(new char[size]);
    std::size_t carried = 0;
    for (;;) {
        const long got = in.read(buf.get() + carried, size - carried);
        if (got < 0)
            return readFailure(in);
        const bool final = got == 0;
        const std::string_view chunk(buf.get(), carried + static_cast<std::size_t>(got));
        if (&text == &own)
            text.clear();
        const auto r = feed(chunk, text, final);
        if (&text == &own)
            out.write(text);
        if (!r.ok)
            return invalidUtf8();
        carried = chunk.size() - r.consumed;
        std::memmove(buf.get(), buf.get() + r.consumed, carried);
        if (final)
            return {};
    }
}

// Streams the input through a code-point mapping.
Transform mapTransform(std::shared_ptr<const core::CodePointMap> map, bool lines) {
    if (lines)
        return utf8LinesTransform(
            [map](std::string_view s, std::string &out) { core::mapUtf8(s, *map, out, true); });
    return [map](Input &in, Writer &out) -> Status {
        return streamSlices(in, out, [&map](std::string_view chunk, std::string &text, bool final) {
            return core::mapUtf8(chunk, *map, text, final);
        });
    };
}

std::shared_ptr<const core::CodePointMap> shared(core::CodePointMap map) {
    return std::make_shared<const core::CodePointMap>(std::move(map));
}

std::shared_ptr<const core::CodePointMap> loadDictionary(const char *file) {
    const std::string path = platform::characterDictionaryPath(file);
    core::Message why;
    auto map = platform::loadCharacterDictionary(path, &why);
    if (!map)
        throw SetupFailure{{kExitUsage, platform::say(platform::loadFailure(path, why))}};
    return shared(std::move(*map));
}

Transform pinyinTransform(bool lines) {
    core::Message error;
    const auto codes = platform::loadCodePage936(&error);
    if (!codes)
        throw SetupFailure{{kExitUsage, platform::say(error)}};
    auto table = std::make_shared<const core::PinyinTable>(*codes);
    if (lines)
        return utf8LinesTransform([table](std::string_view s, std::string &out) {
            core::appendPinyinUtf8(trimSpaceBytes(s), *table, out);
        });
    return [table](Input &in, Writer &out) -> Status {
        std::string input;
        if (!in.readAll(input))
            return readFailure(in);
        // Only spaces are trimmed, so the trimmed text is valid exactly when the input is. It goes
        // through in slices of about 1 MB, each cut just before a byte that starts a sequence; the
        // output is held until the whole input has proved valid.
        std::string_view rest = trimSpaceBytes(input);
        std::string text;
        text.reserve(input.size() * 2);
        while (!rest.empty()) {
            std::size_t cut = std::min<std::size_t>(rest.size(), 1 << 20);
            while (cut < rest.size() && cut > 0 && (static_cast<unsigned char>(rest[cut]) & 0xC0) == 0x80)
                --cut;
            if (cut == 0)
                cut = std::min<std::size_t>(rest.size(), 1 << 20);
            if (!core::appendPinyinUtf8(rest.substr(0, cut), *table, text).ok)
                return invalidUtf8();
            rest.remove_prefix(cut);
        }
        out.write(text);
        return {};
    };
}

// Every Chinese character read as its word reads it (pinyin --tone ...), streamed in slices; the
// data file is found as the window finds it. Output before an invalid byte is written first.
std::shared_ptr<const platform::PinyinData> loadPinyinData() {
    const std::string path = platform::lanternfinDataDir() + "/" + platform::kPinyinDataFile;
    core::Message why;
    std::shared_ptr<const platform::PinyinData> data = platform::PinyinData::load(path, &why);
    if (!data)
        throw SetupFailure{{kExitUsage, platform::say(platform::loadFailure(path, why))}};
    return data;
}

Transform readingTransform(std::shared_ptr<const platform::PinyinData> data, const core::PinyinStyle &style,
                           bool lines) {
    if (lines) {
        // One reader for every line: rendering the syllables anew per line cost more than reading.
        auto reader = std::make_shared<core::PinyinReader>(data->view(), style);
        return utf8LinesTransform(
            [data, reader](std::string_view s, std::string &out) { reader->readWhole(s, out); });
    }
    return [data, style](Input &in, Writer &out) -> Status {
        core::PinyinReader reader(data->view(), style);
        return streamSlices(in, out, [&reader](std::string_view chunk, std::string &text, bool final) {
            return reader.feed(chunk, text, final);
        });
    };
}

// Streams the input through the phrase conversion of OpenCC configuration `name` (loaded from its
// prepared image when that is current); blocks are cut where that changes nothing. With `lines`,
// each line is converted on its own.
Transform convertTextTransform(std::shared_ptr<const core::PhraseConverter> converter, bool lines);

// A document FILE converted whole; any other input as text in its encoding (`textOf` wraps the
// plain UTF-8 transform for that).
using TextOf = std::function<Transform(Transform, std::shared_ptr<const core::document::SegmentedConverter>)>;

Transform convertTransform(const std::string &name, const core::document::PartOptions &part,
                           const TextOf &textOf, bool lines) {
    auto load = loadPhraseConverterOnce(name);
    if (!load.converter)
        throw SetupFailure{{kExitUsage, platform::say(platform::loadFailure(load.failedPath, load.why))}};
    auto converter = std::make_shared<const core::PhraseConverter>(std::move(*load.converter));
    auto segmented = phraseDocuments(converter);
    return withDocuments(textOf(convertTextTransform(converter, lines), segmented), segmented, part, lines);
}

Transform convertTextTransform(std::shared_ptr<const core::PhraseConverter> converter, bool lines) {
    if (lines)
        return utf8LinesTransform(
            [converter](std::string_view s, std::string &out) { converter->convert(s, out, true); });
    return [converter](Input &in, Writer &out) -> Status {
        const auto result = platform::convertStream(
            *converter, [&in](char *data, std::size_t n) { return in.read(data, n); },
            [&out](std::string_view bytes) {
                out.write(bytes);
                return true;
            });
        if (result == platform::StreamResult::InvalidUtf8)
            return invalidUtf8();
        if (result == platform::StreamResult::ReadError)
            return readFailure(in);
        return {};
    };
}

} // namespace

platform::PhraseLoad loadPhraseConverterOnce(const std::string &name) {
    static std::mutex mutex;
    static std::map<std::string, platform::PhraseLoad> loaded;
    const std::lock_guard lock(mutex);
    auto at = loaded.find(name);
    if (at == loaded.end())
        at = loaded.emplace(name, platform::loadPhraseConverter(name)).first;
    return at->second;
}

void addCommands(CommandLine &cl, CommandOptions &o) {
    // Files in every encoding, and (`cues`) subtitle files converted in their cue text only.
    auto encoded = [&o](TransformFactory make, bool cues) -> TransformFactory {
        return [&o, make = std::move(make), cues] {
            return encodedTransform(make(), o.encoding, cues && !o.lines);
        };
    };
    // A command on text: FILE..., -o, --in-place, --lines and the encodings; `make` already
    // handles the encodings itself.
    auto command = [&cl, &o](const char *name, const std::string &help, TransformFactory make) -> CLI::App & {
        CLI::App &app = cl.addTextCommand(name, help, std::move(make));
        app.add_flag("--lines", o.lines, say(MessageId::HelpEachLine));
        addEncodingOptions(app, o.encoding);
        return app;
    };
    auto text = [command, encoded](const char *name, const std::string &help, TransformFactory make,
                                   bool cues = false) -> CLI::App & {
        return command(name, help, encoded(std::move(make), cues));
    };
    // The plain text transform of a conversion given files in every encoding, subtitles in their cues.
    // A phrase or character conversion's cue lines are converted whole by `cues`.
    auto encodedText = [&o](Transform plain, std::shared_ptr<const core::document::SegmentedConverter> cues) {
        return encodedTransform(std::move(plain), o.encoding, !o.lines, [cues]() -> core::CuePiecesConvert {
            return [cues](const std::vector<std::string_view> &pieces) {
                return std::optional(core::document::convertedPieces(pieces, *cues));
            };
        });
    };
    CLI::App &money = text("money", say(MessageId::HelpMoney), [&o] { return moneyTransform(o); });
    CLI::Option *decode = money.add_flag("--decode", o.decode, say(MessageId::HelpMoneyDecode));
    CLI::Option *verify = money.add_option("--verify", o.verify, say(MessageId::HelpMoneyVerify))
                              ->type_name("NUMBER")
                              ->excludes(decode);
    CLI::Option *style = money.add_option("--style", o.style, say(MessageId::HelpMoneyStyle))
                             ->check(CLI::IsMember({"design", "bank"}));
    money.add_option("--yuan", o.yuan, say(MessageId::HelpMoneyYuan))
        ->check(CLI::IsMember({"元", "圆"}))
        ->needs(style);
    style->excludes(decode)->excludes(verify);
    text("date", say(MessageId::HelpDate), [&o] { return textTransform(core::billDateText, o.lines); });
    CLI::App &numerals =
        text("numerals", say(MessageId::HelpNumerals), [&o] { return numeralsTransform(o); });
    CLI::Option *numeralsDecode = numerals.add_flag("--decode", o.decode, say(MessageId::HelpNumeralsDecode));
    numerals.add_flag("--capitals", o.capitals, say(MessageId::HelpNumeralsCapitals))
        ->excludes(numeralsDecode);
    // A document given as a FILE is converted whole, keeping everything but its text (cli/documents.h).
    auto mapDocuments = [&o, encodedText](const char *file, core::document::ScriptDirection direction) {
        const auto map = loadDictionary(file);
        auto segmented = codePointDocuments(map);
        return withDocuments(encodedText(mapTransform(map, o.lines), segmented), segmented,
                             partOptions(direction, o.documents), o.lines);
    };
    // By phrases (s2t, t2s) unless --by-character: the character tables alone get everyday words
    // wrong (头发 -> 頭發, 乾隆 -> 干隆).
    CLI::App &traditional =
        command("traditional", say(MessageId::HelpTraditional), [&o, mapDocuments, encodedText] {
            constexpr auto direction = core::document::ScriptDirection::ToTraditional;
            return o.byCharacter
                       ? mapDocuments(platform::kSimplifiedToTraditionalFile, direction)
                       : convertTransform("s2t", partOptions(direction, o.documents), encodedText, o.lines);
        });
    traditional.add_flag("--by-character", o.byCharacter, say(MessageId::HelpTraditionalByCharacter));
    addFontsOption(traditional, o.documents);
    CLI::App &simplified =
        command("simplified", say(MessageId::HelpSimplified), [&o, mapDocuments, encodedText] {
            constexpr auto direction = core::document::ScriptDirection::ToSimplified;
            return o.byCharacter
                       ? mapDocuments(platform::kTraditionalToSimplifiedFile, direction)
                       : convertTransform("t2s", partOptions(direction, o.documents), encodedText, o.lines);
        });
    simplified.add_flag("--by-character", o.byCharacter, say(MessageId::HelpSimplifiedByCharacter));
    addFontsOption(simplified, o.documents);
    CLI::App &convert = command("convert", say(MessageId::HelpConvert), [&o, encodedText] {
        return convertTransform(o.config, partOptionsOfConfig(o.config, o.documents), encodedText, o.lines);
    });
    addFontsOption(convert, o.documents);
    convert.add_option("-c,--config", o.config, say(MessageId::HelpConvertConfig))
        ->type_name("NAME")
        ->required();
    auto caseDocuments = [&o, encodedText](core::CodePointMap map) {
        const auto shared = std::make_shared<const core::CodePointMap>(std::move(map));
        auto segmented = codePointDocuments(shared);
        core::document::PartOptions part;
        part.letterCase = true;
        return withDocuments(encodedText(mapTransform(shared, o.lines), segmented), segmented, part, o.lines);
    };
    command("upper", say(MessageId::HelpUpper),
            [caseDocuments] { return caseDocuments(platform::upperCaseMap()); });
    command("lower", say(MessageId::HelpLower),
            [caseDocuments] { return caseDocuments(platform::lowerCaseMap()); });
    // Without reading options, the window's capitalised pinyin; with any, the readings.
    struct ReadingOptions {
        CLI::Option *tone, *separator, *initials;
    };
    auto reading = std::make_shared<ReadingOptions>();
    CLI::App &pinyin = command("pinyin", say(MessageId::HelpPinyin), [&o, reading] {
        if (!reading->tone->count() && !reading->separator->count() && !reading->initials->count())
            return encodedTransform(pinyinTransform(o.lines), o.encoding, !o.lines);
        const core::PinyinTone tone = o.tone == "numbers" ? core::PinyinTone::Numbers
                                      : o.tone == "none"  ? core::PinyinTone::None
                                                          : core::PinyinTone::Marks;
        const core::PinyinStyle style{tone, o.separator, o.initials};
        const auto data = loadPinyinData();
        // A karaoke line's syllables ({\k30}理{\k30}发) are read in their word, each in its piece.
        return encodedTransform(readingTransform(data, style, o.lines), o.encoding, !o.lines,
                                [data, style]() -> core::CuePiecesConvert {
                                    auto reader = std::make_shared<core::PinyinReader>(data->view(), style);
                                    return [data, reader](const std::vector<std::string_view> &pieces) {
                                        return std::optional(reader->readPieces(pieces));
                                    };
                                });
    });
    reading->tone = pinyin.add_option("--tone", o.tone, say(MessageId::HelpPinyinTone))
                        ->check(CLI::IsMember({"marks", "numbers", "none"}));
    reading->separator = pinyin.add_option("--separator", o.separator, say(MessageId::HelpPinyinSeparator));
    reading->initials = pinyin.add_flag("--initials", o.initials, say(MessageId::HelpPinyinInitials));

    // The calculator's commands take their values as arguments.
    CLI::App &ratio =
        cl.addValueCommand("ratio", "A B C", say(MessageId::HelpRatio), say(MessageId::HelpRatioValues),
                           o.values, [&o] { return ratioTransform(o.lines, o.values); });
    ratio.add_flag("--lines", o.lines, say(MessageId::HelpRatioLines));

    CLI::App &round =
        cl.addValueCommand("round", "WEI [TEXT]", say(MessageId::HelpRound), say(MessageId::HelpRoundValues),
                           o.values, [&o] { return roundTransform(o.lines, o.values); });
    round.add_flag("--lines", o.lines, say(MessageId::HelpEachLine));
}

} // namespace cli
