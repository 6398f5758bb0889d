#pragma once
// Translating one sentence interactively (Ctrl+J, Ctrl+K and the re-runs of the meaning
// popup): the sentence is taken from the document, analysed, its best example found and
// fitted, and everything the window shows for it is handed back as data -- the tokens with
// the ones that differ from the example, the example with its coloured ranges, the grammar
// patterns, the head of the common characters and the first version of the translation.

#include <cstddef>
#include <string>
#include <vector>

#include "base/direction.h"
#include "base/line_list.h"
#include "document/rich_text.h"
#include "document/sentence_getters.h"
#include "engine/analyser.h"
#include "interactive/best_example.h"
#include "interactive/reference_display.h"

namespace tavricat {

class Dialogs;
class Engine;
class SentenceLibrary;
class SentenceState;
class StopRequest;
struct GrammarLibrary;

// What a run reads from the workbench.
struct SentenceTranslationContext {
    Engine& engine;  // its term base and deleted words take back split phrases
    const SentenceLibrary& library;
    const GrammarLibrary& grammar;
    const std::vector<std::string>& domainLabels;
    AnalysisOptions analysis;  // the direction among them
    int matchrate = 65;
    bool giveMT = true;
    bool spaceInHanChar = false;
    BreakOptions breaks;
    const AbbreviationLookup& abbreviations;
    Dialogs& dialogs;
    StopRequest* autoTranslation = nullptr;  // a running automatic translation, stopped by a run
};

enum class TranslateTrigger {
    NextSentence,  // "翻译一句": the re-edit flag stays as the sentence getter set it
    Selection,     // "翻译选定句子" and the other re-runs: the flag is cleared first
    PhraseSplit,   // the meaning popup's "拆分词组": the split phrase stays out of the term base
};

// The document view in front, and the target text selected in it.
enum class TranslationView {
    Bilingual,           // the bilingual document
    SentenceBySentence,  // the sentence-by-sentence view
    SideBySide,          // the side-by-side view
};

struct ViewInput {
    TranslationView view = TranslationView::Bilingual;
    // The selected target text of the sentence-by-sentence or side-by-side view, which the
    // translation box then shows whatever the example search found.
    std::string selectedTarget;
};

enum class SentenceOutcome {
    Translated,
    Refused,          // told the person why; the document selection stays
    SwitchDirection,  // the person wants the other direction: the caller opens the setup
};

struct SentenceToken {
    std::string word;     // the word label: the token's text as written
    std::string meaning;  // its first meaning (or the one an example sharing it used)
    bool differs = false; // not found in the best example: shown red
};

struct SentenceTranslation {
    SentenceOutcome outcome = SentenceOutcome::Refused;
    std::string sentence;
    std::vector<SentenceToken> tokens;
    ExamplePath path = ExamplePath::None;
    double ExampleRate = kNoExampleRate;
    ReferenceDisplay reference;           // empty when no example is shown
    std::vector<std::string> grammarLines;  // pattern, template, pattern, template, ...
    std::string commonCharacterHead;      // the fixed words of the matched patterns
    std::string translationBox;           // the first version
};

// The whole command on the bilingual document: reset, split phrases restored, the sentence
// taken (see acquireSentence), then translateText.
SentenceTranslation translateSentence(SentenceTranslationContext& context, SentenceState& state, RichText& document,
                                      TranslateTrigger trigger, const ViewInput& view);

// The steps after the sentence is taken, for a sentence given as text (the re-edit flag as
// `state` holds it): analysis, example search and adaptation, translation box. Fills the
// example fields of `state`.
SentenceTranslation translateText(SentenceTranslationContext& context, SentenceState& state, std::string sentence,
                                  const ViewInput& view);

// The head line of the common-character box: the fixed words of the placed grammar
// patterns, each once, separated by blanks.
std::string commonCharacterHeadOf(std::string_view fixedWords);

// The common-character box with a new head: the old head (everything before the line that
// holds ">>" within the first 1000 bytes) and the empty lines at the top removed, `head`
// followed by a blank and a line break put in front.
std::string withCommonCharacterHead(std::string_view box, std::string_view head);

// F11 ("机译当前句"): the machine translation of the analysed sentence, which replaces the
// whole translation box.
std::string machineTranslationOfSentence(const Engine& engine, Direction direction);

}  // namespace tavricat
