// withDocuments decides by the content of the input it is given: bytes in memory (the pieces of a
// batch run) are never taken for the file that bears their name, nor the other way round.

#include "cli/documents.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace {

using namespace cli;

std::string fixture(const char *name) {
    return std::string(LANTERNFIN_DOCUMENT_TEST_DATA) + "/" + name;
}

std::string readFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(WithDocuments, TheInputsOwnContentDecidesNotAFileOfItsName) {
    core::CodePointMap map;
    map.set(U'软', U'軟');
    const auto converter = codePointDocuments(std::make_shared<const core::CodePointMap>(std::move(map)));
    const Transform text = [](Input &in, Writer &out) -> Status {
        std::string s;
        in.readAll(s);
        out.write("text:" + s);
        return {};
    };
    const Transform transform = withDocuments(text, converter, {});
    const std::string docx = readFile(fixture("sample-lo.docx"));
    ASSERT_EQ(docx.substr(0, 4), "PK\x03\x04");
    const struct {
        const char *what;
        std::string name;
        std::string bytes;
        bool document;
    } cases[] = {
        {"text in memory named after a document on disk", fixture("sample-lo.docx"), "软件", false},
        {"a document in memory named after a text file", fixture("sample.md"), docx, true},
        {"a document in memory under a name no file has", "/nonexistent/notes.txt", docx, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Input in(c.name, c.bytes);
        std::string output;
        Writer out(output);
        const Status status = transform(in, out);
        EXPECT_EQ(status.code, kExitOk) << status.message;
        if (c.document) {
            EXPECT_EQ(output.substr(0, 4), "PK\x03\x04");
            EXPECT_NE(output, docx) << "the document's 软 was not converted";
        } else {
            EXPECT_EQ(output, "text:软件");
        }
    }
}

} // namespace
