#include "engine/analyser.h"

#include "base/gbk.h"
#include "engine/bar_lists.h"
#include "engine/engine.h"
#include "engine/morphology.h"
#include "engine/segmentation.h"
#include "engine/tokenizer.h"

namespace tavricat {

void analyseSent(std::string_view sentence, stClass& target, Engine& engine, const AnalysisOptions& options) {
    const bool ce = options.direction == Direction::CE;
    std::string text = ce ? splitHanChars(0, sentence) : expandShortForms(sentence);
    text = spacePunct(text);
    std::string lowered = ce ? splitHanChars(1, text) : text;
    lowered = gbk::asciiLower(lowered);

    const int wordCount = countWords(lowered);
    target.reset(static_cast<std::size_t>(wordCount) + 1);
    target.text = text;
    target.wordCount = wordCount;
    splitWords(lowered, target.words, static_cast<std::size_t>(wordCount));

    std::string base = ce ? lowered : toBaseForms(lowered, engine.verbFormLists());
    splitWords(base, target.baseWords, static_cast<std::size_t>(wordCount));

    if (engine.systemDictionary.isOpen() && options.useSysLib && options.useUserLib) {
        // Each key goes into the term base with its own dictionary entry, never with the
        // entry of an inflected form merged in: "pleased" must not give "please" its senses
        // for good. The form keeps its own entry under its own key.
        Segmentation system = segmentText(base, DictSource::System, engine);
        for (std::size_t i = 0; i < system.keys.size(); ++i) {
            const std::string own = engine.lookupKey(system.keys[i], DictSource::System);
            engine.copySystemEntry(system.keys[i], own.empty() ? system.entries[i] : own);
            const std::string& form = system.mergedForms[i];
            if (form.empty()) continue;
            if (const std::string formEntry = engine.lookupKey(form, DictSource::System); !formEntry.empty())
                engine.copySystemEntry(form, formEntry);
        }
    }
    if (!options.useUserLib) return;
    Segmentation segments = segmentText(base, DictSource::TermBase, engine);

    // At most wordCount segments are stored: a multi-word base form can make more segments
    // than the sentence has word slots.
    const std::size_t stored = std::min(segments.keys.size(), static_cast<std::size_t>(wordCount));
    for (std::size_t k = 1; k <= stored; ++k) {
        target.segKeys[k] = segments.keys[k - 1];
        std::vector<std::string> fields = splitFields(segments.entries[k - 1], '^', 4);
        fields.resize(4);
        target.segTrans[k] = fields[0];
        target.segAssoc[k] = fields[1];
        target.segClass[k] = fields[2];
        target.segAttr[k] = fields[3];
    }

    // Align segments with the words: each segment covers as many words as its key has.
    std::size_t word = 1;
    std::size_t textPos = 0;
    for (std::size_t k = 1; k <= stored && word <= static_cast<std::size_t>(wordCount); ++k) {
        const int covers = std::max(1, countWords(target.segKeys[k]));
        for (int n = 0; n < covers && word <= static_cast<std::size_t>(wordCount); ++n, ++word) {
            target.segWords[k] += target.words[word] + " ";
            // The same word in the input's case, with the blank that follows it.
            while (textPos < text.size() && text[textPos] == ' ') ++textPos;
            std::size_t end = text.find(' ', textPos);
            if (end == std::string::npos) end = text.size();
            target.segText[k] += text.substr(textPos, end - textPos) + " ";
            textPos = end;
        }
        target.segCount = static_cast<std::int32_t>(k);
    }
}

void normSent(std::string& sentence, std::string& spare, Engine& engine, const AnalysisOptions& options) {
    while (!sentence.empty() && (sentence.back() == '\r' || sentence.back() == '\n')) sentence.pop_back();
    analyseSent(sentence, engine.refSent, engine, options);
    spare.clear();
}

std::string segmentKeyOf(const stClass& analysis) {
    std::string key;
    for (std::int32_t k = 1; k <= analysis.segCount; ++k) {
        std::string_view part = gbk::trim(analysis.segKeys[static_cast<std::size_t>(k)]);
        if (part.empty()) continue;
        if (!key.empty()) key += ' ';
        key += part;
    }
    return key;
}

std::string baseWordKeyOf(const stClass& analysis) {
    std::string key;
    for (std::int32_t k = 1; k <= analysis.wordCount; ++k) {
        const std::string& word = analysis.baseWords[static_cast<std::size_t>(k)];
        if (word.empty()) continue;
        if (!key.empty()) key += ' ';
        key += word;
    }
    return key;
}

}  // namespace tavricat
