#include "core/document/data_binding.h"

#include <algorithm>
#include <map>
#include <set>
#include <unordered_map>

namespace core::document {

namespace {

// The stores Office names by fixed ids rather than by a properties part.
constexpr std::string_view kCoreStore = "{6C3C8BC8-F283-45AE-878A-BAB7291924A1}";
constexpr std::string_view kExtendedStore = "{6668398D-A668-4E3E-A5EB-62B293D839F1}";
constexpr std::string_view kCoreType = "application/vnd.openxmlformats-package.core-properties";
constexpr std::string_view kExtendedType =
    "application/vnd.openxmlformats-officedocument.extended-properties";
constexpr std::string_view kPropsRelationship =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/customXmlProps";

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

char upperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

std::string storeId(std::string_view id) {
    while (!id.empty() && isSpace(id.front()))
        id.remove_prefix(1);
    while (!id.empty() && isSpace(id.back()))
        id.remove_suffix(1);
    std::string out(id);
    std::transform(out.begin(), out.end(), out.begin(), upperAscii);
    return out;
}

bool startsWithNoCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), s.begin(),
                      [](char a, char b) { return upperAscii(a) == upperAscii(b); });
}

bool isNameChar(char c) {
    return c != ':' && c != '/' && c != '[' && c != ']' && c != '@' && c != '*' && c != '(' && c != ')' &&
           c != '=' && c != '\'' && c != '"' && !isSpace(c);
}

// xmlns:p='uri' pairs, quoted either way; nullopt when they cannot be read.
std::optional<std::map<std::string, std::string, std::less<>>> prefixes(std::string_view mappings) {
    std::map<std::string, std::string, std::less<>> out;
    std::size_t i = 0;
    while (true) {
        while (i < mappings.size() && isSpace(mappings[i]))
            ++i;
        if (i == mappings.size())
            return out;
        const std::size_t eq = mappings.find('=', i);
        if (eq == std::string_view::npos || eq + 1 >= mappings.size())
            return std::nullopt;
        const std::string_view name = mappings.substr(i, eq - i);
        const char quote = mappings[eq + 1];
        if (quote != '\'' && quote != '"')
            return std::nullopt;
        const std::size_t end = mappings.find(quote, eq + 2);
        if (end == std::string_view::npos)
            return std::nullopt;
        if (name.substr(0, 6) == "xmlns:" && name.size() > 6)
            out.insert_or_assign(std::string(name.substr(6)),
                                 std::string(mappings.substr(eq + 2, end - eq - 2)));
        else if (name != "xmlns") // the default namespace does not apply to XPath's names
            return std::nullopt;
        i = end + 1;
    }
}

} // namespace

std::optional<ElementPath> parseBindingPath(std::string_view xpath, std::string_view prefixMappings) {
    const auto declared = prefixes(prefixMappings);
    if (!declared || xpath.empty() || xpath.front() != '/')
        return std::nullopt;
    ElementPath path;
    std::size_t i = 1;
    while (true) {
        std::size_t end = i;
        while (end < xpath.size() && isNameChar(xpath[end]))
            ++end;
        std::string_view prefix, local = xpath.substr(i, end - i);
        if (end < xpath.size() && xpath[end] == ':') {
            prefix = local;
            const std::size_t start = end + 1;
            end = start;
            while (end < xpath.size() && isNameChar(xpath[end]))
                ++end;
            local = xpath.substr(start, end - start);
        }
        if (local.empty() || local == "." || local == ".." || local.find('.') == 0)
            return std::nullopt;
        ElementStep step{{}, std::string(local), 0};
        if (!prefix.empty()) {
            const auto uri = declared->find(prefix);
            if (uri == declared->end())
                return std::nullopt;
            step.uri = uri->second;
        }
        // Word writes a position at every step of a control's path; a step without one names a
        // collection (a repeating section's), which is not one control's text.
        if (end == xpath.size() || xpath[end] != '[')
            return std::nullopt;
        const std::size_t close = xpath.find(']', end);
        if (close == std::string_view::npos || close == end + 1 || close - end > 10)
            return std::nullopt;
        for (std::size_t k = end + 1; k < close; ++k) {
            if (xpath[k] < '0' || xpath[k] > '9')
                return std::nullopt;
            step.index = step.index * 10 + static_cast<unsigned>(xpath[k] - '0');
        }
        if (step.index == 0)
            return std::nullopt;
        end = close + 1;
        path.push_back(std::move(step));
        if (end == xpath.size())
            return path;
        if (xpath[end] != '/' || path.size() >= 256)
            return std::nullopt;
        i = end + 1;
    }
}

void findDataBindings(std::string_view xml, std::vector<DataBinding> &out) {
    if (xml.find("dataBinding") == std::string_view::npos)
        return;
    for (const Attributes &binding : elementsNamed(xml, "dataBinding")) {
        const auto xpath = attribute(binding, "xpath");
        const auto store = attribute(binding, "storeItemID");
        if (!xpath || !store)
            continue; // Word would search every store for the path: too loose to follow
        const auto mappings = attribute(binding, "prefixMappings");
        if (auto path = parseBindingPath(*xpath, mappings ? *mappings : std::string()))
            out.push_back({storeId(*store), std::move(*path)});
    }
}

void addBoundParts(std::vector<TextPart> &parts, const std::vector<std::string> &names,
                   const ReadSmallPart &read, const std::vector<DataBinding> &bindings) {
    if (bindings.empty())
        return;
    auto holds = [&](const std::string &name) {
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    std::unordered_map<std::string, std::string> stores; // id -> part
    if (const auto types = holds("[Content_Types].xml") ? read("[Content_Types].xml") : std::nullopt) {
        if (const auto core = partsOfType(*types, names, kCoreType); !core.empty())
            stores.emplace(kCoreStore, core.front());
        if (const auto extended = partsOfType(*types, names, kExtendedType); !extended.empty())
            stores.emplace(kExtendedStore, extended.front());
    }
    // customXml/_rels/item1.xml.rels names the properties part of customXml/item1.xml.
    constexpr std::string_view kRels = "customXml/_rels/";
    for (const std::string &name : names) {
        if (!startsWithNoCase(name, kRels) || name.size() <= kRels.size() + 5 ||
            name.compare(name.size() - 5, 5, ".rels") != 0)
            continue;
        const std::string item =
            name.substr(0, kRels.size() - 6) + name.substr(kRels.size(), name.size() - kRels.size() - 5);
        const auto rels = holds(item) ? read(name) : std::nullopt;
        if (!rels)
            continue;
        for (const Attributes &relationship : elementsNamed(*rels, "Relationship")) {
            const auto type = attribute(relationship, "Type");
            const auto target = attribute(relationship, "Target");
            if (!type || *type != kPropsRelationship || !target)
                continue;
            const auto propsName = resolvePackagePath(item.substr(0, item.rfind('/') + 1), *target);
            const auto props = propsName && holds(*propsName) ? read(*propsName) : std::nullopt;
            if (!props)
                continue;
            for (const Attributes &store : elementsNamed(*props, "datastoreItem"))
                if (const auto id = attribute(store, "itemID"))
                    stores.emplace(storeId(*id), item);
        }
    }
    // Each part's elements as a set: a crafted document may hold thousands of bindings.
    std::map<std::string, std::set<ElementPath>> bound;
    for (const DataBinding &binding : bindings)
        if (const auto store = stores.find(binding.storeItem); store != stores.end())
            bound[store->second].insert(binding.path);
    for (const auto &entry : bound) {
        const std::string &name = entry.first; // a variable of its own: clang 14 captures no bindings
        auto part =
            std::find_if(parts.begin(), parts.end(), [&](const TextPart &p) { return p.name == name; });
        if (part == parts.end()) {
            parts.push_back({name, PartKind::BoundData});
            part = parts.end() - 1;
        }
        part->bound.assign(entry.second.begin(), entry.second.end());
    }
    std::unordered_map<std::string_view, std::size_t> order;
    for (std::size_t i = 0; i < names.size(); ++i)
        order.emplace(names[i], i);
    std::stable_sort(parts.begin(), parts.end(),
                     [&](const TextPart &a, const TextPart &b) { return order[a.name] < order[b.name]; });
}

} // namespace core::document
