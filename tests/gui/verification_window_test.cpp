// The verification window driven as a translator uses it: filter, page with the keys, correct
// an example, replace a word in every listed translation, delete one; the corrections reach
// the index at once and the files with the next save.

#include <QtTest>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <memory>

#include "app/workbench.h"
#include "engine/analyser.h"
#include "gui_test_support.h"
#include "memory/fuzzy_search.h"
#include "support/scripted_ports.h"
#include "verification_window.h"

using namespace tavricat;
using namespace tavricat::gui;
using tavricat::guitest::child;
using tavricat::guitest::gbk;

class VerificationWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<guitest::StartedWorkbench> m_run;

    Workbench& bench() { return *m_run->bench; }
    SentenceLibrary& library() { return bench().sentenceLibrary; }
    QString sourcePane(const VerificationWindow& window) {
        return child<QPlainTextEdit>(&window, "curEsent")->toPlainText();
    }
    QString translationPane(const VerificationWindow& window) {
        return child<QPlainTextEdit>(&window, "curCsent")->toPlainText();
    }
    // The best example for `sentence` and its rate in percent; -1 when nothing is found.
    std::pair<long, int> best(const char* sentence) {
        std::string text = gbk(sentence), spare;
        normSent(text, spare, bench().engine, bench().analysisOptions());
        FuzzySearch search;
        rankSimilarExamples(library(), bench().engine.refSent, search);
        if (search.CandidateList.empty()) return {-1, 0};
        return {static_cast<long>(*search.bestExample()), static_cast<int>(search.CandidateList.back().rate * 100 + 1e-6)};
    }
    // Answers the filter dialog the next click opens.
    void answerFilter(const QString& source, const QString& translation, bool either) {
        QTimer::singleShot(0, this, [this, source, translation, either] {
            auto* dialog = qobject_cast<VerificationFilterDialog*>(QApplication::activeModalWidget());
            if (!dialog) qFatal("no filter dialog");
            QCOMPARE(dialog->windowTitle(), QStringLiteral("过滤条件"));
            QVERIFY(child<QRadioButton>(dialog, "rbAnd")->isChecked());
            child<QLineEdit>(dialog, "scontain1")->setText(source);
            child<QLineEdit>(dialog, "tcontain1")->setText(translation);
            if (either) child<QRadioButton>(dialog, "RadioButton2")->setChecked(true);
            child<QPushButton>(dialog, "OK")->click();
        });
    }

private slots:
    void init() {
        m_run = std::make_unique<guitest::StartedWorkbench>();
        for (const char* pair : {"I have a book.^我有一本书。", "They have time.^他们有时间。", "Go home.^回家。",
                                 "I have a pen.^我有一支笔。"}) {
            QVERIFY(library().addAsent(bench().engine, bench().analysisOptions(), gbk(pair)));
        }
    }

    void cleanup() { m_run.reset(); }

    void aTranslatorFiltersCorrectsReplacesAndDeletes() {
        VerificationWindow window(bench());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(window.windowTitle(), QStringLiteral("校订例句库"));
        QCOMPARE(child<QLabel>(&window, "totalSents")->text(), QStringLiteral("共有 4 句"));
        QCOMPARE(child<QLineEdit>(&window, "edCurSentNum")->text(), QStringLiteral("1"));
        QCOMPARE(sourcePane(window), QStringLiteral("i have a book . "));
        QCOMPARE(translationPane(window), QStringLiteral("我有一本书。"));
        QVERIFY(!child<QPushButton>(&window, "SpeedButton2")->isEnabled());

        // Only the examples with "have" and "有".
        answerFilter(QStringLiteral("Have"), QStringLiteral("有"), false);
        child<QPushButton>(&window, "SpeedButton1")->click();
        QCOMPARE(window.verification().listed(), (std::vector<std::size_t>{0, 1, 3}));
        QCOMPARE(child<QLabel>(&window, "totalSents")->text(), QStringLiteral("共有 3 句"));

        // To "They have time." and correct it; PageDown in the pane stores it.
        window.activateWindow();  // the offscreen platform does not hand activation back
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* sourceEdit = child<QPlainTextEdit>(&window, "curEsent");
        sourceEdit->setFocus();
        QTest::keyClick(sourceEdit, Qt::Key_PageDown);
        QCOMPARE(sourcePane(window), QStringLiteral("they have time . "));
        QCOMPARE(best("They have time."), std::make_pair(1L, 100));
        child<QPlainTextEdit>(&window, "curEsent")->setPlainText(QStringLiteral("they have money . "));
        child<QPlainTextEdit>(&window, "curCsent")->setPlainText(QStringLiteral("他们有钱。"));
        QTest::keyClick(sourceEdit, Qt::Key_PageDown);
        QCOMPARE(child<QLineEdit>(&window, "edCurSentNum")->text(), QStringLiteral("3"));
        QVERIFY(!child<QPushButton>(&window, "SpeedButton3")->isEnabled());
        QCOMPARE(library().libSentences[1], gbk("04 they have money . ^他们有钱。"));
        QCOMPARE(best("They have money."), std::make_pair(1L, 100));
        QVERIFY(best("They have time.").second < 100);
        QTest::keyClick(sourceEdit, Qt::Key_PageUp);
        QCOMPARE(translationPane(window), QStringLiteral("他们有钱。"));

        // "有" becomes "拥有" in every listed translation, "回家。" is not listed.
        child<QLineEdit>(&window, "tbSStr")->setText(QStringLiteral("有"));
        child<QLineEdit>(&window, "tbTStr")->setText(QStringLiteral("拥有"));
        child<QPushButton>(&window, "btReplace")->click();
        QCOMPARE(m_run->dialogs.messages.back(), gbk("共有 3 句被替换！"));
        QCOMPARE(translationPane(window), QStringLiteral("他们拥有钱。"));
        QCOMPARE(library().libSentences[3], gbk("05 i have a pen . ^我拥有一支笔。"));
        QCOMPARE(library().libSentences[2], gbk("02 go home . ^回家。"));
        child<QLineEdit>(&window, "tbSStr")->setText(QStringLiteral("没有"));
        child<QPushButton>(&window, "btReplace")->click();
        QCOMPARE(m_run->dialogs.messages.back(), gbk("共有 0 句被替换！"));

        // The last one is deleted: the list shrinks and shows the new last.
        child<QPushButton>(&window, "btEndSent")->click();
        child<QPushButton>(&window, "btDel")->click();
        QCOMPARE(child<QLabel>(&window, "totalSents")->text(), QStringLiteral("共有 2 句"));
        QCOMPARE(child<QLineEdit>(&window, "edCurSentNum")->text(), QStringLiteral("2"));
        QCOMPARE(sourcePane(window), QStringLiteral("they have money . "));
        QCOMPARE(best("I have a pen.").first, 0L);  // the other "i have a" example, not the deleted one

        window.accept();
        QVERIFY(library().saveFiles(m_run->fs, m_run->dialogs, bench().workspace().userDataFolder()).isOk());
        const std::string rf0 = *m_run->fs.readFile(bench().workspace().userDataFile("MySentsEC.rf0"));
        QVERIFY(rf0.find("\r\n05 ^\r\n") != std::string::npos || rf0.ends_with("05 ^\r\n"));
        QVERIFY(rf0.find(gbk("04 they have money . ^他们拥有钱。")) != std::string::npos);
    }

    void refusedTextsKeepTheExampleAndTheWindow() {
        VerificationWindow window(bench());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* position = child<QLineEdit>(&window, "edCurSentNum");
        position->setText(QStringLiteral("5"));
        QTest::keyClick(position, Qt::Key_Return);
        QCOMPARE(m_run->dialogs.messages.back(), gbk("请输入1到符合条件的总句子数范围内的数字！"));
        position->setText(QStringLiteral("4"));
        QTest::keyClick(position, Qt::Key_Return);
        QCOMPARE(sourcePane(window), QStringLiteral("i have a pen . "));

        const LineList before = library().libSentences;
        const LineList postings = library().libPostings;
        for (const QString& source : {QStringLiteral("i have ^ a pen"), QStringLiteral("  "), QStringLiteral("i have a 😀 .")}) {
            const std::size_t told = m_run->dialogs.messages.size();
            child<QPlainTextEdit>(&window, "curEsent")->setPlainText(source);
            QVERIFY(!window.previous());
            QCOMPARE(m_run->dialogs.messages.size(), told + 1);
            window.reject();  // closing stores the panes too: refused, so the window stays
            QVERIFY(window.isVisible());
            QCOMPARE(position->text(), QStringLiteral("4"));
        }
        QCOMPARE(library().libSentences, before);
        QCOMPARE(library().libPostings, postings);
        child<QPushButton>(&window, "SpeedButton4")->click();  // 撤消编辑
        QCOMPARE(sourcePane(window), QStringLiteral("i have a pen . "));
        window.reject();
        QVERIFY(!window.isVisible());
    }

    void aStrayByteInAStoredLineDoesNotHoldThePerson() {
        QVERIFY(library().replaceTranslation(0, "\xFF"));
        VerificationWindow window(bench());
        QVERIFY(window.next());  // the untouched panes are not stored again
        QCOMPARE(library().libSentences[0].back(), '\xFF');
        QVERIFY(m_run->dialogs.messages.empty());
    }

    void anEmptyLibraryIsNotOpened() {
        QVERIFY(library().deleteSample(0).isOk());
        QVERIFY(library().deleteSample(1).isOk());
        QVERIFY(library().deleteSample(2).isOk());
        QVERIFY(library().deleteSample(3).isOk());
        verifySentenceLibrary(bench(), nullptr);  // would block in exec() if it opened
        QCOMPARE(m_run->dialogs.messages.back(), gbk("当前例句库中没有句子，无需校改！"));
    }
};

int runVerificationWindowTests(int argc, char** argv) {
    VerificationWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "verification_window_test.moc"
