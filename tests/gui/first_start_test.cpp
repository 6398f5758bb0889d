// A first start on an empty program folder: in this process as the window does it, and the
// real executable on an empty folder (its picture mode ends by itself and saves nothing).

#include <QtTest>

#include <QAction>
#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>

#include <memory>

#include "app/demo_document.h"
#include "app/required_files.h"
#include "app/workbench.h"
#include "base/file_system.h"
#include "gui_test_support.h"
#include "main_window.h"
#include "support/scripted_ports.h"

using namespace tavricat;
using namespace tavricat::gui;

class FirstStartTest : public QObject {
    Q_OBJECT

private slots:
    void theDemoDocumentOpensFromTheRecentFiles() {
        QTemporaryDir home, config;
        DiskFileSystem fs;
        testing::ScriptedDialogs dialogs;
        testing::RecordingProgress progress;
        std::unique_ptr<Workbench> bench = guitest::workbenchOver(home.path(), config.path(), fs, dialogs, progress);
        QVERIFY(bench->start().isOk());
        QVERIFY(dialogs.messages.empty());
        QVERIFY(offerDemoDocument(*bench));
        QVERIFY(bench->settings.popwizard);  // the wizard follows the window on a first start

        MainWindow window(*bench);
        window.show();
        const QList<QAction*> items = window.recentActions();
        QVERIFY(!items.isEmpty());
        const QString demo = QString::fromStdString(demoDocumentPath(*bench));
        QVERIFY(items.first()->text().endsWith(demo));
        items.first()->trigger();
        QCOMPARE(QString::fromStdString(window.document().currentPath), demo);
        Result<std::string> text = fs.readFile(demo.toStdString());
        QVERIFY(text.isOk());
        QCOMPARE(window.document().bilingual.text(), *text);  // no .bil yet: the source as it is
        QCOMPARE(window.windowTitle(), QStringLiteral("TavriCAT 2.5[英汉] - ") + demo);
    }

    void theExecutableFillsAnEmptyFolderAndShowsTheDemoDocument() {
        QTemporaryDir home, config, pictures;
        QProcess gui;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        gui.setProcessEnvironment(environment);
        gui.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        gui.start(QStringLiteral(TAVRICAT_GUI_PATH),
                  {QStringLiteral("--home"), home.path(), QStringLiteral("--screenshots"), pictures.path()});
        QVERIFY(gui.waitForFinished(120000));
        QCOMPARE(gui.exitStatus(), QProcess::NormalExit);
        QCOMPARE(gui.exitCode(), 0);  // a missing or unopenable demo document fails the run

        DiskFileSystem fs;
        QVERIFY(missingRequiredFiles(Workspace(fs, home.path().toStdString())).empty());
        const QStringList written = QDir(pictures.path()).entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
        QVERIFY(written.contains(QStringLiteral("main.png")));
        for (int page = 1; page <= 5; ++page) QVERIFY(written.contains(QStringLiteral("wizard-%1.png").arg(page)));
        QVERIFY(written.size() >= 12);  // and the four options pages and two batch windows
        QVERIFY(QDir(config.path()).isEmpty());  // the picture mode saves no settings
    }
};

int runFirstStartTests(int argc, char** argv) {
    FirstStartTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "first_start_test.moc"
