#include "memory/example_lookup.h"

#include <algorithm>

#include "base/gbk.h"
#include "document/han_spacing.h"
#include "engine/engine.h"
#include "memory/posting_merge.h"

namespace tavricat {

namespace {

// The group's words as one blank-delimited text: " w1 w2 ... ".
std::string groupText(const std::vector<QueryToken>& tokens) {
    std::string text = " ";
    for (const QueryToken& token : tokens) text += token.text + " ";
    return text;
}

struct GroupVisit {
    std::size_t example = 0;
    std::string_view shown;  // the line from its third character on, at most `shownLimit`
    bool holdsRun = false;   // every word matched and the words occur as one run
    double rate = 0;
};

// Merges the group's postings and calls `visit` for each example whose share of the group's
// words exceeds `threshold`, until `visit` returns false.
template <typename Visit>
void visitGroupExamples(const SentenceLibrary& library, const std::vector<QueryToken>& tokens,
                        std::size_t shownLimit, double threshold, Visit visit) {
    const double n = static_cast<double>(tokens.size());
    if (tokens.empty() || library.libSentences.empty()) return;
    const std::string run = groupText(tokens);
    PostingMerge merge(tokens);
    std::size_t example = 0;
    std::vector<std::size_t> matched;
    while (merge.next(example, matched)) {
        if (example >= library.libSentences.size()) continue;
        double c = static_cast<double>(matched.size());
        double rate = c / n;
        if (rate <= 0.3) continue;
        const std::string_view line = library.libSentences[example];
        GroupVisit found;
        found.example = example;
        found.shown = gbk::cutToBytes(line.substr(std::min<std::size_t>(2, line.size())), shownLimit);
        std::size_t last = 0;
        for (const QueryToken& token : tokens) {
            if (token.kind != QueryTokenClass::Unindexed) continue;
            std::size_t at = found.shown.find(token.text);
            if (at != std::string_view::npos && at + 1 > last) {
                c += 1;
                last = at + 1;
            }
        }
        found.rate = c / n;
        if (found.rate <= threshold) continue;
        found.holdsRun = found.rate == 1 && found.shown.find(run) != std::string_view::npos;
        if (!visit(found)) return;
    }
}

// Every occurrence of `pattern` (words between blanks) in `line`, without the blanks around
// it; the line counts as having a blank before and after it.
void markOccurrences(const std::string& line, const std::string& pattern, bool firstOnly,
                     std::vector<Highlight>& highlights) {
    if (pattern.size() < 3) return;
    const std::string padded = " " + line + " ";
    for (std::size_t at = padded.find(pattern); at != std::string::npos; at = padded.find(pattern, at + 1)) {
        highlights.push_back({at, pattern.size() - 2});
        if (firstOnly) return;
    }
}

std::string shownForm(std::string_view text, bool spaceInHanChar) {
    return spaceInHanChar ? AddSpaceInCChars(text) : std::string(text);
}

std::vector<ListedExample> listGroup(const SentenceLibrary& library, const std::vector<std::string>& keys,
                                     bool contiguous, const ExampleLookupOptions& options) {
    std::vector<ListedExample> listed;
    if (options.limit <= 0) return listed;
    const std::vector<QueryToken> tokens = classifyQueryTokens(library, keys);
    const std::string run = groupText(tokens);
    visitGroupExamples(library, tokens, 2000, 0.79, [&](const GroupVisit& found) {
        if (contiguous && !found.holdsRun) return true;
        ListedExample example;
        example.index = found.example;
        example.line = shownForm(found.shown, options.spaceInHanChar);
        // Highlights are found in the line as shown, so they follow added blanks.
        if (contiguous) {
            markOccurrences(example.line, " " + shownForm(gbk::trim(run), options.spaceInHanChar) + " ", true,
                            example.highlights);
        } else {
            for (const QueryToken& token : tokens) {
                if (token.text.empty()) continue;
                markOccurrences(example.line, " " + shownForm(token.text, options.spaceInHanChar) + " ", false,
                                example.highlights);
            }
            std::sort(example.highlights.begin(), example.highlights.end(),
                      [](const Highlight& a, const Highlight& b) { return a.start < b.start; });
        }
        listed.push_back(std::move(example));
        return static_cast<int>(listed.size()) < options.limit;
    });
    return listed;
}

// Segment keys first .. first+count-1 (1-based) of an analysis, clipped to its segments.
std::vector<std::string> spanKeys(const stClass& sentence, int first, int count) {
    std::vector<std::string> keys;
    for (int k = std::max(first, 1); k < first + count && k <= sentence.segCount; ++k) {
        if (static_cast<std::size_t>(k) < sentence.segKeys.size()) keys.push_back(sentence.segKeys[static_cast<std::size_t>(k)]);
    }
    return keys;
}

}  // namespace

std::vector<ListedExample> findExamplesOfText(const SentenceLibrary& library, Engine& engine, const AnalysisOptions& analysis,
                                    std::string_view text, bool contiguous, const ExampleLookupOptions& options) {
    std::string sentence(text);
    std::string spare;
    normSent(sentence, spare, engine, analysis);
    return listGroup(library, spanKeys(engine.refSent, 1, engine.refSent.segCount), contiguous, options);
}

std::vector<ListedExample> findExamplesOfTokenSpan(const SentenceLibrary& library, const stClass& sentence, int first, int count,
                                    bool contiguous, const ExampleLookupOptions& options) {
    if (library.libSentences.empty()) return {};
    return listGroup(library, spanKeys(sentence, first, count), contiguous, options);
}

std::string translationsOfTokenSpan(const SentenceLibrary& library, const stClass& sentence, int first, int count) {
    std::string result;
    if (library.libSentences.empty()) return result;
    const std::vector<QueryToken> tokens = classifyQueryTokens(library, spanKeys(sentence, first, count));
    int taken = 0;
    visitGroupExamples(library, tokens, 3000, 0.99, [&](const GroupVisit& found) {
        if (!found.holdsRun) return true;
        const std::size_t caret = findKeySeparator(found.shown);
        result += "^";
        if (caret != std::string_view::npos) result += found.shown.substr(caret + 1);
        return ++taken < 4;
    });
    return result;
}

std::vector<ListedExample> listExamplesOfMarkedWords(int mode, const std::vector<TokenMarks>& marks, const SentenceLibrary& library,
                                       Engine& engine, const AnalysisOptions& analysis,
                                       const ExampleLookupOptions& options) {
    const stClass& sentence = engine.workSent;
    auto keyOf = [&](std::size_t position) {
        return position + 1 < sentence.segKeys.size() ? sentence.segKeys[position + 1] : std::string();
    };
    // The words of the marked tokens as one text, and whether they follow each other.
    auto group = [&](auto isMarked, std::string& text, std::vector<std::size_t>& positions) {
        text.clear();
        positions.clear();
        for (std::size_t k = 0; k < marks.size(); ++k) {
            if (!isMarked(marks[k])) continue;
            text += " " + std::string(gbk::trim(keyOf(k)));
            positions.push_back(k);
        }
        bool contiguous = true;
        for (std::size_t k = 1; k < positions.size(); ++k) contiguous &= positions[k] == positions[k - 1] + 1;
        return contiguous;
    };

    std::vector<ListedExample> listed;
    std::string text;
    std::vector<std::size_t> positions;
    if (mode == 1) {
        bool contiguous = group([](const TokenMarks& m) { return m.selected; }, text, positions);
        if (!positions.empty()) listed = findExamplesOfText(library, engine, analysis, text, contiguous, options);
        return listed;
    }

    bool contiguous = group([](const TokenMarks& m) { return m.phraseTip; }, text, positions);
    std::size_t firstSpan = positions.empty() ? 0 : positions.back() - positions.front() + 1;
    if (positions.size() >= 2) listed = findExamplesOfText(library, engine, analysis, text, contiguous, options);

    std::vector<std::size_t> shown;
    for (std::size_t k = 0; k < marks.size(); ++k)
        if (marks[k].meaningShown) shown.push_back(k);
    if (shown.empty()) return listed;
    const std::size_t span = shown.back() - shown.front() + 1;
    bool fewGaps = true;
    for (std::size_t k = 1; k < shown.size(); ++k) fewGaps &= shown[k] - shown[k - 1] <= 2;
    if (span > firstSpan) {
        std::vector<ListedExample> more = findExamplesOfTokenSpan(library, sentence, static_cast<int>(shown.front()) + 1,
                                                   static_cast<int>(span), fewGaps, options);
        listed.insert(listed.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
    }
    return listed;
}

}  // namespace tavricat
