// One walk over a part's tokens: paragraphs gathered as pieces of text, converted as one text each,
// and the changed characters spliced into the original bytes.

#include "core/document/xml_part.h"

#include "core/document/css_fonts.h"
#include "core/document/part_formats.h"
#include "core/document/run_mapping.h"
#include "core/document/xml_tokens.h"
#include "core/utf.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <set>
#include <span>
#include <unordered_map>
#include <unordered_set>

namespace core::document {

namespace {

constexpr std::string_view kXmlNamespace = "http://www.w3.org/XML/1998/namespace";

// Replacement bytes for a span of the part.
struct Splice {
    ByteSpan span;
    std::string bytes;
    bool references = true; // character references are decoded here
};

// A piece of a paragraph: one text node's characters (or a part of them), where they came from,
// and how a replacement is written there.
struct Piece {
    std::vector<DecodedChar> chars;
    std::string utf8;
    TextPlace place = TextPlace::Content;
    char quote = 0;
    ByteSpan node;              // the whole text node it was taken from
    std::size_t preserveAt = 0; // where xml:space="preserve" would go in its element's start tag
    bool spaceKept = true;      // its element keeps white space at its ends already (or need not)
    std::uint32_t link = 0;     // the link that holds it (a number of its own per link), 0 for none
};

class PartWalker {
public:
    PartWalker(std::string_view xml, PartKind kind, const SegmentedConverter &converter,
               const PartOptions &options)
        : m_doc(xml), m_format(partFormat(kind)), m_options(options), m_tokens(xml, m_format.mode),
          m_mapper(converter), m_converter(converter),
          m_keepStrings((kind == PartKind::SpreadsheetStrings &&
                         (!options.keptStrings.empty() || !options.formulaNames.empty())) ||
                        (kind == PartKind::OdfText && !options.formulaNames.empty())),
          m_dotReferences(kind == PartKind::OdfText) {
        const PartFormat &format = m_format;
        for (const ElementRule &r : format.elements) {
            m_roles.emplace(r.name, r.role);
            if (!r.valueType.empty())
                m_valueTypes.emplace(r.name, r.valueType);
        }
        // A set: a crafted store may bind thousands of elements, each compared with every element.
        m_bound.insert(options.boundElements.begin(), options.boundElements.end());
        for (const ElementPath &path : options.boundElements)
            m_boundDepth = std::max(m_boundDepth, path.size());
        // Sets too: a crafted workbook may name thousands of columns and sheets.
        m_kept.insert(options.keptStrings.begin(), options.keptStrings.end());
        m_formulaNames.insert(options.formulaNames.begin(), options.formulaNames.end());
        for (const AttributeRule &r : format.attributes)
            m_textAttributes = m_textAttributes || r.role == AttributeRole::Text ||
                               r.role == AttributeRole::Formula || r.role == AttributeRole::NumberFormat ||
                               r.role == AttributeRole::ButtonLabel || r.role == AttributeRole::MetaContent ||
                               r.role == AttributeRole::OutlineLink || r.role == AttributeRole::FieldCode;
    }

    PartOutcome run() {
        PartOutcome outcome;
        Token token;
        while (m_tokens.next(token)) {
            if (!step(token))
                break;
        }
        if (m_error.empty() && !m_tokens.error().empty())
            m_error = {
                core::MessageId::XmlWhyAtByte, {std::to_string(m_tokens.errorOffset())}, {m_tokens.error()}};
        if (m_error.empty() && m_format.mode == MarkupMode::Xml && !m_open.empty())
            m_error = {core::MessageId::XmlElementNotClosed, {std::string(m_open.back().name)}};
        if (!m_error.empty()) {
            outcome.error = m_error;
            return outcome;
        }
        // Fields that never came to a separate or end mark: their instructions as they stand.
        for (FieldInstruction &f : m_fields)
            if (!f.separated) {
                fieldInstruction(f);
                f.separated = true;
            }
        if (!m_error.empty()) {
            outcome.error = m_error;
            return outcome;
        }
        flush();
        writeSplices();
        m_out.append(m_doc.substr(m_copied));
        outcome.bytes = std::move(m_out);
        outcome.changed = outcome.bytes != m_doc;
        outcome.edits = std::move(m_edits);
        return outcome;
    }

private:
    struct FieldInstruction {
        std::vector<ByteSpan> pieces; // its instrText contents so far
        bool separated = false;       // read; what follows is the field's result
    };
    struct Open {
        std::string_view name;
        ElementRole role;
        std::size_t bindings; // namespace bindings before it
        bool styleSheet;      // a page's <style>, whose font names are mapped
    };
    struct Binding {
        std::string_view prefix, uri;
    };

    // --- names ---------------------------------------------------------------------------------

    std::string_view uriOf(std::string_view prefix) const {
        if (prefix == "xml")
            return kXmlNamespace;
        for (auto it = m_bindings.rbegin(); it != m_bindings.rend(); ++it)
            if (it->prefix == prefix)
                return it->uri;
        return {};
    }
    // The name as the rules write it: the usual prefix of its namespace and its local part;
    // empty when its namespace is none the format knows. Attributes without a prefix are in no
    // namespace and keep their bare local name.
    std::string_view canonical(std::string_view name, bool attribute, std::string &buffer) const {
        const std::size_t colon = name.find(':');
        std::string_view local = colon == std::string_view::npos ? name : name.substr(colon + 1);
        if (m_format.byLocalName) {
            if (attribute && colon != std::string_view::npos && name.substr(0, colon) == "xml")
                return name;
            buffer.assign(local);
            for (char &c : buffer)
                if (c >= 'A' && c <= 'Z')
                    c = static_cast<char>(c + 32);
            return buffer;
        }
        if (attribute && colon == std::string_view::npos)
            return name;
        const std::string_view prefix =
            colon == std::string_view::npos ? std::string_view() : name.substr(0, colon);
        const std::string_view uri = uriOf(prefix);
        if (uri == kXmlNamespace) {
            buffer = "xml:";
            buffer += local;
            return buffer;
        }
        for (const NamespaceName &ns : m_format.namespaces)
            if (ns.uri == uri) {
                buffer.assign(ns.prefix);
                buffer += ':';
                buffer += local;
                return buffer;
            }
        return {};
    }
    ElementRole roleOf(std::string_view name) {
        // By the name as written, while the namespaces in scope stay the same.
        if (m_cachedGeneration != m_bindingsGeneration) {
            m_roleCache.clear();
            m_cachedGeneration = m_bindingsGeneration;
        }
        if (const auto it = m_roleCache.find(name); it != m_roleCache.end())
            return it->second;
        ElementRole role = ElementRole::None;
        if (const std::string_view c = canonical(name, false, m_nameBuffer); !c.empty())
            if (const auto it = m_roles.find(c); it != m_roles.end())
                role = it->second;
        m_roleCache.emplace(name, role);
        return role;
    }

    // --- tokens --------------------------------------------------------------------------------

    bool step(const Token &token) {
        const bool rawTextAfter = m_skipRawText, styleRawText = m_styleRawText, literal = m_literalRawText;
        m_skipRawText = m_styleRawText = m_literalRawText = false;
        switch (token.kind) {
        case TokenKind::StartTag:
        case TokenKind::EmptyTag:
            return startTag(token);
        case TokenKind::EndTag:
            return endTag(token);
        case TokenKind::Text:
            if (styleRawText || m_styleSheets > 0)
                styleSheetText(token.content, styleRawText);
            else if (!rawTextAfter)
                text(token.content, literal ? TextPlace::CData : TextPlace::Content);
            return m_error.empty();
        case TokenKind::CData:
            if (m_styleSheets > 0)
                styleSheetText(token.content, true);
            else
                text(token.content, TextPlace::CData);
            return m_error.empty();
        default: // declarations, comments and instructions are never text
            return true;
        }
    }

    bool startTag(const Token &token) {
        const std::size_t bindingsBefore = m_bindings.size();
        if (m_format.mode == MarkupMode::Xml) {
            for (const Attribute &a : token.attributes) {
                const std::string_view name = a.name.of(m_doc);
                if (name == "xmlns")
                    m_bindings.push_back({"", a.value.of(m_doc)}), ++m_bindingsGeneration;
                else if (name.substr(0, 6) == "xmlns:")
                    m_bindings.push_back({name.substr(6), a.value.of(m_doc)}), ++m_bindingsGeneration;
            }
        }
        const std::string_view name = token.name.of(m_doc);
        ElementRole role = roleOf(name);
        // A style sheet of a page: its font names, with fonts; HTML's is the raw text that follows.
        bool styleSheet = false;
        if (m_options.fonts && m_format.byLocalName && token.kind == TokenKind::StartTag) {
            std::string buffer;
            styleSheet = canonical(name, false, buffer) == "style";
        }
        if (!m_valueTypes.empty() && role != ElementRole::None && !isString(token, name))
            role = ElementRole::None;
        const bool tracked = !m_options.boundElements.empty() && m_format.mode == MarkupMode::Xml;
        if (tracked && stepInto(name) && role == ElementRole::None)
            role = ElementRole::TextParagraph;
        if (tracked && token.kind == TokenKind::EmptyTag)
            stepOut();
        if ((role == ElementRole::Text || role == ElementRole::DeletedText) && m_format.spaceNeedsPreserve &&
            token.kind == TokenKind::StartTag) {
            m_textPreserveAt = token.whole.end - 1; // before its '>'
            m_textSpaceKept =
                std::any_of(token.attributes.begin(), token.attributes.end(),
                            [&](const Attribute &a) { return a.name.of(m_doc) == "xml:space"; });
        }
        if (role == ElementRole::Cell) {
            m_stringResult =
                std::any_of(token.attributes.begin(), token.attributes.end(), [&](const Attribute &a) {
                    return a.name.of(m_doc) == "t" && a.value.of(m_doc) == "str";
                });
            role = ElementRole::None;
        } else if (role == ElementRole::CachedResult) {
            role = m_stringResult ? ElementRole::TextParagraph : ElementRole::Never;
        } else if (role == ElementRole::HiddenMark) {
            // Only the run's own properties hide it: not a paragraph mark's, nor the properties a
            // tracked change had before (w:rPrChange); w:val="0" (false, off) shows it.
            const std::size_t n = m_open.size();
            if (n >= 2 && m_open[n - 1].role == ElementRole::RunProperties &&
                m_open[n - 2].role == ElementRole::Run && !m_runs.empty()) {
                const bool hidden =
                    std::none_of(token.attributes.begin(), token.attributes.end(), [&](const Attribute &a) {
                        const std::string_view v = a.value.of(m_doc);
                        return a.name.of(m_doc).ends_with(":val") && (v == "0" || v == "false" || v == "off");
                    });
                if (hidden != m_runs.back().hidden) {
                    m_runs.back().hidden = hidden;
                    hidden ? ++m_hiddenRuns : --m_hiddenRuns;
                }
            }
            role = ElementRole::None;
        } else if (role == ElementRole::LinkMark) {
            // A DrawingML run whose own properties give it a link (not a shape's click, nor a
            // paragraph's end): its text is the link's.
            const std::size_t n = m_open.size();
            if (n >= 2 && m_open[n - 1].role == ElementRole::RunProperties &&
                m_open[n - 2].role == ElementRole::Run && !m_runs.empty() && !m_runs.back().linked) {
                m_runs.back().linked = true;
                m_links.push_back(++m_linkCount);
            }
            role = ElementRole::None;
        }
        if (role == ElementRole::FieldMark) {
            fieldMark(token);
            role = ElementRole::Boundary;
        }
        attributes(token, name);
        if (role == ElementRole::Link && m_format.mode == MarkupMode::Html) // no nesting: </a> ends it
            m_htmlLink = ++m_linkCount;
        enter(role);
        if (m_format.mode == MarkupMode::Html) {
            // HTML pairs no tags here: script and style (<script/> too) hold raw text, the one
            // token that follows.
            m_skipRawText = role == ElementRole::Never || role == ElementRole::Aside;
            m_styleRawText = styleSheet;
            // Text a browser shows as it stands, no reference read (<xmp>, <plaintext>): converted
            // so, and a character the page's encoding lacks refused, not written as a reference.
            if (token.kind == TokenKind::StartTag) {
                std::string buffer;
                const std::string_view element = canonical(name, false, buffer);
                m_literalRawText = element == "xmp" || element == "plaintext" || element == "noframes" ||
                                   element == "noembed" || element == "iframe";
            }
            leave(role);
        } else if (token.kind == TokenKind::EmptyTag) {
            leave(role);
            if (m_bindings.size() != bindingsBefore)
                m_bindings.resize(bindingsBefore), ++m_bindingsGeneration;
        } else {
            m_open.push_back({name, role, bindingsBefore, styleSheet});
            m_styleSheets += styleSheet;
        }
        return m_error.empty();
    }

    bool endTag(const Token &token) {
        const std::string_view name = token.name.of(m_doc);
        if (m_format.mode == MarkupMode::Html) {
            const ElementRole role = roleOf(name);
            if (role == ElementRole::Link)
                m_htmlLink = 0;
            if (role != ElementRole::Never && role != ElementRole::Aside) {
                enter(role);
                leave(role);
            }
            return true;
        }
        if (m_open.empty() || m_open.back().name != name) {
            m_error = {core::MessageId::XmlEndTagMismatch,
                       {std::string(name), std::to_string(token.whole.begin)}};
            return false;
        }
        leave(m_open.back().role);
        m_styleSheets -= m_open.back().styleSheet;
        if (!m_options.boundElements.empty())
            stepOut();
        if (m_bindings.size() != m_open.back().bindings)
            m_bindings.resize(m_open.back().bindings), ++m_bindingsGeneration;
        m_open.pop_back();
        return true;
    }

    void enter(ElementRole role) {
        switch (role) {
        case ElementRole::Paragraph:
        case ElementRole::Boundary:
            flush();
            break;
        case ElementRole::TextParagraph:
            flush();
            ++m_textParagraphs;
            break;
        case ElementRole::HeaderFooter:
            flush();
            ++m_headerFooters;
            break;
        case ElementRole::Never:
            flush();
            ++m_never;
            break;
        case ElementRole::Aside:
            ++m_never;
            break;
        case ElementRole::Text:
            ++m_text;
            break;
        case ElementRole::DeletedText:
            ++m_deleted;
            break;
        case ElementRole::LanguageText:
            ++m_language;
            break;
        case ElementRole::Formula:
            flush();
            ++m_formula;
            break;
        case ElementRole::FieldCode:
            flush();
            ++m_fieldCode;
            break;
        case ElementRole::Run:
            m_runs.push_back({});
            break;
        case ElementRole::Link:
            if (m_format.mode != MarkupMode::Html)
                m_links.push_back(++m_linkCount);
            break;
        case ElementRole::None:
        case ElementRole::Cell: // both taken for others on entering
        case ElementRole::FieldMark:
        case ElementRole::CachedResult:
        case ElementRole::HiddenMark:
        case ElementRole::LinkMark:
        case ElementRole::RunProperties:
            break;
        }
    }
    void leave(ElementRole role) {
        switch (role) {
        case ElementRole::Paragraph:
        case ElementRole::Boundary:
            flush();
            break;
        case ElementRole::TextParagraph:
            flush();
            --m_textParagraphs;
            break;
        case ElementRole::HeaderFooter:
            flush();
            --m_headerFooters;
            break;
        case ElementRole::Never:
            flush();
            --m_never;
            break;
        case ElementRole::Aside:
            --m_never;
            break;
        case ElementRole::Text:
            --m_text;
            break;
        case ElementRole::DeletedText:
            --m_deleted;
            break;
        case ElementRole::LanguageText:
            --m_language;
            break;
        case ElementRole::Formula:
            flush();
            --m_formula;
            break;
        case ElementRole::FieldCode:
            flush();
            --m_fieldCode;
            break;
        case ElementRole::Run:
            if (!m_runs.empty()) {
                m_hiddenRuns -= m_runs.back().hidden ? 1 : 0;
                if (m_runs.back().linked && !m_links.empty())
                    m_links.pop_back();
                m_runs.pop_back();
            }
            break;
        case ElementRole::Link:
            if (m_format.mode != MarkupMode::Html && !m_links.empty())
                m_links.pop_back();
            break;
        case ElementRole::None:
        case ElementRole::Cell: // both taken for others on entering
        case ElementRole::FieldMark:
        case ElementRole::CachedResult:
        case ElementRole::HiddenMark:
        case ElementRole::LinkMark:
        case ElementRole::RunProperties:
            break;
        }
    }

    // Enters the element `name` (its namespace declarations in scope already): whether it is one of
    // the bound elements.
    bool stepInto(std::string_view name) {
        // No bound path is longer than the deepest kept: deeper elements are only counted, so that a
        // crafted store nested millions deep costs no copies of its names.
        if (m_path.size() >= m_boundDepth) {
            ++m_deeper;
            return false;
        }
        const std::size_t colon = name.find(':');
        const std::string_view prefix =
            colon == std::string_view::npos ? std::string_view() : name.substr(0, colon);
        ElementStep step{std::string(uriOf(prefix)),
                         std::string(colon == std::string_view::npos ? name : name.substr(colon + 1)), 0};
        step.index = ++m_siblings.back()[{step.uri, step.local}];
        m_path.push_back(std::move(step));
        m_siblings.emplace_back();
        return m_bound.count(m_path) != 0;
    }
    void stepOut() {
        if (m_deeper > 0) {
            --m_deeper;
            return;
        }
        m_path.pop_back();
        m_siblings.pop_back();
    }

    // False for an element whose rule names a value type attribute that says other than "string",
    // or ("attribute!=value") an attribute that says that value.
    bool isString(const Token &token, std::string_view element) {
        std::string elementBuffer, attributeBuffer;
        const auto rule = m_valueTypes.find(canonical(element, false, elementBuffer));
        if (rule == m_valueTypes.end())
            return true;
        const std::size_t unless = rule->second.find("!=");
        const std::string_view type = rule->second.substr(0, unless);
        for (const Attribute &a : token.attributes)
            if (canonical(a.name.of(m_doc), true, attributeBuffer) == type)
                return unless == std::string_view::npos
                           ? a.value.of(m_doc) == "string"
                           : a.value.of(m_doc) != rule->second.substr(unless + 2);
        return true;
    }

    // --- attributes ----------------------------------------------------------------------------

    void attributes(const Token &token, std::string_view element) {
        if (token.attributes.empty() || (!m_textAttributes && !m_options.fonts))
            return;
        std::string elementBuffer, attributeBuffer;
        const std::string_view el = canonical(element, false, elementBuffer);
        for (const Attribute &a : token.attributes) {
            const std::string_view an = canonical(a.name.of(m_doc), true, attributeBuffer);
            for (const AttributeRule &rule : m_format.attributes) {
                if (rule.attribute != an || (rule.element != "*" && rule.element != el))
                    continue;
                attribute(token, a, rule.role);
                break;
            }
        }
    }

    void attribute(const Token &token, const Attribute &a, AttributeRole role) {
        if (role == AttributeRole::FieldCode) {
            if (!m_never)
                fieldCodeText(a.value, TextPlace::Attribute, a.quote, kAttributeChannel);
            return;
        }
        if (role == AttributeRole::Formula || role == AttributeRole::NumberFormat) {
            if (!m_never)
                formulaText(a.value, TextPlace::Attribute, a.quote, kAttributeChannel,
                            role == AttributeRole::NumberFormat);
            return;
        }
        if (role == AttributeRole::ButtonLabel) {
            auto lower = [](std::string_view v) {
                std::string out(v);
                for (char &c : out)
                    c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
                return out;
            };
            std::string type;
            bool named = false;
            for (const Attribute &other : token.attributes) {
                const std::string n = lower(other.name.of(m_doc));
                if (n == "type")
                    type = lower(other.value.of(m_doc));
                named = named || n == "name";
            }
            const bool label = type == "button" || type == "reset" || (type == "submit" && !named);
            if (!label)
                return;
            role = AttributeRole::Text;
        }
        if (role == AttributeRole::MetaContent) {
            static constexpr std::string_view kShown[] = {
                "description",
                "keywords",
                "og:title",
                "og:description",
                "og:site_name",
                "twitter:title",
                "twitter:description",
                "application-name",
                "apple-mobile-web-app-title",
                // Dublin Core, as LibreOffice and many sites write the title and description
                "dc.title",
                "dc.description",
                "dc.subject",
                "dcterms.title",
                "dcterms.description",
                "dcterms.subject",
                "dcterms.abstract",
            };
            bool shown = false;
            for (const Attribute &other : token.attributes) {
                std::string n(other.name.of(m_doc)), v(other.value.of(m_doc));
                for (std::string *s : {&n, &v})
                    for (char &c : *s)
                        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
                if (n == "name" || n == "property")
                    shown = shown || std::find(std::begin(kShown), std::end(kShown), v) != std::end(kShown);
            }
            if (!shown)
                return;
            role = AttributeRole::Text;
        }
        if (role == AttributeRole::OutlineLink) {
            const std::string_view href = a.value.of(m_doc);
            constexpr std::string_view kOutline = "|outline";
            if (m_never || href.size() <= 1 + kOutline.size() || href.front() != '#' ||
                href.substr(href.size() - kOutline.size()) != kOutline ||
                href.find('%') != std::string_view::npos)
                return;
            addText({a.value.begin + 1, a.value.end - kOutline.size()}, TextPlace::Attribute, a.quote,
                    kAttributeChannel);
            flushChannel(static_cast<std::size_t>(kAttributeChannel));
            return;
        }
        if (role == AttributeRole::Text) {
            if (m_never)
                return;
            // An attribute's text is a text of its own, converted on a channel of its own: the
            // paragraph around its element (<a title=...> inside a sentence) goes on unbroken.
            addText(a.value, TextPlace::Attribute, a.quote, kAttributeChannel);
            flushChannel(static_cast<std::size_t>(kAttributeChannel));
            return;
        }
        if (!m_options.fonts)
            return;
        std::vector<DecodedChar> chars;
        std::vector<std::size_t> breaks;
        core::Message error;
        if (!decodeText(m_doc, a.value, m_format.mode, chars, breaks, error) || !breaks.empty())
            return;
        std::string value;
        for (const DecodedChar &c : chars)
            appendUtf8(c.cp, value);
        std::string mapped;
        if (role == AttributeRole::Font) {
            mapped = mapFontName(value, m_options.direction);
        } else if (role == AttributeRole::Style) {
            mapped = mapCssFonts(value, m_options.direction);
        } else if (role == AttributeRole::FontList) {
            mapped = mapFontFamilies(value, m_options.direction);
        } else if (role == AttributeRole::Language) {
            mapped = mapLanguageTag(value, m_options);
        } else {
            // A country code only beside the language zh.
            bool chinese = false;
            for (const Attribute &other : token.attributes) {
                const std::string_view n = other.name.of(m_doc);
                if (n.find("language") != std::string_view::npos && other.value.of(m_doc) == "zh")
                    chinese = true;
            }
            mapped = chinese && value.size() == 2 ? mapLanguageTag(value, m_options) : value;
        }
        if (mapped != value) {
            std::string bytes;
            encodeText(mapped, TextPlace::Attribute, a.quote, bytes);
            m_splices.push_back({a.value, std::move(bytes)});
        }
    }

    // --- text ----------------------------------------------------------------------------------

    void text(ByteSpan content, TextPlace place) {
        if (m_never || content.size() == 0)
            return;
        if (m_formula) {
            if (place == TextPlace::Content)
                formulaText(content, place, 0, 0);
            return;
        }
        if (m_fieldCode) {
            if (place != TextPlace::Content)
                return;
            if (!m_fields.empty() && !m_fields.back().separated)
                m_fields.back().pieces.push_back(content); // read whole at its separate or end mark
            else
                fieldCodeText(content, place, 0, 0);
            return;
        }
        if (m_language) {
            if (m_options.fonts && place == TextPlace::Content)
                languageText(content);
            return;
        }
        // A hidden run's text goes with the deleted text: read in a context of its own, apart from
        // the paragraph a reader sees (only where it would be the paragraph's text at all).
        int channel = -1;
        if (m_deleted)
            channel = 1;
        else if (m_text || m_textParagraphs || m_headerFooters || m_format.textEverywhere)
            channel = m_hiddenRuns > 0 ? 1 : 0;
        if (channel < 0)
            return;
        addText(content, place, 0, channel);
    }

    // A formula's string literals, each converted as a text of its own. Sheet names in single
    // quotes ('销售 数据'!A1) and structured references in brackets (表1[[#This Row],[销售额]]) are
    // passed over whole: a double quote there is no literal's. A literal that holds a reference
    // ("销售!B1"), an address or a path, or is one of the names a formula may spell out, stays as
    // it is.
    // `escapes`: a number format's code, where a backslash makes the next character a literal
    // (LibreOffice writes one word character so: General\个).
    void formulaText(ByteSpan content, TextPlace place, char quote, int channel, bool escapes = false) {
        const std::string_view raw = content.of(m_doc);
        if (raw.find('"') == std::string_view::npos && raw.find('&') == std::string_view::npos &&
            (!escapes || raw.find('\\') == std::string_view::npos))
            return; // no literal (most formulas): nothing to take apart
        if (!decodeWhole(content))
            return; // unreadable, or an entity that is no character: not a formula to take apart
        const std::vector<DecodedChar> &chars = m_formulaChars;
        const std::size_t n = chars.size();
        // With a change of letter case, the functions open around the place read, each with the
        // argument reached: a literal a function reads as a code keeps its case.
        std::vector<std::pair<std::string, int>> &calls = m_formulaCalls;
        calls.clear();
        auto isNameChar = [](char32_t x) {
            return (x >= 'A' && x <= 'Z') || (x >= 'a' && x <= 'z') || (x >= '0' && x <= '9') || x == '.' ||
                   x == '_';
        };
        auto readAsCode = [&] {
            if (!m_options.letterCase || calls.empty())
                return false;
            const auto &[name, arg] = calls.back();
            return (name == "CONVERT" && arg >= 1) || (name == "TEXT" && arg == 1) ||
                   (name == "HYPERLINK" && arg == 0) || name == "CELL" || name == "INFO" ||
                   name == "WEBSERVICE";
        };
        for (std::size_t i = 0; i < n; ++i) {
            const char32_t c = chars[i].cp;
            if (m_options.letterCase && !escapes) {
                if (c == '(') {
                    std::size_t b = i;
                    while (b > 0 && isNameChar(chars[b - 1].cp))
                        --b;
                    std::string name;
                    for (std::size_t k = b; k < i; ++k)
                        name += static_cast<char>(chars[k].cp >= 'a' && chars[k].cp <= 'z' ? chars[k].cp - 32
                                                                                           : chars[k].cp);
                    // Excel's newer functions are stored with a prefix (_xlfn.), OpenDocument's with one too
                    if (const std::size_t dot = name.rfind('.'); dot != std::string::npos)
                        name.erase(0, dot + 1);
                    calls.emplace_back(std::move(name), 0);
                } else if ((c == ',' || c == ';') && !calls.empty()) {
                    ++calls.back().second;
                } else if (c == ')' && !calls.empty()) {
                    calls.pop_back();
                }
            }
            if (escapes && c == '\\') {
                if (i + 1 < n && chars[i + 1].cp >= 0x80)
                    literal(chars, i + 1, i + 2, place, quote, channel);
                ++i;
            } else if (c == '\'' && !escapes) {
                // to the closing quote; two quotes stand for one inside
                for (++i; i < n; ++i) {
                    if (chars[i].cp != '\'')
                        continue;
                    if (i + 1 < n && chars[i + 1].cp == '\'')
                        ++i;
                    else
                        break;
                }
            } else if (c == '[') {
                int depth = 1;
                for (++i; i < n && depth > 0; ++i) {
                    if (chars[i].cp == '\'')
                        ++i; // escapes the next character of a column name
                    else if (chars[i].cp == '[')
                        ++depth;
                    else if (chars[i].cp == ']')
                        --depth;
                }
                --i;
            } else if (c == '"') {
                std::size_t end = i + 1;
                while (end < n && !(chars[end].cp == '"' && !(end + 1 < n && chars[end + 1].cp == '"')))
                    end += chars[end].cp == '"' ? 2 : 1;
                if (end >= n)
                    return; // not closed: leave the rest as it is
                if (end > i + 1 && !readAsCode())
                    literal(chars, i + 1, end, place, quote, channel);
                i = end;
            }
        }
    }

    // A complex field's mark: begin opens an instruction, separate reads it (the result follows),
    // end reads it where no separate came and closes the field. Fields nest ({ IF { MERGEFIELD } }).
    void fieldMark(const Token &token) {
        std::string_view type;
        for (const Attribute &a : token.attributes)
            if (a.name.of(m_doc).ends_with(":fldCharType"))
                type = a.value.of(m_doc);
        if (type == "begin") {
            m_fields.push_back({});
        } else if ((type == "separate" || type == "end") && !m_fields.empty()) {
            if (!m_fields.back().separated)
                fieldInstruction(m_fields.back());
            m_fields.back().separated = true;
            if (type == "end")
                m_fields.pop_back();
        }
    }

    // The instruction of a complex field, its pieces (the instrText of each run Word split it
    // into: ` XE "软` + `件" `) read as one.
    void fieldInstruction(const FieldInstruction &field) {
        flushChannel(0);
        flushChannel(1);
        std::vector<std::size_t> ends;
        if (decodeWhole(field.pieces, &ends))
            fieldCodeWords(ends, TextPlace::Content, 0, 0);
    }

    // A Word field's instruction (an instrText whole, or a simple field's): only what the field
    // shows or writes into the document is text: an index entry's and a contents entry's words
    // (XE "软件:安装", TC "概述"), the words of XE's \t ("参见 软件"), a hyperlink's tip (\o "提示")
    // and a macro button's caption (MACROBUTTON NoMacro [单击此处输入姓名]). Field names, bookmarks,
    // addresses, switches and formats stay.
    void fieldCodeText(ByteSpan content, TextPlace place, char quote, int channel) {
        if (!decodeWhole(content))
            return;
        fieldCodeWords({m_formulaChars.size()}, place, quote, channel);
    }

    // The words of the instruction decoded in m_formulaChars, whose pieces end at `ends`: each
    // converted as one text, its part in each piece written back there.
    void fieldCodeWords(const std::vector<std::size_t> &ends, TextPlace place, char quote, int channel) {
        const std::vector<DecodedChar> &chars = m_formulaChars;
        const std::size_t n = chars.size();
        auto blank = [&](std::size_t k) { return chars[k].cp == ' ' || chars[k].cp == '\t'; };
        std::size_t i = 0;
        auto skipBlanks = [&] {
            while (i < n && blank(i))
                ++i;
        };
        // The next argument: a quoted one's inside (`quoted`), or a word; false at the end or at
        // a quote that is not closed.
        auto next = [&](std::size_t &b, std::size_t &e, bool &quoted) {
            skipBlanks();
            if (i >= n)
                return false;
            quoted = chars[i].cp == '"';
            if (quoted) {
                b = ++i;
                while (i < n && chars[i].cp != '"')
                    i += chars[i].cp == '\\' && i + 1 < n ? 2 : 1;
                if (i >= n)
                    return false;
                e = i++;
                return true;
            }
            b = i;
            while (i < n && !blank(i) && chars[i].cp != '"')
                ++i;
            e = i;
            return true;
        };
        auto lower = [&](std::size_t k) {
            const char32_t c = chars[k].cp;
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c < 0x80 ? static_cast<char>(c) : '?';
        };
        std::size_t b = 0, e = 0;
        bool quoted = false;
        if (!next(b, e, quoted) || quoted)
            return;
        std::string type;
        for (std::size_t k = b; k < e; ++k)
            type += lower(k);
        // Each as a text of its own (a backslash or a ! in it is the entry's, no path or reference
        // as in a formula's literal); an edit never brings a quote into the instruction.
        auto convert = [&](std::size_t from, std::size_t to) {
            if (to <= from)
                return;
            std::size_t start = 0;
            for (std::size_t end : ends) {
                const std::size_t b = std::max(from, start), e = std::min(to, end);
                if (b < e)
                    addText({chars[b].raw.begin, chars[e - 1].raw.end}, place, quote, channel);
                start = end;
            }
            m_inLiteral = true;
            flushChannel(static_cast<std::size_t>(channel));
            m_inLiteral = false;
        };
        if (type == "macrobutton") {
            if (!next(b, e, quoted))
                return; // the macro's name
            skipBlanks();
            std::size_t end = n;
            while (end > i && blank(end - 1))
                --end;
            convert(i, end);
            return;
        }
        const bool entry = type == "xe" || type == "tc", link = type == "hyperlink";
        if (!entry && !link)
            return;
        bool first = true;
        char pending = 0; // the switch whose argument comes next
        while (next(b, e, quoted)) {
            if (!quoted && chars[b].cp == '\\') {
                pending = e == b + 2 ? lower(b + 1) : 0;
                first = false;
                continue;
            }
            if ((entry && first) || (type == "xe" && pending == 't') || (link && pending == 'o'))
                convert(b, e);
            first = false;
            pending = 0;
        }
    }

    void literal(const std::vector<DecodedChar> &chars, std::size_t begin, std::size_t end, TextPlace place,
                 char quote, int channel) {
        std::string text;
        for (std::size_t k = begin; k < end; ++k)
            appendUtf8(chars[k].cp, text);
        // A reference ("销售!B1"), an address or a path (HYPERLINK's, another workbook's), a name.
        const bool address = text.find("://") != std::string::npos || text.find('\\') != std::string::npos ||
                             text.rfind("mailto:", 0) == 0;
        if (text.find('!') != std::string::npos || address || cellAfterDot(text) ||
            m_formulaNames.count(text) != 0 || m_kept.count(text) != 0)
            return;
        textOfItsOwn(chars, begin, end, place, quote, channel);
    }

    // Characters [begin, end) of `chars` converted as a text of their own, inside a formula or a
    // field's instruction: no edit may bring a quote in, which would end the literal.
    void textOfItsOwn(const std::vector<DecodedChar> &chars, std::size_t begin, std::size_t end,
                      TextPlace place, char quote, int channel) {
        addText({chars[begin].raw.begin, chars[end - 1].raw.end}, place, quote, channel);
        m_inLiteral = true;
        flushChannel(static_cast<std::size_t>(channel));
        m_inLiteral = false;
    }

    // Decodes `content` into m_formulaChars: false (m_error set) where it cannot be read, and
    // where an entity that is no character cuts it.
    bool decodeWhole(ByteSpan content) { return decodeWhole(std::span<const ByteSpan>(&content, 1)); }
    // The same for `pieces` one after another; `ends`, if given, receives where each ends.
    bool decodeWhole(std::span<const ByteSpan> pieces, std::vector<std::size_t> *ends = nullptr) {
        m_formulaChars.clear();
        m_formulaBreaks.clear();
        for (const ByteSpan &content : pieces) {
            core::Message error;
            if (!decodeText(m_doc, content, m_format.mode, m_formulaChars, m_formulaBreaks, error)) {
                m_error = error;
                return false;
            }
            if (ends)
                ends->push_back(m_formulaChars.size());
        }
        return m_formulaBreaks.empty();
    }

    // Whether `text` names a cell after a dot, as OpenDocument's formulas write a sheet's cell
    // (INDIRECT("销售.B1"), "$销售.$B$1"): a dot, then letters and digits with optional dollars.
    static bool cellAfterDot(std::string_view text) {
        auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
        for (std::size_t dot = text.find('.'); dot != std::string_view::npos; dot = text.find('.', dot + 1)) {
            std::size_t i = dot + 1;
            i += i < text.size() && text[i] == '$';
            const std::size_t letters = i;
            while (i < text.size() && letter(text[i]))
                ++i;
            if (i == letters || i - letters > 3)
                continue;
            i += i < text.size() && text[i] == '$';
            if (i < text.size() && text[i] >= '0' && text[i] <= '9')
                return true;
        }
        return false;
    }

    // CSS inside a page (the font names in it, PartOptions::fonts); `raw`: no character
    // references are read there (HTML's raw text, CDATA).
    void styleSheetText(ByteSpan content, bool raw) {
        const std::string_view css = content.of(m_doc);
        std::string mapped = mapCssFonts(css, m_options.direction);
        if (mapped != css)
            m_splices.push_back({content, std::move(mapped), !raw});
    }

    void languageText(ByteSpan content) {
        const std::string_view raw = content.of(m_doc);
        const std::size_t b = raw.find_first_not_of(" \t\r\n"), e = raw.find_last_not_of(" \t\r\n");
        if (b == std::string_view::npos)
            return;
        const std::string mapped = mapLanguageTag(raw.substr(b, e - b + 1), m_options);
        if (mapped != raw.substr(b, e - b + 1))
            m_splices.push_back({{content.begin + b, content.begin + e + 1}, mapped});
    }

    // HTML's named references to letters where the text is cut (caf&eacute;): each converted as
    // its letter, and written by the name of what it becomes (&Eacute; for upper case), or by
    // number where that has none.
    void letterReferences(ByteSpan span, const std::vector<DecodedChar> &chars,
                          const std::vector<std::size_t> &breaks) {
        for (std::size_t k : breaks) {
            const std::size_t to = k < chars.size() ? chars[k].raw.begin : span.end;
            std::size_t at = k > 0 ? chars[k - 1].raw.end : span.begin;
            while (at < to && m_doc[at] == '&') {
                const std::size_t semi = m_doc.find(';', at);
                if (semi == std::string_view::npos || semi >= to)
                    break;
                if (const char32_t letter = htmlLetterReference(m_doc.substr(at + 1, semi - at - 1))) {
                    std::string utf8;
                    appendUtf8(letter, utf8);
                    m_converter.convert(utf8, m_letterOut, m_letterSegments);
                    if (m_letterOut != utf8) {
                        std::string bytes;
                        forEachCodePoint(m_letterOut, true, [&](char32_t c) {
                            if (const std::string_view name = htmlLetterReferenceName(c); !name.empty())
                                bytes += "&" + std::string(name) + ";";
                            else
                                bytes += numericReference(c);
                        });
                        m_splices.push_back({{at, semi + 1}, std::move(bytes)});
                    }
                }
                at = semi + 1;
            }
        }
    }

    static std::string numericReference(char32_t c) {
        char reference[16];
        std::snprintf(reference, sizeof reference, "&#x%X;", static_cast<unsigned>(c));
        return reference;
    }

    // Decodes a text node into pieces of the paragraph on `channel`; entities that are no character
    // and header/footer codes cut the paragraph there.
    void addText(ByteSpan span, TextPlace place, char quote, int channel = 0) {
        // A paragraph is converted as one text, which costs some forty times its size: past the
        // limit (one run of a hundred megabytes) it is refused, not left to exhaust the memory.
        {
            Channel &ch = m_channels[static_cast<std::size_t>(channel)];
            ch.bytes = (ch.used == 0 ? 0 : ch.bytes) + span.size();
            if (ch.bytes > kParagraphLimit) {
                m_error = {core::MessageId::ParagraphTooLong, {std::to_string(kParagraphLimit >> 20)}};
                return;
            }
        }
        std::vector<DecodedChar> &chars = m_chars;
        std::vector<std::size_t> &breaks = m_breaks;
        chars.clear();
        breaks.clear();
        core::Message error;
        bool ok;
        if (place == TextPlace::CData) {
            ok = true;
            const std::string_view raw = span.of(m_doc);
            forEachCodePoint(raw, true, [&, at = span.begin](char32_t cp) mutable {
                unsigned char b[4];
                const auto len = static_cast<std::size_t>(encodeCodePoint(cp, b) - b);
                chars.push_back({cp, {at, at + len}});
                at += len;
            });
        } else {
            ok = decodeText(m_doc, span, m_format.mode, chars, breaks, error);
            if (ok && !breaks.empty() && m_format.mode == MarkupMode::Html)
                letterReferences(span, chars, breaks);
        }
        if (!ok) {
            m_error = error;
            return;
        }
        std::vector<bool> &code = m_code;
        code.clear();
        if (m_headerFooters && !m_text && !m_textParagraphs)
            markHeaderFooterCodes(chars, code);
        Channel &ch = m_channels[static_cast<std::size_t>(channel)];
        Piece *piece = nullptr;
        // Pieces are reused from one paragraph to the next, with their buffers.
        auto beginPiece = [&] {
            if (ch.used == ch.pieces.size())
                ch.pieces.emplace_back();
            piece = &ch.pieces[ch.used];
            piece->chars.clear();
            piece->utf8.clear();
            piece->place = place;
            piece->quote = quote;
            piece->node = span;
            piece->preserveAt = m_textPreserveAt;
            piece->spaceKept = !m_format.spaceNeedsPreserve || !(m_text || m_deleted) || m_textSpaceKept;
            piece->link = m_format.mode == MarkupMode::Html ? m_htmlLink
                          : m_links.empty()                 ? 0
                                                            : m_links.back();
        };
        auto endPiece = [&] {
            if (piece && !piece->chars.empty())
                ++ch.used;
            piece = nullptr;
        };
        std::size_t nextBreak = 0;
        for (std::size_t i = 0; i < chars.size(); ++i) {
            const bool cut = nextBreak < breaks.size() && breaks[nextBreak] == i;
            if (cut) {
                ++nextBreak;
                endPiece();
                flushChannel(static_cast<std::size_t>(channel));
            }
            if (!code.empty() && code[i]) {
                endPiece();
                flushChannel(static_cast<std::size_t>(channel));
                continue;
            }
            if (!piece)
                beginPiece();
            piece->chars.push_back(chars[i]);
            appendUtf8(chars[i].cp, piece->utf8);
        }
        endPiece();
        if (nextBreak < breaks.size()) // an entity at the very end
            flushChannel(static_cast<std::size_t>(channel));
    }

    // Spreadsheet header and footer codes: &L &C &R &P &B ..., &"font,style", &12 (a size), and
    // && (an ampersand); all are kept as they are and cut the text.
    static void markHeaderFooterCodes(const std::vector<DecodedChar> &chars, std::vector<bool> &code) {
        code.assign(chars.size(), false);
        for (std::size_t i = 0; i < chars.size(); ++i) {
            if (chars[i].cp != '&')
                continue;
            code[i] = true;
            if (i + 1 >= chars.size())
                break;
            std::size_t j = i + 1;
            if (chars[j].cp == '"') {
                code[j++] = true;
                while (j < chars.size() && chars[j].cp != '"')
                    code[j++] = true;
                if (j < chars.size())
                    code[j] = true;
            } else if (chars[j].cp >= '0' && chars[j].cp <= '9') {
                while (j < chars.size() && chars[j].cp >= '0' && chars[j].cp <= '9')
                    code[j++] = true;
                --j;
            } else {
                code[j] = true;
            }
            i = j;
        }
    }

    void flush() {
        flushChannel(0);
        flushChannel(1);
        writeSplices();
    }

    // Writes out the splices made so far, with the bytes before each. Only when no paragraph text
    // is pending: later splices then lie after these.
    void writeSplices() {
        if (m_splices.empty() || m_channels[0].used || m_channels[1].used)
            return;
        // A field's instruction not read yet lies before the splices made since it began.
        if (std::any_of(m_fields.begin(), m_fields.end(),
                        [](const FieldInstruction &f) { return !f.separated && !f.pieces.empty(); }))
            return;
        std::sort(m_splices.begin(), m_splices.end(),
                  [](const Splice &a, const Splice &b) { return a.span.begin < b.span.begin; });
        if (m_out.empty())
            m_out.reserve(m_doc.size() + m_doc.size() / 8);
        for (const Splice &sp : m_splices) {
            if (sp.span.begin < m_copied) // never two edits of one place; a second is dropped, not garbled
                continue;
            m_out.append(m_doc.substr(m_copied, sp.span.begin - m_copied));
            m_out += sp.bytes;
            m_copied = sp.span.end;
            if (m_options.listEdits)
                m_edits.push_back({sp.span.begin, sp.span.end, sp.bytes, sp.references});
        }
        m_splices.clear();
    }

    void flushChannel(std::size_t channel) {
        Channel &ch = m_channels[channel];
        if (ch.used == 0)
            return;
        m_texts.clear();
        m_textLinks.clear();
        for (std::size_t k = 0; k < ch.used; ++k) {
            m_texts.push_back(ch.pieces[k].utf8);
            m_textLinks.push_back(ch.pieces[k].link);
        }
        if (m_keepStrings && (channel == 0 || channel == static_cast<std::size_t>(kAttributeChannel)) &&
            keptString()) {
            ch.used = 0;
            return;
        }
        const auto &edits = m_mapper.convert(m_texts, m_textLinks);
        for (std::size_t k = 0; k < ch.used; ++k) {
            const Piece &p = ch.pieces[k];
            if (!p.spaceKept && !edits[k].empty())
                keepEdgeSpace(p, edits[k]);
            for (const PieceEdit &e : edits[k]) {
                if (e.end > p.chars.size() || e.begin > e.end)
                    continue;
                if (m_inLiteral && e.text.find('"') != std::string::npos)
                    continue; // would end the formula's literal

                ByteSpan span;
                span.begin = e.begin < p.chars.size() ? p.chars[e.begin].raw.begin : p.chars.back().raw.end;
                span.end = e.end > e.begin ? p.chars[e.end - 1].raw.end : span.begin;
                std::string bytes;
                encodeText(e.text, p.place, p.quote, bytes);
                m_splices.push_back({span, std::move(bytes), p.place != TextPlace::CData});
            }
        }
        ch.used = 0;
    }

    // A text element that holds `p` whole, whose text the edits make begin or end with white space
    // it did not begin or end with, is told to keep it (Word and Excel would drop it: U|盘 和 ->
    // 隨身碟| 和 read 隨身碟和).
    void keepEdgeSpace(const Piece &p, const std::vector<PieceEdit> &edits) {
        if (p.chars.front().raw.begin != p.node.begin || p.chars.back().raw.end != p.node.end)
            return;
        const std::string after = applyEdits(p.utf8, edits);
        auto space = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
        const bool leading = !after.empty() && space(after.front()) && !space(p.utf8.front());
        const bool trailing = !after.empty() && space(after.back()) && !space(p.utf8.back());
        if (leading || trailing)
            m_splices.push_back({{p.preserveAt, p.preserveAt}, " xml:space=\"preserve\""});
    }

    // Whether the paragraph in m_texts is, whole, one of the strings kept as they are: a column's
    // name, or a sheet's or a defined name, or a reference to a sheet's cells ("销售部!B1",
    // "'销售部'!B1", OpenDocument's "销售部.B1"), which INDIRECT and HYPERLINK read from a cell
    // (=INDIRECT(A1&"!B1") with A1 销售部) and find no more once the cell alone is converted.
    bool keptString() {
        m_joined.clear();
        for (const std::string_view t : m_texts)
            m_joined += t;
        if (m_kept.count(m_joined) != 0 || m_formulaNames.count(m_joined) != 0)
            return true;
        std::string_view text = m_joined;
        if (text.empty() || m_formulaNames.empty())
            return false;
        const std::string_view separators = m_dotReferences ? "!." : "!";
        std::string_view name;
        if (text.front() == '\'') {
            const std::size_t close = text.find('\'', 1);
            if (close == std::string_view::npos)
                return false;
            name = text.substr(1, close - 1);
            text.remove_prefix(close + 1);
        } else {
            const std::size_t at = text.find_first_of(separators);
            if (at == std::string_view::npos)
                return false;
            name = text.substr(0, at);
            text.remove_prefix(at);
        }
        return !text.empty() && separators.find(text.front()) != std::string_view::npos &&
               m_formulaNames.count(name) != 0 && isCellReference(text.substr(1));
    }

    // A1, $B$2, A1:C3 (OpenDocument's $B$2 and .C3 after the colon too): a cell or a range of them.
    static bool isCellReference(std::string_view ref) {
        const auto cell = [](std::string_view &s) {
            std::size_t i = 0;
            i += i < s.size() && s[i] == '$';
            const std::size_t letters = i;
            while (i < s.size() && ((s[i] >= 'A' && s[i] <= 'Z') || (s[i] >= 'a' && s[i] <= 'z')))
                ++i;
            if (i == letters || i - letters > 3)
                return false;
            i += i < s.size() && s[i] == '$';
            const std::size_t digits = i;
            while (i < s.size() && s[i] >= '0' && s[i] <= '9')
                ++i;
            if (i == digits || i - digits > 7)
                return false;
            s.remove_prefix(i);
            return true;
        };
        if (!cell(ref))
            return false;
        if (ref.empty())
            return true;
        if (ref.front() != ':')
            return false;
        ref.remove_prefix(1);
        if (!ref.empty() && ref.front() == '.')
            ref.remove_prefix(1);
        return cell(ref) && ref.empty();
    }

    struct Channel {
        std::vector<Piece> pieces;
        std::size_t used = 0;
        std::size_t bytes = 0; // of the pieces in use, as the part writes them
    };

    std::string_view m_doc;
    const PartFormat &m_format;
    const PartOptions &m_options;
    XmlTokenizer m_tokens;
    RunMapper m_mapper;
    std::unordered_map<std::string_view, ElementRole> m_roles;
    std::unordered_map<std::string_view, std::string_view> m_valueTypes; // element -> its type attribute
    std::unordered_map<std::string_view, ElementRole> m_roleCache;       // names as written in this part
    std::size_t m_bindingsGeneration = 0, m_cachedGeneration = 0;        // namespaces declared or gone
    bool m_textAttributes = false; // the format has attributes that are text
    std::string m_nameBuffer;
    std::vector<Open> m_open;
    std::vector<Binding> m_bindings;
    // With bound elements: the open elements' path, and for each of them (and the document) how
    // many children of each name it has had so far.
    std::set<ElementPath> m_bound;
    std::size_t m_boundDepth = 0, m_deeper = 0; // the longest bound path; open elements below it
    std::unordered_set<std::string_view> m_kept, m_formulaNames; // of the options' strings
    ElementPath m_path;
    std::vector<std::map<std::pair<std::string, std::string>, unsigned>> m_siblings{1};
    static constexpr int kAttributeChannel = 2;
    std::array<Channel, 3> m_channels; // the paragraph's text, its deleted text, an attribute's text
    std::vector<std::string_view> m_texts;
    std::vector<DecodedChar> m_chars;        // buffers of addText, kept from one text to the next
    std::vector<DecodedChar> m_formulaChars; // and of formulaText, which calls addText
    std::vector<std::size_t> m_formulaBreaks;
    std::vector<std::pair<std::string, int>> m_formulaCalls; // formulaText's open functions
    std::vector<std::size_t> m_breaks;
    std::vector<bool> m_code;
    std::vector<Splice> m_splices;
    const SegmentedConverter &m_converter;
    std::string m_letterOut; // a letter reference's conversion
    std::vector<Segment> m_letterSegments;
    std::vector<PartEdit> m_edits;
    std::string m_out;
    std::size_t m_copied = 0; // bytes of the part written out
    struct OpenRun {
        bool hidden = false; // a Word run its own properties hide
        bool linked = false; // a DrawingML run its own properties link (its number in m_links)
    };
    std::vector<FieldInstruction> m_fields; // the complex fields open, innermost last
    std::vector<OpenRun> m_runs;            // the open runs (a text box's inside a run's)
    std::size_t m_hiddenRuns = 0; // how many of them are hidden
    // The open links, innermost last, each by a number of its own; in HTML, whose tags are not
    // paired here, the <a> open, else 0.
    std::vector<std::uint32_t> m_links;
    std::uint32_t m_htmlLink = 0;
    std::uint32_t m_linkCount = 0;
    std::vector<std::uint32_t> m_textLinks; // the link of each of m_texts
    int m_never = 0, m_text = 0, m_deleted = 0, m_textParagraphs = 0, m_headerFooters = 0, m_language = 0,
        m_formula = 0, m_fieldCode = 0;
    bool m_inLiteral = false;    // converting a formula's string literal
    bool m_stringResult = false; // the cell open now holds a formula whose result is a string
    bool m_skipRawText = false;
    bool m_styleRawText = false;      // the raw text that follows is a page's style sheet
    bool m_literalRawText = false;    // the raw text that follows is shown as it stands
    int m_styleSheets = 0;            // open <style> elements of an XHTML page, with fonts
    bool m_keepStrings = false;       // some spreadsheet strings are kept as they are
    bool m_dotReferences = false;     // OpenDocument: a sheet's cell is written after a dot too
    std::size_t m_textPreserveAt = 0; // the text element open now: where xml:space would go,
    bool m_textSpaceKept = true;      // and whether it has xml:space already
    std::string m_joined;
    core::Message m_error;
};

} // namespace

PartOutcome convertPart(std::string_view xml, PartKind kind, const SegmentedConverter &converter,
                        const PartOptions &options) {
    if (kind == PartKind::StyleSheet) {
        PartOutcome outcome;
        outcome.bytes = options.fonts ? mapCssFonts(xml, options.direction) : std::string(xml);
        outcome.changed = outcome.bytes != xml;
        if (outcome.changed && options.listEdits)
            outcome.edits.push_back({0, xml.size(), outcome.bytes, false});
        return outcome;
    }
    return PartWalker(xml, kind, converter, options).run();
}

} // namespace core::document
