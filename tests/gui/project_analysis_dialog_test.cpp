// The project analysis window: an analysis shows its figures and leaves the library as it
// was once the window closes; the lower limit; refusals; the exports; and a library chosen
// from the window never receives the analysis's marks.

#include <QtTest>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>

#include <memory>

#include "app/sentence_library_switch.h"
#include "app/workbench.h"
#include "base/file_system.h"
#include "gui_test_support.h"
#include "library_info_dialog.h"
#include "project_analysis_dialog.h"
#include "support/scripted_ports.h"

using namespace tavricat;
using namespace tavricat::gui;
using tavricat::guitest::gbk;

class ProjectAnalysisDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<guitest::StartedWorkbench> m_run;
    std::unique_ptr<LibraryInfoDialog> m_libraryDialog;
    std::unique_ptr<ProjectAnalysisDialog> m_dialog;
    QStringList m_opened;

    std::string libraryFiles() {
        std::string all;
        for (const char* ext : {".rf0", ".rf1", ".rf2"})
            if (Result<std::string> part = m_run->fs.readFile(m_run->bench->workspace().userDataFile(std::string("MySentsEC") + ext)))
                all += *part;
        return all;
    }
    template <typename T>
    T* child(const char* name) const {
        return guitest::child<T>(m_dialog.get(), name);
    }
    void analyseProject() {
        m_run->write("project.txt", "I have a book. Good morning everyone. Good morning everyone.\r\n");
        m_dialog->addFiles({m_run->doc("project.txt"), m_run->doc("project.txt")});  // listed once
        child<QLineEdit>("logFile")->setText(m_run->doc("log"));
        QVERIFY(m_dialog->runAnalysis());
    }

private slots:
    void init() {
        m_run = std::make_unique<guitest::StartedWorkbench>();
        m_opened.clear();
        QVERIFY(m_run->bench->sentenceLibrary.addAsent(m_run->bench->engine, m_run->bench->analysisOptions(), gbk("I have a book.^我有一本书。")));
        m_libraryDialog = std::make_unique<LibraryInfoDialog>(*m_run->bench);
        m_dialog = std::make_unique<ProjectAnalysisDialog>(*m_run->bench, *m_libraryDialog);  // saves the library
        m_dialog->setFileOpener([this](const QString& path) { m_opened << path; });
    }

    void cleanup() {
        m_dialog.reset();
        m_libraryDialog.reset();
        m_run.reset();
    }

    void anAnalysisShowsItsFiguresAndClosingLeavesTheLibraryAsItWas() {
        QCOMPARE(m_dialog->windowTitle(), QStringLiteral("项目分析"));
        QCOMPARE(child<QLabel>("libraryName")->text(), QStringLiteral("我的英-汉例句库"));
        const std::string before = libraryFiles();
        QVERIFY(!before.empty());
        QVERIFY(!child<QPushButton>("detailsButton")->isEnabled());

        analyseProject();
        QCOMPARE(m_dialog->fileList()->count(), 1);
        QCOMPARE(m_dialog->fileList()->item(0)->checkState(), Qt::Checked);
        QCOMPARE(m_dialog->figureText(1), QStringLiteral("3"));        // 句子总数
        QCOMPARE(m_dialog->figureText(0), QStringLiteral("1"));        // 匹配句子: the stored one
        QCOMPARE(m_dialog->figureText(2), QStringLiteral("33.33%"));
        QCOMPARE(child<QLineEdit>("logFile")->text(), m_run->doc("log.txt"));  // the log gets its extension
        Result<std::string> log = m_run->fs.readFile(m_run->doc("log.txt").toStdString());
        QVERIFY(log.isOk());
        QVERIFY(log->find(gbk("文 件 名:") + m_run->doc("project.txt").toStdString()) != std::string::npos);
        QVERIFY(child<QPushButton>("detailsButton")->isEnabled());
        child<QPushButton>("detailsButton")->click();
        QCOMPARE(m_opened, QStringList{m_run->doc("log.txt")});

        QVERIFY(m_run->bench->sentenceLibrary.exampleCount() > 1);  // the new sentence is marked in memory
        child<QPushButton>("closeButton")->click();
        QCOMPARE(m_run->bench->sentenceLibrary.exampleCount(), std::size_t(1));
        QCOMPARE(libraryFiles(), before);
    }

    void theLowerLimitBoxAndBarFollowEachOther() {
        auto* box = child<QLineEdit>("lowerLimit");
        auto* bar = child<QSlider>("lowerLimitBar");
        QCOMPARE(box->text(), QStringLiteral("80"));
        bar->setValue(65);
        QCOMPARE(box->text(), QStringLiteral("65"));
        box->setText(QStringLiteral("92"));
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(bar->value(), 92);
        QVERIFY(m_run->dialogs.messages.empty());  // Enter set the limit and started nothing
        box->setText(QStringLiteral("abc"));
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(box->text(), QStringLiteral("30"));
        QCOMPARE(m_run->dialogs.messages.back(), gbk("必须为30到100范围内的数字"));
    }

    void refusalsAreShownAndEnableNoResults() {
        QVERIFY(!m_dialog->runAnalysis());
        QCOMPARE(m_run->dialogs.messages.back(), gbk("请先选择要分析的文件!"));
        m_run->write("project.txt", "Hello there.");
        m_dialog->addFiles({m_run->doc("project.txt")});
        child<QLineEdit>("lowerLimit")->setText(QStringLiteral("20"));
        QVERIFY(!m_dialog->runAnalysis());
        QCOMPARE(m_run->dialogs.messages.back(), gbk("必须为30到100范围内的数字"));
        QVERIFY(!child<QPushButton>("exportUnmatchedButton")->isEnabled());
    }

    void exportsWriteTheirFilesTellTheCountAndOpenThem() {
        analyseProject();
        m_run->dialogs.inputs.push_back(m_run->doc("unmatched").toStdString());
        m_dialog->exportUnmatchedSentences();
        QCOMPARE(m_run->dialogs.messages.back(), gbk("共导出 1 个句子!"));
        QCOMPARE(m_opened.back(), m_run->doc("unmatched.txt"));
        QVERIFY(m_run->fs.readFile(m_run->doc("unmatched.txt").toStdString())->find("Good morning everyone.") != std::string::npos);

        child<QSpinBox>("minRepeats")->setValue(2);
        m_run->dialogs.inputs.push_back(m_run->doc("repeats.txt").toStdString());
        m_dialog->exportRepeatedSentences();
        QCOMPARE(m_run->dialogs.messages.back(), gbk("共导出 1 个句子!"));

        m_run->dialogs.inputs.push_back(m_run->doc("examples").toStdString());
        m_dialog->exportProjectExamples();
        QCOMPARE(m_opened.back(), m_run->doc("examples.exs"));
        QVERIFY(m_run->fs.readFile(m_run->doc("examples.exs").toStdString())->find(gbk("^我有一本书。")) != std::string::npos);

        // A cancelled save dialog writes and tells nothing.
        const std::size_t told = m_run->dialogs.messages.size();
        m_run->dialogs.inputs.push_back(std::nullopt);
        m_dialog->exportProjectExamples();
        QCOMPARE(m_run->dialogs.messages.size(), told);
    }

    void aLibraryChosenFromTheWindowNeverReceivesTheMarks() {
        analyseProject();
        m_dialog->setLibraryChooser([this] { QVERIFY(useSentenceLibrary(*m_run->bench, "DemoEC").isOk()); });
        child<QPushButton>("libraryButton")->click();
        // The library left behind was saved without the analysis's entries and marks.
        QVERIFY(libraryFiles().find("^tvn") == std::string::npos);
        QVERIFY(libraryFiles().find("^tvok") == std::string::npos);
        QCOMPARE(child<QLabel>("libraryName")->text(), QStringLiteral("演示例句库（英-汉）"));
        QVERIFY(!child<QPushButton>("exportExamplesButton")->isEnabled());
    }
};

int runProjectAnalysisDialogTests(int argc, char** argv) {
    ProjectAnalysisDialogTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "project_analysis_dialog_test.moc"
