#pragma once
// Merging the posting lists of a sentence's tokens from their heads. Each step takes the
// greatest head (the newest example) and every token position whose head equals it, so the
// examples sharing an indexed token are visited newest first, each once per group of its
// index in the postings, and every posting is read once.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "memory/sentence_library.h"

namespace tavricat {

enum class QueryTokenClass {
    Tag,        // an inline tag: ignored by the search
    Indexed,    // in libWords with real postings: merged
    Unindexed,  // unknown to the library or too common (StopMarker): searched as text
};

struct QueryToken {
    std::string text;           // trimmed
    QueryTokenClass kind = QueryTokenClass::Unindexed;
    std::string_view postings;  // the library's postings for an indexed token
};

// Classifies `tokens` (trimmed on the way) against the library's word list.
std::vector<QueryToken> classifyQueryTokens(const SentenceLibrary& library, const std::vector<std::string>& tokens);

class PostingMerge {
public:
    explicit PostingMerge(const std::vector<QueryToken>& tokens);

    // The next example to visit and the token positions whose head named it (in position
    // order). False when every posting list is used up.
    bool next(std::size_t& example, std::vector<std::size_t>& matched);

private:
    struct Cursor {
        std::size_t position;
        std::string_view postings;
        std::size_t offset;
        long head;  // -1 once the postings are used up (or unreadable)
    };
    static long readHead(const Cursor& cursor);

    std::vector<Cursor> m_cursors;
};

}  // namespace tavricat
