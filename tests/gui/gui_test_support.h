#pragma once
// Helpers of the GUI tests: GBK from the UTF-8 literals of these sources, a bilingual
// segment built as the core writes one, and a program folder filled from the delivered data.

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QTemporaryDir>
#include <QtTest>

#include <string>

#include "base/encoding.h"
#include "document/markup.h"
#include "document/rich_text.h"

namespace tavricat::guitest {

inline std::string gbk(const char* utf8) { return encoding::toGbk(utf8); }

// Appends "{*>src<}rate{>tgt<*}" with protected markers, as the core writes a segment.
inline void appendSegment(RichText& text, const std::string& source, const std::string& rate, const std::string& target) {
    const CharFormat plain = text.defaultFormat();
    const CharFormat marker = markerFormat(plain, 8388736);
    text.append("{*>", marker);
    text.append(source, plain);
    text.append("<}" + rate + "{>", marker);
    text.append(target, plain);
    text.append("<*}", marker);
}

// Types `text` into `widget`: ASCII as key presses, everything else committed through the
// input method, as a Chinese input method delivers it.
inline void typeText(QWidget* widget, const QString& text) {
    for (QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClicks(widget, QString(c));
        } else {
            QInputMethodEvent event;
            event.setCommitString(QString(c));
            QCoreApplication::sendEvent(widget, &event);
        }
    }
}

}  // namespace tavricat::guitest
