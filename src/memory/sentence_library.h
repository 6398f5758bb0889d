#pragma once
// The example-sentence library (例句库): every confirmed sentence pair with an inverted word
// index, held wholly in memory as three line lists and written to <name>.rf0 (examples),
// <name>.rf1 (distinct source tokens, in list order) and <name>.rf2 (line i: the postings of
// token i) in the user-data folder. <name>.irf holds the library information
// (base/library_info.h). File formats: docs/formats/sentence-library.md.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_system.h"
#include "base/line_list.h"
#include "base/ports.h"
#include "base/status.h"
#include "engine/analyser.h"
#include "engine/sentence_analysis.h"
#include "memory/capped_examples.h"
#include "memory/concordance.h"
#include "memory/line_signature.h"
#include "base/word_table.h"

namespace tavricat {

class Engine;

// The messages of a failed save.
inline constexpr const char* kSentenceLibrarySaveFailed = "保存例句库时发生错误! 请确保本系统所在的硬盘有足够的剩余空间!";
inline constexpr const char* kSentenceLibraryCopyFailed = "将备份例句库复制为不带“bak”后缀时出错。请检查硬盘空间是否足够！";

// The refusals of an add.
inline constexpr const char* kNoSegmentsToStore = "原文没有可存入例句库的词段。";
inline constexpr const char* kTooManySegments = "原文超过255个词段，不能存入例句库！";
inline constexpr const char* kLibraryFull = "例句库已有1048576个例句，不能再存入！";
inline constexpr const char* kNotALibraryLine = "不是例句库的行。";
inline constexpr const char* kCaretInSegment = "原文词段中含有“^”，不能存入例句库！";

// A posting list that would grow beyond this many characters becomes kStopMarker for good.
inline constexpr std::size_t kMaxPostingsLength = 3500;
inline constexpr const char* kStopMarker = "o";
// Examples are numbered by 5 hexadecimal digits.
inline constexpr std::size_t kMaxExamples = 0x100000;
inline constexpr std::size_t kMaxSegments = 255;
// The stored translation part, its leading "^" included, is cut to this many bytes (never
// inside a double-byte character).
inline constexpr std::size_t kMaxTranslationPart = 3000;

// The upper-case, 5-digit hexadecimal form of an example index ("0001F").
std::string exampleIndexHex(std::size_t index);

// Position of the "^" that ends the key of a library line (the first one that is not the
// trail byte of a double-byte character), or npos.
std::size_t findKeySeparator(std::string_view line);

// The source part of a library line: its tokens between the count and the first "^", with
// the blanks around them (" i have it " of "03 i have it ^我有"); empty for a short line.
std::string_view exampleSourceOf(std::string_view line);

// Whether two texts hold the same words (runs of bytes other than blanks) in the same order;
// with `ignoreTags`, words holding an inline tag are left out on both sides. Tokens of
// several words compare as their words, so one sentence cut into tokens by two states of
// the term base is still the same source.
bool sameWords(std::string_view a, std::string_view b, bool ignoreTags = false);

// ExampleKey of an analysis: segCount as at least two upper-case hex digits, then " " and
// each segment key 1..segCount trimmed. Refused (nothing built) for more than 255 segments
// and for a segment key holding "^" or a line end, which would break the line when read
// back; an analysis without segments gives an empty key.
Result<std::string> exampleKeyOf(const stClass& analysis);

// Whether a text of several words is one segment key (a term or dictionary entry); used to
// cut a stored example key back into its segments.
using SegmentKeyTest = std::function<bool(std::string_view)>;

// The segment keys of a library line's key part ("03 i have it ^..." -> i, have, it). The
// count says how many there are; where the key holds more words than that, runs of words
// that `isKey` accepts are taken as one segment (longest first), and when no such cut gives
// the count, the surplus words join the last segment.
std::vector<std::string> segmentKeysOf(std::string_view line, const SegmentKeyTest& isKey);

// Why .rf1/.rf2 (`words`, `postings`, words already in list order) cannot be the index of the
// examples `sentences`; empty when they can. Checked: line counts, distinct words, posting
// lists of 5-digit upper-case hex (possibly none) or the stop marker, indexes below the example count, no
// example indexed more often than it has segments, every example indexed when no list has
// stopped.
std::string indexDamageOf(const LineList& sentences, const LineList& words, const LineList& postings);

class SentenceLibrary {
public:
    // Line i of libSentences is example i (change lines only through the methods below, which
    // keep the search's line summaries in step): ExampleKey, " ^", translation. A deleted example
    // stays as a tombstone (first three characters of its line + "^") so indexes never move.
    LineList libSentences;
    // Distinct source tokens in list order (while a BulkAdds is open, the words first met
    // since it opened follow at the end); strictly parallel to libPostings.
    LineList libWords;
    // Concatenated example indexes (5 hexadecimal digits each), newest first, or kStopMarker.
    LineList libPostings;
    // The files' name without extension, a native (UTF-8) file name: "MySentsEC".
    std::string name;

    // Loads <folder>/<name>.rf0, .rf1 and .rf2 and takes `name`. Fails (and leaves the
    // library as it was) when any of them cannot be read. An .rf1 out of list order is sorted
    // with its postings. An index that cannot belong to the examples (indexDamageOf) is built
    // again from .rf0 (segments cut with `isKey`) and indexRepair() says so.
    Status load(FileSystem& fs, const std::string& userDataFolder, const std::string& name,
                const SegmentKeyTest& isKey = {});
    // The message of the last load that rebuilt the index (GBK); empty when it did not.
    const std::string& indexRepair() const { return m_indexRepair; }
    // Builds libWords and libPostings again from the examples.
    void rebuildIndex(const SegmentKeyTest& isKey);
    // Empties the three lists (the name stays).
    void clear();

    // The lists in memory are a working copy that must never reach the files (a project
    // analysis marks examples and adds temporary ones); saves are refused until the next
    // successful load.
    void holdBackFromSaving() { m_heldBack = true; }
    bool heldBackFromSaving() const { return m_heldBack; }

    // Many adds in a row (a library update, an import, a project analysis): while one is
    // open, a word met for the first time goes to the end of libWords instead of its place in
    // list order, which would move every later line of both lists; when the last one closes,
    // the lists are sorted back into list order. A save in between writes them sorted.
    class BulkAdds {
    public:
        explicit BulkAdds(SentenceLibrary& library) : m_library(library) { ++m_library.m_bulkAdds.open; }
        ~BulkAdds() {
            if (--m_library.m_bulkAdds.open == 0) m_library.sortAppendedWords();
        }
        BulkAdds(const BulkAdds&) = delete;
        BulkAdds& operator=(const BulkAdds&) = delete;

    private:
        SentenceLibrary& m_library;
    };

    // The line of `token` in libWords (and libPostings); nullopt when the library has no such word.
    std::optional<std::size_t> wordIndexOf(std::string_view token) const;

    std::size_t exampleCount() const { return libSentences.size(); }
    // Deleted examples (lines with an empty token part).
    std::size_t tombstones() const;

    // `addAsent`: `pair` is source "^" translation. The source is analysed with normSent
    // into engine.refSent; the example is appended and its tokens indexed. Returns the new
    // example's index. Refused, with nothing changed, when the source has no segments, more
    // than 255 segments, a segment key with "^", or the library is full.
    Result<std::size_t> addAsent(Engine& engine, const AnalysisOptions& options, std::string_view pair);
    // The same steps with a ready analysis (workSent) and the translation without "^".
    Result<std::size_t> addAnalysed(const stClass& analysis, std::string_view translation);

    // `importLibraryLine`: `line` in library-line form ("03 i have it ^我有"): the text between the
    // count and the first "^" is analysed again and stored with the translation, blanks
    // between its Chinese characters removed. Lines of 5 characters or fewer and lines
    // without "^" are refused.
    Result<std::size_t> importLibraryLine(Engine& engine, const AnalysisOptions& options, std::string_view line);

    // Keeps the key (up to and with its "^") of example `index` and puts `translation` after
    // it. False (nothing changed) for an index out of range or a line without "^".
    bool replaceTranslation(std::size_t index, std::string_view translation);

    // `deleteSample`: example `index` becomes a tombstone and leaves every posting list.
    Status deleteSample(std::size_t index);

    // Gives example `index` a new source: `analysis` (of the corrected source) becomes its key
    // and `translation` (without "^") follows it. The example leaves every posting list and
    // joins those of its new tokens at its own place, so the lists stay newest first; a search
    // then finds it by its new wording only. Refused, with nothing changed, for an index out of
    // range or deleted, and for an analysis addAnalysed refuses.
    Status replaceExample(std::size_t index, const stClass& analysis, std::string_view translation);

    // `saveFiles`: writes .rf2, .rf1 and .rf0 through their bak files. When a copy of a bak
    // file fails, the real three are deleted, the bak set is kept as the only copy, <name>.irf
    // is renamed <name>.irfbak and kSentenceLibraryCopyFailed is shown. Any other failure
    // shows kSentenceLibrarySaveFailed, as does a save of a library held back from saving
    // (nothing is written then). Returns the shown message as an Io error.
    Status saveFiles(FileSystem& fs, Dialogs& dialogs, const std::string& userDataFolder) const;

    // The search's summary of example `index`; null when the lines were changed from outside
    // (the search then reads every line it visits).
    const LineSignature* signatureOf(std::size_t index) const {
        return m_signatures.size() == libSentences.size() && index < m_signatures.size() ? &m_signatures[index]
                                                                                          : nullptr;
    }

    // Asks the processor to bring the summary of example `index` into its cache.
    void prefetchSignature(std::size_t index) const {
        if (index < m_signatures.size()) __builtin_prefetch(&m_signatures[index]);
    }

    // The examples (not deleted) whose source has the words of `source` (a segment key, or
    // tokens joined by blanks; see sameWords), oldest first; the newest of them alone. Found
    // through a hash of the words kept beside the lines, not by reading every line (when the
    // lines were changed from outside, every line is read).
    std::vector<std::size_t> examplesWithSource(std::string_view source) const;
    std::optional<std::size_t> newestWithSource(std::string_view source) const;

    // The concordance's index of what the word index leaves out (concordance.h): built at the
    // first call, kept in step by every change made through the methods above, built again
    // when lines were added from outside.
    const ConcordanceIndex& concordanceIndex() const;
    // Whether it is built and in step (the next search is served at once).
    bool concordanceIndexReady() const;

    // The examples of the words whose postings are capped (capped_examples.h): built at the
    // first call, kept in step by every change made through the methods above, built again
    // when lines were added from outside.
    const CappedExamples& cappedExamples() const;

private:
    // Open addressing over (hash of the source's words) << 32 | (example + 1); 0 is free.
    // Deleted examples keep their slot: their empty source never matches.
    void indexSource(std::size_t example);
    // Puts example `example`'s source into the table / takes it out (the table keeps counting
    // it); the table must be in step with the lines.
    void placeSource(std::size_t example);
    void unplaceSource(std::size_t example);
    // Takes `example` out of every posting list.
    void removePostings(std::size_t example);
    // Adds `example` to the postings of `token` before the first older example.
    void indexTokenInOrder(std::string_view token, std::size_t example);
    // Word `word`'s postings reached the cap: they become kStopMarker for good.
    void capPostings(std::size_t word);
    // The index of sources from every example's entry (sourceSlotOf, 0 for none).
    void buildSourceIndex(std::vector<std::uint64_t> entries);

    // The word table, built again when libWords was changed from outside.
    void keepWordTableInStep();
    void sortAppendedWords();

    std::string m_indexRepair;
    WordTable m_wordTable;
    // Open BulkAdds of this library; a copy starts with none.
    struct BulkCount {
        int open = 0;
        BulkCount() = default;
        BulkCount(const BulkCount&) {}
        BulkCount& operator=(const BulkCount&) { return *this; }
    } m_bulkAdds;
    bool m_wordsAppended = false;  // libWords has words out of list order at its end
    std::vector<LineSignature> m_signatures;
    std::vector<std::uint64_t> m_sourceSlots;
    bool m_heldBack = false;
    std::size_t m_sourcesIndexed = 0;  // lines 0 .. m_sourcesIndexed-1 are in m_sourceSlots

    // A copy of the library starts without the index (it is built again when asked for): a
    // shared one would be changed by the other library's edits.
    struct ConcordanceSlot {
        std::unique_ptr<ConcordanceIndex> index;
        ConcordanceSlot() = default;
        ConcordanceSlot(const ConcordanceSlot&) {}
        ConcordanceSlot& operator=(const ConcordanceSlot&) {
            index.reset();
            return *this;
        }
        ConcordanceSlot(ConcordanceSlot&&) noexcept = default;
        ConcordanceSlot& operator=(ConcordanceSlot&&) noexcept = default;
    };
    mutable ConcordanceSlot m_concordance;
    mutable CappedExamples m_capped;
    // The index when it is built and in step, else null.
    ConcordanceIndex* concordanceInStep();
    void indexToken(std::string_view token, std::size_t example);
};

}  // namespace tavricat
