#include <QtTest>

#include <random>

#include "gui_test_support.h"
#include "position_map.h"

using namespace tavricat;
using namespace tavricat::gui;
using tavricat::guitest::gbk;

class PositionMapTest : public QObject {
    Q_OBJECT
private slots:
    void mixedTextMapsEachCharacterToOnePosition() {
        const std::string text = gbk("ab中文c\r\nd");  // 10 bytes, 7 units
        PositionMap map;
        map.reset(text);
        QCOMPARE(map.qtLength(), 7);
        QCOMPARE(map.byteLength(), std::size_t(10));
        const std::size_t bytes[] = {0, 1, 2, 4, 6, 7, 9, 10};
        for (int qt = 0; qt <= 7; ++qt) {
            QCOMPARE(map.toByte(qt), bytes[qt]);
            QCOMPARE(map.toQt(bytes[qt]), qt);
        }
        // Inside a character or a line break: the unit it belongs to, or the next one.
        QCOMPARE(map.toQt(3), 2);
        QCOMPARE(map.toQtCeil(3), 3);
        QCOMPARE(map.toQt(8), 5);
        QCOMPARE(map.toQtCeil(8), 6);
        QCOMPARE(PositionMap::display(text), QStringLiteral("ab中文c\u2029d"));
    }

    void trailBytesThatLookLikeAsciiStayInTheirCharacter() {
        // 0x81 0x40 is one character whose second byte reads as '@'.
        const std::string text = std::string("\x81\x40", 2) + "@" + gbk("丢");
        const QString shown = PositionMap::display(text);
        QCOMPARE(shown.size(), 3);
        QCOMPARE(shown[1], QChar(u'@'));
        QCOMPARE(shown[2], QChar(u'丢'));
        QVERIFY(shown[0] != QChar(u'@'));
    }

    void oddBytesAreOneUnitEach() {
        // A lone CR, a lone LF, and a lead byte cut off at the end.
        const std::string text = std::string("a\rb\nc") + "\xd6";
        PositionMap map;
        map.reset(text);
        QCOMPARE(map.qtLength(), 6);
        QCOMPARE(PositionMap::display(text), QStringLiteral("a\u2029b\u2029c\uFFFD"));
    }

    void editsKeepTheMapEqualToAFreshWalk() {
        // Random edits made to the text and, through replace(), to the map: the map must stay
        // what a fresh walk of the edited text gives.
        std::mt19937 random(7);
        const std::string pieces[] = {gbk("中"), "a", "\r\n", gbk("文字"), "xy", ""};
        std::string text = gbk("起点 text\r\n终点");
        PositionMap map;
        map.reset(text);
        for (int round = 0; round < 300; ++round) {
            const int qt = int(random() % unsigned(map.qtLength() + 1));
            const int removed = int(random() % unsigned(map.qtLength() - qt + 1)) % 4;
            const std::string inserted = pieces[random() % 6];
            const std::size_t from = map.toByte(qt), to = map.toByte(qt + removed);
            text.replace(from, to - from, inserted);
            map.replace(qt, removed, PositionMap::unitLengths(inserted));
            PositionMap fresh;
            fresh.reset(text);
            QCOMPARE(map.qtLength(), fresh.qtLength());
            for (int i = 0; i <= fresh.qtLength(); ++i) QCOMPARE(map.toByte(i), fresh.toByte(i));
        }
    }

    void typedTextBecomesGbkWithCrLfBreaks() {
        TypedText typed = typedToGbk(QStringLiteral("中\u2029x\u2028y"));
        QVERIFY(typed.ok);
        QCOMPARE(typed.gbk, gbk("中") + "\r\nx\r\ny");

        TypedText refused = typedToGbk(QStringLiteral("ok \U0001F600"));
        QVERIFY(!refused.ok);
        QVERIFY(!refused.error.empty());
    }
};

int runPositionMapTests(int argc, char** argv) {
    PositionMapTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "position_map_test.moc"
