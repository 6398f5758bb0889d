#include "interactive/sentence_rerun.h"

#include "base/gbk.h"
#include "document/markup.h"
#include "engine/tokenizer.h"

namespace tavricat {

namespace {
constexpr std::size_t kTranslationLeastStart = 10;
constexpr std::size_t kBackIntoSource = 11;
}  // namespace

void reselectSentenceForRerun(RichText& document) {
    const std::size_t start = document.selStart();
    if (start < kTranslationLeastStart) return;
    if (document.text(start - kTargetStart.size(), kTargetStart.size()) == kTargetStart)
        document.setCaret(start - kBackIntoSource);
}

bool isSplittablePhrase(std::string_view token) { return countWords(gbk::trim(token)) >= 2; }

}  // namespace tavricat
