#pragma once
// The "Ｗｏｒｄ" menu and the work modes of the main window: translating a document open in
// LibreOffice Writer (the link, mode 4), the program's own document interactively (mode 2) or
// automatically (mode 1). Connecting places the main window in the upper half of the screen
// and Writer in the lower half; in the link, Ctrl+J / Ctrl+K take the sentence from Writer
// and Ctrl+L / Ctrl+Enter write the translation back into it.

#include <QObject>

#include <functional>
#include <memory>

#include "app/word_link_session.h"

class QAction;
class QMenu;

namespace tavricat {
class Workbench;
}

namespace tavricat::gui {

class MainWindow;

class WordLinkMenu : public QObject {
    Q_OBJECT
public:
    // Adds the menu to `window`'s menu bar; the session is connected on "连接".
    WordLinkMenu(MainWindow& window, Workbench& bench, std::unique_ptr<WordLinkSession> session);
    ~WordLinkMenu() override;

    WordLinkSession& session() { return *m_session; }
    WorkMode workMode() const { return m_session->workMode; }
    // The document the interactive translation works on in the link; nothing in modes 1 and 2.
    LinkedDocument* linkedDocument();
    QMenu* menu() const { return m_menu; }

    // "连接": true when the link is up (mode 4); false when Writer could not be reached (told).
    bool connectWriter();
    // "退出Writer": mode 2; Writer keeps running.
    void enterInteractiveMode();
    // "自动": mode 1 (asks to save the bilingual text first when there is some).
    void enterAutomaticMode();
    // "暂停", "保存纯文本双语文件", "清除原文".
    void pause();
    void saveBilingualText();
    void removeSources();
    // After a command of the interactive translation: a link that broke meanwhile (the
    // person was told) can be made again with "连接".
    void refreshLinkState();

private:
    QAction* add(const char* name, const QString& caption, std::function<void()> slot);
    // A request to Writer failed: the person is told, and a broken link is dropped so that
    // the next "连接" makes it again.
    void tellFailure(const Status& status);
    void setLinkCommands(bool linked);

    MainWindow& m_window;
    Workbench& m_bench;
    std::unique_ptr<WordLinkSession> m_session;
    QMenu* m_menu = nullptr;
    QAction* m_auto = nullptr;
    QAction* m_connect = nullptr;
    QAction* m_pause = nullptr;
    QAction* m_saveText = nullptr;
    QAction* m_cleanup = nullptr;
    QAction* m_overwrite = nullptr;
    QAction* m_leave = nullptr;
};

}  // namespace tavricat::gui
