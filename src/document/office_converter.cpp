#include "document/office_converter.h"

#include <glob.h>
#include <stdlib.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "base/encoding.h"
#include "base/gbk.h"

namespace tavricat {

namespace {

// What soffice printed, at most its last kShownOutput bytes, in GBK for a message.
constexpr std::size_t kShownOutput = 600;

std::string shownOutput(const std::string& output) {
    std::string tail = output.size() > kShownOutput ? output.substr(output.size() - kShownOutput) : output;
    while (!tail.empty() && (tail.back() == '\n' || tail.back() == '\r' || tail.back() == ' ')) tail.pop_back();
    if (tail.empty()) return {};
    std::string shown = "\r\n";
    shown += encoding::utf8ToGbkLossy(tail);
    return shown;
}

// A fresh folder for one conversion under $TMPDIR (else /tmp), removed with everything in it
// when the conversion is done.
class ScratchFolder {
public:
    ScratchFolder() {
        const char* variable = std::getenv("TMPDIR");
        std::string pattern = variable && *variable ? variable : "/tmp";
        pattern += "/tavricat-office-XXXXXX";
        if (::mkdtemp(pattern.data())) m_path = pattern;
    }
    ~ScratchFolder() {
        if (m_path.empty()) return;
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    bool made() const { return !m_path.empty(); }
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

// A file URL of an absolute path: every byte but unreserved ones and "/" percent-encoded.
std::string fileUrl(const std::string& path) {
    static const char* const kHex = "0123456789ABCDEF";
    std::string url = "file://";
    for (const char c : path) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
            url += c;
        } else {
            url += '%';
            url += kHex[byte >> 4];
            url += kHex[byte & 0x0F];
        }
    }
    return url;
}

std::string extensionOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    return gbk::asciiLower(path.substr(dot));
}

std::string missingMessage() {
    std::string message = kOfficeMissing;
    message += "，无法读写 Word 或 OpenDocument 文件(.docx、.odt、.doc)。请安装 LibreOffice"
               "(软件包 libreoffice-writer)，或用环境变量 TAVRICAT_SOFFICE 指明 soffice 的位置。";
    return message;
}

}  // namespace

std::optional<OfficeFormat> officeFormatOf(const std::string& path) {
    const std::string extension = extensionOf(path);
    if (extension == ".docx") return OfficeFormat::Docx;
    if (extension == ".odt") return OfficeFormat::Odt;
    if (extension == ".doc") return OfficeFormat::Doc;
    return std::nullopt;
}

OfficeConverter::OfficeConverter(ProcessRunner& runner, OfficeConverterOptions options)
    : m_runner(runner), m_options(std::move(options)) {}

Result<std::string> OfficeConverter::locate() const {
    if (!m_options.soffice.empty()) {
        if (isExecutableFile(m_options.soffice)) return m_options.soffice;
        return Status::error(ErrorKind::NotFound, missingMessage());
    }
    if (const char* variable = std::getenv(kSofficeVariable); variable && *variable) {
        // Named on purpose: a wrong name is told, not replaced by another LibreOffice.
        if (isExecutableFile(variable)) return std::string(variable);
        std::string message = kOfficeMissing;
        message += ": 环境变量 TAVRICAT_SOFFICE 所指的 " + encoding::utf8ToGbkLossy(variable) + " 不存在或不能运行。";
        return Status::error(ErrorKind::NotFound, message);
    }
    for (const char* name : {"soffice", "libreoffice"})
        if (std::string found = findOnPath(name); !found.empty()) return found;
    if (isExecutableFile("/usr/bin/soffice")) return std::string("/usr/bin/soffice");
    glob_t matches{};
    std::string newest;
    if (::glob("/opt/libreoffice*/program/soffice", 0, nullptr, &matches) == 0) {
        // glob sorts: the last is the highest version.
        for (std::size_t k = matches.gl_pathc; k-- > 0 && newest.empty();)
            if (isExecutableFile(matches.gl_pathv[k])) newest = matches.gl_pathv[k];
    }
    ::globfree(&matches);
    if (!newest.empty()) return newest;
    return Status::error(ErrorKind::NotFound, missingMessage());
}

Result<std::string> OfficeConverter::convert(const std::string& folder, const std::string& inputName,
                                             const std::string& filter, const std::string& outputExtension,
                                             const std::string& shownPath) {
    Result<std::string> soffice = locate();
    if (!soffice) return soffice.status();
    const std::string outputFolder = folder + "/out";
    const std::vector<std::string> command{*soffice,
                                           "--headless",
                                           "--norestore",
                                           "--nolockcheck",
                                           "--nologo",
                                           "--nodefault",
                                           "-env:UserInstallation=" + fileUrl(folder + "/profile"),
                                           "--convert-to",
                                           filter,
                                           "--outdir",
                                           outputFolder,
                                           folder + "/" + inputName};
    const std::string shown = encoding::utf8ToGbkLossy(shownPath);
    Result<ProcessOutcome> ran = m_runner.run(command, m_options.timeoutMs);
    if (!ran) {
        std::string message = "LibreOffice 无法启动(" + encoding::utf8ToGbkLossy(*soffice) + "): " +
                              encoding::utf8ToGbkLossy(ran.status().message());
        return Status::error(ran.status().kind() == ErrorKind::NotFound ? ErrorKind::NotFound : ErrorKind::Io, message);
    }
    if (ran->end == ProcessOutcome::End::TimedOut) {
        const std::string limit = m_options.timeoutMs % 1000 == 0 ? std::to_string(m_options.timeoutMs / 1000) + " 秒"
                                                                  : std::to_string(m_options.timeoutMs) + " 毫秒";
        return Status::error(ErrorKind::Io, "LibreOffice 转换文件超时(超过 " + limit + ")，已终止: " + shown);
    }
    if (!ran->succeeded()) {
        const std::string how = ran->end == ProcessOutcome::End::Exited
                                    ? "退出码 " + std::to_string(ran->exitCode)
                                    : "信号 " + std::to_string(ran->signal);
        return Status::error(ErrorKind::Io, "LibreOffice 转换文件失败(" + how + "): " + shown + shownOutput(ran->output));
    }
    // soffice names the output after the input; it reports some failures with status 0.
    const std::string stem = inputName.substr(0, inputName.find_last_of('.'));
    DiskFileSystem disk;
    Result<std::string> output = disk.readFile(outputFolder + "/" + stem + outputExtension);
    if (!output || output->empty())
        return Status::error(ErrorKind::Io, "LibreOffice 没有生成转换结果: " + shown + shownOutput(ran->output));
    return output;
}

Result<std::string> OfficeConverter::toRtf(FileSystem& fs, const std::string& path) {
    Result<std::string> bytes = fs.readFile(path);
    if (!bytes) return bytes.status();
    // LibreOffice is looked for before anything is copied.
    if (Result<std::string> soffice = locate(); !soffice) return soffice.status();
    ScratchFolder folder;
    if (!folder.made()) return Status::error(ErrorKind::Io, "不能建立临时文件夹，无法转换: " + encoding::utf8ToGbkLossy(path));
    // The copy keeps the extension: LibreOffice picks its import filter by it as well.
    std::string extension = extensionOf(path);
    if (extension.empty()) extension = ".dat";
    const std::string inputName = "document" + extension;
    DiskFileSystem disk;
    if (Status copied = disk.writeFile(folder.path() + "/" + inputName, *bytes); !copied) return copied;
    bytes->clear();
    Result<std::string> rtf = convert(folder.path(), inputName, "rtf", ".rtf", path);
    if (rtf && !rtf->starts_with("{\\rtf"))
        return Status::error(ErrorKind::Io, "LibreOffice 生成的不是 RTF 文件: " + encoding::utf8ToGbkLossy(path));
    return rtf;
}

Status OfficeConverter::fromRtf(FileSystem& fs, const std::string& rtf, OfficeFormat format, const std::string& path) {
    if (Result<std::string> soffice = locate(); !soffice) return soffice.status();
    ScratchFolder folder;
    if (!folder.made()) return Status::error(ErrorKind::Io, "不能建立临时文件夹，无法转换: " + encoding::utf8ToGbkLossy(path));
    DiskFileSystem disk;
    if (Status written = disk.writeFile(folder.path() + "/document.rtf", rtf); !written) return written;
    const char* filter = format == OfficeFormat::Docx  ? "docx:MS Word 2007 XML"
                         : format == OfficeFormat::Odt ? "odt:writer8"
                                                       : "doc:MS Word 97";
    const char* extension = format == OfficeFormat::Docx ? ".docx" : format == OfficeFormat::Odt ? ".odt" : ".doc";
    Result<std::string> converted = convert(folder.path(), "document.rtf", filter, extension, path);
    if (!converted) return converted.status();
    return replaceFile(fs, path, *converted);
}

OfficeConverter& defaultOfficeConverter() {
    static PosixProcessRunner runner;
    static OfficeConverter converter(runner);
    return converter;
}

}  // namespace tavricat
