#pragma once
// Documents rendered the way a person would see them: LibreOffice Writer (headless, in a
// profile of its own) turns them into PDF, and the poppler tools give a PDF's page count,
// text and page pictures. For the tests that check that a document kept its layout.

#include <string>
#include <vector>

#include "support/roundtrip_measures.h"

namespace tavricat::testing {

// A string as one word for the shell.
std::string shellQuote(const std::string& text);
// Runs a shell command; its exit status (124 or 137 when `timeout` stopped it), -1 when it
// did not end normally.
int shell(const std::string& command);
// The bytes of a file; empty when it cannot be read.
std::string slurp(const std::string& path);

class PdfRenderer {
public:
    // `scratch`: a folder of the caller's for the profile, the logs and the page pictures.
    explicit PdfRenderer(std::string scratch) : m_scratch(std::move(scratch)) {}

    // Every file rendered to "<name>.pdf" in `outdir` by one LibreOffice run; false when it
    // failed (log() says why).
    bool render(const std::vector<std::string>& files, const std::string& outdir, int timeoutSeconds = 300);
    std::string log() const;
    // -1 when pdfinfo fails.
    int pageCount(const std::string& pdf) const;
    // The text pdftotext extracts, UTF-8.
    std::string text(const std::string& pdf) const;
    // The pages as grey pictures at `dpi`, in order; `prefix` names their folder.
    std::vector<GrayPage> pages(const std::string& pdf, const std::string& prefix, int dpi) const;

private:
    std::string m_scratch;
};

}  // namespace tavricat::testing
