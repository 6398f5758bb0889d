// A translator's morning in the window: the demo document, one sentence translated with the
// help of the example library and the interactive area, confirmed, saved, and the next one.

#include <QtTest>

#include <QLineEdit>
#include <QToolButton>
#include <QTabWidget>
#include <QTextEdit>

#include <memory>

#include "app/demo_document.h"
#include "app/sentence_library_switch.h"
#include "base/file_system.h"
#include "document/rtf_reader.h"
#include "gui_test_support.h"
#include "interactive/area_widget.h"
#include "interactive/interactive_panel.h"
#include "interactive/meaning_popup_widget.h"
#include "interactive/reference_window.h"
#include "interactive/translation_box.h"
#include "main_window.h"
#include "text_convert.h"

using namespace tavricat;
using namespace tavricat::gui;

namespace {

int tokenWithText(const InteractiveArea& area, const char* text) {
    for (std::size_t i = 0; i < area.size(); ++i)
        if (QString::fromStdString(area.token(i).text).trimmed() == QLatin1String(text)) return static_cast<int>(i);
    return -1;
}

}  // namespace

class TranslatorDayTest : public QObject {
    Q_OBJECT

    std::unique_ptr<guitest::StartedWorkbench> m_work;
    std::unique_ptr<MainWindow> m_window;

    Workbench& bench() { return *m_work->bench; }
    InteractivePanel& panel() { return *m_window->interactive(); }
    TranslationBox& box() { return *panel().translationBox(); }
    QString shown() { return m_window->view(DocumentView::Bilingual)->document()->toPlainText(); }

    // Opens a copy of the demo document, so that its .bil goes to the test's folder.
    void openDemo() {
        Result<std::string> demo = m_work->fs.readFile(demoDocumentPath(bench()));
        QVERIFY(demo.isOk());
        const QString path = m_work->write("sample_en.txt", *demo);
        QVERIFY(m_window->openPath(path.toStdString()));
        m_window->view(DocumentView::Bilingual)->moveCursor(QTextCursor::Start);
        m_window->view(DocumentView::Bilingual)->setFocus();
    }

private slots:
    void init() {
        m_work = std::make_unique<guitest::StartedWorkbench>();
        QVERIFY(useSentenceLibrary(bench(), "DemoEC").isOk());
        m_window = std::make_unique<MainWindow>(bench());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        m_window->activateWindow();
    }

    void cleanup() {
        m_window.reset();
        m_work.reset();
    }

    void aSentenceIsTranslatedWithAnExampleAndConfirmed() {
        openDemo();
        const std::size_t examples = bench().sentenceLibrary.exampleCount();
        QTest::keyClick(m_window->view(DocumentView::Bilingual), Qt::Key_J, Qt::ControlModifier);

        // The stored example of the title is offered whole, with its rate in the reference window.
        const InteractiveArea& area = panel().area();
        QVERIFY(area.size() >= 6);
        QCOMPARE(QString::fromStdString(area.token(0).text).trimmed(), QStringLiteral("Installing"));
        const QString reference = panel().referenceWindow()->exampleBox()->toPlainText();
        QVERIFY2(reference.contains(QStringLiteral("[100%]")), qPrintable(reference));
        const QString offered = QStringLiteral("40型水泵的安装与维护");
        QCOMPARE(box().toPlainText(), offered);
        QVERIFY(panel().areaWidget()->wordLabel(0)->isVisible());
        QCOMPARE(panel().areaWidget()->shortcutLabel(0)->text(), QStringLiteral("a"));

        // "维护" is replaced by another meaning of "Maintaining", chosen with Alt+letter and a digit.
        const int maintaining = tokenWithText(area, "Maintaining");
        QVERIFY(maintaining > 0);
        const QString offeredPart = QStringLiteral("维护");
        QTextCursor cursor = box().textCursor();
        cursor.setPosition(offered.indexOf(offeredPart));
        cursor.setPosition(offered.indexOf(offeredPart) + offeredPart.size(), QTextCursor::KeepAnchor);
        box().setTextCursor(cursor);
        QTest::keyClick(&box(), static_cast<Qt::Key>(Qt::Key_A + maintaining), Qt::AltModifier);
        MeaningPopupWidget* popup = panel().popupWidget();
        QVERIFY(popup->isVisible());
        QVERIFY(panel().popup().keyboardMode());
        QVERIFY(panel().popup().rows().size() >= 2);
        const QString chosen = fromGbk(panel().popup().cell(1, 1));
        QVERIFY(!chosen.isEmpty());
        QTest::keyClick(popup->keyField(), Qt::Key_1);
        QVERIFY(!popup->isVisible());
        const QString translation = QString(offered).replace(offeredPart, chosen);
        QCOMPARE(box().toPlainText(), translation);
        QCOMPARE(fromGbk(area.token(static_cast<std::size_t>(maintaining)).meaning), chosen);

        // Confirm and continue: the used example takes the new translation, the document its target.
        std::optional<ConfirmationResult> confirmed;
        connect(&panel(), &InteractivePanel::confirmed, this,
                [&confirmed](const ConfirmationResult& result) { confirmed = result; });
        QTest::keyClick(&box(), Qt::Key_Return, Qt::ControlModifier);
        QVERIFY(confirmed.has_value());
        QCOMPARE(static_cast<int>(confirmed->outcome), static_cast<int>(ConfirmOutcome::Corrected));
        QCOMPARE(bench().sentenceLibrary.exampleCount(), examples);
        const std::string stored = bench().sentenceLibrary.libSentences.at(*confirmed->example);
        QVERIFY(fromGbk(stored).endsWith(QStringLiteral("^") + translation));

        QVERIFY(m_window->saveBilingual());
        Result<RichText> bil = loadRichTextFile(m_work->fs, m_window->document().bilingualPath);
        QVERIFY(bil.isOk());
        const QString saved = fromGbk(bil->text());
        QVERIFY(saved.contains(QStringLiteral("Installing and Maintaining the Model 40 Water Pump")));
        QVERIFY2(saved.contains(translation), qPrintable(saved.left(600)));
        QVERIFY2(saved.startsWith(QStringLiteral("{*>Installing and Maintaining the Model 40 Water Pump<}100{>") +
                                  translation + QStringLiteral("<*}")),
                 qPrintable(saved.left(200)));

        // The next sentence is in the area.
        QVERIFY(tokenWithText(area, "Introduction") >= 0);
        QVERIFY(panel().areaWidget()->wordLabel(0)->isVisible());
    }

    void aPhraseDefinedFromMarkedWordsIsOneTokenOnTheRerun() {
        openDemo();
        QTest::keyClick(m_window->view(DocumentView::Bilingual), Qt::Key_J, Qt::ControlModifier);
        const InteractiveArea& area = panel().area();
        const int model = tokenWithText(area, "Model");
        QVERIFY(model >= 0 && tokenWithText(area, "40") == model + 1);
        box().setPlainText(QStringLiteral("译者自己的译文"));
        AreaWidget* widget = panel().areaWidget();
        QTest::mouseClick(widget->wordLabel(model), Qt::LeftButton, Qt::ControlModifier);
        QTest::mouseClick(widget->wordLabel(model + 1), Qt::LeftButton, Qt::ControlModifier);
        QCOMPARE(area.markedTokens(), (std::vector<int>{model, model + 1}));

        // "/" in the popup defines the phrase; the dialog proposes the key and the meanings.
        m_work->dialogs.termAnswers.push_back([](TermEntryForm& form) {
            form.meanings = guitest::gbk("40型");
            return true;
        });
        QTest::keyClick(&box(), static_cast<Qt::Key>(Qt::Key_A + model), Qt::AltModifier);
        QVERIFY(panel().popupWidget()->isVisible());
        QTest::keyClick(panel().popupWidget()->keyField(), Qt::Key_Slash);
        QCOMPARE(m_work->dialogs.termForms.size(), std::size_t(1));
        QCOMPARE(fromGbk(m_work->dialogs.termForms[0].caption), QStringLiteral("定义词组"));
        QCOMPARE(fromGbk(m_work->dialogs.termForms[0].key), QStringLiteral("model 40"));

        // The sentence was translated again: the phrase is one token, the translator's text stays.
        const int phrase = tokenWithText(area, "Model 40");
        QVERIFY2(phrase >= 0, qPrintable(fromGbk(area.token(static_cast<std::size_t>(model)).text)));
        QCOMPARE(fromGbk(area.token(static_cast<std::size_t>(phrase)).meaning), QStringLiteral("40型"));
        QVERIFY(area.markedTokens().empty());
        QCOMPARE(box().toPlainText(), QStringLiteral("译者自己的译文"));
        QCOMPARE(widget->wordLabel(phrase)->text().trimmed(), QStringLiteral("Model 40"));
        QVERIFY(!bench().newUserWords.empty());
        QVERIFY(fromGbk(bench().newUserWords.back()).startsWith(QStringLiteral("model 40^40型")));
    }

    void aConfirmedWriteBackIsOneUndoStepOfTheDocument() {
        openDemo();
        const std::string before = m_window->document().bilingual.text();
        QTest::keyClick(m_window->view(DocumentView::Bilingual), Qt::Key_J, Qt::ControlModifier);
        QTest::keyClick(&box(), Qt::Key_L, Qt::ControlModifier);
        QVERIFY(m_window->document().bilingual.text() != before);
        QVERIFY(box().toPlainText().isEmpty());
        m_window->view(DocumentView::Bilingual)->setFocus();
        m_window->command("mnuUndo")->trigger();
        QCOMPARE(m_window->document().bilingual.text(), before);
        QCOMPARE(shown(), fromGbk(before).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        m_window->command("mnuRedo")->trigger();
        QVERIFY(m_window->document().bilingual.text() != before);
    }

    void altKeysPageTheShortcutLettersAndOpenThePopup() {
        const QString path = m_work->write(
            "long.txt",
            "The pump, the motor, the filter, the valve, the pipe, the seal, the housing, the switch, the cable, "
            "the panel and the gauge are checked every week.\r\n");
        QVERIFY(m_window->openPath(path.toStdString()));
        m_window->view(DocumentView::Bilingual)->moveCursor(QTextCursor::Start);
        QTest::keyClick(m_window->view(DocumentView::Bilingual), Qt::Key_J, Qt::ControlModifier);
        const InteractiveArea& area = panel().area();
        QVERIFY2(area.size() > 26, qPrintable(QString::number(area.size())));
        QCOMPARE(panel().areaWidget()->shortcutLabel(13)->text(), QStringLiteral("n"));
        QTest::keyClick(&box(), Qt::Key_BracketRight, Qt::AltModifier);
        QCOMPARE(area.shortcutPage(), 1);
        QCOMPARE(panel().areaWidget()->shortcutLabel(13)->text(), QStringLiteral("a"));
        QVERIFY(panel().areaWidget()->shortcutLabel(0)->text().isEmpty());
        QTest::keyClick(&box(), Qt::Key_B, Qt::AltModifier);  // token 14 on page 1
        QVERIFY(panel().popupWidget()->isVisible());
        QCOMPARE(panel().popup().token(), 14);
        QCOMPARE(area.currentWord(), 14);
        QTest::keyClick(panel().popupWidget()->keyField(), Qt::Key_Escape);
        QVERIFY(!panel().popupWidget()->isVisible());
        QTest::keyClick(&box(), Qt::Key_BracketLeft, Qt::AltModifier);
        QCOMPARE(area.shortcutPage(), 0);
    }

    void theDisplayModesShowAndHideMeaningsAndLetters() {
        openDemo();
        QTest::keyClick(m_window->view(DocumentView::Bilingual), Qt::Key_J, Qt::ControlModifier);
        AreaWidget* area = panel().areaWidget();
        QVERIFY(area->meaningLabel(0)->isVisible() && area->shortcutLabel(0)->isVisible());
        struct Expect {
            Qt::Key key;
            bool meanings, letters;
        };
        for (const Expect& expect : {Expect{Qt::Key_E, true, false}, Expect{Qt::Key_T, false, true},
                                     Expect{Qt::Key_R, false, false}, Expect{Qt::Key_Y, true, true}}) {
            QTest::keyClick(&box(), expect.key, Qt::ControlModifier);
            QCOMPARE(area->meaningLabel(0)->isVisible(), expect.meanings);
            QCOMPARE(area->shortcutLabel(0)->isVisible(), expect.letters);
            QVERIFY(area->wordLabel(0)->isVisible());
        }
        QVERIFY(m_window->command("mnuShowExp")->isChecked());
    }

    void theBoxCommandsAndTheMachineTranslation() {
        openDemo();
        QTest::keyClick(m_window->view(DocumentView::Bilingual), Qt::Key_J, Qt::ControlModifier);
        QTest::keyClick(&box(), Qt::Key_D, Qt::ControlModifier);
        QVERIFY(box().toPlainText().isEmpty());
        QTest::keyClick(&box(), Qt::Key_F12);  // the stored example again
        QCOMPARE(box().toPlainText(), QStringLiteral("40型水泵的安装与维护"));
        QTest::keyClick(&box(), Qt::Key_F11);
        QVERIFY(!box().toPlainText().isEmpty());
        QVERIFY(box().toPlainText() != QStringLiteral("40型水泵的安装与维护"));
        // The translation box keeps its own undo: the machine translation is taken back.
        QTest::keyClick(&box(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(box().toPlainText(), QStringLiteral("40型水泵的安装与维护"));
    }

    void clickingWordsAndPunctuationBuildsTheTranslation() {
        openDemo();
        QTest::keyClick(m_window->view(DocumentView::Bilingual), Qt::Key_J, Qt::ControlModifier);
        QTest::keyClick(&box(), Qt::Key_D, Qt::ControlModifier);
        AreaWidget* area = panel().areaWidget();
        QTest::mouseClick(area->wordLabel(0), Qt::LeftButton);
        QTest::mouseClick(area->wordLabel(1), Qt::LeftButton);
        QCOMPARE(box().toPlainText(), QStringLiteral("Installing and"));
        QTest::mouseClick(panel().findChild<QToolButton*>(QStringLiteral("SpeedButton37")), Qt::LeftButton);
        QCOMPARE(box().toPlainText(), QStringLiteral("Installing and（）"));
        QCOMPARE(box().textCursor().position(), box().toPlainText().size() - 1);  // between the brackets
        QTest::mouseClick(area->meaningLabel(0), Qt::LeftButton);
        QCOMPARE(box().toPlainText(), QStringLiteral("Installing and（") + area->meaningLabel(0)->text() + QStringLiteral("）"));
        // Ctrl+click marks a word in the marking colour and unmarks it again.
        QTest::mouseClick(area->wordLabel(2), Qt::LeftButton, Qt::ControlModifier);
        QVERIFY(panel().area().token(2).marked);
        QTest::mouseClick(area->wordLabel(2), Qt::LeftButton, Qt::ControlModifier);
        QVERIFY(!panel().area().token(2).marked);
    }
};

int runTranslatorDayTests(int argc, char** argv) {
    TranslatorDayTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "translator_day_test.moc"
