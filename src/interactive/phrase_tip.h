#pragma once
// The phrase tip of the meaning popup: the longest run of tokens from the current one that
// the library's examples translate, so the window can colour the words that form a known
// phrase with the current word.

#include <functional>
#include <string>

namespace tavricat {

class SentenceLibrary;
struct stClass;

struct TokenRun {
    int first = 0;  // 0-based
    int count = 0;  // 0: no phrase
};

// The translations the library offers for `count` tokens from token `first` (1-based slots).
using SpanTranslations = std::function<std::string(int first, int count)>;

// Runs of 2, 3, ... tokens from `current` (0-based) up to the end of the sentence are looked
// up until one gets an answer shorter than 3 characters; the longest answered run is the
// tip (count 0 when not even the run of 2 was answered).
TokenRun phraseTipOf(const stClass& workSent, int current, const SpanTranslations& lookup);

// The same against the sentence library's examples (translationsOfTokenSpan).
TokenRun phraseTipInLibrary(const stClass& workSent, int current, const SentenceLibrary& library);

}  // namespace tavricat
