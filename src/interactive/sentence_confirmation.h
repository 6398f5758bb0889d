#pragma once
// Confirming the translation of the sentence under interactive translation: the pair goes
// into the current sentence library (a new example, or the corrected translation of the
// 100 % example that was used) and the translation is written into the bilingual document.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

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
    // The translation also goes to the sentence's identical untranslated repetitions later in
    // the document (as segments of rate kPropagatedRate), undone with it.
    bool autoPropagate = false;
};

// The rate of a translation written to a repetition of a confirmed sentence.
inline constexpr int kPropagatedRate = 101;

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
    std::size_t propagated = 0;          // repetitions later in the document that took it too
};

// Whether the tags of `translation` match those of `source`; on a mismatch the person is
// asked whether to go on. True: go on.
bool tagsAcceptable(Dialogs& dialogs, const std::string& source, const std::string& translation);

// The checks and the storing of a confirmation, wherever the translation then goes: the
// tags (the person may decline: Cancelled), an empty box (a beep: EmptyBox), markers in the
// translation (told: Cancelled); then the pair is stored (Stored, Corrected or NotStored).
ConfirmationResult storeConfirmedPair(ConfirmationContext& context, const SentenceState& state, const std::string& box);

// Confirm: checks the document selection and the tags, stores the pair, writes the
// translation back and empties `box`. `box` is the translation box's text.
ConfirmationResult confirmSentence(ConfirmationContext& context, SentenceState& state, RichText& document,
                                   std::string& box);

// Write-back: the trimmed box text (its first letter upper-cased in CE direction) becomes the
// target of the sentence selected in the document, when there is a selection or the sentence
// is being re-edited; then the box is emptied. Nothing happens (false) while the selection starts
// at the very end of the document.
bool writeBackTranslation(ConfirmationContext& context, const SentenceState& state, RichText& document,
                          std::string& box, std::size_t* propagated = nullptr);

// The identical untranslated repetitions of `sentence` after byte `from`: each a whole
// sentence (a blank, a line break, a segment end or the document's edge on both sides) that
// stands outside every segment. Their start offsets, in order.
std::vector<std::size_t> repetitionsOf(const RichText& document, std::string_view sentence, std::size_t from);

// Confirm and continue, up to the next sentence: nothing (nullopt) for a blank box or when the
// person declines at the tag question; otherwise Confirm's result, after which the caller
// translates the next sentence.
std::optional<ConfirmationResult> confirmBeforeNext(ConfirmationContext& context, SentenceState& state,
                                                    RichText& document, std::string& box);

}  // namespace tavricat
