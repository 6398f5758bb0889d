// The grammar library from the window: a pattern added through the 语法 menu is used by the
// next sentence, shown in the reference window, and dropped from that sentence or for good.

#include <QtTest>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTimer>

#include <memory>

#include "app/workbench.h"
#include "grammar_dialog.h"
#include "help_browser.h"
#include "gui_test_support.h"
#include "interactive/interactive_panel.h"
#include "interactive/reference_window.h"
#include "interactive/translation_box.h"
#include "main_window.h"
#include "text_convert.h"

using namespace tavricat;
using namespace tavricat::gui;

class GrammarWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<guitest::StartedWorkbench> m_work;
    std::unique_ptr<MainWindow> m_window;

    // Answers the next grammar dialog with `source` and `target` (and "齐头" when `aligned`).
    void answerGrammarDialog(const QString& source, const QString& target, bool aligned = false) {
        QTimer::singleShot(0, this, [source, target, aligned] {
            auto* dialog = qobject_cast<GrammarDialog*>(QApplication::activeModalWidget());
            if (!dialog) qFatal("no grammar dialog");
            dialog->sourceField()->setText(source);
            dialog->targetField()->setText(target);
            dialog->alignedChoice()->setChecked(aligned);
            dialog->okButton()->click();
        });
    }

    void translateDocument(const char* text) {
        const QString path = m_work->write("g.txt", guitest::gbk(text));
        QVERIFY(m_window->openPath(path.toStdString()));
        m_window->view(DocumentView::Bilingual)->moveCursor(QTextCursor::Start);
        m_window->command("mmnutransasent")->trigger();
    }

    // The pattern line of the added template "不但#1而且#2".
    int addedPatternRow() {
        const QStringList lines = grammarLines();
        for (int i = 0; i + 1 < lines.size(); i += 2)
            if (lines[i + 1].contains(QStringLiteral("不但"))) return i;
        return -1;
    }

    QStringList grammarLines() {
        QStringList lines;
        QListWidget* list = m_window->interactive()->referenceWindow()->grammarList();
        for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
        return lines;
    }

private slots:
    void init() {
        m_work = std::make_unique<guitest::StartedWorkbench>();
        m_window = std::make_unique<MainWindow>(*m_work->bench);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanup() {
        m_window.reset();
        m_work.reset();
    }

    void anAddedPatternShapesTheNextSentenceAndCanBeDropped() {
        const std::size_t before = m_work->bench->grammar.anchors.size();
        answerGrammarDialog(QStringLiteral("not only * but also *"), QStringLiteral("不但＃1而且＃2"));
        m_window->command("mmnuAddGramar")->trigger();
        QCOMPARE(m_work->bench->grammar.anchors.size(), before + 1);
        // Logged with the full-width marks made plain.
        QVERIFY(!m_work->bench->newGrammarEntries.empty());
        QCOMPARE(fromGbk(m_work->bench->newGrammarEntries.back()), QStringLiteral("aanot only * but also *^^不但#1而且#2"));

        translateDocument("The pump is not only quiet but also cheap.\r\n");
        const QStringList lines = grammarLines();
        QVERIFY2(lines.size() >= 2 && lines.join(QLatin1Char('\n')).contains(QStringLiteral("不但")), qPrintable(lines.join('|')));
        QVERIFY(m_window->interactive()->translationBox()->toPlainText().contains(QStringLiteral("不但")));

        // F8 shows the grammar tab.
        m_window->command("mnShowGram")->trigger();
        QCOMPARE(m_window->interactive()->referenceWindow()->tabs()->currentIndex(), 1);

        // "临时删除": this sentence's translation no longer uses it; the library keeps it.
        const int row = addedPatternRow();
        QVERIFY(row >= 0);
        emit m_window->interactive()->referenceWindow()->deletePatternRequested(row, false);
        QVERIFY(!grammarLines().join(QLatin1Char('\n')).contains(QStringLiteral("不但")));
        QVERIFY(!m_window->interactive()->translationBox()->toPlainText().contains(QStringLiteral("不但")));
        QCOMPARE(m_work->bench->grammar.anchors.size(), before + 1);

        // The next run finds it again; "永久删除" takes it out of the library.
        translateDocument("The pump is not only quiet but also cheap.\r\n");
        QVERIFY(grammarLines().join(QLatin1Char('\n')).contains(QStringLiteral("不但")));
        const int again = addedPatternRow() + 1;  // the template line stands for its pair too
        emit m_window->interactive()->referenceWindow()->deletePatternRequested(again, true);
        QCOMPARE(m_work->bench->grammar.anchors.size(), before);
        QCOMPARE(fromGbk(m_work->bench->newGrammarEntries.back()).left(2), QStringLiteral("dd"));
    }

    void theDeleteCommandRemovesAPatternTypedInTheDialog() {
        answerGrammarDialog(QStringLiteral("as soon as *"), QStringLiteral("一#1就"), true);
        m_window->command("mmnuAddGramar")->trigger();
        QCOMPARE(fromGbk(m_work->bench->newGrammarEntries.back()), QStringLiteral("aaas soon as *^1^一#1就"));
        const std::size_t added = m_work->bench->grammar.anchors.size();
        answerGrammarDialog(QStringLiteral("as soon as *"), QStringLiteral("一#1就"), true);
        m_window->command("mmnuDelGramar")->trigger();
        QCOMPARE(m_work->bench->grammar.anchors.size(), added - 1);
        // A cancelled dialog changes nothing.
        QTimer::singleShot(0, this, [] { QApplication::activeModalWidget()->close(); });
        m_window->command("mmnuAddGramar")->trigger();
        QCOMPARE(m_work->bench->grammar.anchors.size(), added - 1);
    }

    // The manual is delivered with the program and every page its buttons name opens.
    void theHelpPagesOpen() {
        for (const char* page : {"index.htm", "interactive.htm", "grammar.htm", "term_entry.htm", "newpage49.htm",
                                 "newpage79.htm", "newpage82.htm", "newpage85.htm", "newpage89.htm", "wizard.htm",
                                 "term_import.htm", "term_editor.htm"}) {
            openHelp(*m_work->bench, m_window.get(), QString::fromLatin1(page));
            auto* help = m_window->findChild<HelpBrowser*>(QStringLiteral("helpWindow"));
            QVERIFY(help && help->isVisible());
            QVERIFY2(!help->browser()->toPlainText().isEmpty(), page);
        }
        QVERIFY(m_work->dialogs.messages.empty());
        openHelp(*m_work->bench, m_window.get(), QStringLiteral("missing.htm"));
        QCOMPARE(m_work->dialogs.messages.size(), std::size_t(1));
        // Every link of the contents page leads to a page that is there.
        m_window->command("mnuHelp")->trigger();
        auto* help = m_window->findChild<HelpBrowser*>(QStringLiteral("helpWindow"));
        const QString html = help->browser()->toHtml();
        QRegularExpression link(QStringLiteral("href=\"([a-z0-9_]+\\.htm)\""));
        int links = 0;
        for (auto it = link.globalMatch(html); it.hasNext(); ++links) {
            const QString target = it.next().captured(1);
            QVERIFY2(QFileInfo::exists(QDir(QString::fromStdString(m_work->bench->workspace().programFolder()))
                                           .filePath(QStringLiteral("help/") + target)),
                     qPrintable(target));
        }
        QVERIFY(links >= 8);
    }
};

int runGrammarWindowTests(int argc, char** argv) {
    GrammarWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "grammar_window_test.moc"
