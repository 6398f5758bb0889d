#pragma once
// The main window: the document in three views, the File menu, the status bar, and the
// close query and shutdown. It speaks to the person through the workbench's ports, so a
// test that builds the workbench with scripted Dialogs answers every question itself.

#include <QMainWindow>

#include <array>
#include <functional>
#include <string>

#include "app/workbench.h"
#include "batch/auto_translation.h"
#include "batch/stop_request.h"
#include "base/direction.h"
#include "document/document.h"
#include "interactive/sentence_translation.h"
#include "rich_text_view.h"

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QTabWidget;
class QToolBar;

namespace tavricat::gui {

class InteractivePanel;
class LibraryInfoDialog;
class ConcordancePane;
class QaWindow;
class TeamMenu;
class WordLinkMenu;

// The window listens to the workbench: its caption, direction checks and status bar follow
// whatever command changed the direction, a library or the settings.
class MainWindow : public QMainWindow, private WorkbenchObserver {
    Q_OBJECT
public:
    // `bench` must have been started; it outlives the window.
    explicit MainWindow(Workbench& bench, QWidget* parent = nullptr);
    ~MainWindow() override;

    Document& document() { return m_document; }
    RichTextView* view(DocumentView which) const { return m_views[static_cast<std::size_t>(which)]; }
    QTabWidget* tabs() const { return m_tabs; }
    QMenu* fileMenu() const { return m_fileMenu; }
    QLabel* statusPanel(int index) const { return m_panels[static_cast<std::size_t>(index)]; }
    const QList<QAction*>& recentActions() const { return m_recentActions; }
    QAction* directionAction(Direction direction) const { return isCE(direction) ? m_ceAction : m_ecAction; }
    QMenu* setupMenu() const { return m_setupMenu; }
    QMenu* viewMenu() const { return m_viewMenu; }
    InteractivePanel* interactive() const { return m_interactive; }
    // The menu item of a command by its name ("mmnutransasent", "mnuShowExp", ...).
    QAction* command(const char* name) const;
    QMenu* editMenu() const { return m_editMenu; }
    LibraryInfoDialog* libraryDialog() const { return m_libraryDialog; }
    QToolBar* toolBar() const { return m_tools; }
    // The "Ｗｏｒｄ" menu with the work mode and the link to Writer.
    WordLinkMenu* wordLink() const { return m_wordLink; }
    // "语料检索": the concordance pane.
    ConcordancePane* concordance() const { return m_concordance; }
    // The menu "项目组": the team library.
    TeamMenu* team() const { return m_team; }
    // The document pages under the interactive area; hidden in the link, where the document
    // is Writer's.
    void showDocumentPages(bool shown);
    // The program's own document emptied (entering the automatic mode).
    void clearDocument();
    // "质量检查...": the findings of the quality checks in a window of their own.
    QaWindow* checkQuality();

    // "英汉汉英设置...": the setup wizard, modal; also at start-up while `popwizard` holds
    // (main.cpp, so that tests of the window never meet it).
    void showSetupWizard();
    // "英译汉" / "汉译英".
    void switchDirection(Direction direction);
    // "新建词库..." and "新建例句库..." (the latter offers to make the new library current).
    void newTermBase();
    void newSentenceLibrary();

    // The File menu's commands.
    bool openPath(const std::string& path);  // also the recent-files items
    void openSource();
    bool saveBilingual();  // false when it was not saved
    void saveTarget();
    void saveViewAs();
    void replaceBilingualBySource();
    // "合并选定句" and "拆分当前句" on the bilingual selection.
    void mergeSelectedSegments();
    void untranslateCurrentSegment();

    // "自动翻译" (F5): the options dialog "自动翻译", then a run from the bilingual caret to the
    // end of the document. Nothing when the dialog is cancelled or a run is going on.
    void translateAutomatically();
    // A run from the current library, or from `library` (the picture mode shows a demo
    // library's work). The counts, or why the run failed (the person was told).
    Result<AutoTranslationCounts> runAutomaticTranslation();
    Result<AutoTranslationCounts> runAutomaticTranslation(const SentenceLibrary& library);
    // "停止自动翻译" (F6): the run stops at its next safe point.
    void stopAutomaticTranslation() { m_stop.request(); }
    bool translating() const { return m_translating; }
    QMenu* translateMenu() const { return m_translateMenu; }

    // "现有译文要保存吗?" when the bilingual text was changed; false (the window stays) only
    // when the person asked for the save and it failed.
    bool closeQuery();
    // The shutdown sequence, once; false when it failed (the person was told).
    bool shutDown();
    bool isShutDown() const { return m_shutDown; }
    // Whether the shutdown failed (the person was told): the program then ends with 1.
    bool shutDownFailed() const { return m_shutDownFailed; }

    // Refreshes the caption and the status bar from the workbench and the document.
    void refreshFrame();

protected:
    void closeEvent(QCloseEvent* event) override;
    // Alt+letter, Alt+[ / Alt+] and Esc reach the interactive area from anywhere in the window.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void directionChanged() override;
    void settingsChanged() override;
    void termBaseChanged() override { refreshFrame(); }
    void sentenceLibraryChanged() override { refreshFrame(); }
    void buildMenu();
    void buildToolBar();
    void buildInteractiveMenus();
    // "翻译一句" / "翻译选定句": the bilingual view in front, then the sentence.
    void translateSentence(TranslateTrigger trigger);
    void undo();
    void redo();
    // While a run goes on, only "停止自动翻译" stays available and the document box is hidden.
    void setTranslating(bool translating);
    // Runs a segment command on the bilingual buffer and shows its result.
    void editSegments(const std::function<Status(Document&)>& command);
    void rebuildRecentMenu();
    void renderAll();
    void showTab(DocumentView which);
    void onTabChanged(int index);

    Workbench& m_bench;
    Document m_document;
    DocumentContext m_context;
    QTabWidget* m_tabs = nullptr;
    std::array<RichTextView*, 3> m_views{};
    std::array<QLabel*, 5> m_panels{};
    QMenu* m_fileMenu = nullptr;
    QMenu* m_editMenu = nullptr;
    QMenu* m_setupMenu = nullptr;
    QMenu* m_translateMenu = nullptr;
    QMenu* m_viewMenu = nullptr;
    InteractivePanel* m_interactive = nullptr;
    QAction* m_autoAction = nullptr;
    QAction* m_stopAction = nullptr;
    QAction* m_stopButton = nullptr;
    QAction* m_analysisAction = nullptr;
    QToolBar* m_tools = nullptr;
    StopRequest m_stop;
    bool m_translating = false;
    bool m_closeAfterRun = false;  // the window was closed during a run
    QAction* m_ecAction = nullptr;
    QAction* m_ceAction = nullptr;
    LibraryInfoDialog* m_libraryDialog = nullptr;
    WordLinkMenu* m_wordLink = nullptr;
    TeamMenu* m_team = nullptr;
    ConcordancePane* m_concordance = nullptr;
    QAction* m_recentSeparator = nullptr;
    QList<QAction*> m_recentActions;
    bool m_switchingTabs = false;
    bool m_shutDown = false;
    bool m_shutDownFailed = false;
};

// "TavriCAT 2.5[英汉]" or "[汉英]", with " - " and the document when one is open.
QString windowCaption(Direction direction, const std::string& documentPath);

}  // namespace tavricat::gui
