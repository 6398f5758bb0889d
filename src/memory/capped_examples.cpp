#include "memory/capped_examples.h"

#include <algorithm>
#include <iterator>
#include <unordered_map>

#include "base/parallel.h"

#include "memory/sentence_library.h"

namespace tavricat {

namespace {

constexpr std::size_t kMaxSlices = 8;

std::size_t wordsIn(std::string_view token) {
    return static_cast<std::size_t>(std::count(token.begin(), token.end(), ' ')) + 1;
}

void insertInOrder(ExampleList& list, std::uint32_t example) {
    if (list.empty() || list.back() < example) {
        list.push_back(example);
        return;
    }
    const auto at = std::lower_bound(list.begin(), list.end(), example);
    if (at == list.end() || *at != example) list.insert(at, example);
}

}  // namespace

void CappedExamples::clear() {
    m_lists.clear();
    m_examples = 0;
    m_longestToken = 1;
    m_built = false;
}

void CappedExamples::build(const LineList& sentences, const LineList& words, const LineList& postings) {
    clear();
    m_built = true;
    m_examples = sentences.size();
    for (std::size_t w = 0; w < words.size() && w < postings.size(); ++w) {
        if (postings[w] != kStopMarker) continue;
        m_lists[words[w]];
        m_longestToken = std::max(m_longestToken, wordsIn(words[w]));
    }
    if (m_lists.empty()) return;
    // Each run of up to m_longestToken words of a source is looked up as a token; the source
    // holds its tokens between single blanks (" i look after it "). The examples are walked
    // in slices over the cores, each slice gathering its own part of every list; the parts
    // are joined in slice order, so every list stays oldest first.
    const std::size_t longest = m_longestToken;
    const WordLists& lists = m_lists;
    std::vector<std::unordered_map<const ExampleList*, ExampleList>> parts(kMaxSlices);
    forEachNumberedSlice(
        sentences.size(),
        [&](std::size_t slice, std::size_t begin, std::size_t end) {
            auto& part = parts[slice];
            std::vector<std::size_t> starts, ends;
            for (std::size_t e = begin; e < end; ++e) {
                const std::string_view source = exampleSourceOf(sentences[e]);
                starts.clear();
                ends.clear();
                for (std::size_t i = 0; i < source.size();) {
                    while (i < source.size() && source[i] == ' ') ++i;
                    const std::size_t from = i;
                    while (i < source.size() && source[i] != ' ') ++i;
                    if (i > from) {
                        starts.push_back(from);
                        ends.push_back(i);
                    }
                }
                const auto example = static_cast<std::uint32_t>(e);
                for (std::size_t first = 0; first < starts.size(); ++first) {
                    for (std::size_t last = first; last < starts.size() && last - first < longest; ++last) {
                        const ExampleList* list = lists.find(source.substr(starts[first], ends[last] - starts[first]));
                        if (!list) continue;
                        ExampleList& mine = part[list];
                        if (mine.empty() || mine.back() != example) mine.push_back(example);
                    }
                }
            }
        },
        4096, kMaxSlices);
    for (auto& part : parts) {
        for (auto& [list, examples] : part) {
            ExampleList& whole = *const_cast<ExampleList*>(list);
            whole.insert(whole.end(), examples.begin(), examples.end());
            ExampleList().swap(examples);
        }
    }
}

void CappedExamples::holds(std::string_view token, std::size_t example) {
    if (ExampleList* list = m_lists.find(token)) insertInOrder(*list, static_cast<std::uint32_t>(example));
}

void CappedExamples::capped(std::string_view token, ExampleList examples) {
    std::sort(examples.begin(), examples.end());
    examples.erase(std::unique(examples.begin(), examples.end()), examples.end());
    ExampleList& list = m_lists[token];
    ExampleList merged;
    std::set_union(list.begin(), list.end(), examples.begin(), examples.end(), std::back_inserter(merged));
    list = std::move(merged);
    m_longestToken = std::max(m_longestToken, wordsIn(token));
}

}  // namespace tavricat
