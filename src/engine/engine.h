#pragma once
// The language engine's tables: the term base, the system dictionary of the direction, the
// deleted words, the irregular verb forms, the measure words, and the two sentence analyses
// (workSent for the sentence under translation, refSent for keys of the memory and the
// term base). Owned by the Workbench; answers the look-ups of segmentation and morphology.

#include <string>
#include <string_view>

#include "base/line_list.h"
#include "engine/dictionary_source.h"
#include "engine/match_table.h"
#include "engine/measure_words.h"
#include "engine/morphology.h"
#include "engine/sentence_analysis.h"
#include "engine/system_dictionary.h"
#include "engine/term_base.h"
#include "engine/verb_forms.h"

namespace tavricat {

class Engine : public Dictionaries {
public:
    TermBase termBase;
    SystemDictionary systemDictionary;
    LineList deletedWords;  // sorted
    VerbForms verbForms;
    MeasureWords measureWords;
    stClass workSent;
    stClass refSent;
    GrammarPlacement grammarPlacement;  // the match table of workSent, until the next prepareSent

    std::string lookupKey(std::string_view key, DictSource source) override;
    KeyValueLists listsFor(std::string_view candidate, DictSource source) override;
    bool isDeleted(std::string_view key) const override;

    VerbFormLists verbFormLists() const { return {&verbForms.formList, &verbForms.baseList}; }

    // Inserts a key found in the system dictionary into the term base, with its value
    // converted to a term entry, unless the term base has the key already.
    void copySystemEntry(const std::string& key, std::string_view systemValue);

private:
    LineList m_emptyList;
};

// A system value (translation ^ attributes ^ associations) as a term entry
// (translation ^ associations ^ classes ^ attributes), the classes derived from the
// translation and the translation rewritten from its header form.
std::string termEntryFromSystemValue(std::string_view value);

}  // namespace tavricat
