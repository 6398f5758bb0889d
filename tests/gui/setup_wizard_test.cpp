// The setup wizard, the library-information dialog and the direction commands of the
// main window, against a workbench over a program folder of the delivered data.

#include <QtTest>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>

#include <memory>

#include "app/program_folder_setup.h"
#include "app/workbench.h"
#include "base/file_system.h"
#include "gui_test_support.h"
#include "library_info_dialog.h"
#include "main_window.h"
#include "setup_wizard.h"
#include "support/scripted_ports.h"

using namespace tavricat;
using namespace tavricat::gui;
using tavricat::guitest::gbk;
using tavricat::guitest::TestHome;

class SetupWizardTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestHome> m_test;
    QTemporaryDir* m_home = nullptr;
    QTemporaryDir* m_config = nullptr;
    DiskFileSystem m_fs;
    testing::ScriptedDialogs m_dialogs;
    testing::RecordingProgress m_progress;
    std::unique_ptr<Workbench> m_bench;
    std::unique_ptr<MainWindow> m_window;

    std::string userFile(const char* name) const {
        return m_home->filePath(QStringLiteral("userdata/") + QString::fromUtf8(name)).toStdString();
    }
    void writeUserFile(const char* name, const std::string& bytes) {
        if (!m_fs.writeFile(userFile(name), bytes)) qFatal("cannot write %s", name);
    }

    static int rowOf(QTableWidget* grid, const QString& fileName) {
        for (int r = 0; r < grid->rowCount(); ++r)
            if (grid->item(r, 2)->text() == fileName) return r;
        return -1;
    }

    // Fills the library dialog once it runs modally, and presses OK.
    void fillLibraryDialogWhenShown(const QString& title, const QString& fileName) {
        QTimer::singleShot(0, this, [this, title, fileName] {
            LibraryInfoDialog* dialog = m_window->libraryDialog();
            QVERIFY(dialog->isVisible());
            dialog->titleBox()->setText(title);
            dialog->fileNameBox()->setText(fileName);
            dialog->okButton()->click();
        });
    }

private slots:
    void init() {
        m_test = std::make_unique<TestHome>();
        m_home = m_test->home.get();
        m_config = m_test->config.get();
        m_dialogs = {};
        m_progress = {};
        m_bench = m_test->workbench(m_fs, m_dialogs, m_progress);
        writeUserFile("Law.01", "contract\r\n");
        writeUserFile("Law.02", gbk("合同") + "\r\n");
        writeUserFile("Law.inf", gbk("法律\r\nme\r\n Law.txt \r\n合同用语\r\n"));
        QVERIFY(m_bench->start().isOk());
        m_window = std::make_unique<MainWindow>(*m_bench);
        m_window->show();
    }

    void cleanup() {
        m_window.reset();
        m_bench.reset();
    }

    void wizardOkSwitchesDirectionAndLibraries() {
        SetupWizard wizard(*m_bench, *m_window->libraryDialog(), m_window.get());
        wizard.show();
        QVERIFY(wizard.ecButton()->isChecked());
        QTableWidget* terms = wizard.libraryGrid(LibraryKind::TermBase);
        QTableWidget* sentences = wizard.libraryGrid(LibraryKind::SentenceLibrary);
        QCOMPARE(terms->selectionModel()->selectedRows().front().row(), rowOf(terms, QStringLiteral("MyDictEC")));
        QVERIFY(!wizard.button(QStringLiteral("<上一步"))->isEnabled());
        QVERIFY(!wizard.button(QStringLiteral("确  定"))->isEnabled());

        wizard.ceButton()->setChecked(true);
        // The row is found by the library's files even though its file-name line is " Law.txt ".
        const int law = rowOf(terms, QStringLiteral(" Law.txt "));
        QVERIFY(law >= 0);
        terms->selectRow(law);
        sentences->selectRow(rowOf(sentences, QStringLiteral("DemoCE")));
        wizard.noPopupBox()->setChecked(true);
        wizard.useSysLibBox()->setChecked(false);

        // OK away from the last page only moves there.
        wizard.onOk();
        QCOMPARE(wizard.page(), SetupWizard::kPageCount - 1);
        QVERIFY(!m_bench->settings.ctoe);
        QVERIFY(wizard.summary()->text().startsWith(QStringLiteral("汉译英")));
        QVERIFY(wizard.summary()->text().contains(QStringLiteral("法律")));
        QVERIFY(!wizard.button(QStringLiteral("下一步>"))->isEnabled());

        wizard.button(QStringLiteral("确  定"))->click();
        QCOMPARE(wizard.result(), int(QDialog::Accepted));
        QVERIFY(m_bench->settings.ctoe);
        QCOMPARE(m_bench->settings.curZyname, std::string("Law"));
        QCOMPARE(m_bench->engine.termBase.lookupKey("contract"), gbk("合同"));
        QCOMPARE(m_bench->statusPanels[1], gbk("用户库: 法律"));
        QCOMPARE(m_bench->settings.curLiJuKuname, std::string("DemoCE"));
        QVERIFY(!m_bench->settings.popwizard);
        QVERIFY(!m_bench->settings.useSysLib);

        m_window->refreshFrame();
        QCOMPARE(m_window->windowTitle(), QStringLiteral("TavriCAT 2.5[汉英]"));
        QCOMPARE(m_window->statusPanel(0)->text(), QStringLiteral("汉英"));
        QVERIFY(m_window->directionAction(Direction::CE)->isChecked());
    }

    void wizardCancelChangesNothing() {
        SetupWizard wizard(*m_bench, *m_window->libraryDialog(), m_window.get());
        wizard.show();
        wizard.ceButton()->setChecked(true);
        wizard.goToPage(SetupWizard::kPageCount - 1);
        wizard.button(QStringLiteral("取消"))->click();
        QVERIFY(!m_bench->settings.ctoe);
        QCOMPARE(m_bench->settings.curZyname, std::string("MyDictEC"));
    }

    void domainPageAddsOnceAndRefusesEntriesWithoutBrackets() {
        SetupWizard wizard(*m_bench, *m_window->libraryDialog(), m_window.get());
        QListWidget* all = wizard.allDomainsList();
        QListWidget* selected = wizard.selectedDomainsList();
        QVERIFY(all->count() > 1);
        wizard.button(QStringLiteral("<<清除"))->click();
        all->item(0)->setSelected(true);
        all->item(1)->setSelected(true);
        wizard.button(QStringLiteral("添加>"))->click();
        wizard.button(QStringLiteral("添加>"))->click();
        QCOMPARE(selected->count(), 2);
        selected->setCurrentRow(1);
        wizard.button(QStringLiteral("第一"))->click();
        QCOMPARE(selected->item(0)->text(), all->item(1)->text());

        const int before = all->count();
        m_dialogs.inputs = {gbk("无简称"), gbk("Windows 2000[W2]")};
        wizard.button(QStringLiteral("新加"))->click();
        QCOMPARE(all->count(), before);
        QCOMPARE(m_dialogs.messages.back(), gbk("必须有简称并用半角\"[\"和\"]\"括起来！"));
        wizard.button(QStringLiteral("新加"))->click();
        QCOMPARE(all->item(0)->text(), QStringLiteral("Windows 2000[W2]"));

        // The added domain is kept even though it was not selected.
        wizard.goToPage(SetupWizard::kPageCount - 1);
        wizard.onOk();
        QCOMPARE(m_bench->allDomains.front(), std::string("Windows 2000[W2]"));
        QCOMPARE(m_bench->selectedDomains.size(), std::size_t(2));
    }

    void directionCommandsUpdateCaptionPanelAndChecks() {
        QAction* ce = m_window->directionAction(Direction::CE);
        QAction* ec = m_window->directionAction(Direction::EC);
        QVERIFY(ec->isChecked() && !ce->isChecked());
        ce->trigger();
        QVERIFY(m_bench->settings.ctoe);
        QCOMPARE(m_window->windowTitle(), QStringLiteral("TavriCAT 2.5[汉英]"));
        QCOMPARE(m_window->statusPanel(0)->text(), QStringLiteral("汉英"));
        // Choosing the current direction again leaves it checked.
        ce->trigger();
        QVERIFY(ce->isChecked() && !ec->isChecked());
        ec->trigger();
        QVERIFY(!m_bench->settings.ctoe);
        QCOMPARE(m_window->windowTitle(), QStringLiteral("TavriCAT 2.5[英汉]"));
    }

    void libraryDialogRefusesEmptyAndTakenNames() {
        LibraryInfoDialog* dialog = m_window->libraryDialog();
        dialog->prepare(LibraryKind::TermBase);
        dialog->show();
        QVERIFY(dialog->titleBox()->placeholderText().contains(QStringLiteral("世纪工程报告")));
        dialog->titleBox()->setText(QStringLiteral("标题"));
        dialog->fileNameBox()->setText(QStringLiteral("   "));
        dialog->okButton()->click();
        QVERIFY(dialog->isVisible());
        QCOMPARE(m_dialogs.messages.back(), gbk("文件名不能为空！请重新输入。"));

        dialog->fileNameBox()->setText(QStringLiteral("Law"));
        dialog->okButton()->click();
        QVERIFY(dialog->isVisible());
        QCOMPARE(m_dialogs.messages.back(), gbk("文件名称已存在，请重新命名！"));
        QCOMPARE(m_fs.readFile(userFile("Law.inf")).value(), gbk("法律\r\nme\r\n Law.txt \r\n合同用语\r\n"));

        dialog->fileNameBox()->setText(QStringLiteral(" Fresh.txt "));
        dialog->descriptionBox()->setPlainText(QStringLiteral("一\n二"));
        dialog->okButton()->click();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->createdName(), std::string("Fresh"));
        QCOMPARE(m_fs.readFile(userFile("Fresh.inf")).value(), gbk("标题\r\n\r\n Fresh.txt \r\n一\r\n二\r\n"));
        QVERIFY(m_fs.exists(userFile("Fresh.01")) && m_fs.exists(userFile("Fresh.02")));

        // Reused: the boxes start empty again.
        dialog->prepare(LibraryKind::TermBase);
        QVERIFY(dialog->fileNameBox()->text().isEmpty());
    }

    void wizardNewLibraryRefillsItsGrid() {
        SetupWizard wizard(*m_bench, *m_window->libraryDialog(), m_window.get());
        wizard.show();
        QTableWidget* sentences = wizard.libraryGrid(LibraryKind::SentenceLibrary);
        const int rows = sentences->rowCount();
        wizard.goToPage(3);
        fillLibraryDialogWhenShown(QStringLiteral("新库"), QStringLiteral("NewSents"));
        wizard.button(QStringLiteral("新建..."))->click();
        QVERIFY(m_fs.exists(userFile("NewSents.irf")));
        QCOMPARE(sentences->rowCount(), rows + 1);
        QVERIFY(rowOf(sentences, QStringLiteral("NewSents")) >= 0);
        // The current library stays selected.
        QCOMPARE(sentences->selectionModel()->selectedRows().front().row(), rowOf(sentences, QStringLiteral("MySentsEC")));
    }

    void newSentenceLibraryCommandOffersToUseIt() {
        m_dialogs.answers = {true};
        fillLibraryDialogWhenShown(QStringLiteral("新库"), QStringLiteral("Project"));
        m_window->newSentenceLibrary();
        QCOMPARE(m_dialogs.questions.back(), gbk("启用新例句库吗?"));
        QCOMPARE(m_bench->settings.curLiJuKuname, std::string("Project"));
        QCOMPARE(m_window->statusPanel(2)->text(), QStringLiteral("例句库: 新库"));
    }
};

int runSetupWizardTests(int argc, char** argv) {
    SetupWizardTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "setup_wizard_test.moc"
