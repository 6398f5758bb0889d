// Two translators' windows on one team library: a pair confirmed in the first window with
// Ctrl+J and Ctrl+L appears in the second workbench's library after "立即更新共享库", and each
// window's status bar names the library and the member's right.

#include <QtTest>

#include <QAction>
#include <QLabel>
#include <QMenu>

#include <memory>

#include "app/team_library.h"
#include "gui_test_support.h"
#include "interactive/interactive_panel.h"
#include "interactive/translation_box.h"
#include "main_window.h"
#include "team/shared_store.h"
#include "team_menu.h"
#include "text_convert.h"

using namespace tavricat;
using namespace tavricat::gui;

class TeamWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_shared;
    std::unique_ptr<guitest::StartedWorkbench> m_annWork;
    std::unique_ptr<guitest::StartedWorkbench> m_bobWork;
    std::unique_ptr<MainWindow> m_ann;
    std::unique_ptr<MainWindow> m_bob;

    std::string library() const { return m_shared->filePath(QStringLiteral("team.db")).toStdString(); }

    static bool knows(Workbench& bench, const QString& source) {
        for (const std::string& line : bench.sentenceLibrary.libSentences)
            if (fromGbk(line).contains(source)) return true;
        return false;
    }

private slots:
    void init() {
        m_shared = std::make_unique<QTemporaryDir>();
        QVERIFY(team::createSharedLibrary(library(), "boss", "boss-pw").isOk());
        auto admin = team::openSharedLibrary(library(), "boss", "boss-pw");
        QVERIFY((*admin)->setMember("ann", "ann-pw", team::Right::ReadWrite).isOk());
        QVERIFY((*admin)->setMember("bob", "bob-pw", team::Right::ReadOnly).isOk());
        m_annWork = std::make_unique<guitest::StartedWorkbench>();
        m_bobWork = std::make_unique<guitest::StartedWorkbench>();
        m_ann = std::make_unique<MainWindow>(*m_annWork->bench);
        m_bob = std::make_unique<MainWindow>(*m_bobWork->bench);
        m_ann->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_ann.get()));
    }

    void cleanup() {
        m_ann.reset();
        m_bob.reset();
        m_annWork.reset();
        m_bobWork.reset();
    }

    void aPairConfirmedInOneWindowReachesTheOtherWorkbench() {
        QVERIFY(!m_bob->command("mnuUpdateShareLib")->isEnabled());
        QVERIFY(m_ann->team()->connectTo({library(), "ann", "ann-pw", true, true}));
        QVERIFY(m_bob->team()->connectTo({library(), "bob", "bob-pw", false, true}));
        QCOMPARE(m_ann->statusPanel(3)->text(), QStringLiteral("共享库: team"));
        QCOMPARE(m_ann->statusPanel(4)->text(), QStringLiteral("读写"));
        QCOMPARE(m_bob->statusPanel(4)->text(), QStringLiteral("只读"));
        QVERIFY(m_bob->command("mnuUpdateShareLib")->isEnabled());

        // Ann translates a sentence of her own document and confirms it.
        const QString path = m_annWork->write("memo.txt", guitest::gbk("Close the valve before you open the cover.\r\n"));
        QVERIFY(m_ann->openPath(path.toStdString()));
        m_ann->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_ann.get()));
        TranslationBox* box = m_ann->interactive()->translationBox();
        m_ann->view(DocumentView::Bilingual)->setFocus();
        QTest::keyClick(m_ann->view(DocumentView::Bilingual), Qt::Key_J, Qt::ControlModifier);
        box->setGbkText(guitest::gbk("打开盖子之前先关闭阀门。"));
        QTest::keyClick(box, Qt::Key_L, Qt::ControlModifier);
        QVERIFY(knows(*m_annWork->bench, QStringLiteral("valve")));
        QVERIFY(m_annWork->bench->toBeSent.empty());  // sent with the confirmation

        QVERIFY(!knows(*m_bobWork->bench, QStringLiteral("valve")));
        m_bob->command("mnuUpdateShareLib")->trigger();
        QVERIFY(knows(*m_bobWork->bench, QStringLiteral("valve")));
        QVERIFY(knows(*m_bobWork->bench, QStringLiteral("打开盖子之前先关闭阀门。")));

        m_bob->command("mnuDisconnect")->trigger();
        QVERIFY(!m_bob->command("mnuUpdateShareLib")->isEnabled());
        QVERIFY(m_bob->statusPanel(3)->text().isEmpty());
    }

    void aWrongPasswordIsToldAndConnectsNothing() {
        QVERIFY(!m_ann->team()->connectTo({library(), "ann", "wrong", true, true}));
        QCOMPARE(fromGbk(m_annWork->dialogs.messages.back()), QStringLiteral("用户名或口令错误！"));
        QVERIFY(!m_ann->command("mnuUpdateShareLib")->isEnabled());
    }
};

int runTeamWindowTests(int argc, char** argv) {
    TeamWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "team_window_test.moc"
