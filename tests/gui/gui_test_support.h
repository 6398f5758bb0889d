#pragma once
// Helpers of the GUI tests: GBK from the UTF-8 literals of these sources, a bilingual
// segment built as the core writes one, and a program folder filled from the delivered data.

#include <QCoreApplication>
#include <QDir>
#include <QInputMethodEvent>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <string>

#include "app/program_folder_setup.h"
#include "app/workbench.h"
#include "base/encoding.h"
#include "base/file_system.h"
#include "document/markup.h"
#include "document/rich_text.h"
#include "support/scripted_ports.h"

namespace tavricat::guitest {

inline std::string gbk(const char* utf8) { return encoding::toGbk(utf8); }

// A (not yet started) workbench over the program folder `home`, completed from the delivered
// data, with its settings file in `config`.
inline std::unique_ptr<Workbench> workbenchOver(const QString& home, const QString& config, FileSystem& fs,
                                                Dialogs& dialogs, Progress& progress) {
    if (!completeProgramFolder(fs, TAVRICAT_DELIVERED_DIR, home.toStdString())) qFatal("cannot fill the program folder");
    WorkbenchOptions options;
    options.settingsPath = QDir(config).filePath(QStringLiteral("tavricat25cecmini.ini")).toStdString();
    options.stamp = [] { return std::string("20260101-000000"); };
    return std::make_unique<Workbench>(fs, Workspace(fs, home.toStdString()), dialogs, progress, options);
}

// A program folder and a settings folder, both temporary.
struct TestHome {
    std::unique_ptr<QTemporaryDir> home = std::make_unique<QTemporaryDir>();
    std::unique_ptr<QTemporaryDir> config = std::make_unique<QTemporaryDir>();

    std::unique_ptr<Workbench> workbench(FileSystem& fs, Dialogs& dialogs, Progress& progress) const {
        return workbenchOver(home->path(), config->path(), fs, dialogs, progress);
    }
};

// A started workbench over a fresh program folder with scripted ports, and a folder for the
// documents a test writes.
struct StartedWorkbench {
    TestHome home;
    QTemporaryDir docs;
    DiskFileSystem fs;
    testing::ScriptedDialogs dialogs;
    testing::RecordingProgress progress;
    std::unique_ptr<Workbench> bench;

    StartedWorkbench() : bench(home.workbench(fs, dialogs, progress)) {
        if (!bench->start()) qFatal("the workbench did not start");
    }
    QString doc(const char* name) const { return docs.filePath(QString::fromLatin1(name)); }
    // Writes `text` (GBK) as document `name`; returns its path.
    QString write(const char* name, const std::string& text) {
        if (!fs.writeFile(doc(name).toStdString(), text)) qFatal("cannot write %s", name);
        return doc(name);
    }
};

// The child widget called `name`; a missing one ends the test program.
template <typename T>
T* child(const QObject* parent, const char* name) {
    T* widget = parent->findChild<T*>(QString::fromLatin1(name));
    if (!widget) qFatal("no child %s", name);
    return widget;
}

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
