// The document reader on any bytes: RTF (the input gets "{\rtf" in front when its first byte
// is odd) or plain text. Reading must end, and what it reads must survive a write and a
// second read with the same text.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "document/rich_text.h"
#include "document/rtf_reader.h"
#include "document/rtf_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] & 1) bytes.insert(0, "{\\rtf1");
    tavricat::Result<tavricat::RichText> read = tavricat::readRichText(bytes);
    if (!read) return 0;
    const tavricat::RichText& text = *read;
    if (text.size() > 4 * bytes.size() + 64) std::abort();  // reading never inflates much

    const std::string rtf = tavricat::writeRtf(text);
    tavricat::Result<tavricat::RichText> again = tavricat::readRichText(rtf);
    if (!again || again->text(0, again->size()) != text.text(0, text.size())) std::abort();
    return 0;
}
