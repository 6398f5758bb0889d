#pragma once
// The manual: short HTML pages in the program folder's help/ folder, one per window, shown in
// a browser window of their own. The "帮 助" buttons open the page of their window.

#include <QDialog>
#include <QString>

class QTextBrowser;

namespace tavricat {
class Workbench;
}

namespace tavricat::gui {

class HelpBrowser : public QDialog {
    Q_OBJECT
public:
    explicit HelpBrowser(QWidget* parent = nullptr);
    // Shows `file` (a page of `folder`); false when the page is missing.
    bool showPage(const QString& folder, const QString& file);
    QTextBrowser* browser() const { return m_browser; }

private:
    QTextBrowser* m_browser;
};

// Opens the page `topic` of the workbench's manual in the window's one help browser, or says
// that the page is missing.
void openHelp(Workbench& bench, QWidget* parent, const QString& topic);

}  // namespace tavricat::gui
