#pragma once
// Grammar records and the texts built from them.
//
// A record "SOURCE^OPTION^TARGET" is what the grammar dialog yields, what .sag files and the
// shared library carry, and what addGrammarRecord / deleteGrammarRecord take. Stored in the library it becomes
// an anchor (a line of .m1) and an entry (the line of .m2 at the same index):
//   entry = P + "^<" + OPTION + "~>" + TARGET, every anchor in it replaced by "~",
//           and in EC the blanks between Chinese characters removed.
// P, the pattern key, is the source pattern as the analysis sees it: base words joined by
// single blanks, "*" kept, blanks inside "{...}" groups removed.

#include <array>
#include <string>
#include <string_view>

#include "base/direction.h"
#include "base/status.h"
#include "engine/analyser.h"

namespace tavricat {

class Engine;

// The dialog's radio buttons: "关联" stores "0", "齐头" stores "1".
enum class GrammarFlag { None, Associated, Aligned };

// The option field: the flag, then "(a b c)" when any of the three gap limits is not 0.
// Limits are single digits: the matcher reads them at fixed character positions.
struct GrammarOption {
    GrammarFlag flag = GrammarFlag::None;
    std::array<int, 3> limits{};  // 0 = no limit

    bool operator==(const GrammarOption&) const = default;
};

std::string formatGrammarOption(const GrammarOption& option);
// Reads what formatGrammarOption writes; commas are accepted between the limits as well.
// Fails (BadInput) on anything else, e.g. "2", "1(12 0 0)", "(1 2)".
Result<GrammarOption> parseGrammarOption(std::string_view text);

struct GrammarRecord {
    std::string source;
    std::string option;  // as written in the record
    std::string target;  // everything after the second "^"

    bool operator==(const GrammarRecord&) const = default;
};

// Splits at the first two "^" (found on character boundaries). A record with fewer than two
// "^" leaves the missing fields empty.
GrammarRecord splitGrammarRecord(std::string_view record);
// Splits a record that is to be added: fails (BadInput, with the message to show) when it has
// fewer than two "^", a blank source or an option parseGrammarOption refuses.
Result<GrammarRecord> parseGrammarRecord(std::string_view record);
std::string formatGrammarRecord(const GrammarRecord& record);

// The dialog's result: the full-width marks "＃", "·", "｛", "｝" of the target become "#",
// "@", "{", "}", and source, option and target are joined into a record.
std::string normalizeTemplateMarks(std::string_view target);
std::string grammarDialogRecord(std::string_view source, std::string_view target, const GrammarOption& option);

// P of a source pattern. Runs normSent (so it uses and overwrites engine.refSent). The
// analysis would turn "{" into "("; it is carried through the analysis as a placeholder
// word, like "*", so that slot groups survive into the key.
std::string grammarPatternKey(std::string_view sourcePattern, Engine& engine, const AnalysisOptions& options);

// Blanks between "{" and the next "}" removed ("a { b c } d" -> "a {bc} d"); an unclosed
// "{" runs to the end of the text.
std::string removeBlanksInGroups(std::string_view text);

// The anchor of a pattern key: its longest literal stretch outside slot groups ("*" counts
// as an empty group), or "lxm" when the key has no literal stretch. Stretches are measured
// without the blank that separates them from the group that follows.
std::string grammarAnchor(std::string_view patternKey);

// Every occurrence of `from` that starts on a character boundary replaced by `to`.
std::string replaceOnCharBoundaries(std::string_view text, std::string_view from, std::string_view to);
// Position of the ASCII `ch` at or after `from` on a character boundary, or npos.
std::size_t findAsciiChar(std::string_view text, char ch, std::size_t from = 0);

// What a record becomes in the library.
struct GrammarPlacementLines {
    std::string anchor;  // the .m1 line
    std::string entry;   // the .m2 line
    std::string key;     // the entry's leading "P^" part (anchor replaced), which finds it again
};

// The .m1/.m2 lines of a pattern key with its option and target.
GrammarPlacementLines grammarLinesFor(std::string_view patternKey, std::string_view option, std::string_view target,
                                      Direction direction);
// The same for a record (its P computed by the analysis).
GrammarPlacementLines grammarLinesFor(const GrammarRecord& record, Engine& engine, const AnalysisOptions& options);

}  // namespace tavricat
