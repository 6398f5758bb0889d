// A run of the window that is killed after confirmed work: what was saved survives, the term
// edits of the run come back at the next start with the recovery message in a message box.
// The killed run is this test program started again with --killed-run.

#include <QtTest>

#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <memory>

#include "app/term_journal.h"
#include "app/workbench.h"
#include "base/file_system.h"
#include "document/rtf_reader.h"
#include "gui_test_support.h"
#include "main_window.h"
#include "qt_ports.h"
#include "support/scripted_ports.h"

using namespace tavricat;
using namespace tavricat::gui;
using tavricat::guitest::gbk;
using tavricat::guitest::TestHome;
using tavricat::guitest::typeText;

namespace {

const char* const kSavedPairs[] = {"Clean the filter every month.^每月清洁滤网。", "Close the lid before use.^使用前盖好盖子。",
                                   "Keep the manual near the machine.^把说明书放在机器旁边。"};
const char* const kUnsavedPair = "Unplug the machine after use.^用后拔下机器插头。";
const char* const kRecoveryMessage =
    "由于您的系统上次运行时非正常退出,未保存的自定义词汇现在已经自动恢复.最好先退出TavriCAT再启动!";

void moveToEnd(RichTextView* view) {
    QTextCursor cursor = view->textCursor();
    cursor.movePosition(QTextCursor::End);
    view->setTextCursor(cursor);
}

}  // namespace

// The killed run: arguments home, settings folder, document.
int runKilledRun(const QStringList& args) {
    DiskFileSystem fs;
    testing::ScriptedDialogs dialogs;
    testing::RecordingProgress progress;
    std::unique_ptr<Workbench> bench = guitest::workbenchOver(args[0], args[1], fs, dialogs, progress);
    if (!bench->start()) return 3;
    MainWindow window(*bench);
    window.show();
    if (!window.openPath(args[2].toStdString())) return 4;
    RichTextView* view = window.view(DocumentView::Bilingual);
    moveToEnd(view);
    typeText(view, QStringLiteral(" Saved words."));
    window.saveBilingual();

    // Confirmed pairs reach the library, which is saved; one more is confirmed after the save.
    for (const char* pair : kSavedPairs)
        if (!bench->sentenceLibrary.addAsent(bench->engine, bench->analysisOptions(), gbk(pair))) return 5;
    if (!bench->sentenceLibrary.saveFiles(fs, dialogs, bench->workspace().userDataFolder())) return 6;
    if (!addTermEdit(*bench, "fuzzy widget", gbk("模糊部件^n"))) return 7;
    if (!bench->sentenceLibrary.addAsent(bench->engine, bench->analysisOptions(), gbk(kUnsavedPair))) return 8;
    // What confirming writes as it goes: the recovery files.
    if (!bench->saveUserTem()) return 9;
    typeText(view, QStringLiteral(" Unsaved words."));
    std::fflush(nullptr);
    std::raise(SIGKILL);
    return 10;
}

class KilledRunTest : public QObject {
    Q_OBJECT

private slots:
    void savedWorkSurvivesAndTermEditsComeBack() {
        TestHome test;
        QTemporaryDir docs;
        DiskFileSystem fs;
        const std::string doc = docs.filePath(QStringLiteral("manual.txt")).toStdString();
        QVERIFY(fs.writeFile(doc, "Hello world.").isOk());

        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--killed-run"), test.home->path(), test.config->path(), QString::fromStdString(doc)});
        QVERIFY(child.waitForFinished(120000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);  // a return code would name the failed step
        const Workspace workspace(fs, test.home->path().toStdString());
        QVERIFY(fs.exists(workspace.programFile("temlibw.saw")));

        // The next start, with the window's own message boxes, answered as a person would.
        QtDialogs dialogs;
        QtProgress progress;
        QStringList shown;
        QTimer answer;
        connect(&answer, &QTimer::timeout, [&shown] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown << box->text();
                box->accept();
            }
        });
        answer.start(20);
        std::unique_ptr<Workbench> bench = test.workbench(fs, dialogs, progress);
        QVERIFY(bench->start().isOk());
        answer.stop();
        QCOMPARE(shown, QStringList{QString::fromUtf8(kRecoveryMessage)});
        QVERIFY(!fs.exists(workspace.programFile("temlibw.saw")));
        QCOMPARE(bench->engine.termBase.lookupKey("fuzzy widget"), gbk("模糊部件^n"));
        // Every saved example is there; the one confirmed after the save is not.
        QCOMPARE(bench->sentenceLibrary.exampleCount(), std::size(kSavedPairs));

        MainWindow window(*bench);
        dialogs.setParent(&window);
        window.show();
        QVERIFY(window.openPath(doc));
        QCOMPARE(window.document().bilingual.text(), std::string("Hello world. Saved words."));
        QVERIFY(window.shutDown());
        Result<std::string> log = fs.readFile(workspace.userDataFile("userlibw.saw"));
        QVERIFY(log.isOk());
        QVERIFY(log->find(gbk("fuzzy widget^模糊部件^n")) != std::string::npos);
    }
};

int runKilledRunTests(int argc, char** argv) {
    KilledRunTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "killed_run_test.moc"
