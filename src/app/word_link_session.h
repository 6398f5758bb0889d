#pragma once
// The word-processor link of the workbench. LibreOffice Writer stands where the program was
// first made for a Windows word processor: the link connects to it (or starts it), takes
// sentences from the document open in it for the interactive translation, writes the
// translations back, removes the sources, and saves the document's text as a plain-text
// bilingual file. It holds the work mode and the "覆盖原文" check.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "base/status.h"
#include "interactive/linked_sentence.h"
#include "wordlink/writer_link.h"

namespace tavricat {

class Workbench;

// The main window's mode: automatic (1) or interactive (2) translation of the program's own
// document, or translation of a document in the word processor (4). Every test for the link
// asks whether the mode is 3 or more.
enum class WorkMode { Automatic = 1, Interactive = 2, WordLink = 4 };
inline bool isLinkMode(WorkMode mode) { return static_cast<int>(mode) >= 3; }

inline constexpr const char* kStartingWriter = "正在启动LibreOffice Writer，请稍候...";
inline constexpr const char* kWriterCannotStart =
    "无法启动LibreOffice Writer。请确保已经正确安装了该应用程序(LibreOffice 7或更高版本，以及python3-uno)";

class WordLinkSession : public LinkedDocument {
public:
    WordLinkSession(Workbench& bench, wordlink::WriterLinkOptions options);

    // Connects to Writer, starting it when none listens, and adds an empty document when
    // none is open. On failure the status carries kWriterCannotStart and the reason.
    Status connect();
    bool connected() const { return m_link.connected(); }
    wordlink::WriterLink& link() { return m_link; }

    WorkMode workMode = WorkMode::Interactive;
    bool overwrite = false;  // "覆盖原文": a translation replaces its source
    // The number of examples of the sentence library when the mode last changed.
    std::size_t rememberedExampleCount = 0;

    // getasent or getasentInt, by whether something is selected in Writer.
    Result<LinkedPick> takeSentence() override;
    Status putBack(const std::string& translation, int rate, bool revising) override;
    // The failure of the last takeSentence or putBack; ok when it succeeded.
    const Status& lastFailure() const { return m_lastFailure; }

    // "保存纯文本双语文件": the text of the active document, its markers in the program's
    // form, saved as GBK beside it as the name up to its first "." followed by ".bil". The
    // path written; empty (nothing done) for a document never saved or one named "*.bil*".
    Result<std::string> saveBilingualText();
    // "清除原文": the number of segments reduced to their translations.
    Result<int> cleanup();

private:
    Workbench& m_bench;
    wordlink::WriterLink m_link;
    Status m_lastFailure;
};

// One sentence translated through the link without a person: its source, what was written
// back, and how the library took the pair.
struct LinkedTranslation {
    std::string source;
    std::string translation;
    ConfirmOutcome outcome = ConfirmOutcome::NotStored;
};

// Takes the sentences after Writer's cursor one by one, at most `limit`, translates each as
// Ctrl+J does and confirms the first version of the translation box (the source itself when
// the box stays empty) as Ctrl+Enter does: stored in the library, written back. Stops at the
// end of the document or at the first failure, which is returned after the sentences done.
Result<std::vector<LinkedTranslation>> translateThroughLink(Workbench& bench, WordLinkSession& session,
                                                           std::size_t limit);

}  // namespace tavricat
