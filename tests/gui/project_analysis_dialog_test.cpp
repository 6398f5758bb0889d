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

    std::unique_ptr<guitest::TestHome> m_home;
    std::unique_ptr<QTemporaryDir> m_docs;
    DiskFileSystem m_fs;
    testing::ScriptedDialogs m_dialogs;
    testing::RecordingProgress m_progress;
    std::unique_ptr<Workbench> m_bench;
    std::unique_ptr<LibraryInfoDialog> m_libraryDialog;
    std::unique_ptr<ProjectAnalysisDialog> m_dialog;
    QStringList m_opened;

    QString doc(const char* name) const { return m_docs->filePath(QString::fromLatin1(name)); }
    QString write(const char* name, const std::string& text) {
        if (!m_fs.writeFile(doc(name).toStdString(), text)) qFatal("cannot write %s", name);
        return doc(name);
    }
    std::string libraryFiles() {
        std::string all;
        for (const char* ext : {".rf0", ".rf1", ".rf2"})
            if (Result<std::string> part = m_fs.readFile(m_bench->workspace().userDataFile(std::string("MySentsEC") + ext)))
                all += *part;
        return all;
    }
    template <typename T>
    T* child(const char* name) const {
        T* widget = m_dialog->findChild<T*>(QString::fromLatin1(name));
        if (!widget) qFatal("no child %s", name);
        return widget;
    }
    void analyseProject() {
        write("project.txt", "I have a book. Good morning everyone. Good morning everyone.\r\n");
        m_dialog->addFiles({doc("project.txt"), doc("project.txt")});  // listed once
        child<QLineEdit>("logFile")->setText(doc("log"));
        QVERIFY(m_dialog->runAnalysis());
    }

private slots:
    void init() {
        m_home = std::make_unique<guitest::TestHome>();
        m_docs = std::make_unique<QTemporaryDir>();
        m_dialogs = {};
        m_opened.clear();
        m_bench = m_home->workbench(m_fs, m_dialogs, m_progress);
        QVERIFY(m_bench->start().isOk());
        QVERIFY(m_bench->sentenceLibrary.addAsent(m_bench->engine, m_bench->analysisOptions(), gbk("I have a book.^我有一本书。")));
        m_libraryDialog = std::make_unique<LibraryInfoDialog>(*m_bench);
        m_dialog = std::make_unique<ProjectAnalysisDialog>(*m_bench, *m_libraryDialog);  // saves the library
        m_dialog->setFileOpener([this](const QString& path) { m_opened << path; });
    }

    void cleanup() {
        m_dialog.reset();
        m_libraryDialog.reset();
        m_bench.reset();
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
        QCOMPARE(child<QLineEdit>("logFile")->text(), doc("log.txt"));  // the log gets its extension
        Result<std::string> log = m_fs.readFile(doc("log.txt").toStdString());
        QVERIFY(log.isOk());
        QVERIFY(log->find(gbk("文 件 名:") + doc("project.txt").toStdString()) != std::string::npos);
        QVERIFY(child<QPushButton>("detailsButton")->isEnabled());
        child<QPushButton>("detailsButton")->click();
        QCOMPARE(m_opened, QStringList{doc("log.txt")});

        QVERIFY(m_bench->sentenceLibrary.exampleCount() > 1);  // the new sentence is marked in memory
        child<QPushButton>("closeButton")->click();
        QCOMPARE(m_bench->sentenceLibrary.exampleCount(), std::size_t(1));
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
        QVERIFY(m_dialogs.messages.empty());  // Enter set the limit and started nothing
        box->setText(QStringLiteral("abc"));
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(box->text(), QStringLiteral("30"));
        QCOMPARE(m_dialogs.messages.back(), gbk("必须为30到100范围内的数字"));
    }

    void refusalsAreShownAndEnableNoResults() {
        QVERIFY(!m_dialog->runAnalysis());
        QCOMPARE(m_dialogs.messages.back(), gbk("请先选择要分析的文件!"));
        write("project.txt", "Hello there.");
        m_dialog->addFiles({doc("project.txt")});
        child<QLineEdit>("lowerLimit")->setText(QStringLiteral("20"));
        QVERIFY(!m_dialog->runAnalysis());
        QCOMPARE(m_dialogs.messages.back(), gbk("必须为30到100范围内的数字"));
        QVERIFY(!child<QPushButton>("exportUnmatchedButton")->isEnabled());
    }

    void exportsWriteTheirFilesTellTheCountAndOpenThem() {
        analyseProject();
        m_dialogs.inputs.push_back(doc("unmatched").toStdString());
        m_dialog->exportUnmatchedSentences();
        QCOMPARE(m_dialogs.messages.back(), gbk("共导出 1 个句子!"));
        QCOMPARE(m_opened.back(), doc("unmatched.txt"));
        QVERIFY(m_fs.readFile(doc("unmatched.txt").toStdString())->find("Good morning everyone.") != std::string::npos);

        child<QSpinBox>("minRepeats")->setValue(2);
        m_dialogs.inputs.push_back(doc("repeats.txt").toStdString());
        m_dialog->exportRepeatedSentences();
        QCOMPARE(m_dialogs.messages.back(), gbk("共导出 1 个句子!"));

        m_dialogs.inputs.push_back(doc("examples").toStdString());
        m_dialog->exportProjectExamples();
        QCOMPARE(m_opened.back(), doc("examples.exs"));
        QVERIFY(m_fs.readFile(doc("examples.exs").toStdString())->find(gbk("^我有一本书。")) != std::string::npos);

        // A cancelled save dialog writes and tells nothing.
        const std::size_t told = m_dialogs.messages.size();
        m_dialogs.inputs.push_back(std::nullopt);
        m_dialog->exportProjectExamples();
        QCOMPARE(m_dialogs.messages.size(), told);
    }

    void aLibraryChosenFromTheWindowNeverReceivesTheMarks() {
        analyseProject();
        m_dialog->setLibraryChooser([this] { QVERIFY(useSentenceLibrary(*m_bench, "DemoEC").isOk()); });
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
