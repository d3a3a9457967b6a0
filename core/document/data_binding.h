#pragma once
// Content controls bound to data. Word shows in such a control the text of one element of a data
// store (a custom XML part, or the document's core or extended properties) and fills the control
// from that element again whenever the document is opened, as LibreOffice does too. A control
// converted alone would come back unconverted on opening: the element it shows is converted with
// it, as Word's own conversion writes the control's new text through to its store.

#include "core/document/format.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace core::document {

struct DataBinding {
    std::string storeItem; // the store's id, upper case with its braces: {6C3C8BC8-...}
    ElementPath path;
};

// The element an XPath of a binding names, given the prefixes it declares ("xmlns:ns0='uri'
// xmlns:ns1='uri'", as w:prefixMappings writes them). Only a plain path of elements from the root,
// each step a name and its position (/ns1:coreProperties[1]/ns0:title[1]), is understood; nullopt
// for anything else (attributes, wildcards, other predicates, a step without its position as a
// repeating section names its items, an undeclared prefix).
std::optional<ElementPath> parseBindingPath(std::string_view xpath, std::string_view prefixMappings);

// Appends the bindings of the content controls in one Word part (w:dataBinding) whose path is
// understood and whose store is named.
void findDataBindings(std::string_view xml, std::vector<DataBinding> &out);

// Gives `parts` (textParts' list) the elements that `bindings` show: a part listed already gets its
// bound elements added, a store not listed (a custom XML part, the extended properties) is added as
// a BoundData part, in entry order. A store is found by its id: the core and extended properties by
// the ids Office gives them, a custom XML part by the id in its properties part (itemProps), which
// its relationships name. Bindings to a store the package lacks are left out.
void addBoundParts(std::vector<TextPart> &parts, const std::vector<std::string> &names,
                   const ReadSmallPart &read, const std::vector<DataBinding> &bindings);

} // namespace core::document
