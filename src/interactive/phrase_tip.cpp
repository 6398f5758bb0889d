#include "interactive/phrase_tip.h"

#include "base/gbk.h"
#include "engine/sentence_analysis.h"
#include "memory/example_lookup.h"

namespace tavricat {

TokenRun phraseTipOf(const stClass& workSent, int current, const SpanTranslations& lookup) {
    TokenRun tip{current, 0};
    if (current < 0) return tip;
    for (int count = 2; current + count <= workSent.segCount; ++count) {
        if (gbk::charCount(lookup(current + 1, count)) < 3) break;
        tip.count = count;
    }
    return tip;
}

TokenRun phraseTipInLibrary(const stClass& workSent, int current, const SentenceLibrary& library) {
    return phraseTipOf(workSent, current,
                       [&](int first, int count) { return translationsOfTokenSpan(library, workSent, first, count); });
}

}  // namespace tavricat
