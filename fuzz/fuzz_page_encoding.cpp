// The prescan of a web page's first bytes for its declared encoding. Whatever the bytes, no crash
// and no hang; it reads the first 1024 bytes only, and the label it reports names its charset.

#include "core/document/page_encoding.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string_view page(reinterpret_cast<const char *>(data), size);
    for (const bool xml : {false, true}) {
        const auto found = core::document::declaredEncoding(page, xml);
        const auto head =
            core::document::declaredEncoding(page.substr(0, core::document::kPrescanBytes), xml);
        fuzz::check(found.charset == head.charset && found.label == head.label,
                    "only the first 1024 bytes are looked at");
        fuzz::check(found.label.size() <= 64, "a label is kept to 64 bytes");
        fuzz::check((found.charset == core::document::PageCharset::None) == found.label.empty(),
                    "a declaration has a label, and no declaration none");
        if (found.label.size() < 64)
            fuzz::check(core::document::charsetOfLabel(found.label) == found.charset,
                        "the label reported names the charset reported");
    }
    return 0;
}
