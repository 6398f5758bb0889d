#pragma once
// "更新例句库": fills the current sentence library from a list of files (.bil, .exs, .rf0,
// alternating-line texts). Bilingual files are converted to .exs first; each file's entry is
// checked once it has been read, the counters add up, and the library is saved once at the
// end. An update can be watched but not cancelled.

#include <QDialog>
#include <QStringList>

#include <functional>

#include "app/workbench.h"
#include "file_check_list.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace tavricat::gui {

class LibraryUpdateDialog : public QDialog {
    Q_OBJECT
public:
    // Asks for the files to add; empty when the person cancels.
    using FilesChooser = std::function<QStringList(QWidget* parent)>;

    // `bench` must have been started; it outlives the dialog.
    explicit LibraryUpdateDialog(Workbench& bench, QWidget* parent = nullptr);

    void setFilesChooser(FilesChooser chooser) { m_chooseFiles = std::move(chooser); }

    // "添加...", "删  除" (the checked entries), "清  空".
    void addFiles(const QStringList& files);
    void removeCheckedFiles();
    void clearFiles();
    // "更  新": every entry, in order; then the library is saved.
    void runUpdate();

    FileCheckList* fileList() const { return m_files; }
    // "总计：", "重复：", "新加：" and "当前库例句总数:" as shown.
    QString counterText(int which) const;

private:
    void showLibrarySize();

    Workbench& m_bench;
    FilesChooser m_chooseFiles;
    FileCheckList* m_files = nullptr;
    QRadioButton* m_overwrite = nullptr;
    QRadioButton* m_keep = nullptr;
    QLabel* m_counters[4] = {};
    QProgressBar* m_bar = nullptr;
    QPushButton* m_updateButton = nullptr;
};

}  // namespace tavricat::gui
