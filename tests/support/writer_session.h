#pragma once
// A real LibreOffice Writer for the tests of the word-processor link: started headless once
// for a test suite, on a pipe and profile of its own, and ended with the suite. The reason
// when it cannot run (LibreOffice or Python UNO missing) is kept, for the tests to skip with.

#include <memory>
#include <string>

#include "support/temp_folder.h"
#include "wordlink/writer_link.h"

namespace tavricat::testing {

class WriterSession {
public:
    WriterSession();
    ~WriterSession();

    // Empty when Writer runs; otherwise why it does not.
    const std::string& unavailable() const { return m_unavailable; }
    wordlink::WriterLink& link() { return *m_link; }
    const wordlink::WriterLinkOptions& options() const { return m_options; }
    const TempFolder& scratch() const { return m_scratch; }
    // Kills Writer's processes with SIGKILL, as a crash would.
    void killWriter();

private:
    TempFolder m_scratch;
    wordlink::WriterLinkOptions m_options;
    std::unique_ptr<wordlink::WriterLink> m_link;
    std::string m_unavailable;
};

}  // namespace tavricat::testing
