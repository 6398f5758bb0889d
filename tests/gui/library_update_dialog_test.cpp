// The update window: files of every kind in one list, the counters, the entries checked as
// they are read, the library saved once, and the list commands.

#include <QtTest>

#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <memory>

#include "app/workbench.h"
#include "base/file_system.h"
#include "document/rtf_writer.h"
#include "gui_test_support.h"
#include "library_update_dialog.h"
#include "support/scripted_ports.h"

using namespace tavricat;
using namespace tavricat::gui;
using tavricat::guitest::appendSegment;
using tavricat::guitest::gbk;

class LibraryUpdateDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<guitest::StartedWorkbench> m_run;
    std::unique_ptr<LibraryUpdateDialog> m_dialog;

    QListWidgetItem* entry(int row) const { return m_dialog->fileList()->item(row); }
    std::string storedLines() {
        Result<std::string> rf0 = m_run->fs.readFile(m_run->bench->workspace().userDataFile("MySentsEC.rf0"));
        return rf0 ? *rf0 : std::string();
    }

private slots:
    void init() {
        m_run = std::make_unique<guitest::StartedWorkbench>();
        m_dialog = std::make_unique<LibraryUpdateDialog>(*m_run->bench);
    }

    void cleanup() {
        m_dialog.reset();
        m_run.reset();
    }

    void everyKindOfFileFeedsTheLibraryWhichIsSavedOnce() {
        RichText bilingual;
        appendSegment(bilingual, "Thank you.", "100", gbk("谢谢。"));
        QVERIFY(saveRichTextFile(m_run->fs, m_run->doc("doc.bil").toStdString(), bilingual).isOk());
        m_run->write("pairs.exs", gbk("Good night.^晚安。\r\nThank you.^多谢。\r\n"));
        m_run->write("alternating.txt", gbk("Good morning.\r\n早上好。\r\nSee you.\r\n再见。\r\nOdd line.\r\n"));
        QCOMPARE(m_dialog->windowTitle(), QStringLiteral("更新例句库"));
        QCOMPARE(m_dialog->counterText(3), QStringLiteral("当前库例句总数:0"));

        m_dialog->addFiles({m_run->doc("doc.bil"), m_run->doc("missing.exs"), m_run->doc("pairs.exs"), m_run->doc("alternating.txt")});
        m_dialog->findChild<QPushButton*>(QStringLiteral("updateButton"))->click();

        QCOMPARE(entry(0)->text(), m_run->doc("doc.exs"));  // the bilingual file was converted first
        QCOMPARE(entry(0)->checkState(), Qt::Checked);
        QCOMPARE(entry(1)->checkState(), Qt::Unchecked);  // it could not be read
        QCOMPARE(entry(2)->checkState(), Qt::Checked);
        QCOMPARE(entry(3)->checkState(), Qt::Checked);
        QCOMPARE(m_dialog->counterText(0), QStringLiteral("总计：5"));
        QCOMPARE(m_dialog->counterText(1), QStringLiteral("重复：1"));  // "Thank you." again
        QCOMPARE(m_dialog->counterText(2), QStringLiteral("新加：4"));
        QCOMPARE(m_dialog->counterText(3), QStringLiteral("当前库例句总数:4"));
        QCOMPARE(m_dialog->windowTitle(), QStringLiteral("更新例句库"));
        QVERIFY(m_dialog->isEnabled());

        QCOMPARE(m_run->dialogs.messages.size(), std::size_t(2));
        QVERIFY(m_run->dialogs.messages[0].find(gbk("过程中出现错误")) != std::string::npos);
        QCOMPARE(m_run->dialogs.messages[1], gbk("更新完成!"));
        // Saved, with the overwritten translation of the repeated sentence.
        const std::string saved = storedLines();
        QVERIFY(saved.find(gbk("^多谢。")) != std::string::npos);
        QVERIFY(saved.find(gbk("^晚安。")) != std::string::npos);
        QVERIFY(saved.find(gbk("^再见。")) != std::string::npos);
        QVERIFY(saved.find(gbk("Odd")) == std::string::npos);
    }

    void keepingSameSentencesLeavesTheirTranslation() {
        m_run->write("first.exs", gbk("Thank you.^谢谢。\r\n"));
        m_run->write("second.exs", gbk("Thank you.^多谢。\r\n"));
        m_dialog->addFiles({m_run->doc("first.exs"), m_run->doc("second.exs")});
        m_dialog->findChild<QRadioButton*>(QStringLiteral("keepSame"))->setChecked(true);
        m_dialog->runUpdate();
        QCOMPARE(m_dialog->counterText(1), QStringLiteral("重复：1"));
        QVERIFY(storedLines().find(gbk("^谢谢。")) != std::string::npos);
        QVERIFY(storedLines().find(gbk("^多谢。")) == std::string::npos);
    }

    void listCommandsAddRemoveCheckedAndClear() {
        m_run->write("a.exs", gbk("Thank you.^谢谢。\r\n"));
        m_dialog->setFilesChooser([this](QWidget*) { return QStringList{m_run->doc("a.exs"), m_run->doc("b.exs")}; });
        m_dialog->findChild<QPushButton*>(QStringLiteral("addButton"))->click();
        QCOMPARE(m_dialog->fileList()->count(), 2);
        m_dialog->runUpdate();  // a.exs is read and checked, b.exs is missing
        m_dialog->findChild<QPushButton*>(QStringLiteral("removeButton"))->click();
        QCOMPARE(m_dialog->fileList()->count(), 1);
        QCOMPARE(entry(0)->text(), m_run->doc("b.exs"));
        m_dialog->findChild<QPushButton*>(QStringLiteral("clearButton"))->click();
        QCOMPARE(m_dialog->fileList()->count(), 0);
        m_run->dialogs.messages.clear();
        m_dialog->runUpdate();  // an empty list does nothing, not even a save
        QVERIFY(m_run->dialogs.messages.empty());
    }
};

int runLibraryUpdateDialogTests(int argc, char** argv) {
    LibraryUpdateDialogTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "library_update_dialog_test.moc"
