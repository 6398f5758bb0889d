#pragma once
// Looking up the examples that contain a group of words of the current sentence, for the
// example box of the reference window (listed lines with the words to highlight) and for
// the interactive translation (the translations of examples holding a span exactly).

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/analyser.h"
#include "engine/sentence_analysis.h"
#include "memory/sentence_library.h"

namespace tavricat {

class Engine;

// Byte range of a listed line shown bold, underlined and blue.
struct Highlight {
    std::size_t start = 0;
    std::size_t length = 0;
};

struct ListedExample {
    std::size_t index = 0;   // the example's index in the library
    std::string line;        // the stored line from its third character on, as shown
    std::vector<Highlight> highlights;
};

struct ExampleLookupOptions {
    int limit = 2;                // most examples listed per lookup (limitPhraseTipNum)
    bool spaceInHanChar = false;  // show blanks between Chinese characters
};

// `findExamplesOfText`: the examples holding the words of `text` (analysed into engine.refSent).
// With `contiguous`, only examples holding them as one run are listed.
std::vector<ListedExample> findExamplesOfText(const SentenceLibrary& library, Engine& engine, const AnalysisOptions& analysis,
                                    std::string_view text, bool contiguous, const ExampleLookupOptions& options);

// `findExamplesOfTokenSpan`: the same for `count` tokens of `sentence` from token `first` (1-based).
std::vector<ListedExample> findExamplesOfTokenSpan(const SentenceLibrary& library, const stClass& sentence, int first, int count,
                                    bool contiguous, const ExampleLookupOptions& options);

// `translationsOfTokenSpan`: "^" + translation of each of up to four examples holding the span exactly.
std::string translationsOfTokenSpan(const SentenceLibrary& library, const stClass& sentence, int first, int count);

// How the interactive area marks each token of the current sentence.
struct TokenMarks {
    bool selected = false;      // word label in the selected-words colour
    bool phraseTip = false;     // word label on the phrase-tip background
    bool meaningShown = false;  // meaning label not white
};

// `listExamplesOfMarkedWords`: mode 1 lists examples of the selected words; mode 2 those of the
// phrase-tip words and of the span of tokens whose meaning is shown.
std::vector<ListedExample> listExamplesOfMarkedWords(int mode, const std::vector<TokenMarks>& marks, const SentenceLibrary& library,
                                       Engine& engine, const AnalysisOptions& analysis,
                                       const ExampleLookupOptions& options);

}  // namespace tavricat
