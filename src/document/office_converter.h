#pragma once
// Office documents (.docx, .odt, .doc) are read and written by way of RTF: LibreOffice,
// run headless, turns the document into RTF for the RTF reader, and turns the RTF writer's
// output back into the document format. Each run gets a scratch folder of its own holding a
// private LibreOffice profile, a copy of the input under a fixed name, and the output; the
// folder is removed afterwards. So two conversions, and a Writer the person has open, never
// share a profile or its lock, and no file name reaches the command line of soffice.
//
// Where soffice is: the environment variable TAVRICAT_SOFFICE when it is set (and nothing
// else then), else soffice or libreoffice on PATH, else /usr/bin/soffice, else the newest
// /opt/libreoffice*/program/soffice.
//
// Every failure is an error Status with a message (GBK) to show: LibreOffice missing
// (NotFound, kOfficeMissing at its start), the conversion failing, or taking longer than the
// time limit (OfficeConverterOptions::timeoutMs) (Io; the run's whole process group is killed), or leaving no output (Io).

#include <optional>
#include <string>

#include "base/file_system.h"
#include "base/process_runner.h"
#include "base/status.h"

namespace tavricat {

inline constexpr const char* kOfficeMissing = "未找到 LibreOffice";
inline constexpr const char* kSofficeVariable = "TAVRICAT_SOFFICE";

enum class OfficeFormat { Docx, Odt, Doc };

// The office format a path names by its extension (any ASCII case); nothing for others.
std::optional<OfficeFormat> officeFormatOf(const std::string& path);
inline bool isOfficeDocument(const std::string& path) { return officeFormatOf(path).has_value(); }

struct OfficeConverterOptions {
    long timeoutMs = 120 * 1000;  // the time one conversion may take
    // The soffice to run; empty: found as described above, at each conversion.
    std::string soffice;
};

class OfficeConverter {
public:
    // `runner` must outlive the converter.
    explicit OfficeConverter(ProcessRunner& runner, OfficeConverterOptions options = {});

    // The soffice that would run, or the NotFound status telling the person it is missing.
    Result<std::string> locate() const;
    bool available() const { return locate().isOk(); }

    // The document at `path` (read through `fs`; any format LibreOffice reads, RTF included)
    // as RTF bytes.
    Result<std::string> toRtf(FileSystem& fs, const std::string& path);

    // Writes `rtf` to `path` in `format`, through `fs` by a scratch file and a rename: when
    // the conversion or the write fails, the old file at `path` is still there, whole.
    Status fromRtf(FileSystem& fs, const std::string& rtf, OfficeFormat format, const std::string& path);

    const OfficeConverterOptions& options() const { return m_options; }

private:
    // Converts scratch file `inputName` of `folder` with `filter`; returns the bytes of the
    // output file (extension `outputExtension`). `shownPath` names the document in messages.
    Result<std::string> convert(const std::string& folder, const std::string& inputName, const std::string& filter,
                                const std::string& outputExtension, const std::string& shownPath);

    ProcessRunner& m_runner;
    OfficeConverterOptions m_options;
};

// The converter the program uses: LibreOffice through the POSIX runner, default options.
OfficeConverter& defaultOfficeConverter();

}  // namespace tavricat
