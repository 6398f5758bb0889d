// "更新词库" as a translator uses it: a term list and a change log added, "合并" chosen,
// "更  新" pressed; the entries are checked, the term base is saved and the new term is
// found when looked up.

#include <QtTest>

#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include <memory>

#include "app/term_base_import.h"
#include "app/workbench.h"
#include "gui_test_support.h"
#include "term_import_dialog.h"

using namespace tavricat;
using namespace tavricat::gui;
using tavricat::guitest::gbk;

class TermImportDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<guitest::StartedWorkbench> m_run;
    std::unique_ptr<TermImportDialog> m_dialog;

    std::string termFile(const char* extension) {
        Result<std::string> data = m_run->fs.readFile(
            m_run->bench->workspace().userDataFile(m_run->bench->engine.termBase.name + extension));
        return data ? *data : std::string();
    }

private slots:
    void init() {
        m_run = std::make_unique<guitest::StartedWorkbench>();
        m_dialog = std::make_unique<TermImportDialog>(*m_run->bench);
    }
    void cleanup() {
        m_dialog.reset();
        m_run.reset();
    }

    void aListAndALogAreMergedAndTheTermIsFound() {
        Workbench& bench = *m_run->bench;
        QCOMPARE(m_dialog->windowTitle(), QStringLiteral("更新词库"));
        QVERIFY(m_dialog->replaceButton()->isChecked());  // "替换" unless chosen otherwise
        bench.insertTermEntry("gear box", gbk("齿轮箱^^n^"));
        m_run->write("terms.txt", gbk("gear box\t变速箱;齿轮箱；减速器\r\ntorque\t扭矩\r\n"));
        m_run->write("changes.saw", gbk("dddit torque\r\nshaft^轴 杆^^n^\r\n"));
        m_dialog->setFilesChooser([this](QWidget*) { return QStringList{m_run->doc("terms.txt"), m_run->doc("changes.saw")}; });
        m_dialog->findChild<QPushButton*>(QStringLiteral("addButton"))->click();
        m_dialog->addFiles({m_run->doc("gone.txt")});
        m_dialog->mergeButton()->setChecked(true);
        m_run->dialogs.messages.clear();

        m_dialog->findChild<QPushButton*>(QStringLiteral("updateButton"))->click();

        QCOMPARE(m_dialog->fileList()->item(0)->checkState(), Qt::Checked);
        QCOMPARE(m_dialog->fileList()->item(1)->checkState(), Qt::Checked);
        QCOMPARE(m_dialog->fileList()->item(2)->checkState(), Qt::Unchecked);  // could not be read
        QCOMPARE(m_dialog->filesBar()->value(), 3);
        QCOMPARE(m_dialog->windowTitle(), QStringLiteral("更新词库"));
        QVERIFY(m_dialog->isEnabled());
        QCOMPARE(bench.engine.lookupKey("gear box", DictSource::TermBase), gbk("变速箱|齿轮箱|减速器^^n^"));
        QCOMPARE(bench.engine.lookupKey("shaft", DictSource::TermBase), gbk("轴杆^^n^"));
        QCOMPARE(bench.engine.lookupKey("torque", DictSource::TermBase), std::string());
        QCOMPARE(m_run->dialogs.messages.size(), std::size_t(2));
        QCOMPARE(m_run->dialogs.messages[1], termImportMessage(bench.engine.termBase.size(), 4, 2));
        // Saved at once, not only at shutdown.
        QVERIFY(termFile(".01").find("shaft") != std::string::npos);
        QVERIFY(termFile(".02").find(gbk("变速箱|齿轮箱|减速器")) != std::string::npos);
    }

    void replacingTakesTheNewEntryAndTheListCommandsWork() {
        Workbench& bench = *m_run->bench;
        bench.insertTermEntry("gear box", gbk("齿轮箱^^n^"));
        m_run->write("terms.txt", gbk("gear box\t变速箱\r\n"));
        m_dialog->addFiles({m_run->doc("terms.txt"), m_run->doc("other.txt")});
        m_dialog->runImport();
        QCOMPARE(bench.engine.lookupKey("gear box", DictSource::TermBase), gbk("变速箱^^^"));
        m_dialog->findChild<QPushButton*>(QStringLiteral("removeButton"))->click();  // the checked entry
        QCOMPARE(m_dialog->fileList()->count(), 1);
        QCOMPARE(m_dialog->fileList()->item(0)->text(), m_run->doc("other.txt"));
        m_dialog->findChild<QPushButton*>(QStringLiteral("clearButton"))->click();
        QCOMPARE(m_dialog->fileList()->count(), 0);
        m_run->dialogs.messages.clear();
        m_dialog->runImport();  // nothing listed: nothing happens, nothing is told
        QVERIFY(m_run->dialogs.messages.empty());
        m_dialog->findChild<QPushButton*>(QStringLiteral("helpButton"))->click();
        QVERIFY(m_run->dialogs.messages.empty());  // the page is delivered
    }
};

int runTermImportDialogTests(int argc, char** argv) {
    TermImportDialogTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "term_import_dialog_test.moc"
