#include <QtTest>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>

#include <memory>

#include "app/direction_switch.h"
#include "app/program_folder_setup.h"
#include "app/sentence_library_switch.h"
#include "app/workbench.h"
#include "base/file_system.h"
#include "document/rtf_reader.h"
#include "document/rtf_writer.h"
#include "gui_test_support.h"
#include "main_window.h"
#include "options_dialog.h"
#include "support/scripted_ports.h"

using namespace tavricat;
using namespace tavricat::gui;
using tavricat::guitest::appendSegment;
using tavricat::guitest::gbk;
using tavricat::guitest::TestHome;
using tavricat::guitest::typeText;

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestHome> m_test;
    QTemporaryDir* m_home = nullptr;
    QTemporaryDir* m_config = nullptr;
    std::unique_ptr<QTemporaryDir> m_docs;
    DiskFileSystem m_fs;
    testing::ScriptedDialogs m_dialogs;
    testing::RecordingProgress m_progress;
    std::unique_ptr<Workbench> m_bench;
    std::unique_ptr<MainWindow> m_window;

    std::string docPath(const char* name) const { return m_docs->filePath(QString::fromUtf8(name)).toStdString(); }

    std::string writeText(const char* name, const std::string& gbkText) {
        const std::string path = docPath(name);
        if (!m_fs.writeFile(path, gbkText)) qFatal("cannot write %s", path.c_str());
        return path;
    }

    static QString shown(RichTextView* view) { return view->document()->toPlainText(); }

    bool asked(const char* utf8) const {
        for (const std::string& q : m_dialogs.questions)
            if (q == gbk(utf8)) return true;
        return false;
    }

    // A text of more than 50 characters, so that the close query asks about it.
    static std::string longText() { return gbk("这是一个足够长的句子，用来检查关闭窗口时是否询问保存译文。") + " It has more than fifty characters.\r\n"; }

private slots:
    void init() {
        m_test = std::make_unique<TestHome>();
        m_home = m_test->home.get();
        m_config = m_test->config.get();
        m_docs = std::make_unique<QTemporaryDir>();
        m_dialogs = {};
        m_progress = {};
        m_bench = m_test->workbench(m_fs, m_dialogs, m_progress);
        QVERIFY(m_bench->start().isOk());
        m_window = std::make_unique<MainWindow>(*m_bench);
        m_window->show();
    }

    void cleanup() {
        m_window.reset();
        m_bench.reset();
    }

    void startShowsCaptionAndStatusPanels() {
        QCOMPARE(m_window->windowTitle(), QStringLiteral("TavriCAT 2.5[英汉]"));
        QCOMPARE(m_window->statusPanel(0)->text(), QStringLiteral("英汉"));
        QCOMPARE(m_window->statusPanel(1)->text(), QStringLiteral("用户库:我的英-汉词库"));
        QCOMPARE(m_window->statusPanel(2)->text(), QStringLiteral("例句库:我的英-汉例句库"));
        QCOMPARE(m_window->tabs()->tabText(0), QStringLiteral("双语"));
        QCOMPARE(m_window->tabs()->tabText(1), QStringLiteral("原文"));
        QCOMPARE(m_window->tabs()->tabText(2), QStringLiteral("译文"));
    }

    // A change made without the window (a core call, a dialog of its own) still shows: the
    // window refreshes from the workbench's notifications.
    void theFrameFollowsChangesMadeOutsideTheWindow() {
        QVERIFY(tavricat::switchDirection(*m_bench, Direction::CE).isOk());
        QCOMPARE(m_window->windowTitle(), QStringLiteral("TavriCAT 2.5[汉英]"));
        QCOMPARE(m_window->statusPanel(0)->text(), QStringLiteral("汉英"));
        QVERIFY(m_window->directionAction(Direction::CE)->isChecked());
        QVERIFY(!m_window->directionAction(Direction::EC)->isChecked());
        QVERIFY(useSentenceLibrary(*m_bench, "DemoCE").isOk());
        QCOMPARE(m_window->statusPanel(2)->text(), QStringLiteral("例句库: 演示例句库（汉-英）"));
    }

    void openingWithoutBilingualShowsTheSourceTwiceAndSavesBil() {
        const std::string path = writeText("a.txt", gbk("Hello.\r\n你好。"));
        QVERIFY(m_window->openPath(path));
        QCOMPARE(shown(m_window->view(DocumentView::Bilingual)), QStringLiteral("Hello.\n你好。"));
        QCOMPARE(shown(m_window->view(DocumentView::Source)), QStringLiteral("Hello.\n你好。"));
        QCOMPARE(m_window->windowTitle(), QStringLiteral("TavriCAT 2.5[英汉] - ") + QString::fromStdString(path));
        QVERIFY(!m_window->recentActions().isEmpty());
        QVERIFY(m_window->recentActions().first()->text().contains(QString::fromStdString(path)));

        // Type a word, then "保存双语" writes a.bil without any dialog.
        auto* view = m_window->view(DocumentView::Bilingual);
        QTextCursor cursor = view->textCursor();
        cursor.setPosition(5);
        view->setTextCursor(cursor);
        typeText(view, QStringLiteral("好"));
        QVERIFY(m_window->document().bilingual.modified());
        m_window->saveBilingual();
        QVERIFY(m_dialogs.questions.empty());
        QVERIFY(!m_window->document().bilingual.modified());
        Result<RichText> saved = loadRichTextFile(m_fs, docPath("a.bil"));
        QVERIFY(saved.isOk());
        QCOMPARE(saved->text(), gbk("Hello好.\r\n你好。"));
        // The source file is left as it was.
        QCOMPARE(*m_fs.readFile(path), gbk("Hello.\r\n你好。"));
    }

    void openingWithBilingualShowsItAndDerivesTheTarget() {
        const std::string path = writeText("b.txt", "A. B.");
        RichText bilingual;
        appendSegment(bilingual, "A.", "90", gbk("甲。"));
        bilingual.append(" B.", bilingual.defaultFormat());
        QVERIFY(saveRichTextFile(m_fs, docPath("b.bil"), bilingual).isOk());

        QVERIFY(m_window->openPath(path));
        QCOMPARE(shown(m_window->view(DocumentView::Bilingual)), QStringLiteral("{*>A.<}90{>甲。<*} B."));
        QCOMPARE(shown(m_window->view(DocumentView::Source)), QStringLiteral("A. B."));
        QCOMPARE(m_window->tabs()->currentIndex(), 0);

        m_window->tabs()->setCurrentIndex(2);
        QCOMPARE(shown(m_window->view(DocumentView::Target)), QStringLiteral("甲。 B."));
        m_window->tabs()->setCurrentIndex(0);
        QCOMPARE(shown(m_window->view(DocumentView::Target)), QString());
        QVERIFY(m_dialogs.messages.empty());
    }

    void segmentsAreMergedAndUntranslatedFromTheEditMenu() {
        const std::string path = writeText("m.txt", "A. B.");
        RichText bilingual;
        appendSegment(bilingual, "A.", "90", gbk("甲。"));
        bilingual.append(" ", bilingual.defaultFormat());
        appendSegment(bilingual, "B.", "80", gbk("乙。"));
        QVERIFY(saveRichTextFile(m_fs, docPath("m.bil"), bilingual).isOk());
        QVERIFY(m_window->openPath(path));
        RichTextView* view = m_window->view(DocumentView::Bilingual);

        // A selection from inside the first segment to inside the second.
        QTextCursor cursor = view->textCursor();
        cursor.setPosition(4);
        cursor.setPosition(shown(view).size() - 5, QTextCursor::KeepAnchor);
        view->setTextCursor(cursor);
        m_window->mergeSelectedSegments();
        QCOMPARE(shown(view), QStringLiteral("{*>A. B.<}90{>甲。乙。<*}"));

        cursor = view->textCursor();  // the view was built anew
        cursor.setPosition(4);
        cursor.setPosition(6, QTextCursor::KeepAnchor);
        view->setTextCursor(cursor);
        QCOMPARE(m_window->document().bilingual.selStart(), std::size_t(4));
        // Given from the target view, the command takes the document back to the bilingual view.
        m_window->tabs()->setCurrentIndex(static_cast<int>(DocumentView::Target));
        QVERIFY(!m_window->document().target.text().empty());
        m_window->untranslateCurrentSegment();
        QCOMPARE(m_window->tabs()->currentIndex(), static_cast<int>(DocumentView::Bilingual));
        QVERIFY(m_window->document().activeView == DocumentView::Bilingual);
        QVERIFY(m_window->document().target.text().empty());
        QCOMPARE(shown(view), QStringLiteral("A. B."));
        QVERIFY(m_window->document().bilingual.modified());
        QStringList captions;
        for (QAction* action : m_window->editMenu()->actions()) captions << action->text();
        QVERIFY(captions.contains(QStringLiteral("合并选定句")));
        QVERIFY(captions.contains(QStringLiteral("拆分当前句")));
    }

    void aFailedOpenKeepsTheOpenDocument() {
        const std::string path = writeText("c.txt", "kept");
        QVERIFY(m_window->openPath(path));
        QVERIFY(!m_window->openPath(docPath("missing.txt")));
        QCOMPARE(m_dialogs.messages.size(), std::size_t(1));
        QCOMPARE(shown(m_window->view(DocumentView::Bilingual)), QStringLiteral("kept"));
        QVERIFY(m_window->windowTitle().endsWith(QString::fromStdString(path)));
    }

    void recentItemsReopenTheirFile() {
        const std::string first = writeText("d1.txt", "first");
        const std::string second = writeText("d2.txt", "second");
        QVERIFY(m_window->openPath(first));
        QVERIFY(m_window->openPath(second));
        // d2 then d1, then the separator.
        QCOMPARE(m_window->recentActions().size(), 3);
        QVERIFY(m_window->recentActions()[1]->text().contains(QString::fromStdString(first)));
        m_window->recentActions()[1]->trigger();
        QCOMPARE(shown(m_window->view(DocumentView::Bilingual)), QStringLiteral("first"));
        QVERIFY(m_window->recentActions()[0]->text().contains(QString::fromStdString(first)));
    }

    void replacingBilingualBySourceAsksFirst() {
        const std::string path = writeText("e.txt", "source text");
        RichText bilingual;
        appendSegment(bilingual, "source text", "90", gbk("原文"));
        QVERIFY(saveRichTextFile(m_fs, docPath("e.bil"), bilingual).isOk());
        QVERIFY(m_window->openPath(path));

        m_window->replaceBilingualBySource();  // answered No
        QVERIFY(shown(m_window->view(DocumentView::Bilingual)).startsWith(QStringLiteral("{*>")));
        m_dialogs.answers.push_back(true);
        m_window->replaceBilingualBySource();
        QVERIFY(asked("现有双语文件将被清空,继续吗?"));
        QCOMPARE(shown(m_window->view(DocumentView::Bilingual)), QStringLiteral("source text"));
    }

    void closingAModifiedDocumentAsksAndSavesOnYes() {
        const std::string path = writeText("f.txt", longText());
        QVERIFY(m_window->openPath(path));
        typeText(m_window->view(DocumentView::Bilingual), QStringLiteral("新"));
        m_dialogs.answers.push_back(true);
        m_window->close();
        QVERIFY(asked("现有译文要保存吗?"));
        Result<RichText> saved = loadRichTextFile(m_fs, docPath("f.bil"));
        QVERIFY(saved.isOk());
        QCOMPARE(saved->text(), gbk("新") + longText());
        // The shutdown ran after the question.
        QVERIFY(m_window->isShutDown());
        QVERIFY(std::find(m_progress.events.begin(), m_progress.events.end(),
                          "show:" + gbk("正在保存系统文件，请等待...") + "/100@50") != m_progress.events.end());
    }

    void closingKeepsTheWindowWhenTheAskedForSaveFails() {
        const std::string path = writeText("k.txt", longText());
        QVERIFY(m_window->openPath(path));
        typeText(m_window->view(DocumentView::Bilingual), QStringLiteral("新"));
        // A folder where the bilingual file goes: the save cannot replace it.
        QVERIFY(QDir().mkpath(QString::fromStdString(docPath("k.bil"))));
        m_dialogs.answers.push_back(true);
        m_window->close();
        QVERIFY(asked("现有译文要保存吗?"));
        QVERIFY(!m_dialogs.messages.empty());
        QVERIFY(!m_window->isShutDown());
        QVERIFY(m_window->isVisible());
        QVERIFY(m_window->document().bilingual.modified());

        // Once the file can be written, closing saves and shuts down.
        QVERIFY(QDir(QString::fromStdString(docPath("k.bil"))).removeRecursively());
        m_dialogs.answers.push_back(true);
        m_window->close();
        QVERIFY(m_window->isShutDown());
        Result<RichText> saved = loadRichTextFile(m_fs, docPath("k.bil"));
        QVERIFY(saved.isOk());
        QCOMPARE(saved->text(), gbk("新") + longText());
    }

    void closingWithNoOrUnchangedTextWritesNoBilingualFile() {
        const std::string path = writeText("g.txt", longText());
        QVERIFY(m_window->openPath(path));
        typeText(m_window->view(DocumentView::Bilingual), QStringLiteral("x"));
        m_window->close();  // answered No
        QVERIFY(asked("现有译文要保存吗?"));
        QVERIFY(!m_fs.exists(docPath("g.bil")));

        // A fresh window over an unchanged document does not ask.
        cleanup();
        init();
        QVERIFY(m_window->openPath(writeText("g.txt", longText())));
        m_window->close();
        QVERIFY(m_dialogs.questions.empty());
        QVERIFY(m_window->isShutDown());
    }

    void shortTextIsNotAskedAbout() {
        const std::string path = writeText("h.txt", "short");
        QVERIFY(m_window->openPath(path));
        typeText(m_window->view(DocumentView::Bilingual), QStringLiteral("y"));
        m_window->close();
        QVERIFY(m_dialogs.questions.empty());
    }

    // Not a timed test: the figure is printed for the record.
    void optionsChangedFromTheMenuAreSavedAtShutdown() {
        QAction* options = nullptr;
        for (QAction* action : m_window->setupMenu()->actions())
            if (action->text() == QStringLiteral("选项...")) options = action;
        QVERIFY(options);
        bool answered = false;
        QTimer::singleShot(0, this, [&answered] {
            QWidget* modal = QApplication::activeModalWidget();
            auto* dialog = qobject_cast<OptionsDialog*>(modal);
            if (!dialog) {  // something else came up: close it so that the test fails, not hangs
                if (modal) modal->close();
                return;
            }
            dialog->findChild<QSlider*>(QStringLiteral("matchRate"))->setValue(91);
            dialog->findChild<QCheckBox*>(QStringLiteral("spaceInHan"))->setChecked(true);
            dialog->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
            answered = true;
        });
        options->trigger();
        QVERIFY(answered);
        QCOMPARE(m_bench->settings.matchrate, 91);
        QVERIFY(m_window->shutDown());

        // The next run reads what the shutdown saved.
        m_window.reset();
        m_bench = m_test->workbench(m_fs, m_dialogs, m_progress);
        QVERIFY(m_bench->start().isOk());
        QCOMPARE(m_bench->settings.matchrate, 91);
        QVERIFY(m_bench->settings.SpaceInHanChar);
    }

    // Answers the "自动翻译" dialog that F5 opens: rate 80, sentences without an example kept.
    void answerAutoTranslationDialog(bool* answered) {
        QTimer::singleShot(0, this, [answered] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || modal->windowTitle() != QStringLiteral("自动翻译")) {
                if (modal) modal->close();
                return;
            }
            modal->findChild<QSlider*>(QStringLiteral("matchRate"))->setValue(80);
            modal->findChild<QRadioButton*>(QStringLiteral("keepSource"))->setChecked(true);
            modal->findChild<QPushButton*>(QStringLiteral("translateButton"))->click();
            *answered = true;
        });
    }

    QAction* translateAction(const char* caption) const {
        for (QAction* action : m_window->translateMenu()->actions())
            if (action->text() == QString::fromUtf8(caption)) return action;
        qFatal("no action %s", caption);
    }

    void automaticTranslationWritesSegmentsFromTheLibrary() {
        QVERIFY(useSentenceLibrary(*m_bench, "DemoEC").isOk());
        const std::string demo = m_bench->workspace().programFile("demo/sample_en.txt");
        QVERIFY(m_window->openPath(demo));
        m_progress.onPump = [] { QCoreApplication::processEvents(); };  // as the progress window does
        bool answered = false;
        answerAutoTranslationDialog(&answered);
        QAction* run = translateAction("自动翻译");
        QCOMPARE(run->shortcut(), QKeySequence(Qt::Key_F5));
        run->trigger();
        QVERIFY(answered);
        QCOMPARE(m_bench->settings.matchrate, 80);
        QCOMPARE(m_bench->settings.userefmode, 2);

        const std::string& text = m_window->document().bilingual.text();
        std::size_t segments = 0;
        for (std::size_t at = text.find("{*>"); at != std::string::npos; at = text.find("{*>", at + 1)) ++segments;
        QVERIFY(segments >= 5);  // the demo library holds the demo document's sentences
        // A sentence of the library is written with its stored translation and the full rate.
        QVERIFY(text.find("{*>Clean the filter once a month. <}100{>" + gbk("每月清洁一次过滤器。<*}")) != std::string::npos);
        // The view shows the run's work and everything is available again.
        RichTextView* view = m_window->view(DocumentView::Bilingual);
        QVERIFY(view->isVisible());
        QCOMPARE(view->positions().byteLength(), text.size());
        QVERIFY(shown(view).contains(QStringLiteral("{*>")));
        QVERIFY(run->isEnabled());
        QVERIFY(!translateAction("停止自动翻译")->isEnabled());
        QVERIFY(m_window->fileMenu()->menuAction()->isEnabled());
    }

    void f6StopsARunAndAClosedWindowWaitsForIt() {
        const std::string path = writeText("long.txt", "First one. Second one. Third one. Fourth one. Fifth one.");
        QVERIFY(m_window->openPath(path));
        QAction* stop = translateAction("停止自动翻译");
        QCOMPARE(stop->shortcut(), QKeySequence(Qt::Key_F6));
        int yields = 0;
        m_progress.onPump = [&] {
            QVERIFY(m_window->translating());
            QVERIFY(stop->isEnabled());
            QVERIFY(!m_window->fileMenu()->menuAction()->isEnabled());
            if (++yields == 2) {
                m_window->close();  // ignored for now: it stops the run
                QVERIFY(!m_window->isShutDown());
            }
        };
        Result<AutoTranslationCounts> counts = m_window->runAutomaticTranslation();
        QVERIFY(counts.isOk());
        QVERIFY(counts->stopped);
        QCOMPARE(counts->sentences, std::size_t(1));  // the second sentence was left untouched
        QVERIFY(!m_window->isShutDown());
        QTRY_VERIFY(m_window->isShutDown());  // the close comes once the run has ended
    }

    void f6PressedInAnotherWindowStopsTheRun() {
        const std::string path = writeText("f6.txt", "First one. Second one. Third one.");
        QVERIFY(m_window->openPath(path));
        QWidget progressWindow;  // stands for the progress window, which has the focus
        progressWindow.show();
        QVERIFY(QTest::qWaitForWindowExposed(&progressWindow));
        m_progress.onPump = [&progressWindow] { QTest::keyClick(&progressWindow, Qt::Key_F6); };
        Result<AutoTranslationCounts> counts = m_window->runAutomaticTranslation();
        QVERIFY(counts.isOk());
        QVERIFY(counts->stopped);
        QCOMPARE(counts->sentences, std::size_t(0));  // seen while the first sentence was searched
        QCOMPARE(m_window->document().bilingual.text(), std::string("First one. Second one. Third one."));
    }

    void aRunAfterTheDirectionQuestionTranslatesTheWholeDocument() {
        // Chinese text while the direction is English to Chinese: the English getter passes
        // over the sentences without letters and asks at the third one.
        const std::string path = writeText("zh.txt", gbk("本产品很好。它很安静。过滤PM2.5颗粒。"));
        QVERIFY(m_window->openPath(path));
        QVERIFY(m_bench->direction() == Direction::EC);
        m_dialogs.answers.push_back(true);
        Result<AutoTranslationCounts> asked = m_window->runAutomaticTranslation();
        QVERIFY(asked.isOk());
        QVERIFY(asked->directionSwitched);
        QVERIFY(m_bench->direction() == Direction::CE);
        Result<AutoTranslationCounts> counts = m_window->runAutomaticTranslation();
        QVERIFY(counts.isOk());
        QCOMPARE(counts->sentences, std::size_t(3));
        const std::string text = m_window->document().bilingual.text();
        QVERIFY(text.rfind("{*>", 0) == 0);
    }

    void opensALargeBilingualFile() {
        RichText bilingual;
        int segments = 0;
        while (bilingual.size() < 1024 * 1024) {
            appendSegment(bilingual, "The quick brown fox jumps over the lazy dog number " + std::to_string(segments) + ".",
                          "75", gbk("敏捷的棕色狐狸跳过了懒狗，这是第") + std::to_string(segments) + gbk("号。"));
            bilingual.append(segments % 4 == 3 ? "\r\n" : " ", bilingual.defaultFormat());
            ++segments;
        }
        const std::string path = writeText("large.txt", "source");
        QVERIFY(saveRichTextFile(m_fs, docPath("large.bil"), bilingual).isOk());
        QElapsedTimer timer;
        timer.start();
        QVERIFY(m_window->openPath(path));
        RichTextView* view = m_window->view(DocumentView::Bilingual);
        view->viewport()->repaint();  // the first paint lays the visible text out
        const qint64 elapsed = timer.elapsed();
        QCOMPARE(view->document()->characterCount() - 1, view->positions().qtLength());
        QCOMPARE(view->positions().byteLength(), bilingual.size());
        qInfo("opened %zu bytes of bilingual text (%d segments) in %lld ms", bilingual.size(), segments,
              static_cast<long long>(elapsed));

        // The target view is converted from the bilingual text when it is shown.
        timer.restart();
        m_window->tabs()->setCurrentIndex(static_cast<int>(DocumentView::Target));
        RichTextView* target = m_window->view(DocumentView::Target);
        target->viewport()->repaint();
        const qint64 toTarget = timer.elapsed();
        QCOMPARE(target->positions().byteLength(), m_window->document().target.size());
        QVERIFY(target->document()->toPlainText().startsWith(QStringLiteral("敏捷的棕色狐狸跳过了懒狗，这是第0号。")));
        QVERIFY(!target->document()->toPlainText().contains(QStringLiteral("{*>")));
        timer.restart();
        m_window->tabs()->setCurrentIndex(static_cast<int>(DocumentView::Bilingual));
        view->viewport()->repaint();
        const qint64 back = timer.elapsed();
        qInfo("target view of it shown in %lld ms, back to the bilingual view in %lld ms",
              static_cast<long long>(toTarget), static_cast<long long>(back));

        // Saving it: the bilingual file written safely, read back whole.
        QTextCursor end = view->textCursor();
        end.movePosition(QTextCursor::End);
        view->setTextCursor(end);
        typeText(view, QStringLiteral("好"));
        timer.restart();
        QVERIFY(m_window->saveBilingual());
        const qint64 saved = timer.elapsed();
        qInfo("saved it in %lld ms", static_cast<long long>(saved));
        Result<RichText> reread = loadRichTextFile(m_fs, docPath("large.bil"));
        QVERIFY(reread.isOk());
        QCOMPARE(reread->size(), bilingual.size() + gbk("好").size());
        // A translator waits at most two seconds for any of them (ten times what this machine needs).
        QVERIFY(elapsed < 2000 && toTarget < 2000 && back < 2000 && saved < 2000);
    }
};

int runMainWindowTests(int argc, char** argv) {
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "main_window_test.moc"
