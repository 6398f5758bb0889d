#include <QtTest>

#include "gui_test_support.h"
#include "rich_text_view.h"
#include "support/scripted_ports.h"

using namespace tavricat;
using namespace tavricat::gui;
using tavricat::guitest::appendSegment;
using tavricat::guitest::gbk;
using tavricat::guitest::typeText;

class RichTextViewTest : public QObject {
    Q_OBJECT

    // The bilingual text "前言 {*>A.<}90{>甲。<*} end".
    static RichText bilingualSample() {
        RichText text;
        text.append(gbk("前言 "), text.defaultFormat());
        appendSegment(text, "A.", "90", gbk("甲。"));
        text.append(" end", text.defaultFormat());
        text.setModified(false);
        return text;
    }

    static void placeCaret(RichTextView& view, int qt, int anchor = -1) {
        QTextCursor cursor = view.textCursor();
        cursor.setPosition(anchor < 0 ? qt : anchor);
        if (anchor >= 0) cursor.setPosition(qt, QTextCursor::KeepAnchor);
        view.setTextCursor(cursor);
    }

    // The view shows exactly what the buffer holds.
    static void verifyInStep(RichTextView& view) {
        QCOMPARE(view.document()->toPlainText(), PositionMap::display(view.buffer().text()).replace(QChar(0x2029), u'\n'));
    }

private slots:
    void rendersTextAndFormats() {
        RichText text;
        CharFormat bold = text.defaultFormat();
        bold.bold = true;
        bold.colour = 0x0000FF;  // red in the Windows colour order
        text.append(gbk("普通"), text.defaultFormat());
        text.append(gbk("粗体\r\n"), bold);
        text.append("tail", text.defaultFormat());
        testing::ScriptedDialogs dialogs;
        RichTextView view(text, dialogs);
        QCOMPARE(view.document()->toPlainText(), QStringLiteral("普通粗体\ntail"));
        QTextCursor cursor(view.document());
        cursor.setPosition(3);  // the format of the character before: 粗
        QVERIFY(cursor.charFormat().fontWeight() == QFont::Bold);
        QCOMPARE(cursor.charFormat().foreground().color(), QColor(255, 0, 0));
        cursor.setPosition(1);
        QVERIFY(cursor.charFormat().fontWeight() != QFont::Bold);
    }

    void typedEditsBecomeCoreEditsAtTheMappedBytes() {
        RichText text = bilingualSample();
        testing::ScriptedDialogs dialogs;
        RichTextView view(text, dialogs);
        view.show();

        placeCaret(view, 2);  // after "前言"
        typeText(&view, QStringLiteral("x好"));
        QCOMPARE(text.text(0, 8), gbk("前言x好 "));
        QVERIFY(text.modified());

        QTest::keyClick(&view, Qt::Key_Backspace);  // the double-byte 好 goes whole
        QCOMPARE(text.text(0, 6), gbk("前言x "));

        QTest::keyClick(&view, Qt::Key_Return);
        QCOMPARE(text.text(0, 8), gbk("前言x\r\n "));

        // Overtyping a selection of Chinese text.
        placeCaret(view, 0, 2);
        typeText(&view, QStringLiteral("ab"));
        QCOMPARE(text.text(0, 5), std::string("abx\r\n"));
        QCOMPARE(dialogs.beeps, 0);
        verifyInStep(view);
        // The buffer's selection follows the view's caret.
        QCOMPARE(text.caret(), std::size_t(2));
    }

    void editsOverSegmentMarkersAreRefused() {
        RichText text = bilingualSample();
        const std::string before = text.text();
        testing::ScriptedDialogs dialogs;
        RichTextView view(text, dialogs);
        view.show();
        const QString shown = view.document()->toPlainText();
        const int open = int(shown.indexOf(QStringLiteral("{*>")));

        placeCaret(view, open + 3);  // right after "{*>": Backspace would delete '>'
        QTest::keyClick(&view, Qt::Key_Backspace);
        placeCaret(view, open + 1);  // inside the marker
        typeText(&view, QStringLiteral("z"));
        placeCaret(view, open + 5, open - 1);  // a selection over the marker
        QTest::keyClick(&view, Qt::Key_Delete);

        QCOMPARE(dialogs.beeps, 3);
        QCOMPARE(text.text(), before);
        QVERIFY(!text.modified());
        QCOMPARE(view.document()->toPlainText(), shown);
        verifyInStep(view);
    }

    void textTypedBesideAMarkerStaysEditable() {
        RichText text = bilingualSample();
        testing::ScriptedDialogs dialogs;
        RichTextView view(text, dialogs);
        view.show();
        const int close = int(view.document()->toPlainText().indexOf(QStringLiteral("<*}")));
        placeCaret(view, close + 3);
        typeText(&view, QStringLiteral("q"));
        const std::size_t at = text.find("<*}q", 0);
        QVERIFY(at != RichText::npos);
        QVERIFY(!text.formatAt(at + 3).isProtected);
        QTest::keyClick(&view, Qt::Key_Backspace);
        QCOMPARE(text.find("<*}q", 0), RichText::npos);
        QCOMPARE(dialogs.beeps, 0);
    }

    void textGbkCannotHoldIsRefusedWithAMessage() {
        RichText text = bilingualSample();
        const std::string before = text.text();
        testing::ScriptedDialogs dialogs;
        RichTextView view(text, dialogs);
        view.show();
        placeCaret(view, 1);
        view.insertPlainText(QStringLiteral("\U0001F600"));
        QTRY_COMPARE(view.document()->toPlainText(), QStringLiteral("前言 {*>A.<}90{>甲。<*} end"));
        QCOMPARE(text.text(), before);
        QCOMPARE(dialogs.messages.size(), std::size_t(1));
    }

    void sourceViewsMayChangeMarkers() {
        RichText text = bilingualSample();
        text.setAlwaysEditable(true);
        testing::ScriptedDialogs dialogs;
        RichTextView view(text, dialogs);
        view.show();
        const int open = int(view.document()->toPlainText().indexOf(QStringLiteral("{*>")));
        placeCaret(view, open + 1);
        QTest::keyClick(&view, Qt::Key_Delete);
        QCOMPARE(dialogs.beeps, 0);
        QVERIFY(text.find("{>", 0) != RichText::npos);
        QCOMPARE(text.find("{*>", 0), RichText::npos);
    }

    void ctrlZUndoesAndCtrlShiftZRedoesThroughTheBuffer() {
        RichText text = bilingualSample();
        const std::string before = text.text();
        testing::ScriptedDialogs dialogs;
        RichTextView view(text, dialogs);
        view.show();
        placeCaret(view, 2);
        typeText(&view, QStringLiteral("xy"));
        const std::string typed = text.text();
        QCOMPARE(typed.substr(0, 6), gbk("前言xy"));

        QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);  // the typing is one step
        QCOMPARE(text.text(), before);
        verifyInStep(view);
        QCOMPARE(view.textCursor().position(), 2);
        QTest::keyClick(&view, Qt::Key_Y, Qt::ControlModifier);  // not redo
        QCOMPARE(text.text(), before);
        QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(text.text(), typed);
        verifyInStep(view);
        QCOMPARE(view.textCursor().position(), 4);

        // A program step over protected markers comes back whole, and stays protected.
        {
            RichText::UndoStep step(text);
            RichText::ProgramEdit edit(text);
            QVERIFY(text.erase(text.find("{*>", 0), 3));
        }
        view.render();
        view.undo();
        QCOMPARE(text.text(), typed);
        verifyInStep(view);
        QVERIFY(text.formatAt(text.find("{*>", 0)).isProtected);
        QCOMPARE(dialogs.beeps, 0);
    }
};

int runRichTextViewTests(int argc, char** argv) {
    RichTextViewTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "rich_text_view_test.moc"
