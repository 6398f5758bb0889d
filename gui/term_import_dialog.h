#pragma once
// "更新词库": merges term files (change logs .saw, term lists .txt, term base key files with
// their values file) into the current term base. Every listed file is read in order, its entry
// checked once read; the caption names the file being read, one bar moves with the files and
// one with the lines; the term base is saved at the end.

#include <QDialog>
#include <QStringList>

#include <functional>

#include "app/workbench.h"
#include "file_check_list.h"

class QProgressBar;
class QPushButton;
class QRadioButton;

namespace tavricat::gui {

class TermImportDialog : public QDialog {
    Q_OBJECT
public:
    using FilesChooser = std::function<QStringList(QWidget* parent)>;

    // `bench` must have been started; it outlives the dialog.
    explicit TermImportDialog(Workbench& bench, QWidget* parent = nullptr);

    void setFilesChooser(FilesChooser chooser) { m_chooseFiles = std::move(chooser); }
    void addFiles(const QStringList& files);
    // "更  新": every entry, ticked or not.
    void runImport();

    FileCheckList* fileList() const { return m_files; }
    QRadioButton* replaceButton() const { return m_replace; }
    QRadioButton* mergeButton() const { return m_merge; }
    QProgressBar* filesBar() const { return m_filesBar; }
    QProgressBar* linesBar() const { return m_linesBar; }

private:
    Workbench& m_bench;
    FilesChooser m_chooseFiles;
    FileCheckList* m_files = nullptr;
    QRadioButton* m_replace = nullptr;
    QRadioButton* m_merge = nullptr;
    QProgressBar* m_filesBar = nullptr;
    QProgressBar* m_linesBar = nullptr;
};

}  // namespace tavricat::gui
