#pragma once
// A Qt view of one core RichText. The core buffer is the truth: rendering builds the Qt
// document from it, and every change a person makes in Qt is turned into a core edit at the
// mapped byte offsets. A change the core refuses (it touches protected segment markers, or
// holds a character GBK cannot hold) is undone in the view.

#include <QTextCharFormat>
#include <QTextEdit>

#include <cstddef>

#include "base/ports.h"
#include "document/rich_text.h"
#include "position_map.h"

class QTextDocument;

namespace tavricat::gui {

class RichTextView : public QTextEdit {
    Q_OBJECT
public:
    RichTextView(RichText& buffer, Dialogs& dialogs, QWidget* parent = nullptr);

    // Builds the whole view from the buffer (after loading or a program operation).
    void render();
    // Moves the view's caret and selection to the buffer's (the text must be as rendered).
    void showBufferSelection();
    // What the view shows, as the map sees it (one QChar per unit).
    const QString& shownText() const { return m_shown; }
    const PositionMap& positions() const { return m_map; }
    RichText& buffer() { return m_buffer; }

    // Qt character format of a core format.
    static QTextCharFormat qtFormat(const CharFormat& format);

signals:
    // The buffer was changed by a person's edit.
    void bufferEdited();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The buffer's caret and selection follow the view's (commands such as merge read them).
    void syncSelection();
    void onContentsChange(int position, int charsRemoved, int charsAdded);
    // Rewrites the Qt range [qt, qt + qtLength) with the buffer's bytes [from, to).
    void renderRange(int qt, int qtLength, std::size_t from, std::size_t to);
    void insertRuns(class QTextCursor& cursor, std::size_t from, std::size_t to, const QString& shown, int shownStart);
    void scheduleRepair(int qt, int qtLength, std::size_t from, std::size_t to);
    void runRepair();
    void attachDocument(QTextDocument* document);

    RichText& m_buffer;
    Dialogs& m_dialogs;
    PositionMap m_map;
    QString m_shown;
    bool m_rendering = false;
    // A view range to rewrite from the buffer once Qt has finished its own edit.
    struct Repair {
        bool pending = false;
        bool whole = false;
        int qt = 0, qtLength = 0;
        std::size_t from = 0, to = 0;
    } m_repair;
    std::string m_repairMessage;  // shown once the repair is done
};

}  // namespace tavricat::gui
