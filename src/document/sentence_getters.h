#pragma once
// The sentence getters: from the caret of the bilingual buffer, find where the next sentence
// starts and ends, select it and hand back its text. One getter per source language (English
// for direction EC, Chinese for CE) and the Chinese rules on a plain string.
//
// Where a getter starts:
//  - a selection of 4 bytes or more is taken as done with (the previous pick, or a passage the
//    person marked): the scan starts at its end, caret();
//  - a shorter selection is dropped to its start (a slip of the mouse), and the scan starts
//    at selStart() -- unless that selection is exactly what the getter would pick there (a
//    short sentence or short translation picked before), in which case the scan goes on
//    after it.
//  So calling a getter again and again walks forward through the document, never repeating a
//  pick. A caller that moves the caret to the end of each pick (setCaret(selStart() +
//  selLength())) walks forward the same way.
//  - A caret on the second byte of a double-byte character is moved to the next character;
//    a caret directly before or inside a segment end marker "<*}" counts as after it.
//
// Existing segments (skipped in raw mode): when the caret stands in a segment -- from its
// "{*>" up to, not including, its "<*}" -- or only skippable bytes lie between the caret and
// the segment's "{*>", the pick is a revision: the sentence is the segment's source and the
// segment's translation is selected, however long the segment. A new sentence never runs
// into a following segment: it ends before "{*>".
//
// At the end of the text (nothing but skippable bytes after the caret) the sentence is empty
// and the caret is put at the end of the text; an empty sentence is returned nowhere else.
//
// Inline tags with tagStop on (n a number; opening "<n:>", closing "<:n>", isolated "<:n:>"):
//  - English: a tag ends the sentence before it, and a tag at a sentence start is stepped
//    over whole, so tags stand between sentences.
//  - Chinese: a closing or isolated tag ends the sentence after the tag, so it stays with the
//    text it closes and the closing marks after it (a "。") are absorbed too; an opening tag
//    ends the sentence before the tag and is stepped over whole when the next sentence is
//    sought, so a sentence never ends with a tag that opens. A "<:" or ":>" that is no tag
//    ends the sentence after those two bytes.
//
// Every scan steps whole double-byte characters: a trail byte that looks like ASCII ("\\",
// "{", "}", letters) is never taken for a mark or a sentence start. All scans are local: from
// the caret to the sentence end, plus the segment search.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "document/rich_text.h"

namespace tavricat {

struct BreakOptions {
    bool TABkeyStop = false;  // a TAB (or a table-cell end, byte 7) ends a sentence
    bool CLStop = true;       // a line break ends a sentence
    bool tagStop = false;     // an inline tag ends a sentence
};

// Words a full stop may end without ending an English sentence: the abbreviation list and the
// current term base's keys, both sorted lists in the system's list order.
class AbbreviationLookup {
public:
    virtual ~AbbreviationLookup() = default;
    virtual bool contains(std::string_view word) const = 0;
};

// Looks a word up in any of several sorted lists (list order: ASCII letters without case).
// The lists must outlive the lookup.
class SortedListsLookup : public AbbreviationLookup {
public:
    explicit SortedListsLookup(std::vector<const std::vector<std::string>*> lists);
    bool contains(std::string_view word) const override;

private:
    std::vector<const std::vector<std::string>*> m_lists;
};

struct SentencePick {
    std::string sentence;   // the sentence text (for a revision: the segment's source)
    bool revision = false;  // the caret stood in an existing segment; its translation is selected
};

// A selection shorter than this is dropped before a getter scans.
inline constexpr std::size_t kKeptSelectionLength = 4;

// English source. The sentence starts at the first byte from "!" to "{" (blanks, control
// bytes, double-byte characters, "|", "}", "~", segment end markers and, with tagStop, tags
// are skipped) and ends at the first of: ". " or "! " not after an abbreviation, a number
// part or a short word, and not before a lower-case word; ": ", "; ", "? " (the blank
// belongs to the sentence); a line break (CLStop; without it a break ends the sentence
// unless the next line goes on with a word); TAB or byte 7 (TABkeyStop); a tag (tagStop);
// "{*>". Otherwise it runs to the end of the text.
SentencePick getASentEC(RichText& buffer, const BreakOptions& options, const AbbreviationLookup& abbreviations,
                        bool rawMode = false);

// Chinese source. The sentence starts at the first byte that is not a control byte, blank or
// "}" (segment end markers and, with tagStop, tags are skipped) and ends after the first stop
// mark: "。", "！", "：", "？", ". ", ": ", "! ", "? "; a line break (CLStop; without it
// a break ends the sentence before a blank, TAB, digit, empty line or the end of the text);
// TAB (TABkeyStop); a tag (tagStop, see above). Closing marks after the stop (ASCII ones,
// then full-width ones, whole characters) are absorbed. A sentence never ends at its first
// character. Trailing control bytes and leading ideographic blanks are not selected.
SentencePick getASentCE(RichText& buffer, const BreakOptions& options, bool rawMode = false);

// The Chinese rules on a string between `position` and `limit` (start, stop marks and closing
// marks; no trimming, no segment detection). Returns the sentence, cut at `limit`, and moves
// `position` past it; closing marks right after a stop are absorbed even beyond `limit`, so
// then only `position` goes past it. At or after `limit` the result is empty and
// `position` is not moved back.
std::string nextChineseSentenceIn(std::string_view text, std::size_t& position, std::size_t limit, const BreakOptions& options);

}  // namespace tavricat
