#include "app/numbered_sentence_confirmation.h"

#include "app/sentence_confirmation_setup.h"
#include "app/sentence_translation_setup.h"
#include "app/workbench.h"
#include "base/gbk.h"
#include "document/markup.h"
#include "interactive/sentence_state.h"
#include "interactive/sentence_translation.h"

namespace tavricat {

namespace {

// Walks the sentences from the start; stops at sentence `n` (1-based) and returns the caret
// the getter picked it from. `count` receives the sentences walked (all of them when n is 0
// or beyond the last).
std::optional<std::size_t> walkSentences(const SentenceTranslationContext& context, RichText& buffer, std::size_t n,
                                         std::size_t& count) {
    const std::size_t keptStart = buffer.selStart(), keptLength = buffer.selLength();
    std::optional<std::size_t> found;
    count = 0;
    buffer.setCaret(0);
    while (buffer.caret() < buffer.size()) {
        const std::size_t before = buffer.caret();
        const SentencePick pick = context.analysis.direction == Direction::CE
                                      ? getASentCE(buffer, context.breaks)
                                      : getASentEC(buffer, context.breaks, context.abbreviations);
        if (pick.sentence.empty()) break;
        if (++count == n) {
            found = before;
            break;
        }
        buffer.setCaret(buffer.selStart() + buffer.selLength());
        if (buffer.caret() <= before) buffer.setCaret(before + 1);  // always move on
    }
    buffer.select(keptStart, keptLength);
    return found;
}

}  // namespace

std::size_t countSentences(Workbench& bench, RichText& bilingual) {
    SentenceTranslationSetup setup(bench);
    std::size_t count = 0;
    (void)walkSentences(setup.context(), bilingual, 0, count);
    return count;
}

Result<NumberedConfirmation> confirmNumberedSentence(Workbench& bench, RichText& bilingual, std::size_t n,
                                                     const std::string& translation) {
    if (gbk::trim(translation).empty()) return Status::error(ErrorKind::BadInput, "译文为空。");
    // Checked before anything is stored: the document could not take it, and the library
    // would keep a pair whose target never reached the document.
    if (containsMarker(translation))
        return Status::error(ErrorKind::BadInput, "译文中含有双语标记 ({*> <} {> <*})，不能写入文档。");
    SentenceTranslationSetup translationSetup(bench);
    std::size_t count = 0;
    const std::optional<std::size_t> caret = walkSentences(translationSetup.context(), bilingual, n, count);
    if (!caret) {
        return Status::error(ErrorKind::BadInput, "没有第" + std::to_string(n) + "句：文档共有" +
                                                      std::to_string(count) + "句。");
    }

    bilingual.setCaret(*caret);
    SentenceState& state = bench.sentenceState;
    const SentenceTranslation translated = translateSentence(translationSetup.context(), state, bilingual,
                                                             TranslateTrigger::NextSentence, ViewInput{});
    if (translated.outcome == SentenceOutcome::SwitchDirection)
        return Status::error(ErrorKind::Refused, "句子的语言与当前翻译方向不符。");
    if (translated.outcome != SentenceOutcome::Translated)
        return Status::error(ErrorKind::Refused, "");  // the person has been told why

    NumberedConfirmation done;
    done.sentence = translated.sentence;
    done.exampleRate = state.ExampleRate;
    done.revised = state.reEdit;
    std::string box = translation;
    SentenceConfirmationSetup confirmationSetup(bench);
    const ConfirmationResult confirmed = confirmSentence(confirmationSetup.context(), state, bilingual, box);
    if (confirmed.outcome == ConfirmOutcome::Cancelled || confirmed.outcome == ConfirmOutcome::EmptyBox)
        return Status::error(ErrorKind::Refused, "标记不匹配，未确认译文。");
    if (!confirmed.written) return Status::error(ErrorKind::Refused, "");  // told by the write-back
    done.outcome = confirmed.outcome;
    done.example = confirmed.example;
    return done;
}

}  // namespace tavricat
