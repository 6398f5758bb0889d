// "校订词库" as a translator uses it: a user term base file chosen, filtered, corrected,
// marked, an entry deleted and one added, saved, and imported into the current term base.

#include <QtTest>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QTimer>

#include <functional>
#include <memory>

#include "app/workbench.h"
#include "gui_test_support.h"
#include "term_base_editor.h"
#include "term_import_dialog.h"

using namespace tavricat;
using namespace tavricat::gui;
using tavricat::guitest::gbk;

namespace {

// Runs `act` on the next modal window of type T as soon as it shows.
template <typename T>
void whenShown(std::function<void(T*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        T* shown = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!shown) return;
        timer->stop();
        timer->deleteLater();
        act(shown);
    });
    timer->start();
}

void chooseShow(TermFilterDialog* filter, int show) {
    filter->findChild<QRadioButton*>(QStringLiteral("show%1").arg(show))->setChecked(true);
    filter->accept();
}

void click(QWidget* window, const char* name) { guitest::child<QPushButton>(window, name)->click(); }

}  // namespace

class TermBaseEditorTest : public QObject {
    Q_OBJECT

    std::unique_ptr<guitest::StartedWorkbench> m_run;

    QString cell(TermBaseEditor* editor, int row, int column) {
        return editor->table()->model()->index(row, column).data().toString();
    }
    void select(TermBaseEditor* editor, int row) {
        editor->table()->setCurrentIndex(editor->table()->model()->index(row, kKeyColumn));
    }

private slots:
    void init() {
        m_run = std::make_unique<guitest::StartedWorkbench>();
        m_run->dialogs.messages.clear();
        m_run->write("review.01", "apple\r\ngreen tea\r\nkiwi\r\npear\r\n");
        m_run->write("review.02", gbk("苹果^^n^已校\r\n绿茶^^n^\r\n猕猴桃|奇异果^^n^已校\r\n梨^^n^\r\n"));
    }
    void cleanup() { m_run.reset(); }

    void aFileIsFilteredCorrectedMarkedSavedAndImported() {
        Workbench& bench = *m_run->bench;
        m_run->dialogs.inputs = {m_run->doc("review.01").toStdString()};
        m_run->dialogs.answers = {true, true};  // save, then import
        bool edited = false, imported = false;
        whenShown<TermFilterDialog>([&](TermFilterDialog* opening) {
            QCOMPARE(opening->windowTitle(), QStringLiteral("过滤条件"));
            chooseShow(opening, 3);  // 全部显示
            whenShown<TermBaseEditor>([&](TermBaseEditor* editor) {
                QCOMPARE(editor->windowTitle(), QStringLiteral("项目词库"));
                QCOMPARE(editor->totalField()->text(), QStringLiteral("4"));
                QCOMPARE(cell(editor, 0, kNumberColumn), QStringLiteral("1.v"));
                QCOMPARE(cell(editor, 4, kNumberColumn), QStringLiteral("*"));
                QCOMPARE(editor->table()->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("解释"));

                // Only the verified entries.
                whenShown<TermFilterDialog>([](TermFilterDialog* filter) { chooseShow(filter, 1); });
                click(editor, "filterButton");
                QCOMPARE(editor->totalField()->text(), QStringLiteral("2"));
                QCOMPARE(cell(editor, 1, kKeyColumn), QStringLiteral("kiwi"));

                // Correct a meaning, reorder the kiwi's meanings from the list, mark it 专用.
                QVERIFY(editor->table()->model()->setData(editor->table()->model()->index(0, kMeaningsColumn),
                                                          QStringLiteral("苹果|林檎")));
                editor->table()->setCurrentIndex(editor->table()->model()->index(1, kMeaningsColumn));
                QCOMPARE(editor->items()->count(), 2);
                QCOMPARE(editor->rowField()->text(), QStringLiteral("2"));
                editor->promoteItem(1);
                QCOMPARE(cell(editor, 1, kMeaningsColumn), QStringLiteral("奇异果|猕猴桃"));
                click(editor, "domainButton");
                QCOMPARE(cell(editor, 1, kNumberColumn), QStringLiteral("2.t"));
                // Typed text GBK cannot hold is refused, not changed.
                QVERIFY(!editor->table()->model()->setData(editor->table()->model()->index(0, kAssociationColumn),
                                                           QStringLiteral("🍎")));
                QCOMPARE(m_run->dialogs.messages.size(), std::size_t(1));

                // Refreshed with the same filter, the kiwi is no longer verified.
                click(editor, "refreshButton");
                QCOMPARE(editor->totalField()->text(), QStringLiteral("1"));

                // Everything again: delete the pear found by name, add a plum.
                whenShown<TermFilterDialog>([](TermFilterDialog* filter) { chooseShow(filter, 3); });
                click(editor, "filterButton");
                editor->lookForField()->setText(QStringLiteral("PEAR"));
                QTest::keyClick(editor->lookForField(), Qt::Key_Return);
                QCOMPARE(editor->table()->currentIndex().row(), 3);
                click(editor, "deleteButton");
                QCOMPARE(cell(editor, 3, kNumberColumn), QStringLiteral("X"));
                editor->rowField()->setText(QStringLiteral("9"));
                QTest::keyClick(editor->rowField(), Qt::Key_Return);
                QCOMPARE(m_run->dialogs.messages.back(), gbk("请输入1到总数范围内的数字！"));
                QAbstractItemModel* model = editor->table()->model();
                QVERIFY(model->setData(model->index(4, kKeyColumn), QStringLiteral("plum")));
                QVERIFY(model->setData(model->index(4, kMeaningsColumn), QStringLiteral("李子")));
                QCOMPARE(cell(editor, 4, kNumberColumn), QStringLiteral("5"));
                QCOMPARE(model->rowCount(), 6);
                edited = true;
                whenShown<TermImportDialog>([&](TermImportDialog* import) {
                    QCOMPARE(import->fileList()->count(), 1);
                    click(import, "updateButton");
                    imported = true;
                    click(import, "closeButton");
                });
                click(editor, "closeButton");
            });
        });
        reviseTermBaseFile(bench, nullptr);
        QVERIFY(edited);
        QVERIFY(imported);

        QCOMPARE(m_run->dialogs.questions.size(), std::size_t(2));
        QCOMPARE(m_run->dialogs.questions[0], gbk("保存校订结果吗?"));
        Result<std::string> keys = m_run->fs.readFile(m_run->doc("review.01").toStdString());
        Result<std::string> values = m_run->fs.readFile(m_run->doc("review.02").toStdString());
        QCOMPARE(*keys, std::string("apple\r\ngreen tea\r\nkiwi\r\nplum\r\n"));
        QCOMPARE(*values, gbk("苹果|林檎^^n^已校\r\n绿茶^^n^\r\n奇异果|猕猴桃^^n^专用\r\n李子^^^\r\n"));
        QCOMPARE(bench.engine.lookupKey("plum", DictSource::TermBase), gbk("李子^^^"));
        QCOMPARE(bench.engine.lookupKey("kiwi", DictSource::TermBase), gbk("奇异果|猕猴桃^^n^专用"));
        QVERIFY(std::find(bench.engine.deletedWords.begin(), bench.engine.deletedWords.end(), "pear") !=
                bench.engine.deletedWords.end());
    }

    void theKeysOfTheButtonsAndAnUnsavedEditLeaveTheFile() {
        TermBaseEditor editor(*m_run->bench, {"apple"}, {gbk("苹果^^^")});
        QCOMPARE(guitest::child<QPushButton>(&editor, "deleteButton")->shortcut(), QKeySequence(Qt::Key_F4));
        QCOMPARE(guitest::child<QPushButton>(&editor, "selectAllButton")->shortcut(), QKeySequence(Qt::Key_F12));
        click(&editor, "selectAllButton");
        click(&editor, "verifiedButton");
        QCOMPARE(cell(&editor, 0, kNumberColumn), QStringLiteral("1.v"));
        QCOMPARE(cell(&editor, 1, kNumberColumn), QStringLiteral("*"));
        m_run->dialogs.messages.clear();
        click(&editor, "helpButton");
        QVERIFY(m_run->dialogs.messages.empty());  // the page is delivered

        m_run->dialogs.inputs = {m_run->doc("review.01").toStdString()};
        m_run->dialogs.answers = {false};  // not saved
        whenShown<TermFilterDialog>([](TermFilterDialog* filter) { filter->reject(); });
        whenShown<TermBaseEditor>([](TermBaseEditor* shown) {
            shown->table()->model()->setData(shown->table()->model()->index(0, kMeaningsColumn), QStringLiteral("changed"));
            shown->reject();
        });
        reviseTermBaseFile(*m_run->bench, nullptr);
        QCOMPARE(*m_run->fs.readFile(m_run->doc("review.01").toStdString()), std::string("apple\r\ngreen tea\r\nkiwi\r\npear\r\n"));
    }
};

int runTermBaseEditorTests(int argc, char** argv) {
    TermBaseEditorTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "term_base_editor_test.moc"
