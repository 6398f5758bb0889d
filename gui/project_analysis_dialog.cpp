#include "project_analysis_dialog.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

#include "app/project_analysis_context.h"
#include "base/encoding.h"
#include "batch/analysis_log.h"
#include "batch/project_exports.h"
#include "library_info_dialog.h"
#include "qt_ports.h"
#include "help_browser.h"
#include "text_convert.h"

namespace tavricat::gui {

// The texts of this file, the core's constants included, are UTF-8 here; the ports take GBK.

namespace {

const char* const kFigureCaptions[6] = {"匹配句子:", "句子总数:", "匹配比例:", "匹配单词:", "单词总数:", "匹配比例:"};

QPushButton* button(const QString& caption, const char* name, QWidget* parent) {
    auto* made = new QPushButton(caption, parent);
    made->setObjectName(QString::fromLatin1(name));
    made->setAutoDefault(false);  // Enter in the lower-limit box sets the limit, nothing more
    return made;
}

}  // namespace

ProjectAnalysisDialog::ProjectAnalysisDialog(Workbench& bench, LibraryInfoDialog& libraryDialog, QWidget* parent)
    : QDialog(parent),
      m_bench(bench),
      m_libraryDialog(libraryDialog),
      m_analysis(std::make_unique<ProjectAnalysis>(projectAnalysisContext(bench))),
      m_chooseFiles([](QWidget* owner) {
          return QFileDialog::getOpenFileNames(
              owner, QStringLiteral("打开文件"), QString(),
              qtFileFilter(QStringLiteral("文本文件(*.txt)|*.txt|Rich Text文件(*.rtf)|*.rtf|中间文件(*.imf)|*.imf|"
                                          "Word文件(*.docx;*.doc)|*.docx;*.doc|OpenDocument文本(*.odt)|*.odt")));
      }),
      m_openFile([this](const QString& path) {
          // A desktop without a program for the file (or without a launcher) still says where it is.
          if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
              m_bench.dialogs().message(toGbkLossy(QStringLiteral("无法打开该文件，它已保存在：\n%1").arg(path)));
      }) {
    setWindowTitle(QString::fromUtf8(kProjectAnalysisCaption));
    setModal(true);

    // The list of the project's files (the comparison's second list is not offered).
    auto* tabs = new QTabWidget(this);
    m_files = new FileCheckList(FileCheckList::Duplicates::Skipped, tabs);
    m_files->setObjectName(QStringLiteral("files"));
    tabs->addTab(m_files, QStringLiteral("新项目文件"));
    QPushButton* add = button(QStringLiteral("添加..."), "addButton", this);
    QPushButton* remove = button(QStringLiteral("删  除"), "removeButton", this);
    QPushButton* clear = button(QStringLiteral("清  空"), "clearButton", this);
    connect(add, &QPushButton::clicked, this, [this] { addFiles(m_chooseFiles(this)); });
    connect(remove, &QPushButton::clicked, this, &ProjectAnalysisDialog::removeCheckedFiles);
    connect(clear, &QPushButton::clicked, this, &ProjectAnalysisDialog::clearFiles);

    // The lower limit: the box follows the bar; Enter in the box moves the bar.
    m_limit = new QLineEdit(QString::number(kDefaultLowerLimit), this);
    m_limit->setObjectName(QStringLiteral("lowerLimit"));
    m_limit->setMaximumWidth(60);
    m_limitSlider = new QSlider(Qt::Horizontal, this);
    m_limitSlider->setObjectName(QStringLiteral("lowerLimitBar"));
    m_limitSlider->setRange(kMinLowerLimit, kMaxLowerLimit);
    m_limitSlider->setValue(kDefaultLowerLimit);
    connect(m_limitSlider, &QSlider::valueChanged, this, [this](int value) { m_limit->setText(QString::number(value)); });
    connect(m_limit, &QLineEdit::returnPressed, this, &ProjectAnalysisDialog::onLimitEntered);

    m_log = new QLineEdit(fromNativePath(bench.settings.logfileName), this);
    m_log->setObjectName(QStringLiteral("logFile"));
    QPushButton* log = button(QStringLiteral("日志文件.."), "logButton", this);
    connect(log, &QPushButton::clicked, this, &ProjectAnalysisDialog::chooseLog);

    m_termBaseName = new QLabel(this);
    m_libraryName = new QLabel(this);
    m_termBaseName->setObjectName(QStringLiteral("termBaseName"));
    m_libraryName->setObjectName(QStringLiteral("libraryName"));
    QPushButton* libraries = button(QStringLiteral("选 库"), "libraryButton", this);
    connect(libraries, &QPushButton::clicked, this, &ProjectAnalysisDialog::chooseLibrary);

    QPushButton* analyse = button(QStringLiteral("分  析"), "analyseButton", this);
    connect(analyse, &QPushButton::clicked, this, &ProjectAnalysisDialog::runAnalysis);
    QPushButton* help = button(QStringLiteral("帮  助"), "helpButton", this);
    connect(help, &QPushButton::clicked, this, [this] { openHelp(m_bench, this, QStringLiteral("newpage79.htm")); });
    QPushButton* quit = button(QStringLiteral("退  出"), "closeButton", this);
    connect(quit, &QPushButton::clicked, this, &QDialog::accept);

    auto* figures = new QGridLayout;
    for (int i = 0; i < 6; ++i) {
        figures->addWidget(new QLabel(QString::fromUtf8(kFigureCaptions[i]), this), i / 3, (i % 3) * 2);
        m_figures[i] = new QLabel(this);
        m_figures[i]->setObjectName(QStringLiteral("figure%1").arg(i));
        figures->addWidget(m_figures[i], i / 3, (i % 3) * 2 + 1);
    }

    auto* results = new QGroupBox(QStringLiteral("结果"), this);
    m_results[0] = button(QStringLiteral("详细统计信息"), "detailsButton", results);
    m_results[1] = button(QStringLiteral("导出重复新句"), "exportRepeatsButton", results);
    m_results[2] = button(QStringLiteral("导出未匹配句子"), "exportUnmatchedButton", results);
    m_results[3] = button(QStringLiteral("导出项目例句"), "exportExamplesButton", results);
    m_results[4] = button(QStringLiteral("导出项目词库"), "exportTermsButton", results);
    connect(m_results[0], &QPushButton::clicked, this, &ProjectAnalysisDialog::showDetails);
    connect(m_results[1], &QPushButton::clicked, this, &ProjectAnalysisDialog::exportRepeatedSentences);
    connect(m_results[2], &QPushButton::clicked, this, &ProjectAnalysisDialog::exportUnmatchedSentences);
    connect(m_results[3], &QPushButton::clicked, this, &ProjectAnalysisDialog::exportProjectExamples);
    connect(m_results[4], &QPushButton::clicked, this, &ProjectAnalysisDialog::exportProjectTermBase);
    m_minRepeats = new QSpinBox(results);
    m_minRepeats->setObjectName(QStringLiteral("minRepeats"));
    m_minRepeats->setRange(static_cast<int>(kMinRepeatsLeast), static_cast<int>(kMinRepeatsMost));
    auto* resultLayout = new QGridLayout(results);
    resultLayout->addWidget(m_results[0], 0, 0);
    resultLayout->addWidget(m_results[1], 0, 1);
    resultLayout->addWidget(m_minRepeats, 0, 2);
    resultLayout->addWidget(new QLabel(QStringLiteral("次以上"), results), 0, 3);
    resultLayout->addWidget(m_results[2], 1, 0);
    resultLayout->addWidget(m_results[3], 1, 1);
    resultLayout->addWidget(m_results[4], 1, 2, 1, 2);
    setResultsEnabled(false);

    auto* listButtons = new QVBoxLayout;
    for (QPushButton* each : {add, remove, clear}) listButtons->addWidget(each);
    listButtons->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(tabs, 1);
    top->addLayout(listButtons);

    auto* limitRow = new QHBoxLayout;
    limitRow->addWidget(new QLabel(QStringLiteral("匹配下限:"), this));
    limitRow->addWidget(m_limit);
    limitRow->addWidget(new QLabel(QStringLiteral("%"), this));
    limitRow->addWidget(new QLabel(QStringLiteral("30%"), this));
    limitRow->addWidget(m_limitSlider, 1);
    limitRow->addWidget(new QLabel(QStringLiteral("100%"), this));

    auto* logRow = new QHBoxLayout;
    logRow->addWidget(m_log, 1);
    logRow->addWidget(log);

    auto* libraryRow = new QHBoxLayout;
    libraryRow->addWidget(new QLabel(QStringLiteral("当前词库:"), this));
    libraryRow->addWidget(m_termBaseName, 1);
    libraryRow->addWidget(new QLabel(QStringLiteral("当前句库:"), this));
    libraryRow->addWidget(m_libraryName, 1);
    libraryRow->addWidget(libraries);

    auto* commandRow = new QHBoxLayout;
    commandRow->addStretch();
    for (QPushButton* each : {analyse, help, quit}) commandRow->addWidget(each);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(limitRow);
    layout->addLayout(logRow);
    layout->addLayout(libraryRow);
    layout->addLayout(figures);
    layout->addWidget(results);
    layout->addLayout(commandRow);
    resize(640, 520);

    showLibraryNames();
    // The library's state on disk is what each analysis and the closing read back.
    (void)m_analysis->open();  // a failed save was shown; the analysis then refuses to run
}

ProjectAnalysisDialog::~ProjectAnalysisDialog() = default;  // the analysis closes itself

void ProjectAnalysisDialog::addFiles(const QStringList& files) { m_files->addFiles(files); }

void ProjectAnalysisDialog::removeCheckedFiles() { m_files->removeCheckedFiles(); }

void ProjectAnalysisDialog::clearFiles() { m_files->clear(); }

void ProjectAnalysisDialog::onLimitEntered() {
    bool number = false;
    const int typed = m_limit->text().trimmed().toInt(&number);
    if (!number) {
        m_bench.dialogs().message(encoding::toGbk(kLowerLimitOutOfRange));
        m_limit->setText(QString::number(kMinLowerLimit));
        return;
    }
    m_limitSlider->setValue(typed);  // the bar keeps to its range; the box keeps what was typed
    m_limit->setText(QString::number(typed));
}

void ProjectAnalysisDialog::chooseLog() {
    std::optional<std::string> chosen =
        m_bench.dialogs().chooseSaveFile(encoding::toGbk("打开记录文件"), encoding::toGbk("记录文件(*.txt)|*.txt"),
                                         toNativePath(m_log->text()));
    if (chosen) m_log->setText(fromNativePath(withTxtExtension(*chosen)));
}

void ProjectAnalysisDialog::chooseLibrary() {
    if (!m_chooseLibrary) return;
    // Another library must not be saved with this analysis's marks: drop them first, and
    // save whichever library is current afterwards.
    // A library not read back still holds them (the failure was shown): no switch then.
    if (!m_analysis->close()) return;
    m_outcome.reset();
    setResultsEnabled(false);
    m_chooseLibrary();
    (void)m_analysis->open();  // a failed save was shown; the analysis then refuses to run
    showLibraryNames();
}

void ProjectAnalysisDialog::showLibraryNames() {
    m_termBaseName->setText(fromGbk(m_bench.libraryTitle(LibraryKind::TermBase)));
    m_libraryName->setText(fromGbk(m_bench.libraryTitle(LibraryKind::SentenceLibrary)));
}

bool ProjectAnalysisDialog::runAnalysis() {
    if (m_running) return false;
    // The save when the window opened failed (the person was told): try it again.
    if (!m_analysis->isOpen() && !m_analysis->open()) return false;
    const std::vector<std::string> files = m_files->paths();
    bool number = false;
    const int limit = m_limit->text().trimmed().toInt(&number);  // not a number: refused as out of range

    m_running = true;
    setEnabled(false);  // the progress window repaints; nothing here may be pressed meanwhile
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Result<AnalysisOutcome> outcome = m_analysis->analyse(files, number ? limit : 0, toNativePath(m_log->text()));
    QApplication::restoreOverrideCursor();
    setEnabled(true);
    m_running = false;
    if (!outcome) {
        m_outcome.reset();
        setResultsEnabled(false);
        return false;
    }
    for (int row = 0; row < static_cast<int>(files.size()); ++row) {
        const std::string& path = files[static_cast<std::size_t>(row)];
        m_files->setChecked(row, std::any_of(outcome->files.begin(), outcome->files.end(),
                                             [&path](const FileAnalysis& file) { return file.path == path; }));
    }
    m_log->setText(fromNativePath(outcome->logPath));
    showFigures(outcome->figures);
    m_outcome = std::move(*outcome);
    setResultsEnabled(true);
    return true;
}

QString ProjectAnalysisDialog::figureText(int which) const { return m_figures[static_cast<std::size_t>(which)]->text(); }

void ProjectAnalysisDialog::showFigures(const AnalysisFigures& figures) {
    m_figures[0]->setText(QString::number(figures.matchedSentences));
    m_figures[1]->setText(QString::number(figures.allSentences));
    m_figures[2]->setText(QString::fromStdString(figures.sentenceRatio) + u'%');
    m_figures[3]->setText(QString::number(figures.matchedWords));
    m_figures[4]->setText(QString::number(figures.allWords));
    m_figures[5]->setText(QString::fromStdString(figures.wordRatio) + u'%');
}

void ProjectAnalysisDialog::setResultsEnabled(bool enabled) {
    for (QPushButton* each : m_results) each->setEnabled(enabled);
}

void ProjectAnalysisDialog::showDetails() {
    if (m_outcome) m_openFile(fromNativePath(withTxtExtension(m_outcome->logPath)));
}

void ProjectAnalysisDialog::writeAndOpen(const LineList& lines, const char* filter, const char* extension,
                                         std::size_t count) {
    std::optional<std::string> chosen =
        m_bench.dialogs().chooseSaveFile(encoding::toGbk("保存文件"), encoding::toGbk(filter), "");
    if (!chosen) return;
    Result<std::string> written = writeExport(m_bench.fs(), *chosen, lines, extension);
    if (!written) {
        m_bench.dialogs().message(written.status().message());
        return;
    }
    // Told after the file is written, so a failed save is never reported as an export.
    m_bench.dialogs().message(exportedCountMessage(count));
    m_openFile(fromNativePath(*written));
}

void ProjectAnalysisDialog::exportRepeatedSentences() {
    const LineList lines = repeatedNewSentences(m_bench.sentenceLibrary, m_minRepeats->value());
    writeAndOpen(lines, "文本文件 (*.txt)|*.txt", "txt", lines.size() / 2);
}

void ProjectAnalysisDialog::exportUnmatchedSentences() {
    bool number = false;
    const int limit = m_limit->text().trimmed().toInt(&number);
    Result<LineList> lines = unmatchedSentences(m_bench.sentenceLibrary, number ? limit : 0);
    if (!lines) {
        m_bench.dialogs().message(lines.status().message());
        m_limit->setFocus();
        return;
    }
    writeAndOpen(*lines, "文本文件 (*.txt)|*.txt", "txt", lines->size() / 2);
}

void ProjectAnalysisDialog::exportProjectExamples() {
    const LineList lines = projectExamples(m_bench.sentenceLibrary);
    writeAndOpen(lines, "例句文本文件 (*.exs)|*.exs", "exs", lines.size());
}

void ProjectAnalysisDialog::exportProjectTermBase() {
    const ProjectWords& words = m_analysis->words();
    const std::string created = m_libraryDialog.run(LibraryKind::TermBase, [this, &words](const LibraryInfo& info) {
        return tavricat::exportProjectTermBase(m_bench.fs(), m_bench.workspace().userDataFolder(), info, words);
    });
    if (!created.empty()) m_bench.dialogs().message(encoding::toGbk(kProjectTermBaseExported));
}

void ProjectAnalysisDialog::done(int result) {
    if (m_running) return;
    (void)m_analysis->close();  // a library that could not be read back was shown
    m_outcome.reset();
    setResultsEnabled(false);
    QDialog::done(result);
}

}  // namespace tavricat::gui
