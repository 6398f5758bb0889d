#pragma once
// English morphology of the engine, as pure functions over GBK text:
//  - toBaseForms: irregular forms of the whole (lower-case) sentence replaced by base forms
//    before segmentation;
//  - lookupInflected / stripSuffix: a regularly inflected word reduced to a dictionary key
//    during segmentation;
//  - wordClassesOf: the word-class list of a translation field;
//  - tagInflections / addFunctionWords: inflection tags of the segments of an analysed
//    sentence and the Chinese function and measure words those tags call for.
//
// Letter tests are made on lower-case ASCII only. A word holding a double-byte (GBK)
// character is never reduced, and an ending is only recognised when it starts on a
// character boundary, so a trail byte that looks like "s" is never taken for one.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/sentence_analysis.h"

namespace tavricat {

// Exact look-up in one dictionary (term base or system dictionary): the entry, empty when
// absent.
using KeyLookup = std::function<std::string(const std::string& key)>;

// Irregular forms and their base forms, parallel lists, formList sorted in list order.
struct VerbFormLists {
    const std::vector<std::string>* formList;
    const std::vector<std::string>* baseList;
};

// Replaces irregular forms by their base forms, walking the space-separated text from the
// left: the remaining text is looked up whole; else the form just before its place in the
// sorted list is tried as a word-boundary prefix (so a multi-word form matches at the start
// of the remaining text); else its first word is looked up alone; else that word is kept.
// Single words match exactly (list order, ASCII case ignored). Words come out separated by
// single spaces, the result trimmed. A null or empty formList passes the text unchanged; a
// form whose base line is missing or empty, or holds another number of words than the form,
// is kept as it is, so the words of the result stay in step with those of the text.
std::string toBaseForms(std::string_view text, const VerbFormLists& forms);

struct InflectedLookup {
    std::string entry;  // the entry found; empty when neither the word nor a base form is a key
    std::string base;   // the form the entry belongs to (the word itself when not reduced)
};

// Looks a lower-case word up, reducing regular inflections when needed.
//  1. own = lookup(word). With ownAllowed false, a non-empty own entry is returned at once.
//  2. Words without ".", of more than 3 ASCII-only letters, ending in d/g/r/s/t try the
//     reductions below in order, stopping at the first form found:
//     d/r/s: drop the last letter; drop "e"+letter; if longer than 4 and the third letter from
//            the end is "i": stem + "y" (cities, tried); "v": stem + "f", then + "fe" (wolves,
//            knives); equal to the fourth from the end: drop three (stopped, bigger).
//     g:     the first "ing" is the ending and starts at the third letter or later: stem,
//            stem + "e", stem "...Cy" -> "...Cie" (dying -> die, lying -> lie: a final "y" after
//            a consonant), and, when the two letters before "ing" are equal, drop four
//            (running).
//     t:     the first "st" is the ending and starts at the third letter or later: drop "st";
//            on "est": drop "est", then "iest" -> "y" (happiest) or a doubled letter before
//            "est" -> drop four (biggest).
//  3. A reduced form found while the word has an own entry must fit the word's ending: a
//     verb for -d/-g/-s, a noun for -s, an adjective for -r/-t. The classes of the found
//     entry are those wordClassesOf reads from its translation (field 1) together with the
//     class names listed in its field 3 (term-base entries keep "n|v|adj" there; system
//     entries hold associations there, which never spell a class name). If it does not fit,
//     the own entry and the word are returned.
//  4. With no reduced form found the result is the own entry (empty when absent) and the
//     word itself.
InflectedLookup lookupInflected(const std::string& word, const KeyLookup& lookup, bool ownAllowed);

struct SuffixAlignment {
    // 0: candidate is the text with its first differing word replaced by the key's word.
    // -1: text and key do not share a first character; candidate empty.
    // > 0: the byte offset where the text is cut; candidate is the text before it, trimmed
    //      (the text up to the last word boundary before the point of disagreement, at least
    //      its first word).
    int result;
    std::string candidate;
};

// Aligns the start of the text with the nearest dictionary key (both lower-case, trimmed).
// P = the length of the common start (whole characters, ASCII case ignored). With TS the
// text's letters after P up to its next space and KS the key's, the text's word is replaced
// by the key's word when:
//  - KS is empty and TS is one of s r d es er ed st ing est, or the key word's last letter
//    doubled before ing/ed/er/est (stopped -> stop);
//  - KS is "e" and TS is "ing" (making -> make; "cars" is not turned into "care");
//  - KS is "y" and TS is one of ies ied ier iest;
//  - KS is "f" or "fe" and TS is "ves".
SuffixAlignment stripSuffix(std::string_view text, std::string_view nearKey);

struct WordClasses {
    std::string classList;    // like "n|v|adj": each class once, in order of appearance
    std::string translation;  // rewritten (header form), else the translation unchanged
};

// Word classes of a translation field.
// Header form "[n.v.:]a|[adj.]b": the header classes go in front of every item, giving
// "[n.v.]a|[n.v.adj.]b|" (each item followed by "|", empty items dropped); the header must
// close at the first "]". Otherwise every bracket that opens the translation or an item and
// starts with a letter contributes its letters and dots. The class list is read from the
// brackets of the (rewritten) translation, so classes an item adds to a header appear too;
// "a" is read as "adj". Example: "[n.]书|[v.]预订|[a.]好的" gives "n|v|adj".
WordClasses wordClassesOf(std::string_view translation);

// The meaning a translation takes from a translation field: its first item (the text before
// the first "|") without the bracketed labels that open it ("[v.]", "[n.计算机]", several in
// a row). "[v.]被|[n.]被子" gives "被".
std::string meaningOf(std::string_view translations);

// Inflection tags into segClass of segments 1..segCount, from the segment's words W and
// their first word F: "no" (W is a number + "th"), "复数" (W ends in "s", W longer than 2),
// "比较级"/"最高级" (W ends in "er"/"est", W longer than 4), "ing" (F ends in "ing"), "pp"
// (F ends in "ed"); a later test overrides an earlier one. segClass becomes
// dedupBar(tag + "|" + segClass).
void tagInflections(stClass& sentence);

// For segments 1..segCount:
//  - every inflection tag held in segClass (substring test) adds its function-word list
//    to segAssoc once ("pp", "past", "ing", "no", "比较级", "最高级", "复数", in this order);
//  - the measure words among the segment's attributes (text after a "]" when one follows
//    the first character, found in measureKeys at line m) give the article one or two
//    segments back ("a"/"an" -> "一", "the"/"this" -> "这", "that" -> "那", followed by
//    measureWords[m]) new first translations, in the order of the attributes and each once;
//    a segment that is a double quote or ";" stops the look-back.
void addFunctionWords(stClass& sentence, const std::vector<std::string>& measureKeys,
                      const std::vector<std::string>& measureWords);

}  // namespace tavricat
