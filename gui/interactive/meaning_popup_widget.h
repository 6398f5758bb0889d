#pragma once
// The meaning popup: a borderless floating window with a toolbar and a grid of the current
// word's meanings (column 1), further forms (column 2) and labels (column 3). An edit field
// holds the focus while it shows, so digits, blank, "[" and "]" and the command keys typed
// there reach the controller. The grid's content and paging come from the core's
// MeaningPopup; this widget draws them and reports what the person did.

#include <QFrame>

#include "interactive/meaning_popup.h"
#include "interactive/popup_commands.h"

class QLineEdit;
class QTableWidget;
class QToolBar;
class QToolButton;

namespace tavricat::gui {

class MeaningPopupWidget : public QFrame {
    Q_OBJECT
public:
    explicit MeaningPopupWidget(QWidget* parent = nullptr);

    // Draws `popup` (its rows from its top row on) and sizes the window to the grid.
    void showRows(const MeaningPopup& popup);
    // Places the window with its top-left corner at `topLeft` (screen), kept on the screen.
    void placeAt(QPoint topLeft);
    // How many rows the grid shows at once (what "[" and "]" page by).
    int visibleRows() const;

    QTableWidget* grid() const { return m_grid; }
    QLineEdit* keyField() const { return m_edit; }
    QToolButton* button(const char* name) const;

signals:
    void cellChosen(int column, int row);
    void keyTyped(char key);  // blank, digit, "[" or "]"
    void enterPressed();
    void commandRequested(tavricat::PopupCommand command);
    void backspaceRequested();
    void pageRequested(bool down);
    void closeRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    // Keys shared by the edit field and the window: true when handled.
    bool handleKey(QKeyEvent* event);

    QToolBar* m_toolbar;
    QTableWidget* m_grid;
    QLineEdit* m_edit;
    QToolButton* m_pageDown = nullptr;
    QToolButton* m_pageUp = nullptr;
    int m_top = 0;  // the popup row shown in the grid's first line
};

}  // namespace tavricat::gui
