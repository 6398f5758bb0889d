#include "app/meaning_promotion.h"

#include "app/term_journal.h"

namespace tavricat {

Status promoteChosenMeaning(Workbench& bench, const MeaningPopup& popup, const PopupChoice& choice) {
    const std::optional<TermRewrite> rewrite = promotionOf(popup, choice, bench.engine.workSent, bench.engine.termBase);
    if (!rewrite) return Status::ok();
    return replaceTermEdit(bench, rewrite->key, rewrite->entry);
}

}  // namespace tavricat
