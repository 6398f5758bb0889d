#include "main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabBar>
#include <QScreen>
#include <QSplitter>
#include <QTabWidget>
#include <QKeyEvent>
#include <QTextEdit>
#include <QActionGroup>
#include <QTimer>
#include <QToolBar>

#include "app/direction_switch.h"
#include "app/document_translation.h"
#include "app/sentence_library_switch.h"
#include "base/encoding.h"
#include "document/close_query.h"
#include "document/document_files.h"
#include "document/document_views.h"
#include "document/segment_edit.h"
#include "auto_translation_dialog.h"
#include "interactive/interactive_panel.h"
#include "interactive/meaning_popup_widget.h"
#include "interactive/translation_box.h"
#include "help_browser.h"
#include "library_info_dialog.h"
#include "library_update_dialog.h"
#include "verification_window.h"
#include "concordance_pane.h"
#include "qa_window.h"
#include "team_menu.h"
#include "word_link_menu.h"
#include "wordlink/writer_link.h"
#include "options_dialog.h"
#include "qt_ports.h"
#include "project_analysis_dialog.h"
#include "setup_wizard.h"
#include "term_base_editor.h"
#include "term_import_dialog.h"
#include "busy_cursor.h"
#include "text_convert.h"

namespace tavricat::gui {

QString windowCaption(Direction direction, const std::string& documentPath) {
    QString caption = isCE(direction) ? QStringLiteral("TavriCAT 2.5[汉英]") : QStringLiteral("TavriCAT 2.5[英汉]");
    if (!documentPath.empty()) caption += QStringLiteral(" - ") + fromNativePath(documentPath);
    return caption;
}

MainWindow::MainWindow(Workbench& bench, QWidget* parent)
    : QMainWindow(parent),
      m_bench(bench),
      m_context{bench.fs(), bench.dialogs(), bench.progress(), bench.workspace().programFolder(),
                [this](const std::string& path) {
                    m_bench.recentFiles.touch(path);
                    rebuildRecentMenu();
                }} {
    m_tabs = new QTabWidget(this);
    const std::array<std::pair<DocumentView, QString>, 3> tabs = {{
        {DocumentView::Bilingual, QStringLiteral("双语")},
        {DocumentView::Source, QStringLiteral("原文")},
        {DocumentView::Target, QStringLiteral("译文")},
    }};
    for (const auto& [which, title] : tabs) {
        RichText& buffer = which == DocumentView::Bilingual ? m_document.bilingual
                           : which == DocumentView::Source  ? m_document.source
                                                            : m_document.target;
        auto* view = new RichTextView(buffer, bench.dialogs(), m_tabs);
        m_views[static_cast<std::size_t>(which)] = view;
        m_tabs->addTab(view, title);
    }
    connect(m_tabs, &QTabWidget::currentChanged, this, &MainWindow::onTabChanged);
    DocumentAccess access{
        [this]() -> RichText& { return m_document.bilingual; },
        [this] { view(DocumentView::Bilingual)->showBufferSelection(); },
        [this] { view(DocumentView::Bilingual)->render(); },
        [] { return ViewInput{}; },
        [this]() -> LinkedDocument* { return m_wordLink ? m_wordLink->linkedDocument() : nullptr; },
    };
    auto* split = new QSplitter(Qt::Vertical, this);
    split->setObjectName(QStringLiteral("documentAndArea"));
    m_interactive = new InteractivePanel(bench, std::move(access), split);
    split->addWidget(m_tabs);
    split->addWidget(m_interactive);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    setCentralWidget(split);
    connect(m_interactive, &InteractivePanel::directionQuestionAccepted, this, &MainWindow::showSetupWizard);
    connect(m_interactive, &InteractivePanel::confirmed, this, [this](const ConfirmationResult& result) {
        if (result.outcome == ConfirmOutcome::Stored) statusBar()->showMessage(QStringLiteral("已存入例句库"), 4000);
        else if (result.outcome == ConfirmOutcome::Corrected) statusBar()->showMessage(QStringLiteral("已更新例句"), 4000);
        refreshFrame();
        if (m_wordLink) m_wordLink->refreshLinkState();
    });
    qApp->installEventFilter(this);

    for (std::size_t i = 0; i < m_panels.size(); ++i) {
        m_panels[i] = new QLabel(this);
        m_panels[i]->setObjectName(QStringLiteral("statusPanel%1").arg(i));
        // No stretch: the room left of the panels shows the results of commands.
        statusBar()->addPermanentWidget(m_panels[i], 0);
    }
    m_libraryDialog = new LibraryInfoDialog(m_bench, this);  // created once and reused
    buildMenu();
    buildToolBar();
    m_wordLink = new WordLinkMenu(
        *this, m_bench,
        std::make_unique<WordLinkSession>(m_bench, wordlink::writerLinkOptionsFor(m_bench.workspace().programFolder())));
    m_team = new TeamMenu(*this, m_bench);
    m_concordance = new ConcordancePane(m_bench, this);
    addDockWidget(Qt::RightDockWidgetArea, m_concordance);
    m_concordance->hide();
    QAction* showConcordance = m_concordance->toggleViewAction();
    showConcordance->setObjectName(QStringLiteral("mnuConcordance"));
    showConcordance->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    m_viewMenu->addSeparator();
    m_viewMenu->addAction(showConcordance);
    refreshFrame();
    // The window fits the screen at any scaling.
    QSize size(900, 640);
    if (const QScreen* screen = this->screen()) size = size.boundedTo(screen->availableGeometry().size() * 0.95);
    resize(size);
    m_bench.addObserver(*this);
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
    m_bench.removeObserver(*this);
}

void MainWindow::directionChanged() {
    m_interactive->loadCommonCharacters();
    m_interactive->clearSentence();  // its analysis belongs to the other direction
    refreshFrame();
}

void MainWindow::settingsChanged() { m_interactive->settingsChanged(); }

QAction* MainWindow::command(const char* name) const { return findChild<QAction*>(QLatin1String(name)); }

void MainWindow::buildMenu() {
    m_fileMenu = menuBar()->addMenu(QStringLiteral("文件"));
    QAction* open = m_fileMenu->addAction(QStringLiteral("打开原文"), this, &MainWindow::openSource);
    open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    QAction* save = m_fileMenu->addAction(QStringLiteral("保存双语"), this, &MainWindow::saveBilingual);
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    m_fileMenu->addAction(QStringLiteral("保存译文..."), this, &MainWindow::saveTarget);
    m_fileMenu->addAction(QStringLiteral("另存为..."), this, &MainWindow::saveViewAs);
    m_fileMenu->addSeparator();
    QAction* replace = m_fileMenu->addAction(QStringLiteral("双语替换为原文"), this, &MainWindow::replaceBilingualBySource);
    replace->setShortcut(QKeySequence(Qt::Key_F7));
    m_recentSeparator = m_fileMenu->addSeparator();
    m_fileMenu->addAction(QStringLiteral("退出"), this, &QWidget::close);
    rebuildRecentMenu();

    m_editMenu = menuBar()->addMenu(QStringLiteral("编辑"));
    QAction* undoAction = m_editMenu->addAction(QStringLiteral("撤销"), this, &MainWindow::undo);
    undoAction->setObjectName(QStringLiteral("mnuUndo"));
    undoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction* redoAction = m_editMenu->addAction(QStringLiteral("重做"), this, &MainWindow::redo);
    redoAction->setObjectName(QStringLiteral("mnuRedo"));
    redoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    m_editMenu->addSeparator();
    m_editMenu->addAction(QStringLiteral("合并选定句"), this, &MainWindow::mergeSelectedSegments)
        ->setObjectName(QStringLiteral("mnuMergeSegments"));
    m_editMenu->addAction(QStringLiteral("拆分当前句"), this, &MainWindow::untranslateCurrentSegment)
        ->setObjectName(QStringLiteral("mnuSplitSegment"));

    m_translateMenu = menuBar()->addMenu(QStringLiteral("翻译"));
    m_autoAction = m_translateMenu->addAction(QStringLiteral("自动翻译"), this, &MainWindow::translateAutomatically);
    m_autoAction->setObjectName(QStringLiteral("mmnuaototrans"));
    m_autoAction->setShortcut(QKeySequence(Qt::Key_F5));
    m_stopAction = m_translateMenu->addAction(QStringLiteral("停止自动翻译"), this, &MainWindow::stopAutomaticTranslation);
    m_stopAction->setShortcut(QKeySequence(Qt::Key_F6));
    // F6 also works while the progress window, a window of its own, has the focus.
    m_stopAction->setShortcutContext(Qt::ApplicationShortcut);
    m_stopAction->setEnabled(false);
    m_translateMenu->addSeparator();
    m_analysisAction = m_translateMenu->addAction(QStringLiteral("项目分析..."), this, [this] {
        ProjectAnalysisDialog analysis(m_bench, *m_libraryDialog, this);
        analysis.setLibraryChooser([this] { showSetupWizard(); });
        analysis.exec();
    });

    m_translateMenu->addAction(QStringLiteral("质量检查..."), this, &MainWindow::checkQuality)->setObjectName(QStringLiteral("mnuQa"));

    buildInteractiveMenus();

    m_setupMenu = menuBar()->addMenu(QStringLiteral("设置"));
    m_setupMenu->addAction(QStringLiteral("英汉汉英设置..."), this, &MainWindow::showSetupWizard);
    m_setupMenu->addSeparator();
    m_ecAction = m_setupMenu->addAction(QStringLiteral("英译汉"), this, [this] { switchDirection(Direction::EC); });
    m_ceAction = m_setupMenu->addAction(QStringLiteral("汉译英"), this, [this] { switchDirection(Direction::CE); });
    m_ecAction->setCheckable(true);
    m_ceAction->setCheckable(true);
    m_setupMenu->addSeparator();
    m_setupMenu->addAction(QStringLiteral("新建词库..."), this, &MainWindow::newTermBase);
    m_setupMenu->addAction(QStringLiteral("新建例句库..."), this, &MainWindow::newSentenceLibrary);
    m_setupMenu->addAction(QStringLiteral("更新例句库..."), this, [this] {
        LibraryUpdateDialog update(m_bench, this);
        update.exec();
    });
    m_setupMenu->addAction(QStringLiteral("更新词库..."), this, [this] { TermImportDialog(m_bench, this).exec(); });
    m_setupMenu->addAction(QStringLiteral("校订词库..."), this, [this] { reviseTermBaseFile(m_bench, this); });
    m_setupMenu->addAction(QStringLiteral("校订例句库..."), this, [this] { verifySentenceLibrary(m_bench, this); });
    m_setupMenu->addSeparator();
    // Colours are stored while the dialog is open, every other option on "确 定".
    m_setupMenu->addAction(QStringLiteral("选项..."), this, [this] {
        // Colours are taken even when the dialog is cancelled.
        Settings edited = m_bench.settings;
        OptionsDialog options(edited, m_bench.dialogs(), this);
        options.setHelpOpener([this, &options](const QString& topic) { openHelp(m_bench, &options, topic); });
        options.exec();
        m_bench.changeSettings(edited);
    });

    QMenu* help = menuBar()->addMenu(QStringLiteral("帮助"));
    QAction* manual = help->addAction(QStringLiteral("使用说明"), this, [this] { openHelp(m_bench, this, QStringLiteral("index.htm")); });
    manual->setObjectName(QStringLiteral("mnuHelp"));
    manual->setShortcut(QKeySequence(Qt::Key_F1));
    help->addAction(QStringLiteral("交互翻译"), this, [this] { openHelp(m_bench, this, QStringLiteral("interactive.htm")); })
        ->setObjectName(QStringLiteral("mnuHelpInteractive"));
}

void MainWindow::buildInteractiveMenus() {
    m_translateMenu->addSeparator();
    auto add = [this](QMenu* menu, const char* name, const QString& caption, QKeySequence key, auto slot) {
        QAction* action = menu ? menu->addAction(caption) : new QAction(caption, this);
        if (!menu) addAction(action);  // no menu item, but the key works
        action->setObjectName(QLatin1String(name));
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    add(m_translateMenu, "mmnutransasent", QStringLiteral("翻译一句"), QKeySequence(Qt::CTRL | Qt::Key_J),
        [this] { translateSentence(TranslateTrigger::NextSentence); });
    add(nullptr, "mmnutranscursent", QStringLiteral("翻译选定句"), QKeySequence(Qt::CTRL | Qt::Key_K),
        [this] { translateSentence(TranslateTrigger::Selection); });
    add(m_translateMenu, "mmnuconfirmcont", QStringLiteral("确认"), QKeySequence(Qt::CTRL | Qt::Key_L),
        [this] { (void)m_interactive->confirm(); });
    QAction* goOn = add(m_translateMenu, "mmnuMemCont", QStringLiteral("确认继续"), QKeySequence(Qt::CTRL | Qt::Key_Return),
                        [this] { m_interactive->confirmAndContinue(); });
    goOn->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});
    add(m_translateMenu, "N57", QStringLiteral("机译当前句"), QKeySequence(Qt::Key_F11), [this] { m_interactive->machineTranslate(); });
    add(m_translateMenu, "Nn38", QStringLiteral("选用译例"), QKeySequence(Qt::Key_F12), [this] { m_interactive->useExample(); });
    add(m_translateMenu, "mmnuClearCankao", QStringLiteral("清除参考译文"), QKeySequence(Qt::CTRL | Qt::Key_D),
        [this] { m_interactive->clearBox(); });

    m_editMenu->addSeparator();
    add(m_editMenu, "mmnuAddNewWord", QStringLiteral("添加词条"), QKeySequence(Qt::CTRL | Qt::Key_W),
        [this] { m_interactive->addTerm(); });
    add(m_editMenu, "mnuDelAWord", QStringLiteral("删除词条"), QKeySequence(), [this] { m_interactive->deleteTermByName(); });

    QMenu* grammar = menuBar()->addMenu(QStringLiteral("语法"));
    add(grammar, "mmnuAddGramar", QStringLiteral("添加"), QKeySequence(Qt::CTRL | Qt::Key_G), [this] { m_interactive->addGrammar(); });
    add(grammar, "mmnuDelGramar", QStringLiteral("删除"), QKeySequence(), [this] { m_interactive->deleteGrammar(); });
    add(grammar, "mnuBatchUpdate", QStringLiteral("批量更新"), QKeySequence(), [this] { m_interactive->importGrammar(); });
    grammar->addSeparator();
    add(grammar, "mnShowGram", QStringLiteral("当前句语法参考"), QKeySequence(Qt::Key_F8),
        [this] { m_interactive->showGrammarReference(); });

    m_viewMenu = menuBar()->addMenu(QStringLiteral("查看"));
    auto* modes = new QActionGroup(this);
    for (const DisplayModeInfo& info : kDisplayModes) {
        QAction* action = add(m_viewMenu, info.menuItem, fromGbk(info.menuCaption),
                              QKeySequence(QString::fromLatin1(info.menuShortcut)),
                              [this, mode = info.mode] { m_interactive->setDisplayMode(mode); });
        action->setCheckable(true);
        action->setChecked(info.mode == m_interactive->displayMode());
        modes->addAction(action);
    }
    // The area's buttons and the menu items show the same mode.
    connect(m_viewMenu, &QMenu::aboutToShow, this, [this] {
        for (const DisplayModeInfo& info : kDisplayModes)
            if (QAction* action = command(info.menuItem)) action->setChecked(info.mode == m_interactive->displayMode());
    });
}

void MainWindow::translateSentence(TranslateTrigger trigger) {
    if (m_translating) return;
    if (m_wordLink && m_wordLink->linkedDocument()) {
        (void)m_interactive->translate(trigger);
        m_wordLink->refreshLinkState();
        return;
    }
    if (m_tabs->currentIndex() != static_cast<int>(DocumentView::Bilingual))
        m_tabs->setCurrentIndex(static_cast<int>(DocumentView::Bilingual));
    (void)m_interactive->translate(trigger);
}

void MainWindow::showDocumentPages(bool shown) { m_tabs->setVisible(shown); }

QaWindow* MainWindow::checkQuality() {
    const std::vector<QaSegment> segments = bilingualSegments(m_document.bilingual.text());
    std::vector<QaFinding> findings =
        checkSegments(segments, m_bench.direction(), &m_bench.engine.termBase, &m_bench.engine.systemDictionary);
    auto* window = new QaWindow(segments, std::move(findings),
                                [this](std::size_t start, std::size_t length) {
                                    showTab(DocumentView::Bilingual);
                                    m_document.bilingual.select(start, length);
                                    view(DocumentView::Bilingual)->showBufferSelection();
                                },
                                this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return window;
}

void MainWindow::clearDocument() {
    m_document.bilingual = RichText();
    m_document.source = RichText();
    m_document.target = RichText();
    renderAll();
}

void MainWindow::undo() {
    if (m_interactive->translationBox()->hasFocus()) m_interactive->translationBox()->undo();
    else if (RichTextView* shown = view(m_document.activeView)) shown->undo();
}

void MainWindow::redo() {
    if (m_interactive->translationBox()->hasFocus()) m_interactive->translationBox()->redo();
    else if (RichTextView* shown = view(m_document.activeView)) shown->redo();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // Only keys sent to this window or to the popup (the window sees them first).
    const auto* target = qobject_cast<const QWidget*>(watched);
    if (event->type() != QEvent::KeyPress || !target ||
        (target->window() != this && target->window() != m_interactive->popupWidget()))
        return QMainWindow::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    if (key->key() == Qt::Key_Escape && mods == Qt::NoModifier && m_interactive->popupWidget()->isVisible()) {
        m_interactive->hidePopup();
        return true;
    }
    if (mods != Qt::AltModifier) return QMainWindow::eventFilter(watched, event);
    // Window key codes: the letters are their capitals, "[" 219 and "]" 221.
    int code = 0;
    if (key->key() >= Qt::Key_A && key->key() <= Qt::Key_Z) code = key->key();
    else if (key->key() == Qt::Key_BracketLeft) code = 219;
    else if (key->key() == Qt::Key_BracketRight) code = 221;
    if (code != 0 && m_interactive->altKey(code)) return true;
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::showSetupWizard() {
    SetupWizard wizard(m_bench, *m_libraryDialog, this);
    wizard.exec();
}

void MainWindow::switchDirection(Direction direction) {
    {
        BusyCursor busy;
        (void)tavricat::switchDirection(m_bench, direction);  // a failure was told
    }
    // A failed or needless switch changes nothing; the checks still follow the real direction
    // (triggering a checkable action toggled it).
    refreshFrame();
}

void MainWindow::newTermBase() { m_libraryDialog->run(LibraryKind::TermBase); }

void MainWindow::newSentenceLibrary() {
    m_libraryDialog->run(LibraryKind::SentenceLibrary,
                         [this](const LibraryInfo& info) { return createSentenceLibrary(m_bench, info); });
}

void MainWindow::rebuildRecentMenu() {
    for (QAction* action : m_recentActions) {
        m_fileMenu->removeAction(action);
        action->deleteLater();
    }
    m_recentActions.clear();
    // The entries go between the commands and "退出", followed by their own separator.
    QAction* before = m_recentSeparator;
    const std::vector<std::string> entries = m_bench.recentFiles.visibleEntries();
    int number = 1;
    for (const std::string& path : entries) {
        auto* action = new QAction(QStringLiteral("&%1 %2").arg(number++).arg(fromNativePath(path)), m_fileMenu);
        connect(action, &QAction::triggered, this, [this, path] { openPath(path); });
        m_fileMenu->insertAction(before, action);
        m_recentActions.append(action);
    }
    if (!entries.empty()) {
        QAction* separator = new QAction(m_fileMenu);
        separator->setSeparator(true);
        m_fileMenu->insertAction(before, separator);
        m_recentActions.append(separator);
    }
}

void MainWindow::refreshFrame() {
    setWindowTitle(windowCaption(m_bench.direction(), m_document.currentPath));
    // The file dialogs start in the open document's folder.
    if (auto* dialogs = dynamic_cast<QtDialogs*>(&m_bench.dialogs()); dialogs && !m_document.currentPath.empty())
        dialogs->setStartFolder(QFileInfo(fromNativePath(m_document.currentPath)).absolutePath());
    // Triggering a checkable action toggles it; the check always shows the real direction.
    if (m_ecAction) {
        m_ecAction->setChecked(!isCE(m_bench.direction()));
        m_ceAction->setChecked(isCE(m_bench.direction()));
    }
    for (std::size_t i = 0; i < m_panels.size(); ++i) m_panels[i]->setText(fromGbk(m_bench.statusPanels[i]));
}

void MainWindow::renderAll() {
    for (RichTextView* view : m_views) view->render();
}

void MainWindow::showTab(DocumentView which) {
    m_switchingTabs = true;
    m_tabs->setCurrentIndex(static_cast<int>(which));
    m_switchingTabs = false;
}

bool MainWindow::openPath(const std::string& path) {
    Status opened;
    {
        BusyCursor busy;
        opened = openAfile(m_document, m_context, path);
        if (opened) {
            showTab(DocumentView::Bilingual);
            renderAll();
        }
    }
    refreshFrame();
    return opened.isOk();
}

void MainWindow::openSource() {
    Status opened = openSourceCommand(m_document, m_context);
    if (opened) {
        BusyCursor busy;
        showTab(DocumentView::Bilingual);
        renderAll();
    }
    refreshFrame();
}

bool MainWindow::saveBilingual() {
    bool saved = false;
    {
        BusyCursor busy;
        // A failed write has been shown by the save itself.
        saved = tavricat::saveBilingual(m_document, m_context).isOk();
    }
    if (saved) statusBar()->showMessage(QStringLiteral("已保存 %1").arg(fromNativePath(m_document.bilingualPath)), 8000);
    return saved;
}

void MainWindow::saveTarget() {
    {
        // An office format takes LibreOffice a few seconds.
        BusyCursor busy;
        (void)tavricat::saveTarget(m_document, m_context);  // a failed write was shown
    }
    // The target view is derived afresh whenever it is entered; show what the save made.
    if (m_document.activeView == DocumentView::Target) view(DocumentView::Target)->render();
}

void MainWindow::saveViewAs() { (void)tavricat::saveViewAs(m_document, m_context); }  // a failed write was shown

void MainWindow::buildToolBar() {
    QToolBar* tools = addToolBar(QStringLiteral("工具"));
    tools->setObjectName(QStringLiteral("mainTools"));
    tools->addAction(QStringLiteral("打开"), this, &MainWindow::openSource)->setToolTip(QStringLiteral("打开原文"));
    tools->addAction(QStringLiteral("保存"), this, &MainWindow::saveBilingual)->setToolTip(QStringLiteral("保存双语"));
    tools->addSeparator();
    QAction* merge = tools->addAction(QStringLiteral("合并"), this, &MainWindow::mergeSelectedSegments);
    merge->setToolTip(QStringLiteral("合并选定句子"));
    merge->setObjectName(QStringLiteral("btMergeSegments"));
    QAction* split = tools->addAction(QStringLiteral("清除"), this, &MainWindow::untranslateCurrentSegment);
    split->setToolTip(QStringLiteral("清除当前句译文"));
    split->setObjectName(QStringLiteral("btSplitSegment"));
    tools->addSeparator();
    QAction* run = tools->addAction(QStringLiteral("自动"), this, &MainWindow::translateAutomatically);
    run->setToolTip(QStringLiteral("自动翻译: F5"));
    run->setObjectName(QStringLiteral("SpeedButton7"));
    // The menu item carries F6; a second shortcut on the button would make the key ambiguous.
    m_stopButton = tools->addAction(QStringLiteral("停止"), this, &MainWindow::stopAutomaticTranslation);
    m_stopButton->setToolTip(QStringLiteral("暂停自动翻译: F6"));
    m_stopButton->setEnabled(false);
    m_tools = tools;
}

void MainWindow::translateAutomatically() {
    if (m_translating) return;
    Settings edited = m_bench.settings;
    AutoTranslationDialog options(edited, this);
    options.setHelpOpener([this, &options](const QString& topic) { openHelp(m_bench, &options, topic); });
    if (options.exec() != QDialog::Accepted) return;
    m_bench.changeSettings(edited);
    (void)runAutomaticTranslation();  // it shows its own failure
}

Result<AutoTranslationCounts> MainWindow::runAutomaticTranslation() {
    return runAutomaticTranslation(m_bench.sentenceLibrary);
}

Result<AutoTranslationCounts> MainWindow::runAutomaticTranslation(const SentenceLibrary& library) {
    if (m_translating) return Status::error(ErrorKind::Refused, "");
    m_tabs->setCurrentIndex(static_cast<int>(DocumentView::Bilingual));
    m_stop.clear();
    setTranslating(true);
    Direction switchTo = m_bench.direction();
    Result<AutoTranslationCounts> counts =
        translateDocument(m_bench, library, m_document.bilingual, m_stop, [&switchTo](Direction to) { switchTo = to; });
    setTranslating(false);
    view(DocumentView::Bilingual)->render();
    // The run has ended and no longer holds the engine: the direction may change now.
    if (switchTo != m_bench.direction()) switchDirection(switchTo);
    if (!counts) {
        if (!counts.status().message().empty()) m_bench.dialogs().message(counts.status().message());
    } else {
        statusBar()->showMessage(QStringLiteral("已经翻译 %1 句").arg(counts->sentences));
    }
    if (m_closeAfterRun) QTimer::singleShot(0, this, &QWidget::close);
    return counts;
}

void MainWindow::setTranslating(bool translating) {
    m_translating = translating;
    // The run yields to the event loop once per sentence: nothing else may touch the document.
    for (QMenu* menu : {m_fileMenu, m_editMenu, m_setupMenu}) menu->menuAction()->setEnabled(!translating);
    for (QAction* action : m_tools->actions()) action->setEnabled(!translating);
    m_autoAction->setEnabled(!translating);
    m_analysisAction->setEnabled(!translating);
    m_stopAction->setEnabled(translating);
    m_stopButton->setEnabled(translating);
    m_tabs->tabBar()->setEnabled(!translating);
    m_interactive->setEnabled(!translating);
    view(DocumentView::Bilingual)->setVisible(!translating);
}

void MainWindow::editSegments(const std::function<Status(Document&)>& command) {
    // Through the tab change, so that the document leaves the other view (the target view is
    // cleared) and "另存为..." saves the bilingual text that is shown.
    m_tabs->setCurrentIndex(static_cast<int>(DocumentView::Bilingual));
    Status done = command(m_document);
    if (!done) {
        // Nothing changed: a selection outside segments, or markup that is broken.
        if (!done.message().empty()) m_bench.dialogs().message(done.message());
        else m_bench.dialogs().beep();
        return;
    }
    view(DocumentView::Bilingual)->render();
}

void MainWindow::mergeSelectedSegments() {
    const Direction direction = m_bench.direction();
    editSegments([direction](Document& document) { return mergeSegments(document, direction); });
}

void MainWindow::untranslateCurrentSegment() {
    editSegments([](Document& document) { return untranslateSegment(document); });
}

void MainWindow::replaceBilingualBySource() {
    if (!tavricat::replaceBilingualBySource(m_document, m_context)) return;
    view(DocumentView::Bilingual)->render();
    view(DocumentView::Source)->render();
}

void MainWindow::onTabChanged(int index) {
    if (m_switchingTabs || index < 0 || index > 2) return;
    const DocumentView to = static_cast<DocumentView>(index);
    const DocumentView from = m_document.activeView;
    {
        BusyCursor busy;
        m_tabs->setEnabled(false);
        (void)changeView(m_document, m_context, to);  // a failure was shown; the view changed anyway
        m_tabs->setEnabled(true);
    }
    if (from == DocumentView::Target || to == DocumentView::Target) view(DocumentView::Target)->render();
    if (to == DocumentView::Source) view(DocumentView::Source)->render();  // caret to 0
    view(to)->setFocus();
}

bool MainWindow::closeQuery() {
    if (!closeQueryNeeded(m_document.bilingual)) return true;
    // The translation the person asked to keep must not go with the window when it could not
    // be written: the window stays open. The core's texts are UTF-8 in this file; the ports
    // take GBK.
    if (m_bench.dialogs().askYesNo(encoding::toGbk(kCloseQueryQuestion))) return saveBilingual();
    return true;
}

bool MainWindow::shutDown() {
    if (m_shutDown) return true;
    m_shutDown = true;
    Settings closing = m_bench.settings;
    closing.curyiwenfilename = m_document.bilingualPath;
    m_bench.changeSettings(closing);
    BusyCursor busy;
    m_shutDownFailed = !m_bench.shutdown().isOk();  // "退出时出错!" is shown by the shutdown itself
    return !m_shutDownFailed;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (m_translating) {
        // Shutting down under a running loop would free what it works on: stop it first,
        // and close when it has ended.
        m_closeAfterRun = true;
        m_stop.request();
        event->ignore();
        return;
    }
    if (!m_shutDown) {
        if (!closeQuery()) {
            event->ignore();
            return;
        }
        shutDown();
    }
    event->accept();
}

}  // namespace tavricat::gui
