// Whole files as the command line and the window read them: format detection, the ZIP container
// (libzip, bounded inflating), package indexes and the part walker. Whatever the bytes, no crash;
// a document that needs no change comes back as it went in, and a converted package is a ZIP of
// the same entries in the same order.

#include "fuzz_support.h"
#include "platform/document_file.h"

#include <memory>

namespace {

const core::CodePointMap &toTraditional() {
    static const auto map = [] {
        auto m = std::make_unique<core::CodePointMap>();
        m->set(U'软', U'軟');
        m->set(U'开', U'開');
        m->set(U'发', U'發');
        m->set(U'说', U'說');
        return m;
    }();
    return *map;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    const core::document::CodePointSegmentedConverter converter(toTraditional());
    platform::ZipLimits limits;
    limits.maxEntrySize = 1 << 20; // cheap per input; the limits' logic is the same
    std::string out;
    const auto outcome = platform::convertDocument(input, out, {converter, {}, limits, {}});
    if (outcome.status == platform::DocumentStatus::Unchanged)
        fuzz::check(out == input, "a document that needs no change is copied as it is");
    if (!outcome.ok())
        fuzz::check(out.empty(), "nothing comes out of a refused document");
    if (outcome.status == platform::DocumentStatus::Converted && core::document::isPackage(outcome.format)) {
        core::Message why;
        const auto before = platform::ZipPackage::open(input, why);
        const auto after = platform::ZipPackage::open(out, why);
        fuzz::check(before && after, "a converted package is a ZIP");
        fuzz::check(before->names() == after->names(), "the entries keep their names and order");
    }
    return 0;
}
