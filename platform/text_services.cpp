#include "text_services.h"

#include "character_maps.h"
#include "codepage936.h"

namespace platform {

TextServices loadTextServices(const std::string &openccDir) {
    TextServices s;
    for (auto [file, target] : {std::pair{kSimplifiedToTraditionalFile, &s.toTraditional},
                                std::pair{kTraditionalToSimplifiedFile, &s.toSimplified}}) {
        const std::string path = openccDir.empty() ? characterDictionaryPath(file) : openccDir + "/" + file;
        core::Message why;
        if (auto map = loadCharacterDictionary(path, &why))
            *target = std::make_unique<core::CodePointMap>(std::move(*map));
        else if (s.dictionaryError.empty())
            s.dictionaryError = loadFailure(path, why);
    }
    s.toUpper = upperCaseMap();
    s.toLower = lowerCaseMap();
    s.codes = loadCodePage936();
    if (!s.codes) {
        // Without ICU's converter every unit is outside the code page: pinyin gives "?" for all.
        s.codes = std::make_unique<core::CharCodeTable>();
        s.codes->code.fill(63);
        s.codes->singleByte.fill(u'?');
    }
    s.pinyin = std::make_unique<core::PinyinTable>(*s.codes);
    s.readings = std::make_unique<PinyinDataSource>(lanternfinDataDir() + "/" + kPinyinDataFile);
    return s;
}

} // namespace platform
