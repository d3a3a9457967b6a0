#pragma once
// The encoding a web page declares, found the way browsers find it before they parse the page:
// within its first 1024 bytes, a <meta charset="..."> or a <meta http-equiv="Content-Type"
// content="...; charset=..."> (comments, other tags and their attributes skipped, so that a
// "charset" inside them is never taken), else the encoding of an XML declaration
// (<?xml version="1.0" encoding="GBK"?>). An XHTML page read as XML takes its XML declaration
// first, as XML parsers do. A byte order mark, which outweighs both, is the caller's business.
//
// The label is named by the names browsers accept for it (trimmed, in any case):
//   GBK      gbk, x-gbk (which browsers read with the GB18030 decoder)
//   GB2312   gb2312, chinese, csgb2312, csiso58gb231280, iso-ir-58, gb_2312, gb_2312-80: read as
//            GBK by browsers too, but other readers (LibreOffice, strict codecs) hold them to
//            GB 2312's own codes
//   GB18030  gb18030
//   Big5     big5, big5-hkscs, cn-big5, csbig5, x-x-big5
//   UTF-8    utf-8, utf8, unicode-1-1-utf-8, unicode11utf8, unicode20utf8, x-unicode20utf8, and
//            the UTF-16 labels (a page whose ASCII bytes say UTF-16 is not in UTF-16: browsers
//            read it as UTF-8)
//   Other    any other label, kept as written for the message that refuses it

#include <cstddef>
#include <string>
#include <string_view>

namespace core::document {

enum class PageCharset { None, Utf8, Gb2312, Gbk, Gb18030, Big5, Other };

struct PageDeclaration {
    PageCharset charset = PageCharset::None;
    std::string label; // as the page writes it (at most 64 bytes); empty for None
};

// How many bytes of a page the declaration is looked for in.
inline constexpr std::size_t kPrescanBytes = 1024;

// The charset a label names (see above); None for an empty label.
PageCharset charsetOfLabel(std::string_view label);

// The declaration in the first kPrescanBytes of `page` (without its byte order mark). With `xml`,
// the XML declaration is looked at first. None when the page declares nothing.
PageDeclaration declaredEncoding(std::string_view page, bool xml);

} // namespace core::document
