#pragma once
// The building blocks of sentence analysis: clean-up of English and Chinese sentences,
// punctuation spacing, and cutting text into words. All work on GBK text and never split a
// double-byte character.

#include <string>
#include <string_view>
#include <vector>

namespace tavricat {

// English clean-up: drops every double-byte character and every other byte of 128 or more
// (a stray lead byte alone, so the blank after it stays), then expands short forms
// ("cannot", "'m", "'re", "'ve", "ain't", "shan't", "can't", "won't", "n't"), ignoring case.
std::string expandShortForms(std::string_view text);

// Chinese clean-up. Mode 0 puts blanks around every double-byte character except the
// full-width forms of ASCII marks; mode 1 also turns those full-width marks and the small
// forms of punctuation into ASCII marks. Texts under 3 bytes are only trimmed.
std::string splitHanChars(int mode, std::string_view text);

// Sets punctuation apart as words of their own (see the steps in the source).
std::string spacePunct(std::string_view text);

// Words in the text: 0 for empty text, else the blanks (after trimming and reducing runs of
// blanks) plus one.
int countWords(std::string_view text);

// Puts the n-th blank-separated word into slot n (1-based) of `slots`, for n up to
// `highestSlot` (and never beyond the array).
void splitWords(std::string_view text, std::vector<std::string>& slots, std::size_t highestSlot);

// Text with every run of blanks reduced to one blank, not trimmed.
std::string reduceDoubleBlanks(std::string_view text);

// Text with every run of blanks reduced to one blank, trimmed.
std::string collapseBlanks(std::string_view text);

// Replaces `from` (ASCII) by `to` wherever it starts on a character boundary; case-sensitive
// unless `ignoreCase`.
std::string replaceText(std::string_view text, std::string_view from, std::string_view to, bool ignoreCase = false);

}  // namespace tavricat
