#include "memory/sentence_library.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/bak_save.h"
#include "base/encoding.h"
#include "base/gbk.h"
#include "base/list_order.h"
#include "base/parallel.h"
#include "document/han_spacing.h"
#include "document/inline_tags.h"
#include "engine/engine.h"

namespace tavricat {

namespace {

std::string libraryFile(const std::string& folder, const std::string& name, const char* extension) {
    return joinPath(folder, name + extension);
}

Status shown(Dialogs& dialogs, const char* text) {
    dialogs.message(text);
    return Status::error(ErrorKind::Io, text);
}

Status refused(const char* text) { return Status::error(ErrorKind::Refused, text); }

// Position of the first ASCII `c` that is a character of its own (not a trail byte). Found
// with memchr; a hit is a trail byte exactly when an odd number of bytes >= 0x81 stand right
// before it (a byte below 0x81 always ends a character, so the run starts on a boundary).
std::size_t findAsciiChar(std::string_view text, char c) {
    for (std::size_t from = 0; from < text.size();) {
        const void* hit = std::memchr(text.data() + from, c, text.size() - from);
        if (!hit) return std::string_view::npos;
        const std::size_t pos = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
        std::size_t leads = 0;
        while (leads < pos && gbk::isLeadByte(static_cast<unsigned char>(text[pos - leads - 1]))) ++leads;
        if (leads % 2 == 0) return pos;
        from = pos + 1;
    }
    return std::string_view::npos;
}

// The translation part of a stored line: "^" + translation, line ends flattened to blanks
// (a line end would split the line and shift every later example), cut to its limit.
std::string translationPart(std::string_view translation) {
    std::string part = "^";
    part += translation;
    std::replace(part.begin(), part.end(), '\r', ' ');
    std::replace(part.begin(), part.end(), '\n', ' ');
    return std::string(gbk::cutToBytes(part, kMaxTranslationPart));
}

bool isTombstone(std::string_view line) {
    std::size_t caret = findKeySeparator(line);
    return caret != std::string_view::npos && caret <= 3;
}

// Walks the words of a text (runs of bytes other than blanks), tag words left out on request.
class WordWalk {
public:
    WordWalk(std::string_view text, bool ignoreTags) : m_text(text), m_ignoreTags(ignoreTags) {}
    // The next word; empty at the end.
    std::string_view next() {
        while (true) {
            while (m_at < m_text.size() && m_text[m_at] == ' ') ++m_at;
            const std::size_t start = m_at;
            while (m_at < m_text.size() && m_text[m_at] != ' ') ++m_at;
            const std::string_view word = m_text.substr(start, m_at - start);
            if (word.empty() || !m_ignoreTags || !hasTag(word)) return word;
        }
    }

private:
    std::string_view m_text;
    bool m_ignoreTags;
    std::size_t m_at = 0;
};

// A hash of the words with a blank after each, so that texts with the same words hash alike
// whatever blanks stand between them. The bytes are packed eight at a time and each pack is
// mixed in with one multiplication: a load hashes every source of the library.
std::uint32_t wordsHash(std::string_view text) {
    std::uint64_t hash = 0x9E3779B97F4A7C15ull, pack = 0;
    unsigned filled = 0;
    auto mix = [&hash](std::uint64_t value) {
        hash = (hash ^ value) * 0xFF51AFD7ED558CCDull;
        hash ^= hash >> 32;
    };
    auto add = [&](unsigned char byte) {
        pack |= std::uint64_t{byte} << (8 * filled);
        if (++filled == 8) {
            mix(pack);
            pack = 0;
            filled = 0;
        }
    };
    bool inWord = false;
    for (const char c : text) {
        if (c != ' ') {
            add(static_cast<unsigned char>(c));
            inWord = true;
        } else if (inWord) {
            add(' ');
            inWord = false;
        }
    }
    if (inWord) add(' ');
    mix(pack ^ (std::uint64_t{filled} << 61));
    return static_cast<std::uint32_t>(hash ^ (hash >> 29));
}

bool hasWords(std::string_view text) { return text.find_first_not_of(' ') != std::string_view::npos; }

// The entry of example `example` (line `line`) in the index of sources: its source's hash
// above its number + 1; 0 for a source without words, which is not indexed.
std::uint64_t sourceSlotOf(std::string_view line, std::size_t example) {
    const std::string_view source = exampleSourceOf(line);
    if (!hasWords(source)) return 0;
    return (std::uint64_t{wordsHash(source)} << 32) | static_cast<std::uint64_t>(example + 1);
}

// Sorts entries by their home slot (hash & mask), least significant byte first.
void sortByHomeSlot(std::vector<std::uint64_t>& entries, std::size_t mask) {
    std::vector<std::uint64_t> spare(entries.size());
    for (unsigned shift = 0; (mask >> shift) != 0; shift += 8) {
        std::size_t starts[257] = {};
        auto digit = [&](std::uint64_t entry) { return ((static_cast<std::size_t>(entry >> 32) & mask) >> shift) & 0xFF; };
        for (const std::uint64_t entry : entries) ++starts[digit(entry) + 1];
        for (std::size_t d = 1; d < 257; ++d) starts[d] += starts[d - 1];
        for (const std::uint64_t entry : entries) spare[starts[digit(entry)]++] = entry;
        entries.swap(spare);
    }
}

constexpr std::size_t kLeastSourceSlots = 1024;

}  // namespace

std::string_view exampleSourceOf(std::string_view line) {
    if (line.size() <= 2) return {};
    const std::string_view rest = line.substr(2);
    return rest.substr(0, findKeySeparator(rest));
}

bool sameWords(std::string_view a, std::string_view b, bool ignoreTags) {
    WordWalk left(a, ignoreTags), right(b, ignoreTags);
    while (true) {
        const std::string_view word = left.next();
        if (word != right.next()) return false;
        if (word.empty()) return true;
    }
}

std::string exampleIndexHex(std::size_t index) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%05zX", index);
    return buffer;
}

std::size_t findKeySeparator(std::string_view line) { return findAsciiChar(line, '^'); }

Result<std::string> exampleKeyOf(const stClass& analysis) {
    if (analysis.segCount <= 0) return std::string();
    const auto count = static_cast<std::size_t>(analysis.segCount);
    if (count > kMaxSegments) return refused(kTooManySegments);
    if (analysis.segKeys.size() <= count) return refused(kNoSegmentsToStore);
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%02zX", count);
    std::string key = buffer;
    for (std::size_t k = 1; k <= count; ++k) {
        std::string_view segment = gbk::trim(analysis.segKeys[k]);
        if (findAsciiChar(segment, '^') != std::string_view::npos ||
            segment.find_first_of("\r\n") != std::string_view::npos) {
            return refused(kCaretInSegment);
        }
        key += ' ';
        key += segment;
    }
    return key;
}

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The segment count at the start of a library line; 0 for a tombstone or a damaged line.
std::size_t segmentCountOf(std::string_view line) {
    if (isTombstone(line)) return 0;
    std::size_t count = 0, at = 0;
    for (; at < line.size() && hexValue(line[at]) >= 0; ++at) count = count * 16 + static_cast<std::size_t>(hexValue(line[at]));
    return at >= 2 && count <= kMaxSegments ? count : 0;
}

}  // namespace

std::vector<std::string> segmentKeysOf(std::string_view line, const SegmentKeyTest& isKey) {
    const std::size_t count = segmentCountOf(line);
    std::vector<std::string> segments;
    if (count == 0) return segments;
    std::string_view key = line.substr(0, findKeySeparator(line));
    const std::size_t blank = key.find(' ');
    if (blank == std::string_view::npos) return segments;
    key = key.substr(blank + 1);
    if (!key.empty() && key.back() == ' ') key.remove_suffix(1);  // the blank before "^"
    std::vector<std::string_view> words;
    for (std::size_t from = 0;;) {
        const std::size_t next = key.find(' ', from);
        words.push_back(key.substr(from, next == std::string_view::npos ? std::string_view::npos : next - from));
        if (next == std::string_view::npos) break;
        from = next + 1;
    }
    auto join = [&words](std::size_t from, std::size_t to) {
        std::string text(words[from]);
        for (std::size_t k = from + 1; k < to; ++k) (text += ' ') += words[k];
        return text;
    };
    const std::size_t n = words.size();
    if (n <= count) {
        for (std::string_view word : words) segments.emplace_back(word);
        return segments;
    }
    // A segment spans at most the surplus words plus one; which runs are keys is asked once.
    const std::size_t longest = n - count + 1;
    std::vector<std::vector<std::uint8_t>> known(n, std::vector<std::uint8_t>(longest + 1, 0));
    for (std::size_t i = 0; i < n; ++i) {
        known[i][1] = 1;
        for (std::size_t length = 2; isKey && length <= longest && i + length <= n; ++length)
            known[i][length] = isKey(join(i, i + length)) ? 1 : 0;
    }
    // can[i][j]: words i.. cut into j segments, each a single word or a known key.
    std::vector<std::vector<std::uint8_t>> can(n + 1, std::vector<std::uint8_t>(count + 1, 0));
    can[n][0] = 1;
    for (std::size_t i = n; i-- > 0;)
        for (std::size_t j = 1; j <= count; ++j)
            for (std::size_t length = 1; length <= longest && i + length <= n && !can[i][j]; ++length)
                if (known[i][length] && can[i + length][j - 1]) can[i][j] = 1;
    if (!can[0][count]) {
        for (std::size_t k = 0; k + 1 < count; ++k) segments.emplace_back(words[k]);
        segments.push_back(join(count - 1, n));
        return segments;
    }
    // Longest known key first, as segmentation takes them.
    for (std::size_t i = 0, j = count; j > 0; --j) {
        for (std::size_t length = std::min(longest, n - i); length >= 1; --length) {
            if (known[i][length] && can[i + length][j - 1]) {
                segments.push_back(join(i, i + length));
                i += length;
                break;
            }
        }
    }
    return segments;
}

namespace {
// indexDamageOf, with the segment count of every example (segmentCountOf) already known.
std::string indexDamageOfCounted(const std::vector<std::uint32_t>& expected, const LineList& words,
                                 const LineList& postings) {
    if (words.size() != postings.size()) return ".rf1 与 .rf2 的行数不同";
    for (std::size_t k = 0; k < words.size(); ++k) {
        if (gbk::trim(words[k]).empty()) return ".rf1 有空行";
        if (k > 0 && compareListOrder(words[k - 1], words[k]) == 0) return ".rf1 有重复的词";
    }
    std::vector<std::uint32_t> seen(expected.size(), 0);
    bool stopped = false;
    for (const std::string& list : postings) {
        if (list == kStopMarker) {
            stopped = true;
            continue;
        }
        // An empty list is sound: the word's examples were all deleted.
        if (list.size() % 5 != 0) return ".rf2 的行不是5位编号组成的";
        for (std::size_t at = 0; at < list.size(); at += 5) {
            std::size_t index = 0;
            for (std::size_t d = at; d < at + 5; ++d) {
                const int value = hexValue(list[d]);
                if (value < 0) return ".rf2 有不是十六进制的编号";
                index = index * 16 + static_cast<std::size_t>(value);
            }
            if (index >= expected.size()) return ".rf2 的编号超出例句数";
            if (++seen[index] > expected[index]) return ".rf2 列出的例句多于其词段数";
        }
    }
    if (!stopped) {
        for (std::size_t e = 0; e < expected.size(); ++e)
            if (expected[e] > 0 && seen[e] == 0) return "例句 " + exampleIndexHex(e) + " 不在索引中";
    }
    return {};
}
}  // namespace

std::string indexDamageOf(const LineList& sentences, const LineList& words, const LineList& postings) {
    std::vector<std::uint32_t> expected(sentences.size());
    for (std::size_t e = 0; e < sentences.size(); ++e) expected[e] = static_cast<std::uint32_t>(segmentCountOf(sentences[e]));
    return indexDamageOfCounted(expected, words, postings);
}

void SentenceLibrary::rebuildIndex(const SegmentKeyTest& isKey) {
    std::vector<std::pair<std::string, std::uint32_t>> entries;
    for (std::size_t e = 0; e < libSentences.size(); ++e) {
        for (std::string& segment : segmentKeysOf(libSentences[e], isKey)) {
            std::string token(gbk::trim(segment));
            if (!token.empty()) entries.emplace_back(std::move(token), static_cast<std::uint32_t>(e));
        }
    }
    // Oldest first within a word: its first spelling names it, as when the examples were added.
    std::stable_sort(entries.begin(), entries.end(),
                     [](const auto& a, const auto& b) { return compareListOrder(a.first, b.first) < 0; });
    libWords.clear();
    libPostings.clear();
    m_concordance.index.reset();
    for (std::size_t from = 0; from < entries.size();) {
        std::size_t to = from + 1;
        while (to < entries.size() && compareListOrder(entries[from].first, entries[to].first) == 0) ++to;
        std::string list;
        if ((to - from) * 5 > kMaxPostingsLength) {
            list = kStopMarker;
        } else {
            for (std::size_t k = to; k-- > from;) list += exampleIndexHex(entries[k].second);  // newest first
        }
        libWords.push_back(std::move(entries[from].first));
        libPostings.push_back(std::move(list));
        from = to;
    }
    m_wordsAppended = false;
    m_wordTable.build(libWords);
    m_capped.clear();
}

Status SentenceLibrary::load(FileSystem& fs, const std::string& userDataFolder, const std::string& newName,
                             const SegmentKeyTest& isKey) {
    Result<LineList> sentences = loadLines(fs, libraryFile(userDataFolder, newName, ".rf0"));
    if (!sentences) return sentences.status();
    Result<LineList> words = loadLines(fs, libraryFile(userDataFolder, newName, ".rf1"));
    if (!words) return words.status();
    Result<LineList> postings = loadLines(fs, libraryFile(userDataFolder, newName, ".rf2"));
    if (!postings) return postings.status();

    // Binary search needs list order; a file written under another collation is re-sorted
    // with its postings moving along.
    if (words->size() == postings->size() && !isListOrdered(*words)) sortWithParallel(*words, {&*postings});
    // A truncated or overwritten index would answer every search with nothing and be saved
    // back as it is; the examples are the library, so the index is built again from them.
    // One pass over the examples, spread over the cores, finds what the load needs of each:
    // its segment count, its signature and its slot in the index of sources.
    const std::size_t count = sentences->size();
    std::vector<std::uint32_t> segmentCounts(count);
    std::vector<LineSignature> signatures(count);
    std::vector<std::uint64_t> sourceSlots(count);
    forEachSlice(count, [&](std::size_t begin, std::size_t end) {
        for (std::size_t e = begin; e < end; ++e) {
            const std::string& line = (*sentences)[e];
            segmentCounts[e] = static_cast<std::uint32_t>(segmentCountOf(line));
            signatures[e] = LineSignature::ofLine(line);
            sourceSlots[e] = sourceSlotOf(line, e);
        }
    });

    m_indexRepair.clear();
    if (const std::string damage = indexDamageOfCounted(segmentCounts, *words, *postings); !damage.empty()) {
        SentenceLibrary rebuilt;
        rebuilt.libSentences = std::move(*sentences);
        rebuilt.rebuildIndex(isKey);
        *sentences = std::move(rebuilt.libSentences);
        *words = std::move(rebuilt.libWords);
        *postings = std::move(rebuilt.libPostings);
        m_indexRepair = "例句库 " + encoding::utf8ToGbkLossy(newName) + " 的索引文件已损坏（" + damage + "），已根据 .rf0 重新建立。";
    }

    libSentences = std::move(*sentences);
    m_signatures = std::move(signatures);
    libWords = std::move(*words);
    libPostings = std::move(*postings);
    m_wordsAppended = false;
    m_wordTable.build(libWords);
    m_capped.clear();
    name = newName;
    m_heldBack = false;
    buildSourceIndex(std::move(sourceSlots));
    m_concordance.index.reset();
    return Status::ok();
}

void SentenceLibrary::clear() {
    m_concordance.index.reset();
    libSentences.clear();
    m_signatures.clear();
    m_sourceSlots.clear();
    m_sourcesIndexed = 0;
    libWords.clear();
    libPostings.clear();
    m_wordsAppended = false;
    m_wordTable.clear();
    m_capped.clear();
}

std::size_t SentenceLibrary::tombstones() const {
    return static_cast<std::size_t>(std::count_if(libSentences.begin(), libSentences.end(), isTombstone));
}

Result<std::size_t> SentenceLibrary::addAsent(Engine& engine, const AnalysisOptions& options, std::string_view pair) {
    std::size_t caret = findKeySeparator(pair);
    std::string source(pair.substr(0, caret));
    std::string_view translation =
        caret == std::string_view::npos ? std::string_view() : pair.substr(caret + 1);
    std::string spare;
    normSent(source, spare, engine, options);
    return addAnalysed(engine.refSent, translation);
}

Result<std::size_t> SentenceLibrary::addAnalysed(const stClass& analysis, std::string_view translation) {
    Result<std::string> key = exampleKeyOf(analysis);
    if (!key) return key.status();
    if (key->empty()) return refused(kNoSegmentsToStore);
    if (libSentences.size() >= kMaxExamples) return refused(kLibraryFull);
    if (libWords.size() != libPostings.size()) libPostings.resize(libWords.size());

    const bool inStep = m_signatures.size() == libSentences.size();
    const bool sourcesInStep = m_sourcesIndexed == libSentences.size();
    const bool cappedInStep = m_capped.inStepWith(libSentences.size());
    ConcordanceIndex* concordance = concordanceInStep();
    libSentences.push_back(*key + " " + translationPart(translation));
    if (inStep) m_signatures.push_back(LineSignature::ofLine(libSentences.back()));
    const std::size_t example = libSentences.size() - 1;
    if (concordance) concordance->setExampleCount(libSentences.size());
    if (sourcesInStep) indexSource(example);
    for (std::int32_t k = 1; k <= analysis.segCount; ++k) {
        std::string_view token = gbk::trim(analysis.segKeys[static_cast<std::size_t>(k)]);
        if (!token.empty()) indexToken(token, example);
    }
    if (cappedInStep) {
        m_capped.setExampleCount(libSentences.size());
        for (std::int32_t k = 1; k <= analysis.segCount; ++k)
            m_capped.holds(gbk::trim(analysis.segKeys[static_cast<std::size_t>(k)]), example);
    }
    if (concordance) concordance->add(example, libSentences.back());
    return example;
}

void SentenceLibrary::indexSource(std::size_t example) {
    ++m_sourcesIndexed;
    placeSource(example);
}

void SentenceLibrary::placeSource(std::size_t example) {
    const std::uint64_t entry = sourceSlotOf(libSentences[example], example);
    if (entry == 0) return;
    if (m_sourcesIndexed * 2 > m_sourceSlots.size()) {
        // Grown to keep the table at most half full, so that probes stay short.
        std::vector<std::uint64_t> old = std::move(m_sourceSlots);
        m_sourceSlots.assign(std::max(kLeastSourceSlots, old.size() * 2), 0);
        const std::size_t mask = m_sourceSlots.size() - 1;
        for (std::uint64_t slot : old) {
            if (slot == 0) continue;
            std::size_t at = static_cast<std::size_t>(slot >> 32) & mask;
            while (m_sourceSlots[at] != 0) at = (at + 1) & mask;
            m_sourceSlots[at] = slot;
        }
    }
    const std::size_t mask = m_sourceSlots.size() - 1;
    std::size_t at = static_cast<std::size_t>(entry >> 32) & mask;
    while (m_sourceSlots[at] != 0) at = (at + 1) & mask;
    m_sourceSlots[at] = entry;
}

void SentenceLibrary::unplaceSource(std::size_t example) {
    const std::string_view source = exampleSourceOf(libSentences[example]);
    if (!hasWords(source) || m_sourceSlots.empty()) return;
    const std::uint32_t hash = wordsHash(source);
    const std::uint64_t wanted = (std::uint64_t{hash} << 32) | static_cast<std::uint64_t>(example + 1);
    const std::size_t mask = m_sourceSlots.size() - 1;
    std::size_t hole = hash & mask;
    while (m_sourceSlots[hole] != 0 && m_sourceSlots[hole] != wanted) hole = (hole + 1) & mask;
    if (m_sourceSlots[hole] == 0) return;
    // Backward-shift deletion: every later slot of the run whose home lies at or before the
    // hole (cyclically) moves into it, so that no probe stops early at the emptied slot.
    for (std::size_t next = (hole + 1) & mask; m_sourceSlots[next] != 0; next = (next + 1) & mask) {
        const std::size_t home = static_cast<std::size_t>(m_sourceSlots[next] >> 32) & mask;
        const bool staysPut = hole <= next ? (hole < home && home <= next) : (hole < home || home <= next);
        if (staysPut) continue;
        m_sourceSlots[hole] = m_sourceSlots[next];
        hole = next;
    }
    m_sourceSlots[hole] = 0;
}

void SentenceLibrary::buildSourceIndex(std::vector<std::uint64_t> entries) {
    std::size_t slots = kLeastSourceSlots;
    while (slots < libSentences.size() * 2) slots *= 2;
    const std::size_t mask = slots - 1;
    // Placed in the order of their home slots, the entries fill the table from front to back
    // instead of leaping about a table far larger than the cache. Linear probing finds an
    // entry whatever order the table was filled in.
    entries.erase(std::remove(entries.begin(), entries.end(), std::uint64_t{0}), entries.end());
    sortByHomeSlot(entries, mask);
    m_sourceSlots.assign(slots, 0);
    for (const std::uint64_t entry : entries) {
        std::size_t at = static_cast<std::size_t>(entry >> 32) & mask;
        while (m_sourceSlots[at] != 0) at = (at + 1) & mask;
        m_sourceSlots[at] = entry;
    }
    m_sourcesIndexed = libSentences.size();
}

std::vector<std::size_t> SentenceLibrary::examplesWithSource(std::string_view source) const {
    std::vector<std::size_t> found;
    if (!hasWords(source)) return found;
    if (m_sourcesIndexed != libSentences.size()) {
        for (std::size_t example = 0; example < libSentences.size(); ++example)
            if (sameWords(exampleSourceOf(libSentences[example]), source)) found.push_back(example);
        return found;
    }
    if (m_sourceSlots.empty()) return found;
    const std::uint32_t hash = wordsHash(source);
    const std::size_t mask = m_sourceSlots.size() - 1;
    for (std::size_t at = hash & mask; m_sourceSlots[at] != 0; at = (at + 1) & mask) {
        const std::uint64_t slot = m_sourceSlots[at];
        if (static_cast<std::uint32_t>(slot >> 32) != hash) continue;
        const std::size_t example = static_cast<std::size_t>(slot & 0xFFFFFFFFu) - 1;
        if (example < libSentences.size() && sameWords(exampleSourceOf(libSentences[example]), source))
            found.push_back(example);
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::optional<std::size_t> SentenceLibrary::newestWithSource(std::string_view source) const {
    const std::vector<std::size_t> found = examplesWithSource(source);
    if (found.empty()) return std::nullopt;
    return found.back();
}

std::optional<std::size_t> SentenceLibrary::wordIndexOf(std::string_view token) const {
    if (m_wordTable.inStepWith(libWords)) return m_wordTable.find(libWords, token);
    // Changed from outside: the list is taken to be in list order.
    const SortedFind at = findSorted(libWords, token);
    if (!at.found) return std::nullopt;
    return at.index;
}

void SentenceLibrary::keepWordTableInStep() {
    if (!m_wordTable.inStepWith(libWords)) m_wordTable.build(libWords);
}

void SentenceLibrary::sortAppendedWords() {
    if (!m_wordsAppended) return;
    sortWithParallel(libWords, {&libPostings});
    m_wordsAppended = false;
    m_wordTable.build(libWords);
}

void SentenceLibrary::indexToken(std::string_view token, std::size_t example) {
    keepWordTableInStep();
    const std::optional<std::size_t> word = m_wordTable.find(libWords, token);
    if (!word) {
        if (m_bulkAdds.open > 0) {
            libWords.emplace_back(token);
            libPostings.push_back(exampleIndexHex(example));
            m_wordTable.appended(libWords);
            m_wordsAppended = true;
            return;
        }
        const std::size_t position = findSorted(libWords, token).index;
        libWords.insert(libWords.begin() + static_cast<std::ptrdiff_t>(position), std::string(token));
        libPostings.insert(libPostings.begin() + static_cast<std::ptrdiff_t>(position), exampleIndexHex(example));
        m_wordTable.insertedAt(libWords, position);
        return;
    }
    std::string& postings = libPostings[*word];
    if (postings == kStopMarker) return;
    postings.insert(0, exampleIndexHex(example));
    if (postings.size() > kMaxPostingsLength) capPostings(*word);
}

void SentenceLibrary::capPostings(std::size_t word) {
    std::string& postings = libPostings[word];
    // From now on the concordance and the search find the word's examples through lists of
    // their own.
    if (m_concordance.index || m_capped.built()) {
        ExampleList examples;
        for (std::size_t at = 0; at + 5 <= postings.size(); at += 5) {
            std::uint32_t example = 0;
            bool hex = true;
            for (std::size_t d = at; d < at + 5 && hex; ++d) {
                const int value = hexValue(postings[d]);
                hex = value >= 0;
                example = example * 16 + static_cast<std::uint32_t>(value);
            }
            if (hex) examples.push_back(example);
        }
        if (m_capped.built()) m_capped.capped(libWords[word], examples);
        if (m_concordance.index) m_concordance.index->capped(libWords[word], std::move(examples));
    }
    postings = kStopMarker;
}

ConcordanceIndex* SentenceLibrary::concordanceInStep() {
    if (m_concordance.index && !m_concordance.index->inStepWith(*this)) m_concordance.index.reset();
    return m_concordance.index.get();
}

const ConcordanceIndex& SentenceLibrary::concordanceIndex() const {
    if (!m_concordance.index || !m_concordance.index->inStepWith(*this)) {
        auto built = std::make_unique<ConcordanceIndex>();
        built->build(*this);
        m_concordance.index = std::move(built);
    }
    return *m_concordance.index;
}

const CappedExamples& SentenceLibrary::cappedExamples() const {
    if (!m_capped.inStepWith(libSentences.size())) m_capped.build(libSentences, libWords, libPostings);
    return m_capped;
}

bool SentenceLibrary::concordanceIndexReady() const {
    return m_concordance.index && m_concordance.index->inStepWith(*this);
}

Result<std::size_t> SentenceLibrary::importLibraryLine(Engine& engine, const AnalysisOptions& options,
                                                 std::string_view line) {
    if (line.size() <= 5) return refused(kNotALibraryLine);
    const std::string_view rest = line.substr(3);
    const std::size_t caret = findKeySeparator(rest);
    if (caret == std::string_view::npos) return refused(kNotALibraryLine);
    std::string source(rest.substr(0, caret));
    std::string spare;
    normSent(source, spare, engine, options);
    return addAnalysed(engine.refSent, ClearSpaceInCChars(rest.substr(caret + 1)));
}

bool SentenceLibrary::replaceTranslation(std::size_t index, std::string_view translation) {
    if (index >= libSentences.size()) return false;
    std::string& line = libSentences[index];
    std::size_t caret = findKeySeparator(line);
    if (caret == std::string::npos) return false;
    ConcordanceIndex* concordance = concordanceInStep();
    if (concordance) concordance->remove(index, line);
    line = line.substr(0, caret) + translationPart(translation);
    if (concordance) concordance->add(index, line);
    if (index < m_signatures.size()) m_signatures[index] = LineSignature::ofLine(line);
    return true;
}

Status SentenceLibrary::deleteSample(std::size_t index) {
    if (index >= libSentences.size()) {
        return Status::error(ErrorKind::BadInput, "例句编号" + exampleIndexHex(index) + "不存在。");
    }
    std::string& line = libSentences[index];
    if (ConcordanceIndex* concordance = concordanceInStep()) concordance->remove(index, line);
    line = line.substr(0, std::min<std::size_t>(3, line.size())) + "^";
    if (index < m_signatures.size()) m_signatures[index] = LineSignature::ofLine(line);
    removePostings(index);
    return Status::ok();
}

Status SentenceLibrary::replaceExample(std::size_t index, const stClass& analysis, std::string_view translation) {
    if (index >= libSentences.size() || isTombstone(libSentences[index]) ||
        findKeySeparator(libSentences[index]) == std::string::npos) {
        return Status::error(ErrorKind::BadInput, "例句编号" + exampleIndexHex(index) + "不存在。");
    }
    Result<std::string> key = exampleKeyOf(analysis);
    if (!key) return key.status();
    if (key->empty()) return refused(kNoSegmentsToStore);
    if (libWords.size() != libPostings.size()) libPostings.resize(libWords.size());

    const bool sourcesInStep = m_sourcesIndexed == libSentences.size();
    if (sourcesInStep) unplaceSource(index);
    removePostings(index);
    ConcordanceIndex* concordance = concordanceInStep();
    std::string& line = libSentences[index];
    if (concordance) concordance->remove(index, line);
    line = *key + " " + translationPart(translation);
    if (index < m_signatures.size()) m_signatures[index] = LineSignature::ofLine(line);
    if (sourcesInStep) placeSource(index);
    for (std::int32_t k = 1; k <= analysis.segCount; ++k) {
        std::string_view token = gbk::trim(analysis.segKeys[static_cast<std::size_t>(k)]);
        if (!token.empty()) indexTokenInOrder(token, index);
        if (m_capped.built()) m_capped.holds(token, index);
    }
    if (concordance) concordance->add(index, line);
    return Status::ok();
}

void SentenceLibrary::indexTokenInOrder(std::string_view token, std::size_t example) {
    keepWordTableInStep();
    const std::optional<std::size_t> word = m_wordTable.find(libWords, token);
    if (!word) {
        indexToken(token, example);
        return;
    }
    std::string& postings = libPostings[*word];
    if (postings == kStopMarker) return;
    // Fixed-width upper-case hexadecimal compares as the numbers do.
    const std::string group = exampleIndexHex(example);
    std::size_t pos = 0;
    while (pos + 5 <= postings.size() && postings.compare(pos, 5, group) >= 0) pos += 5;
    postings.insert(pos, group);
    if (postings.size() > kMaxPostingsLength) capPostings(*word);
}

void SentenceLibrary::removePostings(std::size_t index) {
    // Every posting list is cleared of the index, not only those of the tokens a new analysis
    // of the key finds: the term base may have changed since the example was added, and a
    // posting left behind would lead the search to a tombstone.
    const std::string group = exampleIndexHex(index);
    for (std::string& postings : libPostings) {
        if (postings == kStopMarker || postings.find(group) == std::string::npos) continue;
        std::string kept;
        kept.reserve(postings.size());
        std::size_t pos = 0;
        for (; pos + 5 <= postings.size(); pos += 5) {
            if (postings.compare(pos, 5, group) != 0) kept.append(postings, pos, 5);
        }
        kept.append(postings, pos, std::string::npos);  // a malformed tail stays as it was
        postings = std::move(kept);
    }
}

Status SentenceLibrary::saveFiles(FileSystem& fs, Dialogs& dialogs, const std::string& userDataFolder) const {
    if (name.empty() || m_heldBack) return shown(dialogs, kSentenceLibrarySaveFailed);
    // The files are in list order also while words met in a run of adds wait at the end.
    LineList sortedWords, sortedPostings;
    if (m_wordsAppended) {
        sortedWords = libWords;
        sortedPostings = libPostings;
        sortWithParallel(sortedWords, {&sortedPostings});
    }
    const LineList& words = m_wordsAppended ? sortedWords : libWords;
    const LineList& postings = m_wordsAppended ? sortedPostings : libPostings;
    return saveLibraryThroughBak(fs, dialogs,
                                 {BakSaveFile::ofLines(libraryFile(userDataFolder, name, ".rf2"), postings),
                                  BakSaveFile::ofLines(libraryFile(userDataFolder, name, ".rf1"), words),
                                  BakSaveFile::ofLines(libraryFile(userDataFolder, name, ".rf0"), libSentences)},
                                 libraryFile(userDataFolder, name, ".irf"),
                                 {kSentenceLibrarySaveFailed, kSentenceLibraryCopyFailed});
}

}  // namespace tavricat
