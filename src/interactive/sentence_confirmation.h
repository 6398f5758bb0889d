#pragma once
// Confirming the translation of the sentence under interactive translation: the pair goes
// into the current sentence library (a new example, or the corrected translation of the
// 100 % example that was used) and the translation is written into the bilingual document.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "base/direction.h"
#include "document/rich_text.h"

namespace tavricat {

class Dialogs;
class SentenceLibrary;
class SentenceState;
struct stClass;

inline constexpr const char* kTagsDoNotMatch = "标记不匹配，继续吗?";
inline constexpr const char* kSelectionMoved = "选定的原文已经发生变化，恢复原选定部分吗?";

// The recovery files are written after every this many stored examples.
inline constexpr std::size_t kRecoveryInterval = 10;

// What a confirmation reads from and changes in the workbench.
struct ConfirmationContext {
    SentenceLibrary& library;
    const stClass& analysis;  // the analysed sentence under translation (workSent)
    Dialogs& dialogs;
    Direction direction = Direction::EC;
    bool spaceInHanChar = false;
    std::uint32_t isoTagsColour = 8388736;
    // Writes the crash-recovery files (the term-change log and the current library names).
    std::function<void()> writeRecoveryFiles;
    // Hands a new library line to the shared library's queue; empty when none is connected.
    std::function<void(const std::string&)> queueForSharing;
};

enum class ConfirmOutcome {
    Stored,          // a new example was added
    Corrected,       // the used 100 % example took the new translation
    NotStored,       // nothing worth storing (a short key); the translation was written back
    Cancelled,       // the person declined at the tag question
    EmptyBox,        // nothing to confirm: a beep
};

struct ConfirmationResult {
    ConfirmOutcome outcome = ConfirmOutcome::Cancelled;
    std::optional<std::size_t> example;  // the index of the added or corrected example
    bool written = false;                // the translation went into the document
};

// Whether the tags of `translation` match those of `source`; on a mismatch the person is
// asked whether to go on. True: go on.
bool tagsAcceptable(Dialogs& dialogs, const std::string& source, const std::string& translation);

// Confirm: checks the document selection and the tags, stores the pair, writes the
// translation back and empties `box`. `box` is the translation box's text.
ConfirmationResult confirmSentence(ConfirmationContext& context, SentenceState& state, RichText& document,
                                   std::string& box);

// Write-back: the trimmed box text (its first letter upper-cased in CE direction) becomes the
// target of the sentence selected in the document, when there is a selection or the sentence
// is being re-edited; then the box is emptied. Nothing happens (false) while the selection starts
// at the very end of the document.
bool writeBackTranslation(ConfirmationContext& context, const SentenceState& state, RichText& document,
                          std::string& box);

// Confirm and continue, up to the next sentence: nothing (nullopt) for a blank box or when the
// person declines at the tag question; otherwise Confirm's result, after which the caller
// translates the next sentence.
std::optional<ConfirmationResult> confirmBeforeNext(ConfirmationContext& context, SentenceState& state,
                                                    RichText& document, std::string& box);

}  // namespace tavricat
