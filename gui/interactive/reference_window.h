#pragma once
// The reference window: the best example in full with its rate and coloured differences
// (tab "例句"), and the grammar patterns that fit the sentence (tab "语法"). A floating tool
// window beside the main window.

#include <QWidget>

#include <string>
#include <vector>

#include "interactive/reference_display.h"

class QListWidget;
class QTabWidget;
class QTextEdit;

namespace tavricat::gui {

// Writes `display` into `box`: its lines, the rate label blue and bold, the differing words
// red, bold and underlined.
void renderReference(QTextEdit& box, const ReferenceDisplay& display);

class ReferenceWindow : public QWidget {
    Q_OBJECT
public:
    explicit ReferenceWindow(QWidget* parent = nullptr);

    void showExample(const ReferenceDisplay& display);
    void showGrammar(const std::vector<std::string>& lines);
    void clear();

    QTabWidget* tabs() const { return m_tabs; }
    QTextEdit* exampleBox() const { return m_example; }
    QListWidget* grammarList() const { return m_grammar; }

signals:
    // The grammar list's popup menu on line `row`: "永久删除", "临时删除", "修改...".
    void deletePatternRequested(int row, bool permanently);
    void modifyPatternRequested(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QTabWidget* m_tabs;
    QTextEdit* m_example;
    QListWidget* m_grammar;
};

}  // namespace tavricat::gui
