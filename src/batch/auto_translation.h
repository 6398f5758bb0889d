#pragma once
// Automatic translation: through a document from its caret to its end, every sentence gets
// the best example of the sentence library when one rates above the match rate, otherwise
// (by option) a copy of its source, nothing, or the machine translation. Each translation is
// written as a bilingual segment with its rate (999 when no example was used). The library
// is never added to; the term base is put back as it was however the run ends.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "base/direction.h"
#include "base/ports.h"
#include "batch/stop_request.h"
#include "document/rich_text.h"
#include "document/sentence_getters.h"
#include "grammar/translation_pipeline.h"
#include "memory/sentence_library.h"

namespace tavricat {

inline constexpr const char* kAutoTranslationRunning = "正在进行自动翻译,可按F6键或单击停止按钮中断...";

struct AutoTranslationOptions {
    int matchrate = 65;       // an example is used when its rate in percent is above this
    int userefmode = 1;       // below it: 1 copy the source, 2 leave the sentence, 3 machine translation
    bool spaceInHanChar = false;
    BreakOptions breaks;
    std::uint32_t isoTagsColour = 8388736;
};

// What a run needs from the workbench.
struct AutoTranslationContext {
    PipelineContext pipeline;
    const SentenceLibrary& library;
    const AbbreviationLookup& abbreviations;
    Dialogs& dialogs;
    Progress& progress;
    const StopRequest& stop;
    // Called when the person agrees to switch to the direction of the document's text; the
    // run ends after it. Without it the question is not asked.
    std::function<void(Direction)> switchDirection;
};

struct AutoTranslationCounts {
    std::size_t sentences = 0;
    std::size_t fromMemory = 0;    // written from an example
    std::size_t fromFallback = 0;  // the source copied or machine-translated
    std::size_t leftAsIs = 0;      // option 2: no example, nothing written
    std::size_t kept = 0;          // segments already in the document, left as they were
    bool stopped = false;          // the stop request ended the run
    bool directionSwitched = false;
};

// Runs from the document's caret to its end.
Result<AutoTranslationCounts> runAutoTranslation(RichText& document, AutoTranslationContext& context,
                                                 const AutoTranslationOptions& options);

}  // namespace tavricat
