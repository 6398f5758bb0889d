#pragma once
// The link to LibreOffice Writer: the word processor's side of the translation of a document
// open in it. Through the bridge process (writer_bridge.py, speaking UNO to Writer) it takes
// the next sentence after the cursor or the selected text, writes a translation back at the
// sentence taken, removes sources and markers, reads a document's plain text, and arranges
// Writer's window. Writer runs on its own: the link connects to the one listening on its
// private pipe or starts it, and leaves it running when the link is dropped.

#include <memory>
#include <optional>
#include <string>

#include "base/direction.h"
#include "base/status.h"
#include "document/sentence_getters.h"

namespace tavricat::wordlink {

class BridgeProcess;

struct WriterLinkOptions {
    std::string python = "/usr/bin/python3";  // a Python that has the uno module (python3-uno)
    std::string bridge;                        // writer_bridge.py
    std::string soffice;                       // empty: found as the office converter finds it
    std::string pipe;                          // the private pipe Writer listens on
    std::string profile;                       // Writer's private user profile (a folder)
    bool headless = false;                     // start Writer without a window
    long startTimeoutMs = 90000;               // Writer's start
    long requestTimeoutMs = 60000;             // one request (opening a long document, saving)
};

// The options for the program folder `programFolder`: a pipe and a profile of its own, so that
// two program folders never share a Writer; overridden by the variables TAVRICAT_PYTHON,
// TAVRICAT_WRITER_BRIDGE, TAVRICAT_SOFFICE, TAVRICAT_WRITER_PIPE, TAVRICAT_WRITER_PROFILE and
// TAVRICAT_WRITER_HEADLESS (1: no window).
WriterLinkOptions writerLinkOptionsFor(const std::string& programFolder);

// The sentence taken, GBK.
struct TakenSentence {
    std::string text;       // empty at the end of the document
    bool revision = false;  // a sentence translated before: its translation is selected
    std::string selected;   // for a revision, that translation
    std::size_t lostCharacters = 0;  // characters GBK cannot hold, standing as "?"
};

struct WriterDocumentName {
    std::string name;    // file name; empty for a document never saved
    std::string folder;  // native path
};

// The message when the link broke (Writer ended or stopped answering).
inline constexpr const char* kWriterLinkLost =
    "与 LibreOffice Writer 的连接已中断(Writer 可能已关闭)。请用“Ｗｏｒｄ”菜单的“连接”重新连接。";

class WriterLink {
public:
    explicit WriterLink(WriterLinkOptions options);
    ~WriterLink();
    WriterLink(const WriterLink&) = delete;
    WriterLink& operator=(const WriterLink&) = delete;

    // Connects to the Writer listening on the pipe, or starts one and waits for it. True when
    // this call started Writer. A link already connected is dropped and made again.
    Result<bool> connect();
    bool connected() const;
    const WriterLinkOptions& options() const { return m_options; }
    // Drops the bridge; Writer keeps running with its documents.
    void disconnect();
    // Ends Writer itself (only what this program started should be ended) and the bridge.
    Status quitWriter();

    // Documents.Count, Documents.Add and opening a file as the active document.
    Result<int> documentCount();
    Status addDocument();
    Status openDocument(const std::string& path);
    Result<WriterDocumentName> activeDocument();
    Status saveActiveDocument(const std::string& path);  // the format by the extension
    Status closeActiveDocument();
    // Writer's window at (x, y), width × height screen pixels.
    Status placeWindow(int x, int y, int width, int height);

    // Whether the selection is an insertion point (nothing selected).
    Result<bool> selectionIsInsertionPoint();
    // getasent: the next sentence after the cursor, found by the direction's sentence getter
    // paragraph by paragraph (table cells row by row, a paragraph's footnotes after it), and
    // selected in Writer.
    Result<TakenSentence> takeNextSentence(Direction direction, const BreakOptions& breaks,
                                           const AbbreviationLookup& abbreviations);
    // getasentInt: the selected text.
    Result<TakenSentence> takeSelection();
    // putback: `translation` (GBK) written at the sentence taken last, as bilingual markup
    // "{0>" source "<}" rate "{>" translation "<0}", or over the source (`overwrite`, also
    // used for a revised translation). Footnote anchors, fields and pictures in the source
    // stay. The cursor goes after what was written.
    Status putBack(const std::string& translation, const std::string& rate, bool overwrite);
    // cleanup: every segment reduced to its translation. The number of segments.
    Result<int> cleanup();
    // getpuretext: the plain text (GBK, CR LF lines) of the document at `path`, or of the
    // active document when `path` is empty. It passes through the file named as the document
    // followed by "1" (a temporary file when that folder cannot be written), deleted after.
    Result<std::string> pureText(const std::string& path);
    // pausenow: nothing of the link runs in a loop; Writer's screen updates, if a failed
    // request left them locked, are released.
    Status pause();

private:
    Result<std::vector<std::string>> ask(const std::vector<std::string>& fields);

    WriterLinkOptions m_options;
    std::unique_ptr<BridgeProcess> m_bridge;
};

}  // namespace tavricat::wordlink
