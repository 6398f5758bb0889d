#pragma once
// The interactive translation of a sentence over the workbench: its engine, current sentence
// library, grammar library and settings.

#include "document/sentence_getters.h"
#include "interactive/sentence_translation.h"

namespace tavricat {

class Workbench;

// Holds what the context refers to besides the workbench (the abbreviation look-up); the
// settings are read when it is made, so make one per run.
class SentenceTranslationSetup {
public:
    explicit SentenceTranslationSetup(Workbench& bench);
    SentenceTranslationSetup(const SentenceTranslationSetup&) = delete;
    SentenceTranslationSetup& operator=(const SentenceTranslationSetup&) = delete;

    SentenceTranslationContext& context() { return m_context; }

private:
    SortedListsLookup m_abbreviations;
    SentenceTranslationContext m_context;
};

}  // namespace tavricat
