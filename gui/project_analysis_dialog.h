#pragma once
// "项目分析": how much of a set of files the current sentence library covers, with the report
// appended to a log file, the overall figures, and the result exports. The library is saved
// when the window opens; its marks live in memory until the next analysis or the closing of
// the window, which read it back from its files.

#include <QDialog>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>

#include "app/workbench.h"
#include "batch/project_analysis.h"
#include "file_check_list.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QSpinBox;

namespace tavricat::gui {

class LibraryInfoDialog;

class ProjectAnalysisDialog : public QDialog {
    Q_OBJECT
public:
    // Asks for files to add; empty when the person cancels.
    using FilesChooser = std::function<QStringList(QWidget* parent)>;
    // Shows a file with the system's program for it.
    using FileOpener = std::function<void(const QString& path)>;
    // "选 库": the library and direction settings (the setup wizard).
    using LibraryChooser = std::function<void()>;

    // `bench` must have been started; it and `libraryDialog` outlive the window.
    ProjectAnalysisDialog(Workbench& bench, LibraryInfoDialog& libraryDialog, QWidget* parent = nullptr);
    ~ProjectAnalysisDialog() override;

    void setFilesChooser(FilesChooser chooser) { m_chooseFiles = std::move(chooser); }
    void setFileOpener(FileOpener opener) { m_openFile = std::move(opener); }
    void setLibraryChooser(LibraryChooser chooser) { m_chooseLibrary = std::move(chooser); }

    // The file list: "添加..." (files not listed yet), "删  除" (checked entries), "清  空".
    void addFiles(const QStringList& files);
    void removeCheckedFiles();
    void clearFiles();
    FileCheckList* fileList() const { return m_files; }

    // "分  析". False when refused (the person was told) or failed.
    bool runAnalysis();
    // The figures as shown: 匹配句子, 句子总数, 匹配比例, 匹配单词, 单词总数, 匹配比例.
    QString figureText(int which) const;
    const std::optional<AnalysisOutcome>& lastOutcome() const { return m_outcome; }

    // The result actions.
    void showDetails();
    void exportRepeatedSentences();
    void exportUnmatchedSentences();
    void exportProjectExamples();
    void exportProjectTermBase();

    // Closing reads the library back, so its marks never stay; refused while an analysis runs.
    void done(int result) override;

private:
    void onLimitEntered();
    void chooseLog();
    void chooseLibrary();
    void showLibraryNames();
    void showFigures(const AnalysisFigures& figures);
    void setResultsEnabled(bool enabled);
    void writeAndOpen(const LineList& lines, const char* filter, const char* extension, std::size_t count);

    Workbench& m_bench;
    LibraryInfoDialog& m_libraryDialog;
    std::unique_ptr<ProjectAnalysis> m_analysis;
    std::optional<AnalysisOutcome> m_outcome;
    FilesChooser m_chooseFiles;
    FileOpener m_openFile;
    LibraryChooser m_chooseLibrary;
    bool m_running = false;

    FileCheckList* m_files = nullptr;
    QLineEdit* m_limit = nullptr;
    QSlider* m_limitSlider = nullptr;
    QLineEdit* m_log = nullptr;
    QLabel* m_termBaseName = nullptr;
    QLabel* m_libraryName = nullptr;
    std::array<QLabel*, 6> m_figures{};
    QSpinBox* m_minRepeats = nullptr;
    std::array<QPushButton*, 5> m_results{};
};

}  // namespace tavricat::gui
