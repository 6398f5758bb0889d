#pragma once
// The interactive translation in the window: the translation box, the buttons above it, the
// example panel and the interactive area under it, the meaning popup and the reference
// window. It runs the core's commands over the workbench and the bilingual document and
// shows what they hand back; the main window's menus and keys call its slots.

#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/term_edit_outcome.h"
#include "interactive/display_modes.h"
#include "interactive/interactive_area.h"
#include "interactive/linked_sentence.h"
#include "interactive/meaning_popup.h"
#include "interactive/popup_commands.h"
#include "interactive/sentence_confirmation.h"
#include "interactive/sentence_translation.h"

class QToolButton;

namespace tavricat {
class Workbench;
class RichText;
}

namespace tavricat::gui {

class AreaWidget;
class ExamplePanel;
class MeaningPopupWidget;
class ReferenceWindow;
class TranslationBox;

// What the panel needs of the main window's document views.
struct DocumentAccess {
    std::function<RichText&()> bilingual;         // the bilingual buffer
    std::function<void()> showSelection;           // the bilingual view shows the buffer's selection
    std::function<void()> renderBilingual;         // the bilingual view is built again (its text changed)
    std::function<ViewInput()> currentView;        // the view in front and its selected target text
    // The document in the word processor while the link is the work mode; null otherwise.
    std::function<LinkedDocument*()> linked;
};

class InteractivePanel : public QWidget {
    Q_OBJECT
public:
    InteractivePanel(Workbench& bench, DocumentAccess access, QWidget* parent);
    ~InteractivePanel() override;

    TranslationBox* translationBox() const { return m_box; }
    AreaWidget* areaWidget() const { return m_areaWidget; }
    ExamplePanel* examplePanel() const { return m_examples; }
    MeaningPopupWidget* popupWidget() const { return m_popupWidget; }
    ReferenceWindow* referenceWindow() const { return m_reference; }
    const InteractiveArea& area() const { return m_area; }
    const MeaningPopup& popup() const { return m_popup; }
    const SentenceTranslation& lastTranslation() const { return m_last; }
    DisplayMode displayMode() const { return m_mode; }

    // Ctrl+J / Ctrl+K and the re-runs. Returns the outcome; SwitchDirection asks the caller to
    // open the setup (the signal directionQuestionAccepted says the same).
    SentenceOutcome translate(TranslateTrigger trigger);
    // Ctrl+L: the result, or nothing when the box was empty or the person declined.
    std::optional<ConfirmationResult> confirm();
    // Ctrl+Enter: confirm, then the next sentence.
    void confirmAndContinue();
    void machineTranslate();  // F11
    void useExample();        // F12
    void clearBox();          // Ctrl+D
    void setDisplayMode(DisplayMode mode);
    // The settings changed (options dialog, direction): fonts, colours, the area again.
    void settingsChanged();
    // The direction changed: the common characters of the new direction.
    void loadCommonCharacters();
    // Alt+key from anywhere in the main window (window key codes); true when it was used.
    bool altKey(int keyCode);
    // The area, the example and the popup emptied; the box keeps the translator's text.
    void clearSentence();
    // Esc in the main window.
    void hidePopup();
    // Opens the popup for `token` (keyboard mode numbers the rows).
    void openPopup(int token, bool keyboardMode);
    // "添加词条" (Ctrl+W): a new entry, or a phrase of the marked words when words are marked.
    void addTerm();
    // "删除词条": an entry named in an input box.
    void deleteTermByName();
    // The 语法 menu: "添加" (Ctrl+G), "删除", "批量更新", "当前句语法参考" (F8).
    void addGrammar();
    void deleteGrammar();
    void importGrammar();
    void showGrammarReference();

signals:
    void directionQuestionAccepted();
    void confirmed(const tavricat::ConfirmationResult& result);

private:
    QWidget* buildButtons();
    AreaOptions areaOptions() const;
    // A new sentence: the area built, everything shown, the box filled.
    void showTranslation(const SentenceTranslation& result);
    // The area as it is, the example, the patterns and the common characters' head.
    void showAnalysis(const SentenceTranslation& result);
    void insertIntoBox(std::string text, int caretBack = 0);
    void makeCurrent(int token);
    void onWordClicked(int token, Qt::KeyboardModifiers modifiers);
    void onMeaningClicked(int token, Qt::KeyboardModifiers modifiers);
    void onHover(int token, Qt::KeyboardModifiers modifiers, bool keyboard);
    void onCellChosen(int column, int row);
    void onPopupKey(char key);
    void onPopupCommand(PopupCommand command);
    void applyChoice(const PopupChoice& choice);
    void showExamplesOfMarkedWords(int mode);
    void afterWriteBack();
    void hideWhenAutoShown();
    // The popup's term commands: split, adjust, delete, define (interactive_panel_terms.cpp).
    void runTermCommand(PopupCommand command);
    TranslationBoxText boxText() const;
    // The reference window's grammar list commands (interactive_panel_grammar.cpp).
    void dropPattern(int row, bool permanently);
    void modifyPattern(int row);
    void showTermEdit(const Result<TermEditOutcome>& outcome);
    void showTermEdit(const TermEditOutcome& outcome);

    Workbench& m_bench;
    DocumentAccess m_access;
    InteractiveArea m_area;
    MeaningPopup m_popup;
    SentenceTranslation m_last;
    DisplayMode m_mode = DisplayMode::MeaningsAndShortcuts;
    TranslationBox* m_box;
    AreaWidget* m_areaWidget;
    ExamplePanel* m_examples;
    MeaningPopupWidget* m_popupWidget;
    ReferenceWindow* m_reference;
    struct Pinyin;
    std::unique_ptr<Pinyin> m_pinyin;  // read on the first popup in CE direction
    bool m_inHover = false;  // re-entrancy guard of the hover handler
};

}  // namespace tavricat::gui
