#pragma once
// Pieces the file-processing windows share: a push button with its object name (tests and
// pictures find controls by name), and a Progress port that is the window's own caption and
// bar.

#include <QCoreApplication>
#include <QDialog>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>
#include <string>

#include "base/ports.h"
#include "text_convert.h"

namespace tavricat::gui {

inline QPushButton* button(const QString& caption, const char* name, QWidget* parent) {
    auto* made = new QPushButton(caption, parent);
    made->setObjectName(QString::fromLatin1(name));
    return made;
}

// The window's caption and bar show a long operation's progress.
class WindowProgress : public Progress {
public:
    WindowProgress(QDialog& window, QProgressBar& bar) : m_window(window), m_bar(bar) {}
    void show(const std::string&, int maximum, int position) override {
        m_bar.setRange(0, std::max(maximum, 1));
        m_bar.setValue(position);
    }
    void setText(const std::string&) override {}
    void setPosition(int position) override { m_bar.setValue(position); }
    void setCaption(const std::string& caption) override {
        m_window.setWindowTitle(fromGbk(caption));
        pump();
    }
    void hide() override {}
    // Repaints only: the operation cannot be cancelled, and input waits until it has ended.
    void pump() override { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

private:
    QDialog& m_window;
    QProgressBar& m_bar;
};

}  // namespace tavricat::gui
