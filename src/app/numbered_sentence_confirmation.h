#pragma once
// Confirming a translation of the n-th sentence of a bilingual buffer without a window, as the
// person would: the caret is put where the sentence getter finds that sentence, the sentence is
// translated interactively (so that the example state the confirmation reads exists), the
// translation box takes the given text and the confirmation stores the pair in the current
// sentence library and writes the target into the buffer. Saving is the caller's.

#include <cstddef>
#include <optional>
#include <string>

#include "base/status.h"
#include "document/rich_text.h"
#include "interactive/sentence_confirmation.h"

namespace tavricat {

class Workbench;

// How many sentences the sentence getter of the workbench's direction finds in `bilingual`,
// walking it from the start as `tavricat-cli segment` does. The selection is kept.
std::size_t countSentences(Workbench& bench, RichText& bilingual);

struct NumberedConfirmation {
    std::string sentence;                // the sentence confirmed (GBK)
    ConfirmOutcome outcome = ConfirmOutcome::NotStored;
    std::optional<std::size_t> example;  // the stored or corrected example
    double exampleRate = 0;              // the best example's rate (1.0 = 100 %); kNoExampleRate: none
    bool revised = false;                // the sentence had a translation, which was replaced
};

// `n` counts from 1. Refused with nothing changed: n out of range (the message names the
// count), an empty translation, or one that holds segment markers. Any other failure (the
// sentence refused, the tags question answered No, the write-back refused) is returned after
// the person was told; the sentence library and the term base may then have changed in memory,
// which the caller drops (restoreLibs) before anything is saved.
Result<NumberedConfirmation> confirmNumberedSentence(Workbench& bench, RichText& bilingual, std::size_t n,
                                                     const std::string& translation);

}  // namespace tavricat
