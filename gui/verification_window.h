#pragma once
// "校订例句库": the stored examples of the current sentence library one at a time, the source
// in the upper pane and the translation in the lower one. The person pages through all of them
// or those a filter lists, corrects either pane (stored when leaving the example; a corrected
// source is analysed and indexed again), replaces a text in every listed translation and
// deletes examples. The library in memory changes; its next save writes it.

#include <QDialog>

#include <functional>
#include <optional>

#include "app/workbench.h"
#include "memory/library_verification.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace tavricat::gui {

// "过滤条件": the texts the listed examples must hold, "与" or "或".
class VerificationFilterDialog : public QDialog {
    Q_OBJECT
public:
    VerificationFilterDialog(const VerificationFilter& current, Dialogs& dialogs, QWidget* parent = nullptr);
    // The filter typed; valid after "确  定".
    const VerificationFilter& filter() const { return m_filter; }
    void accept() override;  // refuses texts GBK cannot hold

private:
    Dialogs& m_dialogs;
    VerificationFilter m_filter;
    QLineEdit* m_source = nullptr;
    QLineEdit* m_translation = nullptr;
    QRadioButton* m_and = nullptr;
};

class VerificationWindow : public QDialog {
    Q_OBJECT
public:
    // Lists every example of `bench`'s library and shows the first. `bench` outlives the window.
    explicit VerificationWindow(Workbench& bench, QWidget* parent = nullptr);

    // Asks for a filter (the dialog is made by `ask`, for the tests) and lists with it.
    using FilterAsker = std::function<std::optional<VerificationFilter>(const VerificationFilter& current)>;
    void setFilterAsker(FilterAsker ask) { m_askFilter = std::move(ask); }

    // The actions of the buttons.
    void chooseFilter();
    bool previous();
    bool next();
    bool last();
    void undoEdit();
    void deleteCurrent();
    void refresh();
    void replaceInTranslations();
    // Enter in the position box.
    void jumpToTyped();

    const LibraryVerification& verification() const { return m_verification; }
    // Leaving the window stores the panes; a refused correction keeps it open.
    void done(int result) override;

private:
    // Stores the panes into the current example; false (told) when refused.
    bool writeBack();
    void showCurrent();
    void showCount();
    bool moveTo(std::size_t position);

    Workbench& m_bench;
    LibraryVerification m_verification;
    FilterAsker m_askFilter;
    QPlainTextEdit* m_source = nullptr;
    QPlainTextEdit* m_translation = nullptr;
    QString m_shownSource, m_shownTranslation;  // as the panes were filled
    QLineEdit* m_position = nullptr;
    QLabel* m_count = nullptr;
    QLineEdit* m_find = nullptr;
    QLineEdit* m_replacement = nullptr;
    QPushButton* m_previous = nullptr;
    QPushButton* m_next = nullptr;
};

// The menu item: with nothing to verify the person is told so, else the window is shown modally.
void verifySentenceLibrary(Workbench& bench, QWidget* parent);

}  // namespace tavricat::gui
