#pragma once
// "--screenshots DIR": pictures of the window and its dialogs, for checking that every
// caption is legible. The demo document is opened through the window's own open path; the
// setup wizard and the options dialog are shown without a loop of their own and never
// confirmed, so nothing is applied or saved.

#include <QString>
#include <QStringList>

namespace tavricat {
class Workbench;
}

namespace tavricat::gui {

class MainWindow;

struct ScreenshotOutcome {
    QStringList written;   // the files written, in order
    QStringList problems;  // what went wrong; empty when all went well
};

// Writes into `folder` (made when missing): main.png (the window with demo/sample_en.txt of
// the program folder open), area-1.png ... area-4.png (a sentence translated interactively
// against the demo library, in the four display modes), reference.png (its example, coloured)
// and reference-grammar.png, popup.png, common-characters.png,
// wizard-1.png ... wizard-5.png, options-1.png ... options-4.png, grammar-dialog.png,
// term-entry.png, help.png.
ScreenshotOutcome takeScreenshots(MainWindow& window, Workbench& bench, const QString& folder);

}  // namespace tavricat::gui
