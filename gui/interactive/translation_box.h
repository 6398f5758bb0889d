#pragma once
// The translation box under the document: the translation of the current sentence as the
// translator composes it. Plain text; the core reads it as GBK with byte offsets. Its own
// undo history (Ctrl+Z, Ctrl+Shift+Z) covers typing and every insertion the area makes.

#include <QTextEdit>

#include <cstddef>
#include <string>

namespace tavricat::gui {

class TranslationBox : public QTextEdit {
    Q_OBJECT
public:
    explicit TranslationBox(QWidget* parent = nullptr);

    std::string gbkText() const;
    // The selection in bytes of gbkText().
    std::size_t selStartByte() const;
    std::size_t selLengthByte() const;
    std::size_t caretByte() const { return selStartByte() + selLengthByte(); }
    std::string selectedGbk() const;

    // Replaces the whole text (one undo step) and puts the caret at the end.
    void setGbkText(const std::string& gbk);
    // Replaces the whole text and puts the caret at byte `caret`.
    void setGbkText(const std::string& gbk, std::size_t caret);
    // Inserts at the caret, replacing the selection; the caret then moves back `caretBack`
    // characters (between a pair of brackets).
    void insertGbk(const std::string& gbk, int caretBack = 0);
    // Selects bytes [start, start + length).
    void selectBytes(std::size_t start, std::size_t length);

signals:
    void mouseEntered();

protected:
    bool event(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
};

}  // namespace tavricat::gui
