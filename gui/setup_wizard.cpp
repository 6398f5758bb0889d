#include "setup_wizard.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/domain_names.h"
#include "app/workbench.h"
#include "base/encoding.h"
#include "library_info_dialog.h"
#include "text_convert.h"

namespace tavricat::gui {

namespace {

const QString kCaptions[SetupWizard::kPageCount] = {
    QStringLiteral("步骤1： 选择语种"), QStringLiteral("步骤2： 选择专业词库"), QStringLiteral("步骤3：选择用户词库"),
    QStringLiteral("步骤4：选择例句库"), QStringLiteral("步骤5：确认设置")};

QPushButton* addButton(QWidget* parent, QLayout* layout, const QString& text) {
    auto* button = new QPushButton(text, parent);
    layout->addWidget(button);
    return button;
}

QString descriptionText(const LibraryInfo& info) { return info.description.empty() ? QString() : fromGbk(info.description.front()); }

}  // namespace

SetupWizard::SetupWizard(Workbench& bench, LibraryInfoDialog& libraryDialog, QWidget* parent)
    : QDialog(parent), m_bench(bench), m_libraryDialog(libraryDialog) {
    setWindowTitle(QStringLiteral("系统设置"));
    m_caption = new QLabel(this);
    m_pages = new QStackedWidget(this);
    m_pages->addWidget(buildDirectionPage());
    m_pages->addWidget(buildDomainPage());
    m_pages->addWidget(buildLibraryPage(LibraryKind::TermBase));
    m_pages->addWidget(buildLibraryPage(LibraryKind::SentenceLibrary));
    m_pages->addWidget(buildSummaryPage());

    auto* navigation = new QHBoxLayout;
    navigation->addStretch();
    m_back = addButton(this, navigation, QStringLiteral("<上一步"));
    m_next = addButton(this, navigation, QStringLiteral("下一步>"));
    m_ok = addButton(this, navigation, QStringLiteral("确  定"));
    m_cancel = addButton(this, navigation, QStringLiteral("取消"));
    connect(m_back, &QPushButton::clicked, this, [this] { goToPage(page() - 1); });
    connect(m_next, &QPushButton::clicked, this, [this] { goToPage(page() + 1); });
    connect(m_ok, &QPushButton::clicked, this, &SetupWizard::onOk);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_caption);
    layout->addWidget(m_pages, 1);
    layout->addLayout(navigation);
    goToPage(0);
    resize(640, 420);
}

QWidget* SetupWizard::buildDirectionPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    m_ec = new QRadioButton(QStringLiteral("英译汉"), page);
    m_ce = new QRadioButton(QStringLiteral("汉译英"), page);
    (m_bench.settings.ctoe ? m_ce : m_ec)->setChecked(true);
    layout->addWidget(m_ec);
    layout->addWidget(m_ce);
    layout->addStretch();
    return page;
}

QWidget* SetupWizard::buildDomainPage() {
    auto* page = new QWidget(this);
    m_allDomains = new QListWidget(page);
    m_allDomains->setSelectionMode(QAbstractItemView::ExtendedSelection);
    for (const std::string& domain : m_bench.allDomains) m_allDomains->addItem(fromGbk(domain));
    m_selectedDomains = new QListWidget(page);
    m_selectedDomains->setSelectionMode(QAbstractItemView::ExtendedSelection);
    for (const std::string& domain : m_bench.selectedDomains) m_selectedDomains->addItem(fromGbk(domain));

    auto* middle = new QVBoxLayout;
    connect(addButton(page, middle, QStringLiteral("添加>")), &QPushButton::clicked, this, &SetupWizard::addDomains);
    connect(addButton(page, middle, QStringLiteral("全选>>")), &QPushButton::clicked, this, &SetupWizard::addAllDomains);
    connect(addButton(page, middle, QStringLiteral("<删除")), &QPushButton::clicked, this, &SetupWizard::removeDomains);
    connect(addButton(page, middle, QStringLiteral("<<清除")), &QPushButton::clicked, m_selectedDomains, &QListWidget::clear);
    connect(addButton(page, middle, QStringLiteral("新加")), &QPushButton::clicked, this, &SetupWizard::newDomain);
    middle->addStretch();
    auto* right = new QVBoxLayout;
    connect(addButton(page, right, QStringLiteral("下移")), &QPushButton::clicked, this,
            [this] { moveDomain(m_selectedDomains->currentRow() + 1); });
    connect(addButton(page, right, QStringLiteral("上移")), &QPushButton::clicked, this,
            [this] { moveDomain(m_selectedDomains->currentRow() - 1); });
    connect(addButton(page, right, QStringLiteral("第一")), &QPushButton::clicked, this, [this] { moveDomain(0); });
    right->addStretch();

    auto* layout = new QHBoxLayout(page);
    layout->addWidget(m_allDomains, 1);
    layout->addLayout(middle);
    layout->addWidget(m_selectedDomains, 1);
    layout->addLayout(right);
    return page;
}

QWidget* SetupWizard::buildLibraryPage(LibraryKind kind) {
    auto* page = new QWidget(this);
    auto* grid = new QTableWidget(0, 4, page);
    grid->setHorizontalHeaderLabels(
        {QStringLiteral("标题"), QStringLiteral("作者"), QStringLiteral("文件名"), QStringLiteral("说明")});
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->verticalHeader()->hide();
    (kind == LibraryKind::TermBase ? m_termGrid : m_sentenceGrid) = grid;
    fillGrid(kind, kind == LibraryKind::TermBase ? m_bench.settings.curZyname : m_bench.settings.curLiJuKuname);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    connect(addButton(page, buttons, QStringLiteral("新建...")), &QPushButton::clicked, this,
            [this, kind] { createLibrary(kind); });
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(grid, 1);
    layout->addLayout(buttons);
    return page;
}

QWidget* SetupWizard::buildSummaryPage() {
    auto* page = new QWidget(this);
    m_summary = new QLabel(page);
    m_summary->setWordWrap(true);
    m_useSysLib = new QCheckBox(QStringLiteral("使用系统词库"), page);
    m_useSysLib->setChecked(m_bench.settings.useSysLib);
    m_useUserLib = new QCheckBox(QStringLiteral("使用用户词库"), page);
    m_useUserLib->setChecked(m_bench.settings.useUserLib);
    m_noPopup = new QCheckBox(QStringLiteral("以后启动时不再出现系统设置"), page);
    m_noPopup->setChecked(!m_bench.settings.popwizard);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_summary, 1);
    layout->addWidget(m_useSysLib);
    layout->addWidget(m_useUserLib);
    layout->addWidget(m_noPopup);
    return page;
}

void SetupWizard::fillGrid(LibraryKind kind, const std::string& current) {
    QTableWidget* grid = libraryGrid(kind);
    std::vector<LibraryRow>& rows = kind == LibraryKind::TermBase ? m_termRows : m_sentenceRows;
    rows = listLibraries(m_bench.fs(), m_bench.workspace().userDataFolder(), kind);
    grid->clearContents();
    grid->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const LibraryInfo& info = rows[static_cast<std::size_t>(r)].info;
        const QString cells[4] = {fromGbk(info.title), fromGbk(info.author), fromGbk(info.fileName), descriptionText(info)};
        for (int c = 0; c < 4; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setToolTip(cells[c]);
            grid->setItem(r, c, item);
        }
    }
    // Titles, authors and names are shown whole; the description takes the rest.
    for (int c = 0; c < 3; ++c) grid->resizeColumnToContents(c);
    // Rows are matched by the library's own file name: the file-name line holds the text as
    // it was typed, which need not be the name its files carry.
    const int row = findLibraryRow(rows, current);
    if (row >= 0) grid->selectRow(row);
}

const LibraryRow* SetupWizard::selectedRow(LibraryKind kind) const {
    const std::vector<LibraryRow>& rows = kind == LibraryKind::TermBase ? m_termRows : m_sentenceRows;
    const QModelIndexList selected = libraryGrid(kind)->selectionModel()->selectedRows();
    if (selected.isEmpty()) return nullptr;
    const int row = selected.front().row();
    return row >= 0 && row < static_cast<int>(rows.size()) ? &rows[static_cast<std::size_t>(row)] : nullptr;
}

void SetupWizard::createLibrary(LibraryKind kind) {
    const LibraryRow* selected = selectedRow(kind);
    const std::string keep = selected ? selected->name : std::string();
    if (m_libraryDialog.run(kind).empty()) return;
    fillGrid(kind, keep);
}

void SetupWizard::addDomains() {
    for (int i = 0; i < m_allDomains->count(); ++i) {
        QListWidgetItem* item = m_allDomains->item(i);
        if (!item->isSelected()) continue;
        bool held = false;
        for (int j = 0; j < m_selectedDomains->count() && !held; ++j) held = m_selectedDomains->item(j)->text() == item->text();
        if (!held) m_selectedDomains->addItem(item->text());
    }
}

void SetupWizard::addAllDomains() {
    for (int i = 0; i < m_allDomains->count(); ++i) m_selectedDomains->addItem(m_allDomains->item(i)->text());
}

void SetupWizard::removeDomains() { qDeleteAll(m_selectedDomains->selectedItems()); }

void SetupWizard::moveDomain(int to) {
    const int from = m_selectedDomains->currentRow();
    if (from < 0 || to < 0 || to >= m_selectedDomains->count() || to == from) return;
    QListWidgetItem* item = m_selectedDomains->takeItem(from);
    m_selectedDomains->insertItem(to, item);
    m_selectedDomains->setCurrentRow(to);
}

void SetupWizard::newDomain() {
    std::optional<std::string> answer = m_bench.dialogs().inputBox(
        encoding::toGbk("新添专业"), encoding::toGbk("格式：专业名[简称]，如：Windows 2000[W2]"), std::string());
    if (!answer) return;
    if (Status checked = checkNewDomain(*answer); !checked) {
        m_bench.dialogs().message(checked.message());  // GBK from the core
        return;
    }
    m_allDomains->insertItem(0, fromGbk(*answer));
}

void SetupWizard::refreshSummary() {
    QStringList lines;
    lines << (m_ce->isChecked() ? QStringLiteral("汉译英") : QStringLiteral("英译汉"));
    for (int i = 0; i < m_selectedDomains->count(); ++i) lines << m_selectedDomains->item(i)->text();
    const LibraryRow* term = selectedRow(LibraryKind::TermBase);
    const LibraryRow* sentences = selectedRow(LibraryKind::SentenceLibrary);
    lines << (term ? fromGbk(term->info.title) : QString());
    lines << (sentences ? fromGbk(sentences->info.title) : QString());
    m_summary->setText(lines.join(u'\n'));
}

void SetupWizard::goToPage(int index) {
    if (index < 0 || index >= kPageCount) return;
    m_pages->setCurrentIndex(index);
    m_caption->setText(kCaptions[index]);
    m_back->setEnabled(index > 0);
    m_next->setEnabled(index < kPageCount - 1);
    m_ok->setEnabled(index == kPageCount - 1);
    if (index == kPageCount - 1) refreshSummary();
}

int SetupWizard::page() const { return m_pages->currentIndex(); }

QPushButton* SetupWizard::button(const QString& text) const {
    QPushButton* found = nullptr;
    for (QPushButton* b : findChildren<QPushButton*>()) {
        if (b->text() != text) continue;
        if (b->isVisible()) return b;
        if (!found) found = b;
    }
    return found;
}

SetupChoices SetupWizard::choices() const {
    SetupChoices c;
    c.direction = m_ce->isChecked() ? Direction::CE : Direction::EC;
    LineList all;
    for (int i = 0; i < m_allDomains->count(); ++i) all.push_back(toGbkLossy(m_allDomains->item(i)->text()));
    c.allDomains = std::move(all);
    for (int i = 0; i < m_selectedDomains->count(); ++i) c.selectedDomains.push_back(toGbkLossy(m_selectedDomains->item(i)->text()));
    c.useSysLib = m_useSysLib->isChecked();
    c.useUserLib = m_useUserLib->isChecked();
    if (const LibraryRow* row = selectedRow(LibraryKind::TermBase)) {
        c.termBaseName = row->name;
        c.termBaseTitle = row->info.title;
    }
    if (const LibraryRow* row = selectedRow(LibraryKind::SentenceLibrary)) {
        c.sentenceLibraryName = row->name;
        c.sentenceLibraryTitle = row->info.title;
    }
    c.popwizard = !m_noPopup->isChecked();
    return c;
}

void SetupWizard::onOk() {
    if (page() != kPageCount - 1) {
        goToPage(kPageCount - 1);
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    (void)applySetupChoices(m_bench, choices());  // failures were told step by step
    QApplication::restoreOverrideCursor();
    accept();
}

}  // namespace tavricat::gui
