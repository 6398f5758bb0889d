#include "app/word_link_session.h"

#include "app/sentence_confirmation_setup.h"
#include "app/sentence_translation_setup.h"
#include "app/workbench.h"
#include "base/encoding.h"
#include "base/file_system.h"
#include "document/markup.h"

namespace tavricat {

WordLinkSession::WordLinkSession(Workbench& bench, wordlink::WriterLinkOptions options)
    : m_bench(bench), m_link(std::move(options)) {}

Status WordLinkSession::connect() {
    Result<bool> connected = m_link.connect();
    if (!connected) return Status::error(ErrorKind::Io, std::string(kWriterCannotStart) + "\r\n" + connected.status().message());
    Result<int> count = m_link.documentCount();
    if (!count) return count.status();
    if (*count == 0) return m_link.addDocument();
    return Status::ok();
}

Result<LinkedPick> WordLinkSession::takeSentence() {
    m_lastFailure = Status::ok();
    Result<bool> insertionPoint = m_link.selectionIsInsertionPoint();
    if (!insertionPoint) return m_lastFailure = insertionPoint.status();
    Result<wordlink::TakenSentence> taken = [&]() -> Result<wordlink::TakenSentence> {
        if (!*insertionPoint) return m_link.takeSelection();
        SortedListsLookup abbreviations({&m_bench.abbreviations, &m_bench.engine.termBase.termKeys});
        const BreakOptions breaks{m_bench.settings.TABkeyStop, m_bench.settings.CLStop, m_bench.settings.tagStop};
        return m_link.takeNextSentence(m_bench.direction(), breaks, abbreviations);
    }();
    if (!taken) return m_lastFailure = taken.status();
    return LinkedPick{std::move(taken->text), taken->revision, std::move(taken->selected)};
}

Status WordLinkSession::putBack(const std::string& translation, int rate, bool revising) {
    m_lastFailure = m_link.putBack(translation, std::to_string(rate), overwrite || revising);
    return m_lastFailure;
}

Result<std::string> WordLinkSession::saveBilingualText() {
    Result<wordlink::WriterDocumentName> active = m_link.activeDocument();
    if (!active) return active.status();
    if (active->name.empty() || active->name.find(".bil") != std::string::npos) return std::string();
    const std::string base = active->name.substr(0, active->name.find('.'));
    const std::string target = active->folder + "/" + base + ".bil";
    Result<std::string> text = m_link.pureText({});
    if (!text) return text.status();
    if (Status saved = replaceFile(m_bench.fs(), target, fromWordForm(*text)); !saved) return saved;
    return target;
}

Result<int> WordLinkSession::cleanup() { return m_link.cleanup(); }

Result<std::vector<LinkedTranslation>> translateThroughLink(Workbench& bench, WordLinkSession& session,
                                                           std::size_t limit) {
    std::vector<LinkedTranslation> done;
    while (done.size() < limit) {
        // Failures of the link reach the person through the workbench's dialogs; the loop
        // learns of them from the link's state.
        SentenceTranslationSetup translation(bench);
        const SentenceTranslation result =
            translateLinkedSentence(translation.context(), bench.sentenceState, session, TranslateTrigger::NextSentence);
        if (!session.lastFailure()) return session.lastFailure();
        if (result.sentence.empty()) break;
        if (result.outcome != SentenceOutcome::Translated)
            return Status::error(ErrorKind::Refused, "the sentence was refused: " + result.sentence);
        std::string box = result.translationBox.empty() ? result.sentence : result.translationBox;
        const std::string written = linkedFormOf(bench.direction(), box);
        SentenceConfirmationSetup confirmation(bench);
        const ConfirmationResult confirmed = confirmLinkedSentence(confirmation.context(), bench.sentenceState, session, box);
        if (!confirmed.written) {
            if (!session.lastFailure()) return session.lastFailure();
            return Status::error(ErrorKind::Refused, "the translation was not written back: " + result.sentence);
        }
        done.push_back({result.sentence, written, confirmed.outcome});
    }
    return done;
}

}  // namespace tavricat
