#pragma once
// Whether ending a session with a document asks "现有译文要保存吗?": only for a bilingual
// text changed since it was opened or saved, and longer than a few words, so that a short
// trial is not questioned.

#include <cstddef>

#include "document/rich_text.h"

namespace tavricat {

inline constexpr const char* kCloseQueryQuestion = "现有译文要保存吗?";
// Characters (a double-byte character counts once) a changed text must exceed to be asked about.
inline constexpr std::size_t kCloseQueryMinChars = 50;

bool closeQueryNeeded(const RichText& bilingual);

}  // namespace tavricat
