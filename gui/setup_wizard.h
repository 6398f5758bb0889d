#pragma once
// "系统设置": five pages choosing the direction, the domains, the term base, the sentence
// library and the dictionary switches. OK on the last page applies them to the workbench
// (app/setup_choices.h); "取消" changes nothing.

#include <QDialog>

#include <vector>

#include "app/setup_choices.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTableWidget;

namespace tavricat {
class Workbench;
}

namespace tavricat::gui {

class LibraryInfoDialog;

class SetupWizard : public QDialog {
    Q_OBJECT
public:
    static constexpr int kPageCount = 5;

    SetupWizard(Workbench& bench, LibraryInfoDialog& libraryDialog, QWidget* parent = nullptr);

    // The answers as they stand.
    SetupChoices choices() const;
    void goToPage(int page);
    int page() const;

    QRadioButton* ecButton() const { return m_ec; }
    QRadioButton* ceButton() const { return m_ce; }
    QListWidget* allDomainsList() const { return m_allDomains; }
    QListWidget* selectedDomainsList() const { return m_selectedDomains; }
    QPushButton* button(const QString& text) const;  // by caption, the shown one first
    QTableWidget* libraryGrid(LibraryKind kind) const {
        return kind == LibraryKind::TermBase ? m_termGrid : m_sentenceGrid;
    }
    QLabel* summary() const { return m_summary; }
    QCheckBox* useSysLibBox() const { return m_useSysLib; }
    QCheckBox* useUserLibBox() const { return m_useUserLib; }
    QCheckBox* noPopupBox() const { return m_noPopup; }

    // OK: on the last page applies the answers and closes; elsewhere moves to the last page.
    void onOk();

private:
    QWidget* buildDirectionPage();
    QWidget* buildDomainPage();
    QWidget* buildLibraryPage(LibraryKind kind);
    QWidget* buildSummaryPage();
    void fillGrid(LibraryKind kind, const std::string& current);
    void createLibrary(LibraryKind kind);
    void addDomains();
    void addAllDomains();
    void removeDomains();
    void moveDomain(int to);
    void newDomain();
    void refreshSummary();
    const LibraryRow* selectedRow(LibraryKind kind) const;

    Workbench& m_bench;
    LibraryInfoDialog& m_libraryDialog;
    QStackedWidget* m_pages;
    QLabel* m_caption;
    QRadioButton* m_ec;
    QRadioButton* m_ce;
    QListWidget* m_allDomains;
    QListWidget* m_selectedDomains;
    QTableWidget* m_termGrid = nullptr;
    QTableWidget* m_sentenceGrid = nullptr;
    std::vector<LibraryRow> m_termRows, m_sentenceRows;
    QLabel* m_summary;
    QCheckBox* m_useSysLib;
    QCheckBox* m_useUserLib;
    QCheckBox* m_noPopup;
    QPushButton* m_back;
    QPushButton* m_next;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};

}  // namespace tavricat::gui
