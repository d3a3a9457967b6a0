#include "ways.h"

#include "core/amount.h"
#include "core/phrase_convert.h"
#include "core/pinyin.h"
#include "core/text_convert.h"
#include "core/utf.h"

#include <utility>

namespace ui {
namespace {

template <class Table> const PhraseWayName *phraseWayIn(const Table &table, std::string_view config) {
    for (const PhraseWayName &w : table)
        if (config == w.config)
            return &w;
    return nullptr;
}

const PhraseWayName *phraseWayNamed(std::string_view config) {
    if (const PhraseWayName *w = phraseWayIn(kTraditionalPhraseWays, config))
        return w;
    return phraseWayIn(kSimplifiedPhraseWays, config);
}

core::Message phraseUnavailable(const std::string &config, const platform::TextServices &services) {
    std::string path = services.phrases ? services.phrases->failedPath(config) : std::string();
    if (path.empty() && services.phrases)
        return {};
    if (path.empty())
        path = platform::phraseConfigPath(config);
    return {core::MessageId::CannotLoad, {path}};
}

core::Message readingsUnavailable(const platform::TextServices &services) {
    return services.readings ? services.readings->error() : core::Message(core::MessageId::NoPinyinData);
}

WayResult done(std::u16string text, bool appends = false) {
    return {WayResult::Done, std::move(text), appends, {}};
}

WayResult failed(WayResult::Outcome outcome, core::Message message) {
    return {outcome, {}, false, std::move(message)};
}

WayResult applyOwnWay(OwnWay way, std::u16string_view text, const platform::TextServices &services) {
    switch (way) {
    case OwnWay::Traditional:
        if (!services.toTraditional)
            return failed(WayResult::Unavailable, services.dictionaryError);
        return done(core::JToF(text, *services.toTraditional));
    case OwnWay::Simplified:
        if (!services.toSimplified)
            return failed(WayResult::Unavailable, services.dictionaryError);
        return done(core::FToJ(text, *services.toSimplified));
    case OwnWay::Upper:
        return done(core::upperCaseText(text, services.toUpper));
    case OwnWay::Lower:
        return done(core::lowerCaseText(text, services.toLower));
    case OwnWay::Amount: {
        auto capitals = core::amountCommandText(text);
        if (capitals)
            return done(std::move(*capitals.value));
        if (capitals.refusal.message.id == core::MessageId::AmountTooLarge)
            return failed(WayResult::AmountTooLarge, core::MessageId::AmountTooLarge);
        return failed(WayResult::Refused, capitals.refusal.message);
    }
    case OwnWay::Pinyin:
        if (!services.pinyin)
            return failed(WayResult::Unavailable, core::MessageId::NoPinyinTable);
        return done(core::c(core::trimSpaces(text), *services.pinyin), true);
    }
    return failed(WayResult::Unavailable, {core::MessageId::UnknownWay, {"?"}});
}

} // namespace

std::vector<Way> buttonWays(OwnWay own) {
    std::vector<Way> ways{own};
    auto phrases = [&ways](const auto &table) {
        for (const PhraseWayName &w : table)
            ways.push_back(PhraseWay{w.config});
    };
    switch (own) {
    case OwnWay::Traditional:
        phrases(kTraditionalPhraseWays);
        break;
    case OwnWay::Simplified:
        phrases(kSimplifiedPhraseWays);
        break;
    case OwnWay::Pinyin:
        for (const ReadingWayName &w : kReadingWays)
            ways.push_back(ReadingWay{&w});
        break;
    case OwnWay::Amount:
        for (const MoneyWayName &w : kMoneyWays)
            ways.push_back(AmountWay{&w});
        break;
    case OwnWay::Upper:
    case OwnWay::Lower:
        break;
    }
    return ways;
}

namespace {

// The key and label of a button's own way; empty for 大写 and 小写, which have no menu.
std::pair<std::string_view, std::u16string_view> ownWayName(OwnWay way) {
    switch (way) {
    case OwnWay::Traditional:
    case OwnWay::Simplified:
        return {kCharacterWayKey, kCharacterWayLabel};
    case OwnWay::Pinyin:
        return {kCapitalisedWayKey, kCapitalisedWayLabel};
    case OwnWay::Amount:
        return {kDesignMoneyWayKey, kDesignMoneyWayLabel};
    case OwnWay::Upper:
    case OwnWay::Lower:
        break;
    }
    return {};
}

} // namespace

Way defaultWayOf(OwnWay own) {
    switch (own) {
    case OwnWay::Traditional:
        return PhraseWay{kTraditionalPhraseWays.front().config};
    case OwnWay::Simplified:
        return PhraseWay{kSimplifiedPhraseWays.front().config};
    case OwnWay::Upper:
    case OwnWay::Lower:
    case OwnWay::Amount:
    case OwnWay::Pinyin:
        break;
    }
    return own;
}

std::string wayKey(const Way &way) {
    if (const auto *own = std::get_if<OwnWay>(&way))
        return std::string(ownWayName(*own).first);
    if (const auto *phrase = std::get_if<PhraseWay>(&way))
        return phrase->config;
    if (const auto *reading = std::get_if<ReadingWay>(&way))
        return reading->name->key;
    return std::get<AmountWay>(way).name->key;
}

std::u16string wayLabel(const Way &way) {
    if (const auto *own = std::get_if<OwnWay>(&way))
        return std::u16string(ownWayName(*own).second);
    if (const auto *phrase = std::get_if<PhraseWay>(&way)) {
        const PhraseWayName *named = phraseWayNamed(phrase->config);
        return named ? std::u16string(named->label) : std::u16string(phrase->config.begin(), phrase->config.end());
    }
    if (const auto *reading = std::get_if<ReadingWay>(&way))
        return reading->name->label;
    return std::get<AmountWay>(way).name->label;
}

std::optional<Way> wayNamed(OwnWay button, std::string_view key) {
    for (const Way &way : buttonWays(button))
        if (wayKey(way) == key)
            return way;
    return std::nullopt;
}

WayResult applyWay(const Way &way, std::u16string_view text, const platform::TextServices &services) {
    if (const auto *own = std::get_if<OwnWay>(&way))
        return applyOwnWay(*own, text, services);
    if (const auto *phrase = std::get_if<PhraseWay>(&way)) {
        const core::PhraseConverter *converter = services.phrases ? services.phrases->get(phrase->config) : nullptr;
        if (!converter)
            return failed(WayResult::Unavailable, phraseUnavailable(phrase->config, services));
        return done(core::convertUtf16(*converter, text));
    }
    if (const auto *reading = std::get_if<ReadingWay>(&way)) {
        const core::PinyinReadingData *data = services.readings ? services.readings->get() : nullptr;
        if (!data)
            return failed(WayResult::Unavailable, readingsUnavailable(services));
        return done(core::readPinyin(core::trimSpaces(text), *data, readingStyle(*reading->name)), true);
    }
    auto result = core::moneyWayText(std::get<AmountWay>(way).name->way, text);
    if (!result)
        return failed(WayResult::Refused, result.refusal.message);
    return done(std::move(*result.value));
}

core::Message wayUnavailable(const Way &way, const platform::TextServices &services) {
    if (const auto *own = std::get_if<OwnWay>(&way)) {
        if ((*own == OwnWay::Traditional && !services.toTraditional) ||
            (*own == OwnWay::Simplified && !services.toSimplified))
            return services.dictionaryError;
        if (*own == OwnWay::Pinyin && !services.pinyin)
            return core::MessageId::NoPinyinTable;
        return {};
    }
    if (const auto *phrase = std::get_if<PhraseWay>(&way))
        return phraseUnavailable(phrase->config, services);
    if (std::holds_alternative<ReadingWay>(way))
        return readingsUnavailable(services);
    return {};
}

} // namespace ui
