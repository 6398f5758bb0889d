#include "document/rtf_reader.h"

#include "base/encoding.h"
#include "document/rtf_parser.h"

namespace tavricat {

namespace {

RichText readPlainText(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 16);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        char c = bytes[i];
        if (c == '\r' || c == '\n') {
            text += "\r\n";
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        } else {
            text += c;  // GBK trail bytes are 0x40 and above, never a line end
        }
    }
    RichText out;
    out.append(text, out.defaultFormat());
    out.setModified(false);
    return out;
}

}  // namespace

Result<RichText> readRichText(std::string_view bytes) {
    if (!bytes.starts_with("{\\rtf")) return readPlainText(bytes);
    return RtfParser(bytes).read();
}

Result<RichText> loadRichTextFile(FileSystem& fs, const std::string& path) {
    Result<std::string> bytes = fs.readFile(path);
    if (!bytes)
        return Status::error(bytes.status().kind(),
                             "无法读取文件 " + encoding::utf8ToGbkLossy(path) + "：" +
                                 encoding::utf8ToGbkLossy(bytes.status().message()));
    return readRichText(*bytes);
}

}  // namespace tavricat
