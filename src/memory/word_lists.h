#pragma once
// Example lists by word: an open-addressing table whose keys are words compared with ASCII
// letters folded, found without building a string (a build looks up every token of a million
// examples). Used by the concordance's index and the search's lists of capped words.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavricat {

using ExampleList = std::vector<std::uint32_t>;

class WordLists {
public:
    const ExampleList* find(std::string_view word) const;
    ExampleList* find(std::string_view word) { return const_cast<ExampleList*>(std::as_const(*this).find(word)); }
    ExampleList& operator[](std::string_view word);  // an empty list is added when absent
    bool empty() const { return m_keys.empty(); }
    void clear();

private:
    std::size_t slotOf(std::string_view word) const;  // where `word` is or would go
    std::vector<std::string> m_keys;                    // lower-case
    std::vector<ExampleList> m_lists;
    std::vector<std::uint32_t> m_slots;  // open addressing: key index + 1; 0 is free
};

}  // namespace tavricat
