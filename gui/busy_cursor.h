#pragma once
// The hourglass for the lifetime of a scope: a long command shows it, and the interactive area
// ignores the mouse while it is up.

#include <QApplication>
#include <QCursor>

namespace tavricat::gui {

class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

    // Whether a command is showing the hourglass now.
    static bool showing() {
        return QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
    }
};

}  // namespace tavricat::gui
