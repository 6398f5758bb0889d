#pragma once
// stClass: one analysed sentence. Slots are 1-based; slot 0 stays empty. The nine arrays
// hold wordCount + 1 slots after every analysis; segment slots beyond segCount are ignored.

#include <cstdint>
#include <string>
#include <vector>

namespace tavricat {

struct stClass {
    std::string text;          // cleaned, punctuation spaced, input case, single spaces
    std::int32_t wordCount = 0;
    std::int32_t segCount = 0;  // segments that received at least one source word
    std::vector<std::string> words;      // lower-case words
    std::vector<std::string> baseWords;  // after irregular-form replacement (EC)
    std::vector<std::string> segKeys;    // the dictionary key of each segment
    std::vector<std::string> segWords;   // lower-case source words of the segment, each + " "
    std::vector<std::string> segText;    // the same words in input case, each + " "
    std::vector<std::string> segTrans;   // entry field 1: translations
    std::vector<std::string> segAssoc;   // entry field 2: associations
    std::vector<std::string> segClass;   // entry field 3: word classes (and inflection tags)
    std::vector<std::string> segAttr;    // entry field 4: attributes
    std::string grammarText;

    // Clears everything and gives every array `slots` empty slots.
    void reset(std::size_t slots);
};

using SentenceAnalysis = stClass;

}  // namespace tavricat
