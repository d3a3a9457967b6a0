// Font names in CSS follow the script where fonts are asked for; everything else in the sheet, the
// selectors, comments, strings that are not font names and other properties, stays byte for byte.

#include "core/document/css_fonts.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace core::document;

TEST(CssFonts, FamilyListsOfEveryDeclarationThatNamesFonts) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"font-family: 宋体", "font-family: 新細明體"},
        {"p{font-family:\"宋体\",'SimSun', serif}", "p{font-family:\"新細明體\",'PMingLiU', serif}"},
        {"p { FONT-FAMILY : 微软雅黑 , Microsoft   YaHei ; color: red }",
         "p { FONT-FAMILY : 微軟正黑體 , Microsoft JhengHei ; color: red }"},
        {"h1{font-family:黑体 !important}", "h1{font-family:微軟正黑體 !important}"},
        // Word's pages name the East Asian font apart
        {"font-family:宋体;mso-fareast-font-family:宋体;mso-bidi-font-family:\"Times New Roman\"",
         "font-family:新細明體;mso-fareast-font-family:新細明體;mso-bidi-font-family:\"Times New Roman\""},
        // the shorthand: its families come after the size and the line height
        {"h1{font:bold 12px/1.5 微软雅黑,\"SimHei\"}",
         "h1{font:bold 12px/1.5 微軟正黑體,\"Microsoft JhengHei\"}"},
        {"h1{font: italic 700 1.2em / 20px 宋体}", "h1{font: italic 700 1.2em / 20px 新細明體}"},
        {"h1{font:small-caps large 楷体}", "h1{font:small-caps large 標楷體}"},
        {"h1{font:calc(1em + 2px) 黑体}", "h1{font:calc(1em + 2px) 微軟正黑體}"},
        // a face declared and used: both names change alike; its source is a file, never renamed
        {"@font-face{font-family:\"宋体\";src:url(\"宋体.ttf\")}\np{font-family:宋体}",
         "@font-face{font-family:\"新細明體\";src:url(\"宋体.ttf\")}\np{font-family:新細明體}"},
        // escapes as minified sheets write them, read as the characters they spell
        {"p{font-family:\"\\5FAE\\8F6F\\96C5\\9ED1\"}", "p{font-family:\"微軟正黑體\"}"},
        {"p{font-family:\\5B8B\\4F53}", "p{font-family:新細明體}"},
        // what is no font name stays
        {"p{content:\"宋体\";font-family:Arial}", "p{content:\"宋体\";font-family:Arial}"},
        {"/* font-family: 宋体 */ p{color:red}", "/* font-family: 宋体 */ p{color:red}"},
        {"p{font-family:var(--宋体)}", "p{font-family:var(--宋体)}"},
        {"font:hover{color:red} p{font:caption}", "font:hover{color:red} p{font:caption}"},
        {"p{font:700 宋体}", "p{font:700 宋体}"}, // no size: not a shorthand a browser reads
        {"p{font-family:宋体体}", "p{font-family:宋体体}"},
        {"p{font-family:\"宋体", "p{font-family:\"宋体"}, // unclosed at the end: a damaged sheet
        {"", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(mapCssFonts(c.in, ScriptDirection::ToTraditional), c.out);
    }
    EXPECT_EQ(mapCssFonts("p{font:12pt 新細明體, PMingLiU}", ScriptDirection::ToSimplified),
              "p{font:12pt 宋体, SimSun}");
    EXPECT_EQ(mapFontFamilies("宋体, SimHei,Arial", ScriptDirection::ToTraditional),
              "新細明體, Microsoft JhengHei,Arial");
}

} // namespace
