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
        } else if (const std::optional<std::size_t> word = library.wordIndexOf(query.text);
                   word && *word < library.libPostings.size() && library.libPostings[*word] != kStopMarker) {
            query.kind = QueryTokenClass::Indexed;
            query.postings = library.libPostings[*word];
        }
        classified.push_back(std::move(query));
    }
    return classified;
}

namespace {

// Hexadecimal digit values by byte, -1 for every other byte: every posting of a search is
// decoded through it.
struct HexTable {
    signed char value[256];
    constexpr HexTable() : value{} {
        for (int c = 0; c < 256; ++c) value[c] = -1;
        for (int c = '0'; c <= '9'; ++c) value[c] = static_cast<signed char>(c - '0');
        for (int c = 'A'; c <= 'F'; ++c) value[c] = static_cast<signed char>(c - 'A' + 10);
        for (int c = 'a'; c <= 'f'; ++c) value[c] = static_cast<signed char>(c - 'a' + 10);
    }
};
constexpr HexTable kHex;

int hexDigit(char c) { return kHex.value[static_cast<unsigned char>(c)]; }

}  // namespace

long PostingMerge::readHead(const Cursor& cursor) {
    if (cursor.offset + 5 > cursor.postings.size()) return -1;
    const char* group = cursor.postings.data() + cursor.offset;
    const int d0 = hexDigit(group[0]), d1 = hexDigit(group[1]), d2 = hexDigit(group[2]), d3 = hexDigit(group[3]),
              d4 = hexDigit(group[4]);
    if ((d0 | d1 | d2 | d3 | d4) < 0) return -1;  // a damaged group ends that list
    return (((static_cast<long>(d0) * 16 + d1) * 16 + d2) * 16 + d3) * 16 + d4;
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
