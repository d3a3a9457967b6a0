// The encoding a page declares, found as browsers' prescan finds it: only in <meta> tags and the
// XML declaration, never in comments, other tags' attributes or past the first 1024 bytes.

#include "core/document/page_encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace core::document;

TEST(PageEncoding, DeclarationsAreFoundWhereBrowsersFindThem) {
    const std::string padding(1024, ' ');
    const struct {
        const char *what;
        std::string page;
        bool xml;
        PageCharset charset;
        const char *label;
    } cases[] = {
        {"meta charset", "<html><head><meta charset=\"gb2312\">", false, PageCharset::Gb2312, "gb2312"},
        {"in any case, unquoted, spaced", "<HTML><META CHARSET = GBK >", false, PageCharset::Gbk, "gbk"},
        {"a slash before the attribute", "<meta/charset='x-gbk'/>", false, PageCharset::Gbk, "x-gbk"},
        {"http-equiv", "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=big5\">", false,
         PageCharset::Big5, "big5"},
        {"http-equiv after content", "<meta content='text/html;charset=\"GB18030\"' http-equiv=content-type>",
         false, PageCharset::Gb18030, "gb18030"},
        {"content without http-equiv", "<meta name=x content=\"text/html; charset=big5\"><p>", false,
         PageCharset::None, ""},
        {"content before charset wins", "<meta http-equiv=content-type content=\"charset=big5\" charset=gbk>",
         false, PageCharset::Big5, "big5"},
        {"a repeated attribute is skipped", "<meta charset=big5 charset=gbk>", false, PageCharset::Big5,
         "big5"},
        {"the first meta that declares", "<meta name=a><meta charset=big5-hkscs><meta charset=gbk>", false,
         PageCharset::Big5, "big5-hkscs"},
        {"inside a comment", "<!-- <meta charset=gbk> --><p>", false, PageCharset::None, ""},
        {"after a comment", "<!--><meta charset=gbk>", false, PageCharset::Gbk, "gbk"},
        {"inside another tag's attribute", "<div title=\"<meta charset=gbk>\"></div>", false,
         PageCharset::None, ""},
        {"a tag named otherwise", "<metadata charset=gbk>", false, PageCharset::None, ""},
        {"past the first 1024 bytes", padding + "<meta charset=gbk>", false, PageCharset::None, ""},
        {"unmatched quote in content", "<meta http-equiv=content-type content=\"charset='gbk\">", false,
         PageCharset::None, ""},
        {"UTF-16 named in ASCII is UTF-8", "<meta charset=utf-16le>", false, PageCharset::Utf8, "utf-16le"},
        {"another encoding", "<meta charset=\"windows-1252\">", false, PageCharset::Other, "windows-1252"},
        {"the XML declaration for an XHTML page",
         "<?xml version=\"1.0\" encoding=\"GBK\"?><meta charset=big5>", true, PageCharset::Gbk, "GBK"},
        {"meta outweighs it in HTML", "<?xml version=\"1.0\" encoding=\"GBK\"?><meta charset=big5>", false,
         PageCharset::Big5, "big5"},
        {"the XML declaration alone", "<?xml version='1.0' encoding = 'cn-big5' ?><html>", false,
         PageCharset::Big5, "cn-big5"},
        {"an XML declaration without an encoding", "<?xml version=\"1.0\"?><html>", true, PageCharset::None,
         ""},
        {"a tag cut by the end", "<meta charset=\"gbk", false, PageCharset::None, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const PageDeclaration found = declaredEncoding(c.page, c.xml);
        EXPECT_EQ(found.charset, c.charset);
        EXPECT_EQ(found.label, c.label);
    }
}

TEST(PageEncoding, LabelsNameTheirEncodings) {
    const struct {
        const char *label;
        PageCharset charset;
    } cases[] = {
        {"gbk", PageCharset::Gbk},           {"X-GBK", PageCharset::Gbk},
        {"GB2312", PageCharset::Gb2312},     {"chinese", PageCharset::Gb2312},
        {"csgb2312", PageCharset::Gb2312},   {"csiso58gb231280", PageCharset::Gb2312},
        {"iso-ir-58", PageCharset::Gb2312},  {"gb_2312", PageCharset::Gb2312},
        {"gb_2312-80", PageCharset::Gb2312}, {" gb18030\t", PageCharset::Gb18030},
        {"csbig5", PageCharset::Big5},       {"x-x-big5", PageCharset::Big5},
        {"utf8", PageCharset::Utf8},         {"unicode-1-1-utf-8", PageCharset::Utf8},
        {"gb2312x", PageCharset::Other},     {"", PageCharset::None},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(charsetOfLabel(c.label), c.charset);
    }
}

} // namespace
