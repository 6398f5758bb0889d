#include "interactive/sentence_acquisition.h"

#include "base/ports.h"
#include "document/han_spacing.h"
#include "interactive/sentence_state.h"

namespace tavricat {

bool selectionCrossesHiddenMark(const RichText& document, std::size_t from, std::size_t to) {
    const std::size_t size = document.size();
    from = std::min(from, size);
    to = std::min(std::max(to, from), size);
    // Whole lines: from the start of the first line to the end of the last one.
    std::size_t lineStart = from == 0 ? RichText::npos : document.findBackward("\n", from - 1);
    lineStart = lineStart == RichText::npos ? 0 : lineStart + 1;
    std::size_t lineEnd = document.find("\r\n", to);
    lineEnd = lineEnd == RichText::npos ? size : lineEnd;
    const std::string lines = document.text(lineStart, lineEnd - lineStart);
    for (std::string_view mark : {std::string_view("\x1E\x1D"), std::string_view("\x1F\x1E"), std::string_view("\x1E\x1F")})
        if (lines.find(mark) != std::string::npos) return true;
    return false;
}

AcquisitionOutcome checkSentence(const std::string& sentence, Direction direction, Dialogs& dialogs) {
    if (sentence.size() > kMaxSentenceLength) {
        dialogs.message(kSentenceTooLong);
        return AcquisitionOutcome::Refused;
    }
    if (sentence.size() > 2) {
        const bool hasChinese = hasCChars(sentence);
        if (direction == Direction::EC && hasChinese && dialogs.askYesNo(kChineseInEnglishSource))
            return AcquisitionOutcome::SwitchDirection;
        if (direction == Direction::CE && !hasChinese && dialogs.askYesNo(kNoChineseInChineseSource))
            return AcquisitionOutcome::SwitchDirection;
    }
    return AcquisitionOutcome::Sentence;
}

AcquiredSentence acquireSentence(AcquisitionContext& context, SentenceState& state) {
    RichText& document = context.document;
    const DocumentSelection initial{document.selStart(), document.selLength()};
    const bool chinese = context.direction == Direction::CE;
    const SentencePick pick =
        chinese ? getASentCE(document, context.breaks) : getASentEC(document, context.breaks, context.abbreviations);
    state.reEdit = pick.revision;
    const bool tooShort = initial.length < (chinese ? 2u : 3u);
    state.selection = {document.selStart(), document.selLength()};

    AcquiredSentence acquired;
    acquired.sentence = pick.sentence;
    if (!state.reEdit && !tooShort) {
        // The person's own selection wins over what the getter picked.
        if (selectionCrossesHiddenMark(document, initial.start, initial.start + initial.length)) {
            context.dialogs.message(kHiddenMarkInSelection);
            return acquired;
        }
        document.select(initial.start, initial.length);
        acquired.sentence = document.selectedText();
        state.selection = {document.selStart(), document.selLength()};
    }

    acquired.outcome = checkSentence(acquired.sentence, context.direction, context.dialogs);
    return acquired;
}

}  // namespace tavricat
