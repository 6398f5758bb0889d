#include "interactive_panel.h"

#include <QApplication>
#include <QCursor>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTextCursor>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/meaning_promotion.h"
#include "app/sentence_confirmation_setup.h"
#include "app/sentence_translation_setup.h"
#include "app/workbench.h"
#include "base/gbk.h"
#include "document/rtf_reader.h"
#include "document/han_spacing.h"
#include "engine/pinyin_service.h"
#include "interactive/area_insertion.h"
#include "interactive/phrase_tip.h"
#include "interactive/translation_box_edits.h"
#include "memory/example_lookup.h"
#include "area_widget.h"
#include "example_panel.h"
#include "meaning_popup_widget.h"
#include "reference_window.h"
#include "busy_cursor.h"
#include "text_convert.h"
#include "translation_box.h"

namespace tavricat::gui {

struct InteractivePanel::Pinyin {
    PinyinService service;
    bool loaded = false;
};

InteractivePanel::InteractivePanel(Workbench& bench, DocumentAccess access, QWidget* parent)
    : QWidget(parent),
      m_bench(bench),
      m_access(std::move(access)),
      m_box(new TranslationBox(this)),
      m_areaWidget(new AreaWidget(this)),
      m_examples(new ExamplePanel(this)),
      m_popupWidget(new MeaningPopupWidget(parent ? parent->window() : this)),
      m_reference(new ReferenceWindow(parent ? parent->window() : this)),
      m_pinyin(std::make_unique<Pinyin>()) {
    setObjectName(QStringLiteral("interactivePanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(buildButtons());
    m_box->setMinimumHeight(48);
    m_box->setMaximumHeight(90);
    layout->addWidget(m_box);
    layout->addWidget(m_examples);
    layout->addWidget(m_areaWidget, 1);

    m_box->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_box, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(m_box);
        menu.setObjectName(QStringLiteral("popDanjuyiWen"));
        auto edit = [this](BoxText (*command)(std::string_view, std::size_t, std::size_t)) {
            const BoxText done = command(m_box->gbkText(), m_box->selStartByte(), m_box->selLengthByte());
            m_box->setGbkText(done.text, done.caret);
        };
        menu.addAction(QStringLiteral("全部大写"), this, [edit] { edit(toAllCapitals); })
            ->setObjectName(QStringLiteral("pmAllUperCase"));
        menu.addAction(QStringLiteral("首字母大写"), this, [edit] { edit(toCapitalInitials); })
            ->setObjectName(QStringLiteral("pmUperEachFChar"));
        menu.exec(m_box->viewport()->mapToGlobal(at));
    });
    connect(m_box, &TranslationBox::mouseEntered, this, &InteractivePanel::hideWhenAutoShown);

    connect(m_areaWidget, &AreaWidget::wordClicked, this, &InteractivePanel::onWordClicked);
    connect(m_areaWidget, &AreaWidget::meaningClicked, this, &InteractivePanel::onMeaningClicked);
    connect(m_areaWidget, &AreaWidget::labelRightClicked, this, [this](int token) {
        makeCurrent(token);
        openPopup(token, false);
    });
    connect(m_areaWidget, &AreaWidget::labelHovered, this,
            [this](int token, Qt::KeyboardModifiers modifiers) { onHover(token, modifiers, false); });
    connect(m_areaWidget, &AreaWidget::backgroundRightReleased, this, [this] { (void)confirm(); });
    connect(m_areaWidget, &AreaWidget::backgroundDoubleClicked, this, &InteractivePanel::confirmAndContinue);
    connect(m_areaWidget, &AreaWidget::backgroundHovered, this, &InteractivePanel::hideWhenAutoShown);

    connect(m_popupWidget, &MeaningPopupWidget::cellChosen, this, &InteractivePanel::onCellChosen);
    connect(m_popupWidget, &MeaningPopupWidget::keyTyped, this, &InteractivePanel::onPopupKey);
    connect(m_popupWidget, &MeaningPopupWidget::commandRequested, this, &InteractivePanel::onPopupCommand);
    connect(m_popupWidget, &MeaningPopupWidget::closeRequested, this, &InteractivePanel::hidePopup);
    connect(m_popupWidget, &MeaningPopupWidget::pageRequested, this, [this](bool down) {
        if (down ? m_popup.pageDown() : m_popup.pageUp()) m_popupWidget->showRows(m_popup);
    });
    connect(m_popupWidget, &MeaningPopupWidget::backspaceRequested, this, [this] {
        const BoxText done = eraseLeft(m_box->gbkText(), m_box->selStartByte(), m_box->selLengthByte());
        m_box->setGbkText(done.text, done.caret);
    });
    connect(m_popupWidget, &MeaningPopupWidget::enterPressed, this, [this] {
        insertIntoBox(m_popup.enterText(m_bench.engine.workSent));
        hidePopup();
    });
    m_popupWidget->hide();

    connect(m_examples, &ExamplePanel::commonRunClicked, this, [this](const std::string& run) {
        insertIntoBox(commonCharacterInsertText(run, m_bench.direction(), m_bench.settings.SpaceInHanChar));
    });
    connect(m_examples, &ExamplePanel::hovered, this, &InteractivePanel::hideWhenAutoShown);
    connect(m_examples, &ExamplePanel::deleteExampleRequested, this, [this] {
        const auto index = m_bench.sentenceState.bestCandidate;
        if (!index) return;
        if (Status deleted = m_bench.sentenceLibrary.deleteSample(*index); !deleted) {
            m_bench.dialogs().message(deleted.message());
            return;
        }
        m_bench.sentenceState.bestCandidate.reset();
        m_bench.sentenceState.exampleUsed = false;
        m_examples->clearExample();
    });
    connect(m_examples, &ExamplePanel::updateExampleRequested, this, [this] {
        const auto index = m_bench.sentenceState.bestCandidate;
        if (index) (void)updateExampleFromBox(m_bench.sentenceLibrary, *index, toGbkLossy(m_examples->exampleBox()->toPlainText()));
    });
    connect(m_reference, &ReferenceWindow::deletePatternRequested, this, &InteractivePanel::dropPattern);
    connect(m_reference, &ReferenceWindow::modifyPatternRequested, this, &InteractivePanel::modifyPattern);
    loadCommonCharacters();
}

InteractivePanel::~InteractivePanel() = default;

QWidget* InteractivePanel::buildButtons() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    auto add = [this, row, layout](const char* name, const QString& text, const QString& hint, auto slot) {
        auto* button = new QToolButton(row);
        button->setObjectName(QLatin1String(name));
        button->setText(text);
        button->setToolTip(hint);
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QToolButton::clicked, this, slot);
        layout->addWidget(button);
        return button;
    };
    add("btIntTransAsent", QStringLiteral("翻译一句"), QStringLiteral("翻译一句: Ctrl+J"),
        [this] { (void)translate(TranslateTrigger::NextSentence); });
    add("SpeedButton6", QStringLiteral("翻译选定"), QStringLiteral("翻译选定句子: Ctrl+K"),
        [this] { (void)translate(TranslateTrigger::Selection); });
    add("storeandcont", QStringLiteral("确认"), QStringLiteral("确认本句: Ctrl+L"), [this] { (void)confirm(); });
    add("confirmandgoon", QStringLiteral("确认继续"), QStringLiteral("确认并继续: Ctrl+回车"),
        [this] { confirmAndContinue(); });
    layout->addSpacing(8);
    add("SpeedButton22", QStringLiteral("清除"), QStringLiteral("清除单句译文框: Ctrl+D"), [this] { clearBox(); });
    add("SpeedButton23", QStringLiteral("←"), QStringLiteral("删除左字符: 退格键"), [this] {
        const BoxText done = eraseLeft(m_box->gbkText(), m_box->selStartByte(), m_box->selLengthByte());
        m_box->setGbkText(done.text, done.caret);
        m_box->setFocus();
    });
    add("SpeedButton24", QStringLiteral("→"), QStringLiteral("删除右字符: Del"), [this] {
        if (m_box->toPlainText().isEmpty()) return;
        const BoxText done = eraseRight(m_box->gbkText(), m_box->selStartByte(), m_box->selLengthByte());
        m_box->setGbkText(done.text, done.caret);
        m_box->setFocus();
    });
    add("SpeedButton28", QStringLiteral("词条"), QStringLiteral("添加词条: Ctrl+W"), [this] { addTerm(); });
    add("SpeedButton29", QStringLiteral("语法"), QStringLiteral("添加语法: Ctrl+G"), [this] { addGrammar(); });
    layout->addSpacing(8);
    for (std::size_t i = 0; i < kPunctuationButtons.size(); ++i) {
        const PunctuationButton& button = kPunctuationButtons[i];
        add(button.button, fromGbk(button.ec).trimmed(), fromGbk(button.ec).trimmed(), [this, i] {
            const BoxInsertion insertion =
                punctuationInsertion(kPunctuationButtons[i], m_bench.direction(), m_bench.settings.SpaceInHanChar);
            m_box->insertGbk(insertion.text, insertion.caretBack);
            m_box->setFocus();
        });
    }
    layout->addSpacing(8);
    for (const DisplayModeInfo& info : kDisplayModes) {
        // "原文+释义+快捷键" is shown as "原+释+快".
        QString caption;
        for (const QString& part : fromGbk(info.buttonHint).split(QLatin1Char('+'))) caption += part.left(1) + QLatin1Char('+');
        caption.chop(1);
        QToolButton* button = add(info.button, caption, fromGbk(info.buttonHint),
                                  [this, mode = info.mode] { setDisplayMode(mode); });
        button->setCheckable(true);
        button->setAutoExclusive(true);
        button->setChecked(info.mode == m_mode);
    }
    layout->addStretch();
    return row;
}

AreaOptions InteractivePanel::areaOptions() const {
    return {m_mode, std::max<int>(m_bench.settings.maxshowcharnum, 0)};
}

SentenceOutcome InteractivePanel::translate(TranslateTrigger trigger) {
    hidePopup();
    m_areaWidget->hideAll();
    SentenceTranslation result;
    LinkedDocument* linked = m_access.linked ? m_access.linked() : nullptr;
    {
        BusyCursor wait;
        SentenceTranslationSetup setup(m_bench);
        result = linked ? translateLinkedSentence(setup.context(), m_bench.sentenceState, *linked, trigger)
                        : translateSentence(setup.context(), m_bench.sentenceState, m_access.bilingual(), trigger,
                                            m_access.currentView());
    }
    if (!linked) m_access.showSelection();
    if (result.outcome == SentenceOutcome::SwitchDirection) emit directionQuestionAccepted();
    if (result.outcome != SentenceOutcome::Translated) {
        m_area.clear();  // its labels were hidden at the start
        return result.outcome;
    }
    m_last = std::move(result);
    showTranslation(m_last);
    return SentenceOutcome::Translated;
}

void InteractivePanel::showTranslation(const SentenceTranslation& result) {
    m_area.build(m_bench.engine.workSent, result.tokens, areaOptions());
    showAnalysis(result);
    m_box->setTextColor(Qt::black);
    m_box->setGbkText(result.translationBox);
    m_box->setFocus();
}

void InteractivePanel::showAnalysis(const SentenceTranslation& result) {
    m_bench.sentenceState.CurrentWord = m_area.currentWord();
    m_areaWidget->showArea(m_area, m_bench.settings);
    m_reference->showGrammar(result.grammarLines);
    m_reference->showExample(result.reference);
    if (!result.reference.empty() && !m_reference->isVisible() && window()->isVisible()) {
        m_reference->move(window()->geometry().topRight() + QPoint(8, 0));
        m_reference->show();
    }
    m_examples->setCommonHead(result.commonCharacterHead);
    m_examples->showExample(result.reference);
}

std::optional<ConfirmationResult> InteractivePanel::confirm() {
    hidePopup();
    std::string box = m_box->gbkText();
    SentenceConfirmationSetup setup(m_bench);
    LinkedDocument* linked = m_access.linked ? m_access.linked() : nullptr;
    ConfirmationResult result = linked ? confirmLinkedSentence(setup.context(), m_bench.sentenceState, *linked, box)
                                       : confirmSentence(setup.context(), m_bench.sentenceState, m_access.bilingual(), box);
    if (result.outcome == ConfirmOutcome::Cancelled || result.outcome == ConfirmOutcome::EmptyBox) return result;
    if (!linked) m_access.renderBilingual();
    if (!box.empty()) {
        // The document refused the translation (the person was told): the box keeps it.
        emit confirmed(result);
        return result;
    }
    afterWriteBack();
    emit confirmed(result);
    return result;
}

void InteractivePanel::afterWriteBack() {
    m_box->clear();
    clearSentence();
}

void InteractivePanel::clearSentence() {
    m_examples->clearExample();
    m_areaWidget->hideAll();
    m_area.clear();
    hidePopup();
}

void InteractivePanel::confirmAndContinue() {
    if (gbk::trim(m_box->gbkText()).empty()) return;
    if (!tagsAcceptable(m_bench.dialogs(), m_bench.engine.workSent.text, m_box->gbkText())) return;
    const std::optional<ConfirmationResult> result = confirm();
    if (!result || result->outcome == ConfirmOutcome::Cancelled || result->outcome == ConfirmOutcome::EmptyBox) return;
    (void)translate(TranslateTrigger::NextSentence);
}

void InteractivePanel::machineTranslate() {
    if (m_bench.engine.workSent.segCount <= 0) return;
    std::string text = machineTranslationOfSentence(m_bench.engine, m_bench.direction());
    text = m_bench.settings.SpaceInHanChar ? AddSpaceInCChars(text) : ClearSpaceInCChars(text);
    m_box->setGbkText(text);
    m_box->setFocus();
}

void InteractivePanel::useExample() {
    if (auto text = exampleForBox(m_bench.sentenceState.exampleTranslation, m_bench.settings.SpaceInHanChar)) {
        m_box->setGbkText(*text);
        m_box->setFocus();
    }
}

void InteractivePanel::clearBox() {
    m_box->setGbkText(std::string());
    m_box->setFocus();
}

void InteractivePanel::setDisplayMode(DisplayMode mode) {
    m_mode = mode;
    for (const DisplayModeInfo& info : kDisplayModes)
        if (auto* button = findChild<QToolButton*>(QLatin1String(info.button))) button->setChecked(info.mode == mode);
    if (m_area.empty()) return;
    m_area.setOptions(areaOptions());
    m_areaWidget->showArea(m_area, m_bench.settings);
}

void InteractivePanel::settingsChanged() {
    if (m_area.empty()) return;
    m_area.setOptions(areaOptions());
    m_areaWidget->showArea(m_area, m_bench.settings);
}

void InteractivePanel::loadCommonCharacters() {
    const std::string name = isCE(m_bench.direction()) ? "oftencharCE.rtf" : "oftencharEC.rtf";
    const std::string path = m_bench.workspace().userDataFolder() + "/" + name;
    std::string text;
    if (m_bench.fs().exists(path))
        if (Result<RichText> loaded = loadRichTextFile(m_bench.fs(), path)) text = loaded->text();
    m_examples->setCommonCharacters(text);
}

void InteractivePanel::insertIntoBox(std::string text, int caretBack) {
    if (text.empty()) return;
    text = withSeparatingBlank(m_box->gbkText(), m_box->selStartByte(), std::move(text));
    m_box->insertGbk(text, caretBack);
    m_box->setFocus();
}

void InteractivePanel::makeCurrent(int token) {
    if (!m_area.setCurrentWord(token)) return;
    m_bench.sentenceState.CurrentWord = token;
    m_areaWidget->paintCurrent(token, 0, 0);
}

void InteractivePanel::onWordClicked(int token, Qt::KeyboardModifiers modifiers) {
    if (BusyCursor::showing()) return;
    if (modifiers & Qt::ControlModifier) {
        if (m_area.toggleMarked(token)) m_areaWidget->updateToken(token, m_area.token(static_cast<std::size_t>(token)));
        m_areaWidget->paintCurrent(m_area.currentWord(), 0, 0);
        return;
    }
    makeCurrent(token);
    insertIntoBox(wordClickText(m_area.token(static_cast<std::size_t>(token))));
}

void InteractivePanel::onMeaningClicked(int token, Qt::KeyboardModifiers modifiers) {
    if (BusyCursor::showing()) return;
    makeCurrent(token);
    if (modifiers & Qt::ControlModifier) onPopupCommand(PopupCommand::AdjustMeanings);
    insertIntoBox(meaningClickText(m_area.token(static_cast<std::size_t>(token)), m_bench.settings.SpaceInHanChar));
}

void InteractivePanel::onHover(int token, Qt::KeyboardModifiers modifiers, bool keyboard) {
    if (m_area.empty() || m_inHover || BusyCursor::showing()) return;
    m_inHover = true;
    const bool ctrl = modifiers & Qt::ControlModifier;
    const bool popupShown = m_popupWidget->isVisible();
    if (modifiers & Qt::ShiftModifier) {
        // The current word's meaning is selected where the translation box holds it.
        const int current = std::max(m_area.currentWord(), 0);
        std::string meaning = meaningClickText(m_area.token(static_cast<std::size_t>(current)), m_bench.settings.SpaceInHanChar);
        if (meaning != m_box->selectedGbk()) {
            if (auto run = findFromCaret(m_box->gbkText(), m_box->caretByte(), meaning))
                m_box->selectBytes(run->start, run->length);
            else
                m_box->selectBytes(m_box->caretByte(), 0);
        }
    }
    if (!ctrl && token == m_area.currentWord() && popupShown) {
        m_inHover = false;
        return;
    }
    const bool autoShow = m_bench.settings.autoshowexp;
    const bool wasCurrent = token == m_area.currentWord();
    makeCurrent(token);
    if (autoShow || wasCurrent || keyboard) {
        if ((ctrl && !popupShown) || (!ctrl && autoShow) || keyboard) openPopup(token, keyboard);
    } else {
        hidePopup();
    }
    m_inHover = false;
}

void InteractivePanel::openPopup(int token, bool keyboardMode) {
    if (token < 0 || token >= static_cast<int>(m_area.size())) return;
    const stClass& sentence = m_bench.engine.workSent;
    if (isCE(m_bench.direction()) && !m_pinyin->loaded) {
        m_pinyin->loaded = true;
        (void)m_pinyin->service.load(m_bench.fs(), m_bench.workspace().programFolder() + "/pinyin.dat");
    }
    m_popup.open(sentence, token, keyboardMode, isCE(m_bench.direction()) ? &m_pinyin->service : nullptr);
    m_popup.setVisibleRows(m_popupWidget->visibleRows());
    const TokenRun tip = phraseTipInLibrary(sentence, token, m_bench.sentenceLibrary);
    m_areaWidget->paintCurrent(token, tip.first, tip.count);
    m_popupWidget->showRows(m_popup);
    const QLabel* meaning = m_areaWidget->meaningLabel(token);
    const QLabel* word = m_areaWidget->wordLabel(token);
    const QPoint corner = meaning->isVisible() ? meaning->mapToGlobal(QPoint(1, meaning->height()))
                                               : word->mapToGlobal(QPoint(1, word->height()));
    m_popupWidget->placeAt(corner);
    m_popupWidget->show();
    m_popupWidget->raise();
    m_popupWidget->activateWindow();
    m_popupWidget->keyField()->setFocus();
}

void InteractivePanel::hidePopup() {
    if (!m_popupWidget->isVisible()) return;
    const bool hadFocus = m_popupWidget->isActiveWindow();
    m_popupWidget->hide();
    // The keys go back to the main window, where the translation box takes them.
    if (hadFocus) {
        window()->activateWindow();
        m_box->setFocus();
    }
}

void InteractivePanel::hideWhenAutoShown() {
    if (m_bench.settings.autoshowexp && !m_popup.keyboardMode()) hidePopup();
}

bool InteractivePanel::altKey(int keyCode) {
    if (m_area.empty()) return false;
    const InteractiveArea::AltKeyResult result = m_area.altKey(keyCode, m_popupWidget->isVisible());
    if (result.pageTurned) {
        m_areaWidget->showArea(m_area, m_bench.settings);
        return true;
    }
    if (!result.openPopupFor) return keyCode == 219 || keyCode == 221;
    QCursor::setPos(0, 200);  // the mouse must not open another word's popup on its way
    QApplication::processEvents();
    onHover(*result.openPopupFor, Qt::ControlModifier, true);
    return true;
}

void InteractivePanel::applyChoice(const PopupChoice& choice) {
    m_box->insertGbk(choice.insertText);
    if (choice.newMeaning) {
        m_area.setMeaning(m_popup.token(), *choice.newMeaning);
        m_areaWidget->updateToken(m_popup.token(), m_area.token(static_cast<std::size_t>(m_popup.token())));
        m_areaWidget->paintCurrent(m_area.currentWord(), 0, 0);
    }
    if (Status promoted = promoteChosenMeaning(m_bench, m_popup, choice); !promoted)
        m_bench.dialogs().message(promoted.message());
}

void InteractivePanel::onCellChosen(int column, int row) {
    if (auto choice = m_popup.choose(column, row, m_bench.settings.SpaceInHanChar)) applyChoice(*choice);
}

void InteractivePanel::onPopupKey(char key) {
    const int top = m_popup.topRow();
    const std::optional<PopupChoice> choice = m_popup.chooseByKey(key, m_bench.settings.SpaceInHanChar);
    if (choice) {
        applyChoice(*choice);
        hidePopup();
        m_box->setFocus();
    } else if (m_popup.topRow() != top) {
        m_popupWidget->showRows(m_popup);
    }
}

void InteractivePanel::showExamplesOfMarkedWords(int mode) {
    std::vector<TokenMarks> marks;
    for (std::size_t i = 0; i < m_area.size(); ++i) {
        const AreaToken& token = m_area.token(i);
        marks.push_back({token.marked, false, static_cast<int>(i) == m_area.currentWord()});
    }
    const ExampleLookupOptions options{std::max<int>(m_bench.settings.limitPhraseTipNum, 1), m_bench.settings.SpaceInHanChar};
    const std::vector<ListedExample> listed = listExamplesOfMarkedWords(
        mode, marks, m_bench.sentenceLibrary, m_bench.engine, m_bench.analysisOptions(), options);
    ReferenceDisplay display;
    for (const ListedExample& example : listed) {
        for (const Highlight& highlight : example.highlights)
            display.ranges.push_back({display.lines.size(), highlight.start, highlight.length, ReferenceColour::Blue, true, true});
        display.lines.push_back(example.line);
    }
    m_reference->showExample(display);
    m_reference->show();
    m_reference->raise();
}

void InteractivePanel::onPopupCommand(PopupCommand command) {
    switch (command) {
        case PopupCommand::ExampleSearch1: showExamplesOfMarkedWords(1); break;
        case PopupCommand::ExampleSearch2: showExamplesOfMarkedWords(2); break;
        case PopupCommand::SplitPhrase:
        case PopupCommand::AdjustMeanings:
        case PopupCommand::DeleteEntry:
        case PopupCommand::DefinePhrase:
            runTermCommand(command);
            break;
    }
}

}  // namespace tavricat::gui
