#pragma once
// Verifying the sentence library (校订例句库): the stored examples listed, all or those holding
// given texts, each shown as its source and translation and corrected in place, a text
// replaced in the translations of every listed example, examples deleted. Every change goes
// to the library in memory (its lines, postings and summaries kept in step) and reaches the
// files with the library's next save.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "engine/analyser.h"
#include "memory/sentence_library.h"

namespace tavricat {

class Engine;

inline constexpr const char* kEmptyLibraryToVerify = "当前例句库中没有句子，无需校改！";
inline constexpr const char* kPositionOutOfRange = "请输入1到符合条件的总句子数范围内的数字！";

// Which examples are listed. Both texts are searched, as typed but in lower case, in the whole
// stored line (key and translation alike), whole characters only.
struct VerificationFilter {
    std::string source;       // "原文含："
    std::string translation;  // "译文含："
    bool either = false;      // "或"; "与" when false

    bool isEmpty() const { return source.empty() && translation.empty(); }
};

// Whether library line `line` passes `filter`. "与": every non-empty text is present. "或":
// a text is present or empty, so an empty text on either side lets every line pass.
bool passesFilter(std::string_view line, const VerificationFilter& filter);

// The examples to verify, in library order: every line longer than 4 characters (deleted
// examples never are) that passes the filter.
std::vector<std::size_t> listExamplesToVerify(const SentenceLibrary& library, const VerificationFilter& filter);

// What the two panes show of a library line: the count prefix ("03 "), the source part between
// it and the first "^" (tokens with their trailing blank) and the translation after it.
// Nothing for a line without "^".
struct ExampleParts {
    std::string countPrefix;
    std::string source;
    std::string translation;
};
std::optional<ExampleParts> examplePartsOf(std::string_view line);

// Where `find` occurs in `text` starting on a character boundary (a trail byte of a
// double-byte character is never taken for ASCII); npos when nowhere.
std::size_t findWholeChars(std::string_view text, std::string_view find, std::size_t from = 0);
// Every such occurrence replaced, left to right. `find` must not be empty.
std::string replaceWholeChars(std::string_view text, std::string_view find, std::string_view replacement);

enum class ExampleChange {
    None,             // both parts as stored
    Translation,      // the translation was stored
    SourceReindexed,  // the source was analysed again and indexed under its new tokens
};

// Stores corrected panes into example `index`. Line ends are removed from both texts. A source
// with the same words as the stored one keeps its key; another source is analysed again
// (normSent) and the example re-indexed (SentenceLibrary::replaceExample). Refused, with
// nothing changed, for a deleted or unknown example, a source holding "^", and a source the
// library cannot store (no segments, too many).
Result<ExampleChange> storeCorrectedExample(SentenceLibrary& library, Engine& engine, const AnalysisOptions& options,
                                           std::size_t index, std::string_view source, std::string_view translation);

// Replaces `find` by `replacement` in the translations (the part after the first "^") of the
// examples `listed`; returns the examples whose line changed. Nothing happens when `find` is
// empty or equal to the replacement.
std::vector<std::size_t> replaceInTranslations(SentenceLibrary& library, const std::vector<std::size_t>& listed,
                                               std::string_view find, std::string_view replacement);

// The state of one verification: the filter, the listed examples and the position in them.
class LibraryVerification {
public:
    explicit LibraryVerification(SentenceLibrary& library) : m_library(library) {}

    // Lists with `filter` (kept, both texts in lower case) and goes to the first example.
    void list(const VerificationFilter& filter);
    // Lists again with the current filter and goes to the first example.
    void refresh() { list(m_filter); }

    const VerificationFilter& filter() const { return m_filter; }
    const std::vector<std::size_t>& listed() const { return m_listed; }
    std::size_t count() const { return m_listed.size(); }
    // 0-based position in the listed examples; meaningless while nothing is listed.
    std::size_t position() const { return m_position; }
    // The library index of the example at the position; nothing while nothing is listed.
    std::optional<std::size_t> currentExample() const;
    // Its parts as stored now.
    std::optional<ExampleParts> current() const;

    // Goes to `position`; false (and nowhere) when it is not a listed position.
    bool moveTo(std::size_t position);
    bool atFirst() const { return m_position == 0; }
    bool atLast() const { return m_listed.empty() || m_position + 1 >= m_listed.size(); }

    // A typed 1-based position: the 0-based one, or nothing when it is not a number from 1 to
    // the count.
    std::optional<std::size_t> parsePosition(std::string_view typed) const;

    // storeCorrectedExample for the current example; ExampleChange::None while nothing is listed.
    Result<ExampleChange> storeCurrent(Engine& engine, const AnalysisOptions& options, std::string_view source,
                                       std::string_view translation);
    // replaceInTranslations over the listed examples.
    std::vector<std::size_t> replaceInListed(std::string_view find, std::string_view replacement);
    // Deletes the current example (a tombstone, gone from every posting list) and unlists it;
    // a position past the end moves to the last. Returns the deleted index; nothing while
    // nothing is listed.
    std::optional<std::size_t> deleteCurrent();

private:
    SentenceLibrary& m_library;
    VerificationFilter m_filter;
    std::vector<std::size_t> m_listed;
    std::size_t m_position = 0;
};

}  // namespace tavricat
