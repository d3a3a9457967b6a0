#pragma once

// East Asian font names in CSS mapped with the script (宋体 <-> 新細明體, SimSun <-> PMingLiU), as
// the documents' own font attributes are when fonts are asked for: the family lists of font-family
// (and of Word's mso-*-font-family), of the font shorthand and of @font-face, in a style sheet, a
// <style> element or a style attribute. Everything else is kept byte for byte: selectors,
// comments, other properties, the quotes and spacing around a name. A name written with escapes
// ("\5B8B\4F53") is matched by the characters it spells and written back plain.

#include "core/document/xml_part.h"

#include <string>
#include <string_view>

namespace core::document {

// `css` (a style sheet or the declarations of a style attribute) with its font names mapped;
// `css` itself when none is one that changes.
std::string mapCssFonts(std::string_view css, ScriptDirection direction);

// A comma-separated list of font names (HTML's <font face="宋体,SimSun">) mapped name by name.
std::string mapFontFamilies(std::string_view list, ScriptDirection direction);

} // namespace core::document
