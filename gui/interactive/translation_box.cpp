#include "translation_box.h"

#include <QKeyEvent>
#include <QTextCursor>

#include "gbk_positions.h"
#include "window_keys.h"
#include "text_convert.h"

namespace tavricat::gui {

TranslationBox::TranslationBox(QWidget* parent) : QTextEdit(parent) {
    setObjectName(QStringLiteral("danJuYiWenBox"));
    setAcceptRichText(false);
    setMouseTracking(true);
    setTabChangesFocus(true);
}

std::string TranslationBox::gbkText() const { return toGbkLossy(toPlainText()); }

std::size_t TranslationBox::selStartByte() const { return gbkOffset(toPlainText(), textCursor().selectionStart()); }

std::size_t TranslationBox::selLengthByte() const {
    const QString text = toPlainText();
    const QTextCursor cursor = textCursor();
    return gbkOffset(text, cursor.selectionEnd()) - gbkOffset(text, cursor.selectionStart());
}

std::string TranslationBox::selectedGbk() const { return toGbkLossy(textCursor().selectedText()); }

void TranslationBox::setGbkText(const std::string& gbk) { setGbkText(gbk, gbk.size()); }

void TranslationBox::setGbkText(const std::string& gbk, std::size_t caret) {
    QTextCursor cursor(document());
    cursor.select(QTextCursor::Document);
    cursor.insertText(fromGbk(gbk));  // through the cursor, so that it can be undone
    cursor.setPosition(qtOffset(gbk, caret));
    setTextCursor(cursor);
}

void TranslationBox::insertGbk(const std::string& gbk, int caretBack) {
    QTextCursor cursor = textCursor();
    cursor.insertText(fromGbk(gbk));
    if (caretBack > 0) cursor.movePosition(QTextCursor::PreviousCharacter, QTextCursor::MoveAnchor, caretBack);
    setTextCursor(cursor);
}

void TranslationBox::selectBytes(std::size_t start, std::size_t length) {
    const std::string text = gbkText();
    QTextCursor cursor(document());
    cursor.setPosition(qtOffset(text, start));
    cursor.setPosition(qtOffset(text, start + length), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

bool TranslationBox::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (isWindowCommandKey(key->key(), key->modifiers())) {
            event->ignore();  // not overridden: the window's shortcut fires
            return true;
        }
    }
    return QTextEdit::event(event);
}

void TranslationBox::mouseMoveEvent(QMouseEvent* event) {
    emit mouseEntered();
    QTextEdit::mouseMoveEvent(event);
}

}  // namespace tavricat::gui
