#include "rich_text_view.h"

#include <QGuiApplication>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include <unordered_map>

#include "window_keys.h"
#include "text_convert.h"

namespace tavricat::gui {

RichTextView::RichTextView(RichText& buffer, Dialogs& dialogs, QWidget* parent)
    : QTextEdit(parent), m_buffer(buffer), m_dialogs(dialogs) {
    setAcceptRichText(false);
    setUndoRedoEnabled(false);  // the buffer is the truth; Qt's undo would bypass it
    setLineWrapMode(QTextEdit::WidgetWidth);
    connect(this, &QTextEdit::cursorPositionChanged, this, &RichTextView::syncSelection);
    connect(this, &QTextEdit::selectionChanged, this, &RichTextView::syncSelection);
    render();
}

void RichTextView::syncSelection() {
    if (m_rendering || m_repair.pending) return;
    const QTextCursor cursor = textCursor();
    const std::size_t from = m_map.toByte(cursor.selectionStart());
    const std::size_t to = m_map.toByte(cursor.selectionEnd());
    m_buffer.select(from, to - from);
}

QTextCharFormat RichTextView::qtFormat(const CharFormat& format) {
    QTextCharFormat out;
    // Fonts named in Windows documents are usually missing here; the CJK fonts stand in.
    out.setFontFamilies({fromGbk(format.fontName), QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC")});
    if (format.sizeHalfPoints > 0) out.setFontPointSize(format.sizeHalfPoints / 2.0);
    out.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
    out.setFontItalic(format.italic);
    out.setFontUnderline(format.underline);
    const std::uint32_t c = format.colour;
    out.setForeground(QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)));
    return out;
}

void RichTextView::attachDocument(QTextDocument* document) {
    // Only documents made here are ours to delete; Qt deletes the one it made itself.
    QTextDocument* old = this->document();
    const bool ours = old && old->parent() == this;
    setDocument(document);
    connect(document, &QTextDocument::contentsChange, this, &RichTextView::onContentsChange);
    if (ours) old->deleteLater();
}

void RichTextView::insertRuns(QTextCursor& cursor, std::size_t from, std::size_t to, const QString& shown, int shownStart) {
    if (to <= from) return;
    std::unordered_map<const CharFormat*, QTextCharFormat> formats;
    int done = m_map.toQtCeil(from);
    for (const RichText::Run& run : m_buffer.runs(from, to - from)) {
        // A unit split between two runs (a CR LF, say) goes with the run it starts in.
        const int end = m_map.toQtCeil(run.start + run.length);
        if (end <= done) continue;
        auto found = formats.find(run.format);
        if (found == formats.end()) found = formats.emplace(run.format, qtFormat(*run.format)).first;
        cursor.insertText(shown.mid(done - shownStart, end - done), found->second);
        done = end;
    }
}

void RichTextView::render() {
    m_rendering = true;
    m_repair = {};
    auto* document = new QTextDocument(this);
    document->setUndoRedoEnabled(false);
    const std::string text = m_buffer.text();
    m_map.reset(text);
    m_shown = PositionMap::display(text);
    {
        QTextCursor cursor(document);
        cursor.beginEditBlock();
        if (!text.empty()) insertRuns(cursor, 0, text.size(), m_shown, 0);
        else cursor.setCharFormat(qtFormat(m_buffer.defaultFormat()));
        cursor.endEditBlock();
    }
    attachDocument(document);
    QTextCursor caret(document);
    caret.setPosition(m_map.toQt(m_buffer.selStart()));
    caret.setPosition(m_map.toQt(m_buffer.selStart() + m_buffer.selLength()), QTextCursor::KeepAnchor);
    setTextCursor(caret);
    m_rendering = false;
}

void RichTextView::showBufferSelection() {
    m_rendering = true;
    QTextCursor caret(document());
    caret.setPosition(m_map.toQt(m_buffer.selStart()));
    caret.setPosition(m_map.toQt(m_buffer.selStart() + m_buffer.selLength()), QTextCursor::KeepAnchor);
    setTextCursor(caret);
    ensureCursorVisible();
    m_rendering = false;
}

bool RichTextView::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (isWindowCommandKey(key->key(), key->modifiers())) {
            event->ignore();  // the window's command takes the key
            return true;
        }
    }
    return QTextEdit::event(event);
}

void RichTextView::renderRange(int qt, int qtLength, std::size_t from, std::size_t to) {
    m_rendering = true;
    QTextCursor cursor(document());
    cursor.setPosition(qt);
    cursor.setPosition(qt + qtLength, QTextCursor::KeepAnchor);
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    insertRuns(cursor, from, to, m_shown, 0);
    cursor.endEditBlock();
    QTextCursor caret(document());
    caret.setPosition(m_map.toQtCeil(to));
    setTextCursor(caret);
    m_rendering = false;
    syncSelection();
}

void RichTextView::scheduleRepair(int qt, int qtLength, std::size_t from, std::size_t to) {
    if (m_repair.pending) {
        m_repair.whole = true;
        return;
    }
    m_repair = {true, false, qt, qtLength, from, to};
    // Qt is still inside its own edit; the view is rewritten once it has finished.
    QTimer::singleShot(0, this, &RichTextView::runRepair);
}

void RichTextView::runRepair() {
    if (!m_repair.pending) return;
    const Repair repair = m_repair;
    m_repair = {};
    if (repair.whole) {
        const int caret = textCursor().position();
        render();
        QTextCursor cursor(document());
        cursor.setPosition(std::min(caret, m_map.qtLength()));
        setTextCursor(cursor);
    } else {
        renderRange(repair.qt, repair.qtLength, repair.from, repair.to);
    }
    if (!m_repairMessage.empty()) {
        const std::string message = std::move(m_repairMessage);
        m_repairMessage.clear();
        m_dialogs.message(message);
    }
}

void RichTextView::onContentsChange(int position, int /*charsRemoved: derived from the lengths*/, int charsAdded) {
    if (m_rendering) return;
    if (m_repair.pending) {  // the view is already out of step with the buffer
        m_repair.whole = true;
        return;
    }
    const int oldLength = m_map.qtLength();
    const int newLength = document()->characterCount() - 1;
    // Qt may count the document's closing block separator; keep to the text itself.
    const int added = std::min(charsAdded, newLength - position);
    const int removed = added + oldLength - newLength;
    if (position < 0 || added < 0 || removed < 0 || position + removed > oldLength) {
        scheduleRepair(0, 0, 0, 0);
        m_repair.whole = true;
        return;
    }
    const QString before = m_shown.mid(position, removed);
    QTextCursor cursor(document());
    cursor.setPosition(position);
    cursor.setPosition(position + added, QTextCursor::KeepAnchor);
    const QString after = cursor.selectedText();
    // Qt reports generous ranges (a format change reports its whole range): keep what changed.
    qsizetype head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head]) ++head;
    qsizetype tail = 0;
    while (tail < before.size() - head && tail < after.size() - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    const int qt = position + static_cast<int>(head);
    const int oldUnits = static_cast<int>(before.size() - head - tail);
    const QString typed = after.mid(head, after.size() - head - tail);
    if (oldUnits == 0 && typed.isEmpty()) return;

    const std::size_t from = m_map.toByte(qt);
    const std::size_t to = m_map.toByte(qt + oldUnits);
    const int typedLength = static_cast<int>(typed.size());
    TypedText bytes = typedToGbk(typed);
    if (!bytes.ok) {
        scheduleRepair(qt, typedLength, from, to);
        // Told after the repair: a message box runs its own event loop, and the view must not
        // be rewritten while Qt is still inside this change.
        m_repairMessage = bytes.error;
        return;
    }
    // replace() rather than insert(): typed text never inherits the protection of a marker
    // it was typed next to, or the person could not change it again.
    if (!m_buffer.replace(from, to - from, bytes.gbk)) {
        m_dialogs.beep();
        scheduleRepair(qt, typedLength, from, to);
        return;
    }
    m_map.replace(qt, oldUnits, PositionMap::unitLengths(bytes.gbk));
    m_shown.replace(qt, oldUnits, PositionMap::display(bytes.gbk));
    // New text is shown as the buffer holds it (its format, its characters).
    if (!bytes.gbk.empty()) scheduleRepair(qt, typedLength, from, from + bytes.gbk.size());
    emit bufferEdited();
}

void RichTextView::keyPressEvent(QKeyEvent* event) {
    QTextEdit::keyPressEvent(event);
    runRepair();
}

void RichTextView::inputMethodEvent(QInputMethodEvent* event) {
    QTextEdit::inputMethodEvent(event);
    runRepair();
}

void RichTextView::insertFromMimeData(const QMimeData* source) {
    // Pasted text only: the buffer's formats decide how it looks.
    if (source && source->hasText()) insertPlainText(source->text());
    runRepair();
}

void RichTextView::dropEvent(QDropEvent* event) {
    QTextEdit::dropEvent(event);
    runRepair();
}

}  // namespace tavricat::gui
