#pragma once
// The panel under the translation box: a copy of the best example (refbox) and the box of
// common characters, one of which shows at a time unless "显示/隐藏常用字" keeps the characters
// beside the example. The common characters are the person's list for the direction, read
// from userdata, headed for each sentence by the fixed words of the matching patterns.

#include <QWidget>

#include <string>

#include "base/direction.h"
#include "interactive/reference_display.h"

class QTextEdit;
class QToolButton;

namespace tavricat::gui {

class ExamplePanel : public QWidget {
    Q_OBJECT
public:
    explicit ExamplePanel(QWidget* parent = nullptr);

    // The common characters of a direction (GBK text of its userdata file).
    void setCommonCharacters(const std::string& gbk);
    const std::string& commonCharacters() const { return m_common; }
    // A new head line above ">>" (the fixed words of the patterns that matched).
    void setCommonHead(const std::string& head);

    // The example of the current sentence (empty: none), shown as the toggles say.
    void showExample(const ReferenceDisplay& display);
    void clearExample() { showExample({}); }
    bool hasExample() const { return m_hasExample; }

    QTextEdit* exampleBox() const { return m_refbox; }
    QTextEdit* commonBox() const { return m_commonBox; }
    QToolButton* charactersToggle() const { return m_btZi; }
    QToolButton* swapButton() const { return m_swap; }

signals:
    // A run of the common characters was clicked (GBK, as the box holds it).
    void commonRunClicked(const std::string& run);
    void deleteExampleRequested();
    void updateExampleRequested();
    void hovered();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void arrange();
    void toggleCharacters(bool down);
    void swap();

    QTextEdit* m_refbox;
    QTextEdit* m_commonBox;
    QToolButton* m_btZi;
    QToolButton* m_swap;
    std::string m_common;
    bool m_hasExample = false;
};

}  // namespace tavricat::gui
