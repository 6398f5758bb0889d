#include "interactive/sentence_translation.h"

#include "base/gbk.h"
#include "base/line_list.h"
#include "base/ports.h"
#include "batch/stop_request.h"
#include "document/han_spacing.h"
#include "document/inline_tags.h"
#include "engine/bar_lists.h"
#include "engine/engine.h"
#include "engine/morphology.h"
#include "grammar/translation_pipeline.h"
#include "interactive/sentence_acquisition.h"
#include "interactive/sentence_state.h"
#include "memory/example_adaptation.h"

namespace tavricat {

namespace {

std::vector<SentenceToken> tokensOf(const stClass& sentence, const BestExample& best) {
    std::vector<SentenceToken> tokens;
    for (std::size_t i = 0; i < static_cast<std::size_t>(std::max(sentence.segCount, 0)); ++i) {
        SentenceToken token;
        if (i + 1 < sentence.segText.size()) token.word = std::string(gbk::trim(sentence.segText[i + 1]));
        if (i < best.phraseMeanings.size() && !best.phraseMeanings[i].empty()) token.meaning = best.phraseMeanings[i];
        else if (i + 1 < sentence.segTrans.size()) token.meaning = meaningOf(gbk::trim(sentence.segTrans[i + 1]));
        token.differs = i < best.differs.size() && best.differs[i];
        tokens.push_back(std::move(token));
    }
    return tokens;
}

// The first version of the translation: the fitted example when one passed the threshold,
// else the machine translation when the setting asks for it; a view other than the
// bilingual one, or a sentence translated before, shows the target text selected.
std::string firstVersion(const SentenceTranslationContext& context, const SentenceState& state,
                         const std::string& adapted, const ViewInput& view) {
    std::string box;
    const long percent = percentOf(state.ExampleRate);
    if (percent != percentOf(kNoExampleRate) && percent >= context.matchrate) box = adapted;
    else if (context.giveMT) box = adapted;
    if ((view.view == TranslationView::Bilingual && state.reEdit) || view.view != TranslationView::Bilingual)
        box = view.selectedTarget;
    return context.spaceInHanChar ? AddSpaceInCChars(box) : ClearSpaceInCChars(box);
}

}  // namespace

SentenceTranslation translateSentence(SentenceTranslationContext& context, SentenceState& state, RichText& document,
                                      TranslateTrigger trigger, const ViewInput& view) {
    state.reset(trigger == TranslateTrigger::NextSentence);
    if (context.autoTranslation) context.autoTranslation->request();
    if (trigger != TranslateTrigger::PhraseSplit)
        restoreSplitPhrases(state, context.engine.termBase, context.engine.deletedWords);

    AcquisitionContext acquisition{document, context.analysis.direction, context.breaks, context.abbreviations,
                                   context.dialogs};
    AcquiredSentence acquired = acquireSentence(acquisition, state);
    SentenceTranslation result;
    result.sentence = acquired.sentence;
    if (acquired.outcome == AcquisitionOutcome::Refused) return result;
    if (acquired.outcome == AcquisitionOutcome::SwitchDirection) {
        result.outcome = SentenceOutcome::SwitchDirection;
        return result;
    }
    ViewInput shown = view;
    // A sentence translated before: the getter selected its translation in the document.
    if (view.view == TranslationView::Bilingual) shown.selectedTarget = document.selectedText();
    return translateText(context, state, std::move(acquired.sentence), shown);
}

SentenceTranslation translateText(SentenceTranslationContext& context, SentenceState& state, std::string sentence,
                                  const ViewInput& view) {
    Engine& engine = context.engine;
    SentenceTranslation result;
    result.outcome = SentenceOutcome::Translated;
    result.sentence = sentence;

    std::string cleaned;
    PipelineContext pipeline{engine, context.analysis, context.grammar, context.domainLabels};
    prepareSent(sentence, cleaned, pipeline, false);
    const stClass& analysed = engine.workSent;
    state.CurrentWord = analysed.segCount > 0 ? 0 : -1;

    FuzzySearch search;
    rankSimilarExamples(context.library, analysed, search, SearchScope::BestOnly);

    for (std::string& line : splitLines(engine.grammarPlacement.placedPatterns)) {
        if (line.empty()) continue;
        result.grammarLines.push_back(context.spaceInHanChar ? AddSpaceInCChars(line) : line);
    }
    result.commonCharacterHead = commonCharacterHeadOf(engine.grammarPlacement.fixedWords);

    BestExampleOptions options{context.analysis, context.matchrate, context.spaceInHanChar};
    BestExample best = chooseBestExample(context.library, engine, search, options, context.dialogs);
    if (best.path == ExamplePath::None)
        best.AdaptedTarget = machineTranslate(engine.workSent, engine.grammarPlacement, context.analysis.direction);

    state.ExampleRate = best.ExampleRate;
    state.exampleSource = best.source;
    state.exampleTranslation = best.translation;
    state.exampleUsed = best.path == ExamplePath::Full;
    state.bestCandidate = best.example;
    if (state.exampleUsed && best.example) state.exampleIndex = *best.example;

    result.tokens = tokensOf(engine.workSent, best);
    result.path = best.path;
    result.ExampleRate = best.ExampleRate;
    result.reference = std::move(best.reference);
    result.translationBox = firstVersion(context, state, best.AdaptedTarget, view);
    if (!hasTag(engine.workSent.text)) result.translationBox = clearTags(result.translationBox);
    if (engine.workSent.segCount <= 0) result.translationBox.clear();
    return result;
}

std::string commonCharacterHeadOf(std::string_view fixedWords) {
    std::string head = dedupBar(fixedWords);
    for (char& c : head)
        if (c == '|') c = ' ';
    return head;
}

std::string withCommonCharacterHead(std::string_view box, std::string_view head) {
    std::string text(box);
    const std::size_t mark = std::string_view(text).substr(0, 1000).find(">>");
    if (mark != std::string::npos && mark > 0) {
        const std::size_t lineStart = text.rfind('\n', mark);
        text.erase(0, lineStart == std::string::npos ? 0 : lineStart + 1);
    }
    while (!text.empty()) {
        const std::size_t lineEnd = text.find('\n');
        const std::string_view line = std::string_view(text).substr(0, lineEnd);
        if (!gbk::trim(line).empty()) break;
        text.erase(0, lineEnd == std::string::npos ? text.size() : lineEnd + 1);
    }
    return std::string(head) + " \r\n" + text;
}

std::string machineTranslationOfSentence(const Engine& engine, Direction direction) {
    return machineTranslate(engine.workSent, engine.grammarPlacement, direction);
}

}  // namespace tavricat
