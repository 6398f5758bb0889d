#include "memory/posting_merge.h"

#include <algorithm>

#include "base/gbk.h"
#include "base/list_order.h"
#include "document/inline_tags.h"

namespace tavricat {

std::vector<QueryToken> classifyQueryTokens(const SentenceLibrary& library, const std::vector<std::string>& tokens) {
    std::vector<QueryToken> classified;
    classified.reserve(tokens.size());
    for (const std::string& token : tokens) {
        QueryToken query;
        query.text = std::string(gbk::trim(token));
        if (hasTag(token)) {
            query.kind = QueryTokenClass::Tag;
        } else if (SortedFind at = findSorted(library.libWords, query.text);
                   at.found && at.index < library.libPostings.size() &&
                   library.libPostings[at.index] != kStopMarker) {
            query.kind = QueryTokenClass::Indexed;
            query.postings = library.libPostings[at.index];
        }
        classified.push_back(std::move(query));
    }
    return classified;
}

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

long PostingMerge::readHead(const Cursor& cursor) {
    if (cursor.offset + 5 > cursor.postings.size()) return -1;
    long value = 0;
    for (std::size_t k = 0; k < 5; ++k) {
        int digit = hexDigit(cursor.postings[cursor.offset + k]);
        if (digit < 0) return -1;  // a damaged group ends that list
        value = value * 16 + digit;
    }
    return value;
}

PostingMerge::PostingMerge(const std::vector<QueryToken>& tokens) {
    for (std::size_t position = 0; position < tokens.size(); ++position) {
        if (tokens[position].kind != QueryTokenClass::Indexed) continue;
        Cursor cursor{position, tokens[position].postings, 0, -1};
        cursor.head = readHead(cursor);
        if (cursor.head >= 0) m_cursors.push_back(cursor);
    }
}

bool PostingMerge::next(std::size_t& example, std::vector<std::size_t>& matched) {
    matched.clear();
    long greatest = -1;
    for (const Cursor& cursor : m_cursors) greatest = std::max(greatest, cursor.head);
    if (greatest < 0) return false;
    example = static_cast<std::size_t>(greatest);
    bool exhausted = false;
    for (Cursor& cursor : m_cursors) {
        if (cursor.head != greatest) continue;
        matched.push_back(cursor.position);
        cursor.offset += 5;
        cursor.head = readHead(cursor);
        exhausted |= cursor.head < 0;
    }
    // Used-up lists leave the scan (in position order, which `matched` keeps).
    if (exhausted) std::erase_if(m_cursors, [](const Cursor& cursor) { return cursor.head < 0; });
    return true;
}

}  // namespace tavricat
