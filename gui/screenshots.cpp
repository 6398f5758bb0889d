#include "screenshots.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QListWidget>
#include <QTabWidget>
#include <QToolButton>

#include <algorithm>

#include "app/demo_document.h"
#include "app/workbench.h"
#include "memory/sentence_library.h"
#include "auto_translation_dialog.h"
#include "grammar_dialog.h"
#include "help_browser.h"
#include "interactive/term_entry_dialog.h"
#include "interactive/example_panel.h"
#include "interactive/interactive_panel.h"
#include "interactive/meaning_popup_widget.h"
#include "interactive/reference_window.h"
#include "library_update_dialog.h"
#include "main_window.h"
#include "options_dialog.h"
#include "setup_wizard.h"
#include "term_base_editor.h"
#include "term_import_dialog.h"
#include "text_convert.h"
#include "verification_window.h"

namespace tavricat::gui {

namespace {

// Lets layouts, paints and deferred work settle before a picture is taken.
void settle() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

void save(QWidget& widget, const QDir& dir, const QString& name, ScreenshotOutcome& outcome) {
    settle();
    const QPixmap picture = widget.grab();
    const QString path = dir.filePath(name);
    if (picture.isNull() || !picture.save(path, "PNG"))
        outcome.problems << QStringLiteral("cannot write %1").arg(path);
    else
        outcome.written << path;
}

// The picture shows a bilingual document: the demo document translated automatically from
// the demo library of the direction, in memory only (the current library is not touched).
void translateFromDemoLibrary(MainWindow& window, Workbench& bench, ScreenshotOutcome& outcome) {
    SentenceLibrary demoLibrary;
    const std::string name = isCE(bench.direction()) ? "DemoCE" : "DemoEC";
    if (Status loaded = demoLibrary.load(bench.fs(), bench.workspace().userDataFolder(), name); !loaded) {
        outcome.problems << QStringLiteral("cannot load the demo library %1").arg(QString::fromStdString(name));
        return;
    }
    Result<AutoTranslationCounts> counts = window.runAutomaticTranslation(demoLibrary);
    if (!counts) outcome.problems << QStringLiteral("the automatic translation of the demo document failed");
    window.view(DocumentView::Bilingual)->moveCursor(QTextCursor::Start);
}

// A sentence of the demo library's kind with one word changed, so that its example is offered
// fuzzy, with the differing word coloured and a grammar pattern matched.
constexpr const char* kFuzzySentenceEC =
    "Keep this manual in a dry place, e.g. next to the control panel, so that it can be found quickly when it is "
    "needed.";
constexpr const char* kSentenceCE = "请将本手册存放在干燥的地方，以便需要时能够迅速找到。";

// The interactive translation of one sentence appended to the document, against the demo
// library (in memory only): the area in its four modes, the popup, the reference window and
// the common characters.
void interactiveShots(MainWindow& window, Workbench& bench, const QDir& dir, ScreenshotOutcome& outcome) {
    SentenceLibrary demoLibrary;
    const std::string name = isCE(bench.direction()) ? "DemoCE" : "DemoEC";
    if (Status loaded = demoLibrary.load(bench.fs(), bench.workspace().userDataFolder(), name); !loaded) {
        outcome.problems << QStringLiteral("cannot load the demo library %1").arg(QString::fromStdString(name));
        return;
    }
    bench.installSentenceLibrary(std::move(demoLibrary), name, bench.sentenceLibraryInfo);
    RichText& document = window.document().bilingual;
    const std::string sentence = toGbkLossy(QString::fromUtf8(isCE(bench.direction()) ? kSentenceCE : kFuzzySentenceEC));
    {
        RichText::ProgramEdit edit(document);
        document.insert(document.size(), "\r\n" + sentence);
    }
    document.select(document.size() - sentence.size(), sentence.size());
    window.view(DocumentView::Bilingual)->render();
    InteractivePanel& panel = *window.interactive();
    window.resize(1200, 860);  // room for the area's second line
    if (panel.translate(TranslateTrigger::Selection) != SentenceOutcome::Translated) {
        outcome.problems << QStringLiteral("the interactive translation of the picture sentence failed");
        return;
    }
    for (const DisplayModeInfo& mode : kDisplayModes) {
        panel.setDisplayMode(mode.mode);
        save(window, dir, QStringLiteral("area-%1.png").arg(static_cast<int>(mode.mode) + 1), outcome);
    }
    panel.setDisplayMode(DisplayMode::MeaningsAndShortcuts);
    ReferenceWindow& reference = *panel.referenceWindow();
    reference.show();
    reference.tabs()->setCurrentIndex(0);
    save(reference, dir, QStringLiteral("reference.png"), outcome);
    if (reference.grammarList()->count() > 0) {
        reference.tabs()->setCurrentIndex(1);
        save(reference, dir, QStringLiteral("reference-grammar.png"), outcome);
        reference.tabs()->setCurrentIndex(0);
    }
    // The popup of the word with the most meanings.
    int richest = 0;
    std::size_t most = 0;
    for (int i = 0; i < bench.engine.workSent.segCount; ++i) {
        const std::string& meanings = bench.engine.workSent.segTrans[static_cast<std::size_t>(i + 1)];
        const auto count = static_cast<std::size_t>(std::count(meanings.begin(), meanings.end(), '|'));
        if (count > most) most = count, richest = i;
    }
    panel.openPopup(richest, false);
    save(*panel.popupWidget(), dir, QStringLiteral("popup.png"), outcome);
    panel.hidePopup();
    panel.examplePanel()->charactersToggle()->setChecked(true);
    save(window, dir, QStringLiteral("common-characters.png"), outcome);
    panel.examplePanel()->charactersToggle()->setChecked(false);
}

}  // namespace

ScreenshotOutcome takeScreenshots(MainWindow& window, Workbench& bench, const QString& folder) {
    ScreenshotOutcome outcome;
    QDir dir(folder);
    if (!dir.mkpath(QStringLiteral("."))) {
        outcome.problems << QStringLiteral("cannot make the folder %1").arg(folder);
        return outcome;
    }

    // The demo document is opened as a newcomer opens it, from its recent-files item (a folder
    // with a history may no longer list it). A failed open would show a modal message; with no
    // one to answer it, check first.
    const std::string demo = demoDocumentPath(bench);
    QAction* item = nullptr;
    for (QAction* action : window.recentActions())
        if (!action->isSeparator() && action->text().endsWith(fromNativePath(demo))) item = action;
    if (demo.empty() || !bench.fs().exists(demo))
        outcome.problems << QStringLiteral("the demo document of the direction is missing");
    else if (item ? (item->trigger(), window.document().currentPath != demo) : !window.openPath(demo))
        outcome.problems << QStringLiteral("cannot open %1").arg(fromNativePath(demo));
    else
        translateFromDemoLibrary(window, bench, outcome);
    save(window, dir, QStringLiteral("main.png"), outcome);
    interactiveShots(window, bench, dir, outcome);

    {
        // As MainWindow::showSetupWizard builds it, but shown without exec() and never confirmed.
        SetupWizard wizard(bench, *window.libraryDialog(), &window);
        wizard.show();
        for (int page = 0; page < SetupWizard::kPageCount; ++page) {
            wizard.goToPage(page);
            save(wizard, dir, QStringLiteral("wizard-%1.png").arg(page + 1), outcome);
        }
        wizard.hide();
    }
    {
        OptionsDialog options(bench.settings, bench.dialogs(), &window);
        options.show();
        for (int page = 0; page < options.pages()->count(); ++page) {
            options.pages()->setCurrentIndex(page);
            save(options, dir, QStringLiteral("options-%1.png").arg(page + 1), outcome);
        }
        options.hide();
    }
    {
        // Filled as a translator would, never confirmed: the library is not changed.
        GrammarDialog grammar(bench.dialogs(), QStringLiteral("添加语法"), QStringLiteral("添  加"), &window);
        grammar.setPattern(toGbkLossy(QStringLiteral("not only * but also *")), toGbkLossy(QStringLiteral("不但#1而且#2")));
        grammar.show();
        save(grammar, dir, QStringLiteral("grammar-dialog.png"), outcome);
        TermEntryDialog entry(&window);
        entry.setWindowTitle(QStringLiteral("定义词组"));
        entry.keyField()->setText(QStringLiteral("model 40"));
        entry.meaningsField()->setText(QStringLiteral("40型"));
        entry.show();
        save(entry, dir, QStringLiteral("term-entry.png"), outcome);
        HelpBrowser help(&window);
        if (help.showPage(QDir(fromNativePath(bench.workspace().programFolder())).filePath(QStringLiteral("help")),
                          QStringLiteral("interactive.htm"))) {
            help.show();
            save(help, dir, QStringLiteral("help.png"), outcome);
        } else {
            outcome.problems << QStringLiteral("the manual's interactive.htm is missing");
        }
    }
    {
        // Shown, never confirmed: none of them writes anything.
        AutoTranslationDialog automatic(bench.settings, &window);
        automatic.show();
        save(automatic, dir, QStringLiteral("auto-translation.png"), outcome);
        LibraryUpdateDialog update(bench, &window);
        update.show();
        save(update, dir, QStringLiteral("library-update.png"), outcome);
        TermImportDialog termImport(bench, &window);
        termImport.show();
        save(termImport, dir, QStringLiteral("term-import.png"), outcome);
        // The current term base's lists, copied: the editor never writes them.
        TermBaseEditor editor(bench, bench.engine.termBase.termKeys, bench.engine.termBase.termEntries, &window);
        editor.show();
        save(editor, dir, QStringLiteral("term-base-editor.png"), outcome);
        VerificationWindow verification(bench, &window);
        verification.show();
        save(verification, dir, QStringLiteral("library-verification.png"), outcome);
    }
    return outcome;
}

}  // namespace tavricat::gui
