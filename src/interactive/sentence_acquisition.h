#pragma once
// Taking the sentence to translate out of the bilingual document: the sentence getter of the
// direction at the caret, or the translator's own selection; then the checks that refuse it
// (hidden paragraph marks, length) or question the direction.

#include <cstddef>
#include <string>

#include "base/direction.h"
#include "document/rich_text.h"
#include "document/sentence_getters.h"

namespace tavricat {

class Dialogs;
class SentenceState;

inline constexpr const char* kHiddenMarkInSelection = "选定内容含有隐含的段落标记，请重选！";
inline constexpr const char* kSentenceTooLong = "请选定一个句子。如果真有超过3000个字符的句子，请先分为几个子句！";
inline constexpr const char* kChineseInEnglishSource =
    "您现在的系统状态为英译汉，但要翻译的句子却含有汉字，是否要设置为汉译英?";
inline constexpr const char* kNoChineseInChineseSource =
    "您现在的系统状态为汉译英，但要翻译的句子却不含汉字，是否要设置为英译汉?";
// The longest sentence the command takes, in bytes.
inline constexpr std::size_t kMaxSentenceLength = 3000;

struct AcquisitionContext {
    RichText& document;  // the bilingual view
    Direction direction;
    BreakOptions breaks;
    const AbbreviationLookup& abbreviations;
    Dialogs& dialogs;
};

enum class AcquisitionOutcome {
    Sentence,         // translate `sentence`
    Refused,          // the person has been told why; nothing else changed
    SwitchDirection,  // the person wants the other direction: the caller opens the setup
};

struct AcquiredSentence {
    AcquisitionOutcome outcome = AcquisitionOutcome::Refused;
    std::string sentence;
};

// Takes the sentence at the caret (setting the re-edit flag when it already has a
// translation, which is then selected) or, when the flag stays clear and the person had
// selected at least 2 (CE) or 3 (EC) bytes, the selection itself. Records the sentence's
// selection in `state`. Refuses a selection that holds a hidden paragraph mark and a
// sentence longer than kMaxSentenceLength; asks about the direction when a sentence of more
// than 2 bytes does (EC) or does not (CE) hold Chinese characters.
AcquiredSentence acquireSentence(AcquisitionContext& context, SentenceState& state);

// The checks of a sentence however it was taken: refused (and the person told) above
// kMaxSentenceLength; for more than 2 bytes, the direction question when the text does (EC)
// or does not (CE) hold Chinese characters.
AcquisitionOutcome checkSentence(const std::string& sentence, Direction direction, Dialogs& dialogs);

// Whether a line of [from, to) holds one of the bilingual markup's hidden paragraph marks
// (0x1E 0x1D, 0x1F 0x1E, 0x1E 0x1F); the lines are whole lines around the range.
bool selectionCrossesHiddenMark(const RichText& document, std::size_t from, std::size_t to);

}  // namespace tavricat
