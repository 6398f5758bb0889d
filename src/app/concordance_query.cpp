#include "app/concordance_query.h"

#include "app/workbench.h"
#include "document/han_spacing.h"
#include "engine/analyser.h"
#include "engine/term_base_snapshot.h"
#include "grammar/translation_pipeline.h"

namespace tavricat {

std::string concordanceQuery(Workbench& bench, const std::string& text, bool inTranslation) {
    if (inTranslation) return isCE(bench.direction()) ? text : ClearSpaceInCChars(text);
    std::string sentence = isCE(bench.direction()) ? AddSpaceInCChars(text) : text;
    std::string cleaned;
    // Looking something up changes nothing: the analysis's term-base copies go back.
    const TermBaseSnapshot unchanged(bench.engine.termBase);
    const PipelineContext pipeline{bench.engine, bench.analysisOptions(), bench.grammar, bench.selectedDomainNames};
    prepareSent(sentence, cleaned, pipeline, true);
    return segmentKeyOf(bench.engine.workSent);
}

}  // namespace tavricat
