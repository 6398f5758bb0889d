// Link mode in the window with a real LibreOffice Writer, run headless: "连接" from the
// "Ｗｏｒｄ" menu, a client's .docx opened in Writer, its first three sentences translated with
// Ctrl+J and Ctrl+Enter as a translator does, the document saved; LibreOffice then shows the
// translations where the sentences were and the document's table, footnote, lists, header and
// picture where they were. Skipped, saying why, where LibreOffice or Python UNO is missing.

#include <QtTest>

#include <QAction>
#include <QMenu>
#include <QProcess>
#include <QStandardPaths>
#include <QTabWidget>

#include <memory>

#include "app/sentence_library_switch.h"
#include "gui_test_support.h"
#include "interactive/interactive_panel.h"
#include "interactive/translation_box.h"
#include "main_window.h"
#include "text_convert.h"
#include "word_link_menu.h"

using namespace tavricat;
using namespace tavricat::gui;

namespace {

// Why Writer cannot be driven here; empty when it can.
QString writerMissing() {
    if (QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty())
        return QStringLiteral("LibreOffice (libreoffice-writer) is not installed");
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QStringLiteral("import uno")});
    if (!python.waitForFinished(30000) || python.exitCode() != 0)
        return QStringLiteral("Python UNO (python3-uno) is not installed");
    return {};
}

// The document as flat OpenDocument XML, written by LibreOffice itself.
QString asFlatXml(const QString& document, const QString& scratch) {
    QProcess office;
    office.setWorkingDirectory(QFileInfo(document).absolutePath());
    office.start(QStringLiteral("soffice"), {QStringLiteral("--headless"),
                                             QStringLiteral("-env:UserInstallation=file://") + scratch + QStringLiteral("/profile"),
                                             QStringLiteral("--convert-to"), QStringLiteral("fodt"), QStringLiteral("--outdir"),
                                             scratch, document});
    if (!office.waitForFinished(120000)) return {};
    QFile xml(scratch + QLatin1Char('/') + QFileInfo(document).completeBaseName() + QStringLiteral(".fodt"));
    if (!xml.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(xml.readAll());
}

}  // namespace

class WordLinkTest : public QObject {
    Q_OBJECT

    std::unique_ptr<guitest::StartedWorkbench> m_work;
    std::unique_ptr<MainWindow> m_window;
    QTemporaryDir m_writerScratch;

    Workbench& bench() { return *m_work->bench; }
    InteractivePanel& panel() { return *m_window->interactive(); }
    TranslationBox& box() { return *panel().translationBox(); }
    WordLinkMenu& link() { return *m_window->wordLink(); }

    void makeWindow() {
        m_window = std::make_unique<MainWindow>(bench());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

private slots:
    void init() {
        const QString missing = writerMissing();
        if (!missing.isEmpty()) QSKIP(qPrintable(missing));
        qputenv("TAVRICAT_WRITER_HEADLESS", "1");
        qputenv("TAVRICAT_WRITER_PROFILE", (m_writerScratch.path() + QStringLiteral("/profile")).toUtf8());
        m_work = std::make_unique<guitest::StartedWorkbench>();
        QVERIFY(useSentenceLibrary(bench(), "DemoEC").isOk());
        makeWindow();
    }

    void cleanup() {
        if (m_window && m_window->wordLink()->session().connected())
            (void)m_window->wordLink()->session().link().quitWriter();
        m_window.reset();
        m_work.reset();
        qunsetenv("TAVRICAT_WRITER_HEADLESS");
        qunsetenv("TAVRICAT_WRITER_PROFILE");
        qunsetenv("TAVRICAT_SOFFICE");
    }

    void threeSentencesOfADocxAreTranslatedInWriter() {
        QCOMPARE(link().workMode(), WorkMode::Interactive);
        m_window->command("mmnuWordInter")->trigger();
        QVERIFY2(link().workMode() == WorkMode::WordLink,
                 m_work->dialogs.messages.empty() ? "" : encoding::gbkToUtf8Lossy(m_work->dialogs.messages.back()).c_str());
        // The link's commands are on, the program's own document's are off.
        QVERIFY(!m_window->fileMenu()->menuAction()->isEnabled());
        QVERIFY(m_window->command("mmnuInter")->isEnabled());
        QVERIFY(m_window->command("N41")->isEnabled());
        QVERIFY(m_window->command("mmnuWordInter")->isChecked());
        QVERIFY(!m_window->command("mmnuWordInter")->isEnabled());
        QVERIFY(!m_window->command("mmnuaototrans")->isEnabled());
        QVERIFY(m_window->command("mmnutransasent")->isEnabled());

        const QString docx = m_work->doc("manual.docx");
        QVERIFY(QFile::copy(QStringLiteral(TAVRICAT_TEST_DATA_DIR "/documents/generated_en.docx"), docx));
        QVERIFY(link().session().link().openDocument(docx.toStdString()).isOk());

        const std::size_t examples = bench().sentenceLibrary.exampleCount();
        QStringList sources;
        QStringList translations;
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QTest::keyClick(&box(), Qt::Key_J, Qt::ControlModifier);
        for (int i = 0; i < 3; ++i) {
            sources << fromGbk(panel().lastTranslation().sentence).trimmed();
            QVERIFY2(!box().toPlainText().isEmpty(),
                     m_work->dialogs.messages.empty() ? qPrintable(sources.back())
                                                      : encoding::gbkToUtf8Lossy(m_work->dialogs.messages.back()).c_str());
            translations << box().toPlainText().trimmed();
            // Ctrl+Enter confirms and takes the next sentence; Ctrl+L only confirms the last.
            QTest::keyClick(&box(), i < 2 ? Qt::Key_Return : Qt::Key_L, Qt::ControlModifier);
        }
        QCOMPARE(sources, QStringList({QStringLiteral("Before you start"),
                                       QStringLiteral("Please read this manual carefully before using the purifier."),
                                       QStringLiteral("The purifier cleans the air of a room of up to forty square metres.")}));
        QVERIFY(box().toPlainText().isEmpty());
        QVERIFY(bench().sentenceLibrary.exampleCount() >= examples + 2);
        QVERIFY(m_work->dialogs.messages.empty());

        const QString saved = m_work->doc("manual-zh.docx");
        QVERIFY(link().session().link().saveActiveDocument(saved.toStdString()).isOk());
        const QString xml = asFlatXml(saved, m_writerScratch.path());
        QVERIFY(!xml.isEmpty());
        for (int i = 0; i < 3; ++i) {
            const QString segment = QStringLiteral("{0&gt;") + sources[i];
            QVERIFY2(xml.contains(segment), qPrintable(segment));
            QVERIFY2(xml.contains(translations[i] + QStringLiteral("&lt;0}")), qPrintable(translations[i]));
        }
        for (const char* element : {"<table:table ", "<text:list", "<text:note ", "<style:header", "<draw:image"})
            QVERIFY2(xml.contains(QLatin1String(element)), element);
        // The heading is still a heading, the second sentence still centred in its style.
        QVERIFY(xml.contains(QStringLiteral("text:outline-level=\"1\"")));

        m_window->command("mmnuInter")->trigger();
        QCOMPARE(link().workMode(), WorkMode::Interactive);
        QVERIFY(m_window->fileMenu()->menuAction()->isEnabled());
        QVERIFY(!m_window->command("mmnuInter")->isEnabled());
        QVERIFY(m_window->command("mmnuaototrans")->isEnabled());
    }

    void writerKilledDuringTheLinkIsToldAndTheLinkIsMadeAgain() {
        m_window->command("mmnuWordInter")->trigger();
        QCOMPARE(link().workMode(), WorkMode::WordLink);
        const QString docx = m_work->doc("manual.docx");
        QVERIFY(QFile::copy(QStringLiteral(TAVRICAT_TEST_DATA_DIR "/documents/generated_en.docx"), docx));
        QVERIFY(link().session().link().openDocument(docx.toStdString()).isOk());
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QTest::keyClick(&box(), Qt::Key_J, Qt::ControlModifier);
        QVERIFY(!box().toPlainText().isEmpty());
        const QString typed = box().toPlainText();

        // Writer dies as a crash would end it.
        const std::string pipe = link().session().link().options().pipe;
        QProcess::execute(QStringLiteral("pkill"), {QStringLiteral("-KILL"), QStringLiteral("-f"),
                                                     QString::fromStdString("pipe,name=" + pipe + ";")});
        QTest::qWait(300);
        const std::size_t examples = bench().sentenceLibrary.exampleCount();
        QTest::keyClick(&box(), Qt::Key_L, Qt::ControlModifier);
        QVERIFY(!m_work->dialogs.messages.empty());
        QVERIFY2(fromGbk(m_work->dialogs.messages.back()).contains(QStringLiteral("连接已中断")),
                 encoding::gbkToUtf8Lossy(m_work->dialogs.messages.back()).c_str());
        // Nothing typed is lost; the pair is in the library; "连接" is offered again.
        QCOMPARE(box().toPlainText(), typed);
        QVERIFY(bench().sentenceLibrary.exampleCount() >= examples);
        QVERIFY(m_window->command("mmnuWordInter")->isEnabled());
        QCOMPARE(link().workMode(), WorkMode::WordLink);

        m_window->command("mmnuWordInter")->trigger();
        QVERIFY(link().session().connected());
        QVERIFY(link().session().link().openDocument(docx.toStdString()).isOk());
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QTest::keyClick(&box(), Qt::Key_J, Qt::ControlModifier);
        QCOMPARE(fromGbk(panel().lastTranslation().sentence).trimmed(), QStringLiteral("Before you start"));
    }

    void writerThatCannotStartIsToldAndTheModeStays() {
        m_window.reset();
        qputenv("TAVRICAT_SOFFICE", "/nonexistent/soffice");
        makeWindow();
        m_window->command("mmnuWordInter")->trigger();
        QCOMPARE(link().workMode(), WorkMode::Interactive);
        QVERIFY(!m_work->dialogs.messages.empty());
        QVERIFY(fromGbk(m_work->dialogs.messages.back()).startsWith(QStringLiteral("无法启动LibreOffice Writer")));
        QVERIFY(m_window->fileMenu()->menuAction()->isEnabled());
        QVERIFY(!m_window->command("mmnuWordInter")->isChecked());
    }

    void automaticModeAsksToSaveAndLeadsBack() {
        RichText& text = m_window->document().bilingual;
        text.append(guitest::gbk("This text is longer than twenty characters."), text.defaultFormat());
        m_work->dialogs.answers.push_back(false);
        m_window->command("mmnuAoto")->trigger();
        QCOMPARE(link().workMode(), WorkMode::Automatic);
        QCOMPARE(m_work->dialogs.questions.size(), std::size_t(1));
        QVERIFY(m_window->document().bilingual.empty());
        QVERIFY(!m_window->command("mmnutransasent")->isEnabled());
        QVERIFY(m_window->command("mmnuaototrans")->isEnabled());
        // "自动" again leads back to interactive translation.
        m_window->command("mmnuAoto")->trigger();
        QCOMPARE(link().workMode(), WorkMode::Interactive);
        QVERIFY(m_window->command("mmnutransasent")->isEnabled());
    }
};

int runWordLinkTests(int argc, char** argv) {
    WordLinkTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "word_link_test.moc"
