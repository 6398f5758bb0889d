#pragma once
// The term entry commands of the translating window that go through the entry dialog or an
// input box: add an entry ("添加词条", Ctrl+W), define a phrase from the words marked in the
// interactive area ("定义词组", popup key "/"), adjust the current word's meanings ("修改词义",
// popup key ","), and delete an entry by name (menu "删除词条").
//
// Each asks through the workbench's Dialogs (editTermEntry, inputBox, message); a cancelled
// dialog changes nothing. Entries they create are journalled (Workbench::newUserWords),
// queued for the shared library when changes are sent there, and taken off the deleted
// words; observers hear every change of the term base. A form with a line break in any
// field, or "^" in any field but the attribute, is refused (BadInput) and changes nothing.

#include "app/term_edit_outcome.h"
#include "base/status.h"

namespace tavricat {

class Workbench;

inline constexpr const char* kDeleteTermCaption = "删除词条";
inline constexpr const char* kDeleteTermPrompt = "请输入待删除的原文单词或词组。";
inline constexpr const char* kNoSuchTerm = "当前库中没有该词条！";

// Add: an empty form captioned "添加新词条". The key is rebuilt from the analysis of the typed
// text (typedTermKey); the value is the four fields joined by "^" with the blanks between
// Chinese characters removed. A key the term base holds already, or an empty one, is left
// alone without a word.
Result<TermEditOutcome> addNewTerm(Workbench& bench);

// Define a phrase: the key is the marked tokens' segment keys joined by blanks, the proposed
// meanings their meaning labels (joined by a blank in CE, run together in EC) or, when the
// translator has selected text in the translation box, that text. The marks are cleared.
// A key the term base holds already stops the command without a word, before the dialog
// ("定义词组") and after it. The stored key is the dialog's key lower-cased and trimmed.
// With `document`, the sentence is translated again, keeping `box`.
Result<TermEditOutcome> definePhrase(Workbench& bench, InteractiveArea& area, const TranslationBoxText& box,
                                     RichText* document);

// Adjust the current token of `area` (laid out for workSent). When the term base holds the
// token's segment key, the dialog ("调整词义", key shown but not editable) shows its entry
// split at "^" and the accepted fields replace it as typed; when it does not, the accepted
// fields create it as addNewTerm would. Either way the token's meanings and associations in
// workSent follow the dialog ("｜" read as "|"), the meanings are ordered by the selected
// domains and the area's meaning label shows the new first meaning.
Result<TermEditOutcome> adjustCurrentWord(Workbench& bench, InteractiveArea& area);

// Delete by name: input box "删除词条" / "请输入待删除的原文单词或词组。"; the typed text is
// rebuilt as addNewTerm's key. Absent: "当前库中没有该词条！". Present: deleted, journalled
// "dddit key", queued, and put on the deleted words.
Result<TermEditOutcome> deleteTermByName(Workbench& bench);

}  // namespace tavricat
