#include "word_link_menu.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>

#include "app/workbench.h"
#include "busy_cursor.h"
#include "interactive/interactive_panel.h"
#include "interactive/translation_box.h"
#include "main_window.h"
#include "text_convert.h"

namespace tavricat::gui {

namespace {

// The commands of a single sentence, on in modes 2 and 4, off in mode 1.
constexpr const char* kSentenceCommands[] = {"mmnutransasent", "mmnutranscursent", "mmnuconfirmcont", "mmnuMemCont"};
// Automatic translation and the segment edits of the program's own document: off in the link.
constexpr const char* kOwnDocumentCommands[] = {"mmnuaototrans", "SpeedButton7", "mnuMergeSegments",
                                               "mnuSplitSegment", "btMergeSegments", "btSplitSegment"};

}  // namespace

WordLinkMenu::WordLinkMenu(MainWindow& window, Workbench& bench, std::unique_ptr<WordLinkSession> session)
    : QObject(&window), m_window(window), m_bench(bench), m_session(std::move(session)) {
    m_menu = window.menuBar()->addMenu(QStringLiteral("Ｗｏｒｄ"));
    m_menu->setObjectName(QStringLiteral("mnuWord"));
    m_auto = add("mmnuAoto", QStringLiteral("自动"), [this] { enterAutomaticMode(); });
    m_auto->setCheckable(true);
    m_connect = add("mmnuWordInter", QStringLiteral("连接"), [this] { (void)connectWriter(); });
    m_connect->setCheckable(true);
    m_pause = add("N44", QStringLiteral("暂停"), [this] { pause(); });
    m_pause->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    m_menu->addSeparator();
    m_saveText = add("N41", QStringLiteral("保存纯文本双语文件"), [this] { saveBilingualText(); });
    m_cleanup = add("N40", QStringLiteral("清除原文"), [this] { removeSources(); });
    m_overwrite = add("N50", QStringLiteral("覆盖原文"), [] {});
    m_overwrite->setCheckable(true);
    connect(m_overwrite, &QAction::toggled, this, [this](bool on) { m_session->overwrite = on; });
    m_menu->addSeparator();
    m_leave = add("mmnuInter", QStringLiteral("退出Writer"), [this] { enterInteractiveMode(); });
    // The unconnected state of start-up: interactive mode, the link's own commands off.
    setLinkCommands(false);
    m_session->workMode = WorkMode::Interactive;
    m_session->rememberedExampleCount = m_bench.sentenceLibrary.exampleCount();
}

WordLinkMenu::~WordLinkMenu() { m_bench.linkedOfficeText = nullptr; }

QAction* WordLinkMenu::add(const char* name, const QString& caption, std::function<void()> slot) {
    QAction* action = m_menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    connect(action, &QAction::triggered, this, [slot = std::move(slot)] { slot(); });
    return action;
}

LinkedDocument* WordLinkMenu::linkedDocument() {
    return isLinkMode(m_session->workMode) ? m_session.get() : nullptr;
}

void WordLinkMenu::setLinkCommands(bool linked) {
    for (QAction* action : {m_pause, m_saveText, m_cleanup, m_leave}) action->setEnabled(linked);
    m_connect->setChecked(linked);
    m_connect->setEnabled(!linked);
    m_window.fileMenu()->menuAction()->setEnabled(!linked);
    for (const char* name : kOwnDocumentCommands)
        if (QAction* action = m_window.command(name)) action->setEnabled(!linked);
    for (const char* name : kSentenceCommands)
        if (QAction* action = m_window.command(name)) action->setEnabled(true);
}

bool WordLinkMenu::connectWriter() {
    InteractivePanel* interactive = m_window.interactive();
    interactive->clearSentence();
    interactive->translationBox()->clear();
    m_bench.sentenceState.ExampleRate = 0;

    Status connected;
    {
        BusyCursor busy;
        QLabel notice(fromGbk(kStartingWriter), &m_window, Qt::Tool | Qt::FramelessWindowHint);
        notice.setObjectName(QStringLiteral("startingNotice"));
        notice.setMargin(16);
        notice.setFrameStyle(QFrame::Box);
        notice.adjustSize();
        notice.move(m_window.geometry().center() - notice.rect().center());
        notice.show();
        QApplication::processEvents();
        connected = m_session->connect();
    }
    if (!connected) {
        m_connect->setChecked(isLinkMode(m_session->workMode));
        m_bench.dialogs().message(connected.message());
        return false;
    }

    m_window.setWindowTitle(windowCaption(m_bench.direction(), {}));
    if (QToolBar* tools = m_window.toolBar()) tools->hide();
    if (m_window.isMaximized() || m_window.isFullScreen()) m_window.showNormal();
    m_session->workMode = WorkMode::WordLink;
    m_auto->setChecked(false);

    // The main window in the upper half of the screen, Writer in the lower half (UNO places
    // windows in pixels, so no conversion to points is needed).
    const QRect screen = m_window.screen() ? m_window.screen()->availableGeometry() : QRect(0, 0, 1024, 768);
    const int half = screen.height() / 2;
    m_window.setGeometry(screen.x(), screen.y(), screen.width(), half);
    (void)m_session->link().placeWindow(screen.x(), screen.y() + half, screen.width(), screen.height() - half);
    m_window.showDocumentPages(false);

    m_session->rememberedExampleCount = m_bench.sentenceLibrary.exampleCount();
    m_bench.linkedOfficeText = [this](const std::string& path) { return m_session->link().pureText(path); };
    setLinkCommands(true);
    m_window.statusBar()->showMessage(QStringLiteral("已连接 LibreOffice Writer"), 4000);
    // The translator goes on in this window; the notice took the focus away.
    m_window.activateWindow();
    interactive->translationBox()->setFocus();
    return true;
}

void WordLinkMenu::enterInteractiveMode() {
    m_session->rememberedExampleCount = m_bench.sentenceLibrary.exampleCount();
    m_session->workMode = WorkMode::Interactive;
    m_auto->setChecked(false);
    m_window.showDocumentPages(true);
    m_window.showMaximized();
    if (QToolBar* tools = m_window.toolBar()) tools->show();
    setLinkCommands(false);
    m_window.tabs()->setCurrentIndex(static_cast<int>(DocumentView::Bilingual));
    m_window.refreshFrame();
}

void WordLinkMenu::enterAutomaticMode() {
    // "自动" again leaves the automatic mode for the interactive one: nothing else leads back.
    if (m_session->workMode == WorkMode::Automatic) {
        enterInteractiveMode();
        return;
    }
    m_auto->setChecked(true);
    if (m_session->workMode == WorkMode::Interactive && m_window.document().bilingual.size() > 20 &&
        m_bench.dialogs().askYesNo("现有译文区内容将被清空，需要保存吗？")) {
        if (!m_window.saveBilingual()) {
            m_auto->setChecked(false);  // the text stays: it was not saved
            return;
        }
    }
    m_window.clearDocument();
    m_window.showDocumentPages(true);
    m_window.showMaximized();
    if (QToolBar* tools = m_window.toolBar()) tools->show();
    m_session->workMode = WorkMode::Automatic;
    setLinkCommands(false);
    for (const char* name : kSentenceCommands)
        if (QAction* action = m_window.command(name)) action->setEnabled(false);
    m_window.interactive()->hidePopup();
    m_window.tabs()->setCurrentIndex(static_cast<int>(DocumentView::Source));
}

void WordLinkMenu::pause() {
    // Failures of pausenow are of no consequence.
    (void)m_session->link().pause();
}

void WordLinkMenu::saveBilingualText() {
    Result<std::string> saved = m_session->saveBilingualText();
    if (!saved) return tellFailure(saved.status());
    if (!saved->empty()) m_window.statusBar()->showMessage(QStringLiteral("已保存 ") + fromNativePath(*saved), 6000);
}

void WordLinkMenu::removeSources() {
    BusyCursor busy;
    Result<int> removed = m_session->cleanup();
    if (!removed) return tellFailure(removed.status());
    m_window.statusBar()->showMessage(QStringLiteral("已清除 %1 句原文").arg(*removed), 6000);
}

void WordLinkMenu::tellFailure(const Status& status) {
    m_bench.dialogs().message(status.message());
    refreshLinkState();
}

void WordLinkMenu::refreshLinkState() {
    if (!m_session->connected()) m_bench.linkedOfficeText = nullptr;
    if (isLinkMode(m_session->workMode) && !m_session->connected()) {
        // Writer went away: "连接" starts or finds it again; the mode and the library stay.
        m_connect->setEnabled(true);
        m_connect->setChecked(false);
    }
}

}  // namespace tavricat::gui
