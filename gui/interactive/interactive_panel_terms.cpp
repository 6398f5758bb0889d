// The meaning popup's term commands and the term menu items, over the core's term edit
// commands: the window shows the area and the translation they hand back.

#include "interactive_panel.h"

#include "app/term_entry_commands.h"
#include "app/term_removal_commands.h"
#include "app/workbench.h"
#include "area_widget.h"
#include "translation_box.h"

namespace tavricat::gui {

TranslationBoxText InteractivePanel::boxText() const {
    return {m_box->gbkText(), m_box->caretByte(), m_box->selectedGbk()};
}

void InteractivePanel::showTermEdit(const Result<TermEditOutcome>& outcome) {
    if (!outcome) {
        if (!outcome.status().message().empty()) m_bench.dialogs().message(outcome.status().message());
        return;
    }
    showTermEdit(*outcome);
}

void InteractivePanel::showTermEdit(const TermEditOutcome& outcome) {
    if (outcome.rerun) {
        // The sentence was translated again; the translator's text and caret stay.
        hidePopup();
        m_last = outcome.rerun->translation;
        showAnalysis(m_last);
        m_box->setGbkText(m_last.translationBox, outcome.rerun->caret);
        m_box->setFocus();
        return;
    }
    // Marks cleared or a meaning changed in place.
    if (!m_area.empty()) {
        m_areaWidget->showArea(m_area, m_bench.settings);
        m_areaWidget->paintCurrent(m_area.currentWord(), 0, 0);
    }
}

void InteractivePanel::runTermCommand(PopupCommand command) {
    if (m_area.empty()) return;
    switch (command) {
        case PopupCommand::AdjustMeanings:
            // With words marked the command defines a phrase of them instead.
            if (!m_area.markedTokens().empty()) showTermEdit(definePhrase(m_bench, m_area, boxText(), &m_access.bilingual()));
            else showTermEdit(adjustCurrentWord(m_bench, m_area));
            break;
        case PopupCommand::DefinePhrase:
            showTermEdit(definePhrase(m_bench, m_area, boxText(), &m_access.bilingual()));
            break;
        case PopupCommand::DeleteEntry:
            showTermEdit(deleteCurrentWord(m_bench, m_area, boxText(), m_access.bilingual()));
            break;
        case PopupCommand::SplitPhrase:
            showTermEdit(splitCurrentPhrase(m_bench, m_area, boxText(), m_access.bilingual()));
            break;
        case PopupCommand::ExampleSearch1:
        case PopupCommand::ExampleSearch2:
            break;
    }
    m_access.showSelection();
}

void InteractivePanel::addTerm() {
    // With words marked in the area the button defines a phrase of them.
    if (!m_area.empty() && !m_area.markedTokens().empty()) {
        runTermCommand(PopupCommand::DefinePhrase);
        return;
    }
    showTermEdit(addNewTerm(m_bench));
}

void InteractivePanel::deleteTermByName() { showTermEdit(tavricat::deleteTermByName(m_bench)); }

}  // namespace tavricat::gui
