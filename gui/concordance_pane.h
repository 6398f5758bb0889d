#pragma once
// "语料检索": a dockable pane beside the reference window that finds a word or phrase in the
// sources (or, checked, the translations) of the current sentence library and lists the hits
// with the match highlighted, newest first.

#include <QDockWidget>

#include "memory/concordance.h"

class QCheckBox;
class QLineEdit;
class QTextBrowser;

namespace tavricat {
class Workbench;
}

namespace tavricat::gui {

class ConcordancePane : public QDockWidget {
    Q_OBJECT
public:
    ConcordancePane(Workbench& bench, QWidget* parent);

    // Searches `text` (what the field holds when empty) and shows the hits; their number.
    std::size_t search(const QString& text = {});
    QLineEdit* field() const { return m_field; }
    QTextBrowser* results() const { return m_results; }

private:
    Workbench& m_bench;
    QLineEdit* m_field;
    QCheckBox* m_inTranslation;
    QTextBrowser* m_results;
};

}  // namespace tavricat::gui
