#include "screenshots.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTabWidget>

#include "app/demo_document.h"
#include "app/workbench.h"
#include "memory/sentence_library.h"
#include "auto_translation_dialog.h"
#include "library_update_dialog.h"
#include "main_window.h"
#include "options_dialog.h"
#include "setup_wizard.h"
#include "text_convert.h"

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
        // Shown, never confirmed: neither writes anything.
        AutoTranslationDialog automatic(bench.settings, &window);
        automatic.show();
        save(automatic, dir, QStringLiteral("auto-translation.png"), outcome);
        LibraryUpdateDialog update(bench, &window);
        update.show();
        save(update, dir, QStringLiteral("library-update.png"), outcome);
    }
    return outcome;
}

}  // namespace tavricat::gui
