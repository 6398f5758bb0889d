#include "app/sentence_translation_setup.h"

#include "app/workbench.h"

namespace tavricat {

SentenceTranslationSetup::SentenceTranslationSetup(Workbench& bench)
    : m_abbreviations({&bench.abbreviations, &bench.engine.termBase.termKeys}),
      m_context{bench.engine,
                bench.sentenceLibrary,
                bench.grammar,
                bench.selectedDomainNames,
                bench.analysisOptions(),
                bench.settings.matchrate,
                bench.settings.giveMT,
                bench.settings.SpaceInHanChar,
                BreakOptions{bench.settings.TABkeyStop, bench.settings.CLStop, bench.settings.tagStop},
                m_abbreviations,
                bench.dialogs(),
                nullptr} {}

}  // namespace tavricat
