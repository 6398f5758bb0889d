#pragma once
// The core's ports (Dialogs, Progress, Clipboard) in Qt.

#include <QDialog>
#include <QPointer>
#include <QString>

#include "base/ports.h"

class QLabel;
class QProgressBar;

namespace tavricat::gui {

// Turns the core's filter "说明|*.txt;*.rtf|..." into Qt's "说明 (*.txt *.rtf);;...". File
// names are matched in both letter cases, since files often come from Windows machines.
QString qtFileFilter(const QString& coreFilter);

class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }
    // Where the file dialogs start: the open document's folder.
    void setStartFolder(const QString& folder) { m_folder = folder; }
    const QString& startFolder() const { return m_folder; }

    void message(const std::string& text) override;
    bool askYesNo(const std::string& text) override;
    void beep() override;
    std::optional<std::string> inputBox(const std::string& caption, const std::string& prompt,
                                        const std::string& initial) override;
    // The term entry dialog "frmAdjCmean" with the form's caption, fields and key rule.
    bool editTermEntry(TermEntryForm& form) override;
    std::optional<std::string> chooseOpenFile(const std::string& title, const std::string& filter) override;
    std::optional<std::string> chooseSaveFile(const std::string& title, const std::string& filter,
                                              const std::string& suggestedName) override;

private:
    QPointer<QWidget> m_parent;
    QString m_folder;
};

// The shared progress window: a text line and a bar.
class ProgressWindow : public QDialog {
    Q_OBJECT
public:
    explicit ProgressWindow(QWidget* parent = nullptr);
    QLabel* label() const { return m_label; }
    QProgressBar* bar() const { return m_bar; }

private:
    QLabel* m_label;
    QProgressBar* m_bar;
};

class QtProgress : public Progress {
public:
    explicit QtProgress(QWidget* parent = nullptr);
    ~QtProgress() override;

    void show(const std::string& text, int maximum, int position) override;
    void setText(const std::string& text) override;
    void setPosition(int position) override;
    void setCaption(const std::string& caption) override;
    void hide() override;
    void pump() override;
    ProgressWindow* window() const { return m_window; }

private:
    void paintNow();
    QPointer<ProgressWindow> m_window;
};

class QtClipboard : public Clipboard {
public:
    // Text GBK cannot hold is refused with a message through `dialogs`, never replaced.
    explicit QtClipboard(Dialogs& dialogs) : m_dialogs(dialogs) {}
    std::string text() override;
    void setText(const std::string& text) override;
    std::string richText() override;
    void setRichText(const std::string& rtf) override;

private:
    Dialogs& m_dialogs;
};

}  // namespace tavricat::gui
