#include "verification_window.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSplitter>
#include <QVBoxLayout>

#include "base/encoding.h"
#include "busy_cursor.h"
#include "help_browser.h"
#include "position_map.h"
#include "text_convert.h"

namespace tavricat::gui {

namespace {

QPushButton* button(const QString& caption, const char* name, QWidget* parent) {
    auto* made = new QPushButton(caption, parent);
    made->setObjectName(QString::fromLatin1(name));
    made->setAutoDefault(false);
    return made;
}

QLineEdit* field(const char* name, QWidget* parent) {
    auto* made = new QLineEdit(parent);
    made->setObjectName(QString::fromLatin1(name));
    return made;
}

// The typed text as GBK; nothing (and the person told) when GBK cannot hold it.
std::optional<std::string> typed(const QString& text, Dialogs& dialogs) {
    TypedText converted = typedToGbk(text);
    if (converted.ok) return converted.gbk;
    dialogs.message(converted.error);
    return std::nullopt;
}

}  // namespace

VerificationFilterDialog::VerificationFilterDialog(const VerificationFilter& current, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_filter(current) {
    setWindowTitle(QStringLiteral("过滤条件"));
    m_source = field("scontain1", this);
    m_source->setText(fromGbk(current.source));
    m_translation = field("tcontain1", this);
    m_translation->setText(fromGbk(current.translation));
    m_and = new QRadioButton(QStringLiteral("与"), this);
    m_and->setObjectName(QStringLiteral("rbAnd"));
    m_and->setChecked(true);
    auto* either = new QRadioButton(QStringLiteral("或"), this);
    either->setObjectName(QStringLiteral("RadioButton2"));
    QPushButton* ok = button(QStringLiteral("确  定"), "OK", this);
    ok->setDefault(true);
    QPushButton* cancel = button(QStringLiteral("取  消"), "cancel", this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("原文含："), this), 0, 0);
    fields->addWidget(m_source, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("译文含："), this), 1, 0);
    fields->addWidget(m_translation, 1, 1);
    auto* choice = new QHBoxLayout;
    choice->addWidget(m_and);
    choice->addWidget(either);
    choice->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(choice);
    layout->addLayout(buttons);
}

void VerificationFilterDialog::accept() {
    const std::optional<std::string> source = typed(m_source->text(), m_dialogs);
    if (!source) return;
    const std::optional<std::string> translation = typed(m_translation->text(), m_dialogs);
    if (!translation) return;
    m_filter = {*source, *translation, !m_and->isChecked()};
    QDialog::accept();
}

VerificationWindow::VerificationWindow(Workbench& bench, QWidget* parent)
    : QDialog(parent), m_bench(bench), m_verification(bench.sentenceLibrary) {
    setWindowTitle(QStringLiteral("校订例句库"));
    setModal(true);
    m_askFilter = [this](const VerificationFilter& current) -> std::optional<VerificationFilter> {
        VerificationFilterDialog dialog(current, m_bench.dialogs(), this);
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        return dialog.filter();
    };

    m_source = new QPlainTextEdit(this);
    m_source->setObjectName(QStringLiteral("curEsent"));
    m_translation = new QPlainTextEdit(this);
    m_translation->setObjectName(QStringLiteral("curCsent"));
    auto* panes = new QSplitter(Qt::Vertical, this);
    panes->addWidget(m_source);
    panes->addWidget(m_translation);

    m_position = field("edCurSentNum", this);
    m_position->setMaximumWidth(90);
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("totalSents"));
    m_find = field("tbSStr", this);
    m_replacement = field("tbTStr", this);
    QPushButton* replace = button(QStringLiteral("替 换"), "btReplace", this);
    replace->setToolTip(QStringLiteral("在符合条件的所有句子的译文中替换"));

    QPushButton* filter = button(QStringLiteral("过滤..."), "SpeedButton1", this);
    m_previous = button(QStringLiteral("上一句"), "SpeedButton2", this);
    m_next = button(QStringLiteral("下一句"), "SpeedButton3", this);
    QPushButton* lastButton = button(QStringLiteral("最末句"), "btEndSent", this);
    QPushButton* undo = button(QStringLiteral("撤消编辑"), "SpeedButton4", this);
    QPushButton* remove = button(QStringLiteral("删 除"), "btDel", this);
    remove->setToolTip(QStringLiteral("从例句库中删除本句"));
    QPushButton* refreshButton = button(QStringLiteral("刷 新"), "btRefresh", this);
    QPushButton* help = button(QStringLiteral("帮 助"), "SpeedButton6", this);
    QPushButton* close = button(QStringLiteral("退 出"), "SpeedButton5", this);

    connect(help, &QPushButton::clicked, this, [this] { openHelp(m_bench, this, QStringLiteral("newpage82.htm")); });
    connect(filter, &QPushButton::clicked, this, &VerificationWindow::chooseFilter);
    connect(m_previous, &QPushButton::clicked, this, &VerificationWindow::previous);
    connect(m_next, &QPushButton::clicked, this, &VerificationWindow::next);
    connect(lastButton, &QPushButton::clicked, this, &VerificationWindow::last);
    connect(undo, &QPushButton::clicked, this, &VerificationWindow::undoEdit);
    connect(remove, &QPushButton::clicked, this, &VerificationWindow::deleteCurrent);
    connect(refreshButton, &QPushButton::clicked, this, &VerificationWindow::refresh);
    connect(replace, &QPushButton::clicked, this, &VerificationWindow::replaceInTranslations);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_position, &QLineEdit::returnPressed, this, &VerificationWindow::jumpToTyped);
    // Moving at once (a button's own shortcut clicks it only after a delay).
    new QShortcut(QKeySequence(Qt::Key_PageUp), this, [this] { previous(); });
    new QShortcut(QKeySequence(Qt::Key_PageDown), this, [this] { next(); });

    auto* place = new QHBoxLayout;
    place->addWidget(new QLabel(QStringLiteral("句子#："), this));
    place->addWidget(m_position);
    place->addWidget(m_count);
    place->addStretch();
    auto* replacing = new QHBoxLayout;
    replacing->addWidget(m_find, 1);
    replacing->addWidget(new QLabel(QStringLiteral(">>"), this));
    replacing->addWidget(m_replacement, 1);
    replacing->addWidget(replace);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* each : {filter, m_previous, m_next, lastButton, undo, remove, refreshButton, help, close})
        buttons->addWidget(each);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(place);
    layout->addWidget(panes, 1);
    layout->addLayout(replacing);
    layout->addLayout(buttons);
    resize(720, 420);

    // Each opening starts without a filter.
    m_verification.list({});
    showCurrent();
    showCount();
}

bool VerificationWindow::writeBack() {
    if (!m_verification.currentExample()) return true;
    // Untouched panes store nothing: a stored line GBK text cannot show exactly (a stray byte)
    // must not hold the person on its example.
    if (m_source->toPlainText() == m_shownSource && m_translation->toPlainText() == m_shownTranslation) return true;
    const std::optional<std::string> source = typed(m_source->toPlainText(), m_bench.dialogs());
    if (!source) return false;
    const std::optional<std::string> translation = typed(m_translation->toPlainText(), m_bench.dialogs());
    if (!translation) return false;
    Result<ExampleChange> stored = m_verification.storeCurrent(m_bench.engine, m_bench.analysisOptions(), *source, *translation);
    if (stored) return true;
    m_bench.dialogs().message(stored.status().message());
    return false;
}

void VerificationWindow::showCurrent() {
    const std::optional<ExampleParts> parts = m_verification.current();
    m_shownSource = parts ? fromGbk(parts->source) : QString();
    m_shownTranslation = parts ? fromGbk(parts->translation) : QString();
    m_source->setPlainText(m_shownSource);
    m_translation->setPlainText(m_shownTranslation);
    m_position->setText(parts ? QString::number(m_verification.position() + 1) : QString());
    m_previous->setEnabled(parts && !m_verification.atFirst());
    m_next->setEnabled(parts && !m_verification.atLast());
}

void VerificationWindow::showCount() { m_count->setText(QStringLiteral("共有 %1 句").arg(m_verification.count())); }

bool VerificationWindow::moveTo(std::size_t position) {
    if (position >= m_verification.count()) {
        QApplication::beep();
        return false;
    }
    if (!writeBack()) return false;
    m_verification.moveTo(position);
    showCurrent();
    return true;
}

bool VerificationWindow::previous() {
    if (m_verification.count() == 0 || m_verification.atFirst()) {
        QApplication::beep();
        return false;
    }
    return moveTo(m_verification.position() - 1);
}

bool VerificationWindow::next() {
    if (m_verification.atLast()) {
        QApplication::beep();
        return false;
    }
    return moveTo(m_verification.position() + 1);
}

bool VerificationWindow::last() {
    if (m_verification.count() == 0) {
        QApplication::beep();
        return false;
    }
    return moveTo(m_verification.count() - 1);
}

void VerificationWindow::jumpToTyped() {
    const std::optional<std::size_t> position = m_verification.parsePosition(toGbkLossy(m_position->text()));
    if (!position) {
        QApplication::beep();
        m_bench.dialogs().message(encoding::toGbk(kPositionOutOfRange));
        return;
    }
    moveTo(*position);
}

void VerificationWindow::undoEdit() { showCurrent(); }

void VerificationWindow::chooseFilter() {
    // Corrections in the panes are stored before the list changes under them.
    if (!writeBack()) return;
    const std::optional<VerificationFilter> chosen = m_askFilter(m_verification.filter());
    if (!chosen) return;
    m_verification.list(*chosen);
    showCurrent();
    showCount();
}

void VerificationWindow::refresh() {
    if (!writeBack()) return;
    m_verification.refresh();
    showCurrent();
    showCount();
}

void VerificationWindow::replaceInTranslations() {
    if (m_verification.count() == 0) return;
    const std::optional<std::string> find = typed(m_find->text(), m_bench.dialogs());
    if (!find) return;
    const std::optional<std::string> replacement = typed(m_replacement->text(), m_bench.dialogs());
    if (!replacement || find->empty() || *find == *replacement) return;
    // The current example's panes are stored first, so their corrections are replaced too.
    if (!writeBack()) return;
    std::size_t replaced = 0;
    {
        BusyCursor busy;
        replaced = m_verification.replaceInListed(*find, *replacement).size();
    }
    showCurrent();
    m_bench.dialogs().message(toGbkLossy(QStringLiteral("共有 %1 句被替换！").arg(replaced)));
}

void VerificationWindow::deleteCurrent() {
    if (m_verification.count() == 0) return;
    m_verification.deleteCurrent();
    showCurrent();
    showCount();
}

void VerificationWindow::done(int result) {
    if (!writeBack()) return;  // told why; the person corrects the pane or undoes the edit
    QDialog::done(result);
}

void verifySentenceLibrary(Workbench& bench, QWidget* parent) {
    if (listExamplesToVerify(bench.sentenceLibrary, {}).empty()) {
        bench.dialogs().message(encoding::toGbk(kEmptyLibraryToVerify));
        return;
    }
    VerificationWindow window(bench, parent);
    window.exec();
}

}  // namespace tavricat::gui
