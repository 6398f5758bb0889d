#include "interactive/linked_sentence.h"

#include "base/gbk.h"
#include "base/ports.h"
#include "batch/stop_request.h"
#include "document/markup.h"
#include "engine/engine.h"
#include "interactive/sentence_acquisition.h"
#include "interactive/sentence_state.h"

namespace tavricat {

SentenceTranslation translateLinkedSentence(SentenceTranslationContext& context, SentenceState& state,
                                            LinkedDocument& document, TranslateTrigger trigger) {
    state.reset(trigger == TranslateTrigger::NextSentence);
    if (context.autoTranslation) context.autoTranslation->request();
    if (trigger != TranslateTrigger::PhraseSplit)
        restoreSplitPhrases(state, context.engine.termBase, context.engine.deletedWords);

    SentenceTranslation result;
    Result<LinkedPick> taken = document.takeSentence();
    if (!taken) {
        // The word processor went away or refused: the person learns why, nothing else changes.
        context.dialogs.message(taken.status().message());
        return result;
    }
    result.sentence = taken->sentence;
    if (taken->sentence.empty()) return result;  // the end of the document
    state.reEdit = taken->revision;
    switch (checkSentence(taken->sentence, context.analysis.direction, context.dialogs)) {
        case AcquisitionOutcome::Refused: return result;
        case AcquisitionOutcome::SwitchDirection: result.outcome = SentenceOutcome::SwitchDirection; return result;
        case AcquisitionOutcome::Sentence: break;
    }
    ViewInput view;
    if (taken->revision) view.selectedTarget = taken->selectedTranslation;
    return translateText(context, state, std::move(taken->sentence), view);
}

std::string linkedFormOf(Direction direction, std::string_view box) {
    std::string text(gbk::trim(box));
    if (!isCE(direction) || text.empty()) return text;
    if (!gbk::isLeadByte(static_cast<unsigned char>(text[0]))) text[0] = gbk::asciiUpper(std::string_view(text.data(), 1))[0];
    if (std::string_view(".;:?!").find(text.back()) != std::string_view::npos) text += ' ';
    return text;
}

ConfirmationResult confirmLinkedSentence(ConfirmationContext& context, SentenceState& state, LinkedDocument& document,
                                         std::string& box) {
    ConfirmationResult result = storeConfirmedPair(context, state, box);
    if (result.outcome == ConfirmOutcome::Cancelled || result.outcome == ConfirmOutcome::EmptyBox) return result;
    const std::string text = linkedFormOf(context.direction, box);
    if (Status written = document.putBack(text, rateForSimilarity(state.ExampleRate), state.reEdit); !written) {
        // The box keeps the translation, so that nothing typed is lost when the link broke.
        context.dialogs.message(written.message());
        return result;
    }
    result.written = true;
    box.clear();
    return result;
}

}  // namespace tavricat
