#pragma once

// A phrase converter shaped like OpenCC's s2twp on a handful of words: segmentation by simplified
// phrases and characters, then simplified -> traditional, then Taiwan phrases, so that the
// document tests see phrases that change length (内存 -> 記憶體, 方便面 -> 泡麵, U盘 -> 隨身碟) and
// ones that keep it (软件 -> 軟體, 鼠标 -> 滑鼠), without the installed dictionaries.

#include "core/phrase_convert.h"

namespace testsupport {

inline core::PhraseConfig smallS2twpConfig() {
    const core::PhraseDictionary phrases{
        {"内存", "內存"}, {"方便面", "方便麵"}, {"U盘", "U盤"}, {"软件", "軟件"}, {"鼠标", "鼠標"}, {"头发", "頭髮"},
    };
    const core::PhraseDictionary chars{
        {"内", "內"}, {"软", "軟"}, {"盘", "盤"}, {"标", "標"}, {"发", "發"}, {"头", "頭"}, {"简", "簡"},
        {"体", "體"}, {"汉", "漢"}, {"语", "語"}, {"这", "這"}, {"个", "個"}, {"说", "說"}, {"书", "書"},
    };
    const core::PhraseDictionary taiwan{
        {"內存", "記憶體"}, {"方便麵", "泡麵"}, {"U盤", "隨身碟"}, {"軟件", "軟體"}, {"鼠標", "滑鼠"},
    };
    core::PhraseConfig c;
    c.segmentation = {phrases, chars};
    c.steps = {{phrases, chars}, {taiwan}};
    return c;
}

} // namespace testsupport
