#include "app/term_edit_outcome.h"

#include <algorithm>

#include "app/sentence_translation_setup.h"
#include "app/workbench.h"

namespace tavricat {

SentenceRerun rerunKeepingBox(Workbench& bench, RichText& document, TranslateTrigger trigger,
                              const TranslationBoxText& box, InteractiveArea* area) {
    reselectSentenceForRerun(document);
    SentenceTranslationSetup setup(bench);
    SentenceRerun rerun;
    rerun.translation = translateSentence(setup.context(), bench.sentenceState, document, trigger, ViewInput{});
    if (area && rerun.translation.outcome == SentenceOutcome::Translated)
        area->build(bench.engine.workSent, rerun.translation.tokens, area->options());
    rerun.translation.translationBox = box.text;
    rerun.caret = std::min(box.caret, box.text.size());
    return rerun;
}

}  // namespace tavricat
