#include "document/document_io.h"

#include "base/gbk.h"
#include "document/rtf_reader.h"
#include "document/rtf_writer.h"

namespace tavricat {

namespace {

bool isRtfPath(const std::string& path) {
    return path.size() >= 4 && gbk::asciiLower(path.substr(path.size() - 4)) == ".rtf";
}

Result<RichText> readConverted(FileSystem& fs, const std::string& path, OfficeConverter& converter) {
    Result<std::string> rtf = converter.toRtf(fs, path);
    if (!rtf) return rtf.status();
    Result<RichText> text = readRichText(*rtf);
    if (text) text->setModified(false);
    return text;
}

}  // namespace

Result<RichText> loadDocumentFile(FileSystem& fs, const std::string& path, OfficeConverter& converter) {
    if (isOfficeDocument(path)) return readConverted(fs, path, converter);
    Result<RichText> text = loadRichTextFile(fs, path);
    if (text || text.status().kind() != ErrorKind::BadInput || !isRtfPath(path)) return text;
    // RTF our reader refuses may still be a document LibreOffice can read.
    Result<RichText> retried = readConverted(fs, path, converter);
    return retried ? std::move(retried) : std::move(text);
}

Status saveDocumentFile(FileSystem& fs, const std::string& path, const RichText& text, OfficeConverter& converter) {
    if (const std::optional<OfficeFormat> format = officeFormatOf(path))
        return converter.fromRtf(fs, writeRtf(text), *format, path);
    return saveRichTextFile(fs, path, text);
}

}  // namespace tavricat
