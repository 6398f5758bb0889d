// "质量检查..." lists the findings of the bilingual document; choosing one selects its segment.
// "语料检索" finds a phrase in the library and highlights it.

#include <QtTest>

#include <QAction>
#include <QTreeWidget>

#include <memory>

#include "gui_test_support.h"
#include "main_window.h"
#include "concordance_pane.h"
#include "qa_window.h"

#include <QTextBrowser>

using namespace tavricat;
using namespace tavricat::gui;

class QaWindowTest : public QObject {
    Q_OBJECT

private slots:
    void findingsAreListedAndLeadToTheirSegments() {
        guitest::StartedWorkbench work;
        MainWindow window(*work.bench);
        window.show();
        RichText& text = window.document().bilingual;
        text.append(guitest::gbk("Intro.\r\n"), text.defaultFormat());
        guitest::appendSegment(text, "Set it to 40 degrees.", "999", guitest::gbk("设为45度。"));
        text.append("\r\n", text.defaultFormat());
        guitest::appendSegment(text, "Keep dry.", "999", guitest::gbk("保持干燥。"));
        text.append("\r\n", text.defaultFormat());
        guitest::appendSegment(text, "Stop now.", "999", guitest::gbk("现在停止."));
        window.view(DocumentView::Bilingual)->render();

        QaWindow* qa = window.checkQuality();
        QVERIFY(qa);
        QCOMPARE(qa->list()->topLevelItemCount(), 2);
        QCOMPARE(qa->list()->topLevelItem(0)->text(0), QStringLiteral("数字"));
        QCOMPARE(qa->list()->topLevelItem(0)->text(1), QStringLiteral("2"));
        QCOMPARE(qa->list()->topLevelItem(1)->text(0), QStringLiteral("标点"));

        qa->jumpTo(1);
        const std::string selected = text.selectedText();
        QVERIFY(selected.rfind("{*>Stop now.<}", 0) == 0);
        QVERIFY(selected.size() > 3 && selected.compare(selected.size() - 3, 3, "<*}") == 0);
        qa->close();
    }

    void theConcordancePaneHighlightsWhatItFound() {
        guitest::StartedWorkbench work;
        Workbench& bench = *work.bench;
        for (const char* pair : {"The pump must be checked every week.^水泵必须每周检查。", "Check the pump first.^先检查水泵。",
                                 "Close the valve.^关闭阀门。"})
            QVERIFY(bench.sentenceLibrary.addAsent(bench.engine, bench.analysisOptions(), guitest::gbk(pair)).isOk());
        MainWindow window(bench);
        window.command("mnuConcordance")->trigger();
        QVERIFY(window.concordance()->isVisible() || !window.isVisible());
        QCOMPARE(window.concordance()->search(QStringLiteral("checked")), std::size_t(2));
        const QString html = window.concordance()->results()->toHtml();
        QVERIFY2(html.contains(QStringLiteral("check</span>")) || html.contains(QStringLiteral(">check<")), qPrintable(html));
        QCOMPARE(window.concordance()->search(QStringLiteral("阀门")), std::size_t(0));  // a source search
    }
};

int runQaWindowTests(int argc, char** argv) {
    QaWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "qa_window_test.moc"
