#include "support/writer_session.h"

#include <unistd.h>

#include <cstdlib>

#include "base/encoding.h"
#include "base/process_runner.h"
#include "support/pdf_rendering.h"

namespace tavricat::testing {

WriterSession::WriterSession() {
    m_options = wordlink::writerLinkOptionsFor(m_scratch.path());
    m_options.pipe = "tavricat-test-" + std::to_string(::getpid()) + "-" + std::to_string(reinterpret_cast<std::uintptr_t>(this) % 100000);
    m_options.profile = m_scratch.file("profile");
    m_options.headless = true;
    m_link = std::make_unique<wordlink::WriterLink>(m_options);
    if (findOnPath("soffice").empty()) {
        m_unavailable = "LibreOffice (libreoffice-writer) is not installed";
        return;
    }
    if (shell(m_options.python + " -c 'import uno' >/dev/null 2>&1") != 0) {
        m_unavailable = "Python UNO (python3-uno) is not installed";
        return;
    }
    Result<bool> started = m_link->connect();
    if (!started) m_unavailable = "Writer did not start: " + encoding::gbkToUtf8Lossy(started.status().message());
}

WriterSession::~WriterSession() {
    if (m_link->connected()) (void)m_link->quitWriter();
}

void WriterSession::killWriter() {
    (void)shell("pkill -KILL -f " + shellQuote("pipe,name=" + m_options.pipe + ";") + " >/dev/null 2>&1");
    ::usleep(300 * 1000);
}

}  // namespace tavricat::testing
