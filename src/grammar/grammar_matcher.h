#pragma once
// Grammar patterns of the working sentence, in two stages.
//
// Stage one (findGrammar) walks the base-form words of the sentence, finds the triggers of
// the grammar library that occur in it and keeps every rule of those triggers whose pattern
// is present; the kept rules, instantiated, become the sentence's grammarText: a run of
// items "<" head ">" template, the head being [flag "0"/"1"][limits "(a,b,c)"] + pattern.
//
// Stage two (placeGrammar) locates each item on the segments and writes one MatchRecord
// per placement; collocation items (flag "0") only change the first translations of two
// segments.
//
// Patterns are space-separated tokens: a word (matched against a segment's key or source
// words), a braced tag like "{ing}" or "{n}" (matched against the segment's attributes or
// classes), or "*", a gap. A pattern has at most three gaps.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/match_table.h"
#include "engine/sentence_analysis.h"
#include "grammar/grammar_library.h"

namespace tavricat {

struct TriggerMatch {
    bool found = false;
    std::string trigger;   // the trigger as the list holds it
    std::size_t line = 0;  // the first line of the list holding that trigger
};

// The longest trigger at the start of `text` that ends at a word boundary. `triggers` is in
// list order (base/list_order.h); comparisons ignore ASCII case. "look after the baby"
// finds "look after" among "look" and "look after"; "looking at" finds nothing.
// An empty text finds nothing.
TriggerMatch matchTrigger(std::string_view text, const std::vector<std::string>& triggers);

// True when every token of `pattern` other than "*", with a space before and after,
// occurs in `subject`, each starting after the start of the previous one. A pattern
// without such a token is never in order.
bool inOrder(std::string_view pattern, std::string_view subject);

// Rewrites segKeys, segWords, segAttr and segClass of segments 1..segCount into their
// spaced forms and returns the subject string the rules are tested against:
//  - key and source words get a space before and after (" want ", " want  ");
//  - every "|"-separated class, tag or attribute becomes " {name} " (empty items dropped);
//    when the classes (or the attributes) hold both "{ing}" and "{pp}", "{pp}" goes;
//  - the subject is " " + key + words + attributes + classes of every segment + " ".
// Run once per analysis: a second run would space the fields again.
std::string buildGrammarSubject(stClass& sentence);

// Stage one. Overwrites sentence.grammarText with the results of the kept rules and leaves
// the fields in the spaced forms of buildGrammarSubject.
//  - The base words, joined by single spaces, are walked from the left: where a trigger
//    starts, every rule on its lines (anchors[i] / entries[i], entries missing at the end
//    count as empty) is tried, then the trigger is dropped; elsewhere one word is dropped.
//  - A rule line is pattern "^" result; "~" stands for the trigger. A rule is kept when its
//    instantiated pattern is inOrder in the subject; a rule whose result holds "<0~>"
//    (a collocation) is kept when the two halves of its pattern around the first "*" both
//    occur in the subject as whole words, in any order.
//  - A kept rule contributes its result, ASCII-lower-cased, with the "~" closing each head
//    replaced by the instantiated pattern and any other "~" by the trigger. A rule line is
//    kept at most once per sentence, however often its trigger occurs.
void findGrammar(stClass& sentence, const GrammarLibrary& grammar);

// Stage two: reads sentence.grammarText and the spaced fields findGrammar left.
//  - Anchored items (flag "1") are tried only when the first word of their pattern occurs in
//    the key, words, attributes or classes of segment 1.
//  - Collocation items (flag "0", pattern "group1 * group2", template "t1#xt2"): when a
//    segment equal to group1 (searched from segment 1 up) and another equal to group2
//    (searched from the last segment down) are both found, t1 and t2 are put in front of
//    their segTrans (dedupBar). No record.
//  - Ordinary items are placed as often as they fit, each search starting after the last
//    segment of the previous placement (after the first segment of its first element when
//    that placement was rejected). A leading or trailing "*" is a boundary gap reaching to
//    the clause boundary, or exactly its limit's number of segments. Every gap must be
//    non-empty and within its limit (0: none); a comma or quote segment strictly inside
//    the placement rejects it unless the pattern holds "," (or the quote).
//  - Items whose head has no ">", whose pattern is empty, has an empty element between two
//    gaps or more than three gaps are skipped.
// Braced tags recorded by a failed attempt of an element are dropped with that attempt:
// tags are kept per attempt and join the placement only when the element has matched, and
// the placement's tags join the record only when it is accepted.
GrammarPlacement placeGrammar(stClass& sentence);

// Small text pieces both stages share.
namespace grammar_text {

// First occurrence of `part` at or after `from` that starts on a character boundary (never
// on a GBK trail byte); npos when none. `from` must itself be a character boundary.
std::size_t findAligned(std::string_view text, std::string_view part, std::size_t from = 0);

// Every aligned occurrence of `from` replaced by `to` (non-empty `from`).
std::string replaceAligned(std::string_view text, std::string_view from, std::string_view to);

// Space-separated tokens (runs of spaces are one separator).
std::vector<std::string_view> tokensOf(std::string_view text);

// The segments 1..n every segment array of the sentence has a slot for (n <= segCount).
int usableSegments(const stClass& sentence);

}  // namespace grammar_text

}  // namespace tavricat
