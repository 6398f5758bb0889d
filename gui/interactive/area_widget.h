#pragma once
// The interactive area: a word label, a meaning label and a shortcut label per token of the
// current sentence, laid out in reading order and wrapped at the area's width. What each
// label shows comes from the core's InteractiveArea; this widget only places and paints the
// labels and reports what the mouse did to them. Labels are made on demand and reused for
// later sentences.

#include <QScrollArea>

#include <cstdint>
#include <vector>

#include "interactive/interactive_area.h"

class QLabel;

namespace tavricat {
struct Settings;
}

namespace tavricat::gui {

class AreaWidget : public QScrollArea {
    Q_OBJECT
public:
    explicit AreaWidget(QWidget* parent = nullptr);

    // Shows `area` with the fonts and colours of `settings`, and lays it out.
    void showArea(const InteractiveArea& area, const Settings& settings);
    // Hides every label (a confirmed sentence, or no tokens).
    void hideAll();
    // Token i shows `token` now (a chosen meaning, a mark), laid out again.
    void updateToken(int i, const AreaToken& token);
    // Paints the current word and the words that form a known phrase with it.
    void paintCurrent(int current, int phraseFirst, int phraseCount);

    QLabel* wordLabel(int i) const { return m_words.at(static_cast<std::size_t>(i)); }
    QLabel* meaningLabel(int i) const { return m_meanings.at(static_cast<std::size_t>(i)); }
    QLabel* shortcutLabel(int i) const { return m_shortcuts.at(static_cast<std::size_t>(i)); }
    int shownTokens() const { return m_count; }

signals:
    void wordClicked(int token, Qt::KeyboardModifiers modifiers);
    void meaningClicked(int token, Qt::KeyboardModifiers modifiers);
    void labelRightClicked(int token);
    void labelHovered(int token, Qt::KeyboardModifiers modifiers);
    // Over the area's background: the right button released (confirm), a double click
    // (confirm and continue), the mouse moving (the popup may hide).
    void backgroundRightReleased();
    void backgroundDoubleClicked();
    void backgroundHovered();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ensureLabels(int count);
    void arrange();
    int tokenOf(QObject* label) const;

    QWidget* m_canvas;
    std::vector<QLabel*> m_words, m_meanings, m_shortcuts;
    int m_count = 0;
    // What the last showArea drew, kept for a new layout after a resize.
    std::vector<AreaToken> m_tokens;
    bool m_showExplanations = true;
    std::uint32_t m_currentWordBackground = 0, m_currentMeaningBackground = 0, m_phraseBackground = 0;
    std::uint32_t m_markedColour = 0;
};

}  // namespace tavricat::gui
