// The rich-text reader on any file: a document whose text stays in proportion to the file.
#include <string>

#include "gui/rtf_reader.h"
#include "tests/fuzz/require.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const rtf::Document document = rtf::readRtf(bytes);
    const std::string text = rtf::plainText(document);
    REQUIRE(text.size() <= 4 * size + 16);
    for (const rtf::Paragraph& paragraph : document.paragraphs)
        for (const rtf::Run& run : paragraph.runs)
            REQUIRE(run.halfPoints > 0);
    REQUIRE(rtf::plainText(rtf::readPlainText(bytes)).size() <= 3 * size + 1);
    return 0;
}
