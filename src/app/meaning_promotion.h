#pragma once
// A meaning chosen in the meaning popup goes to the front of its word's meanings in the term
// base, so that the next sentence offers it first.

#include "app/workbench.h"
#include "base/status.h"
#include "interactive/meaning_popup.h"

namespace tavricat {

// Rewrites the current token's term entry when the choice asks for it (a column-1 meaning
// other than the first, of a word the term base holds) through the journal, so that the
// change survives an abnormal end and observers hear of it. Ok, changing nothing, otherwise.
Status promoteChosenMeaning(Workbench& bench, const MeaningPopup& popup, const PopupChoice& choice);

}  // namespace tavricat
