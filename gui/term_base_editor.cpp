#include "term_base_editor.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>

#include <set>

#include "app/term_base_revision.h"
#include "base/gbk.h"
#include "busy_cursor.h"
#include "help_browser.h"
#include "position_map.h"
#include "qt_ports.h"
#include "term_grid_model.h"
#include "term_import_dialog.h"
#include "text_convert.h"

namespace tavricat::gui {

namespace {

QPushButton* button(const QString& caption, const char* name, Qt::Key key, QWidget* parent) {
    auto* made = new QPushButton(caption, parent);
    made->setObjectName(QString::fromLatin1(name));
    if (key != Qt::Key_unknown) made->setShortcut(QKeySequence(key));
    return made;
}

}  // namespace

TermFilterDialog::TermFilterDialog(TermGridFilter& filter, QWidget* parent) : QDialog(parent), m_filter(filter) {
    setWindowTitle(QStringLiteral("过滤条件"));
    auto spin = [this](int low, int high, int value, const char* name) {
        auto* box = new QSpinBox(this);
        box->setRange(low, high);
        box->setValue(value);
        box->setObjectName(QString::fromLatin1(name));
        return box;
    };
    m_keep = spin(1, 50, filter.keepMeanings, "keepMeanings");
    m_minWords = spin(0, 9, filter.minWords, "minWords");
    m_minMeanings = spin(0, 30, filter.minMeanings, "minMeanings");
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("最终保存时最多保留"), this), 0, 0);
    grid->addWidget(m_keep, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("个解释"), this), 0, 2);
    grid->addWidget(m_minWords, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("个单词以上的词条"), this), 1, 2);
    grid->addWidget(m_minMeanings, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("个解释以上的词条"), this), 2, 2);
    const QString captions[4] = {QStringLiteral("仅显示生词"), QStringLiteral("仅显示已校词"),
                                 QStringLiteral("仅显示专业用语"), QStringLiteral("全部显示")};
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    for (int i = 0; i < 4; ++i) {
        m_show[i] = new QRadioButton(captions[i], this);
        m_show[i]->setObjectName(QStringLiteral("show%1").arg(i));
        m_show[i]->setChecked(static_cast<int>(filter.show) == i);
        layout->addWidget(m_show[i]);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确 定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取 消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void TermFilterDialog::accept() {
    m_filter.keepMeanings = m_keep->value();
    m_filter.minWords = m_minWords->value();
    m_filter.minMeanings = m_minMeanings->value();
    for (int i = 0; i < 4; ++i)
        if (m_show[i]->isChecked()) m_filter.show = static_cast<TermShow>(i);
    QDialog::accept();
}

TermGridFilter& TermBaseEditor::filter() {
    static TermGridFilter settings;
    return settings;
}

TermBaseEditor::TermBaseEditor(Workbench& bench, LineList keys, LineList values, QWidget* parent)
    : QDialog(parent),
      m_bench(bench),
      m_grid(std::move(keys), std::move(values), isCE(bench.direction()), &bench.engine.deletedWords),
      m_chooseFilter([](TermGridFilter& settings, QWidget* owner) {
          TermFilterDialog dialog(settings, owner);
          return dialog.exec() == QDialog::Accepted;
      }) {
    setWindowTitle(QStringLiteral("项目词库"));
    filter().keepMeanings = 50;

    m_model = new TermGridModel(m_grid, bench.dialogs(), this);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("wordgrid"));
    m_table->setModel(m_model);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setColumnWidth(kKeyColumn, 180);
    m_table->setColumnWidth(kMeaningsColumn, 240);
    connect(m_table->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { showCell(); });

    m_items = new QListWidget(this);
    m_items->setObjectName(QStringLiteral("cellItems"));
    connect(m_items, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { promoteItem(m_items->row(item)); });

    m_total = new QLineEdit(this);
    m_total->setObjectName(QStringLiteral("total"));
    m_total->setReadOnly(true);
    m_row = new QLineEdit(this);
    m_row->setObjectName(QStringLiteral("currentRow"));
    connect(m_row, &QLineEdit::returnPressed, this, &TermBaseEditor::goToTypedRow);
    m_lookFor = new QLineEdit(this);
    m_lookFor->setObjectName(QStringLiteral("lookFor"));
    connect(m_lookFor, &QLineEdit::returnPressed, this, &TermBaseEditor::lookUp);
    QPushButton* find = button(QStringLiteral("查 找"), "findButton", Qt::Key_unknown, this);
    find->setAutoDefault(false);
    connect(find, &QPushButton::clicked, this, &TermBaseEditor::lookUp);

    struct Command {
        const char* caption;
        const char* name;
        Qt::Key key;
        std::function<void()> run;
    };
    const Command commands[] = {
        {"删除", "deleteButton", Qt::Key_F4, [this] { deleteSelected(); }},
        {"已校", "verifiedButton", Qt::Key_F5, [this] { markSelected(TermMark::Verified); }},
        {"专用", "domainButton", Qt::Key_F6, [this] { markSelected(TermMark::Domain); }},
        {"取消", "ordinaryButton", Qt::Key_F8, [this] { markSelected(TermMark::Ordinary); }},
        {"添 加", "addButton", Qt::Key_F9, [this] { addRow(); }},
        {"刷 新", "refreshButton", Qt::Key_F10, [this] { refresh(); }},
        {"过 滤", "filterButton", Qt::Key_F11, [this] { chooseFilter(); }},
        {"全选", "selectAllButton", Qt::Key_F12, [this] { selectAllEntries(); }},
        {"退 出", "closeButton", Qt::Key_unknown, [this] { accept(); }},
        {"帮 助", "helpButton", Qt::Key_unknown,
         [this] { openHelp(m_bench, this, QStringLiteral("term_editor.htm")); }},
    };
    auto* buttons = new QVBoxLayout;
    for (const Command& command : commands) {
        QPushButton* made = button(QString::fromUtf8(command.caption), command.name, command.key, this);
        made->setAutoDefault(false);
        connect(made, &QPushButton::clicked, this, command.run);
        buttons->addWidget(made);
    }
    buttons->addStretch();

    auto* fields = new QHBoxLayout;
    fields->addWidget(new QLabel(QStringLiteral("总单词数："), this));
    fields->addWidget(m_total);
    fields->addWidget(new QLabel(QStringLiteral("当前行："), this));
    fields->addWidget(m_row);
    fields->addWidget(new QLabel(QStringLiteral("待查单词:"), this));
    fields->addWidget(m_lookFor);
    fields->addWidget(find);
    auto* side = new QVBoxLayout;
    side->addWidget(m_items, 1);
    side->addLayout(buttons);
    auto* top = new QHBoxLayout;
    top->addWidget(m_table, 1);
    top->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(fields);
    resize(900, 600);
    refill();
}

TermBaseEditor::~TermBaseEditor() = default;

void TermBaseEditor::refill() {
    {
        BusyCursor busy;
        m_grid.fill(filter());
        m_model->reset();
    }
    m_total->setText(QString::number(m_grid.shownCount()));
    m_items->clear();
}

void TermBaseEditor::chooseFilter() {
    m_chooseFilter(filter(), this);
    refill();
}

void TermBaseEditor::refresh() { refill(); }

std::vector<std::size_t> TermBaseEditor::selectedRows() const {
    std::set<std::size_t> rows;
    for (const QModelIndex& index : m_table->selectionModel()->selectedIndexes())
        rows.insert(static_cast<std::size_t>(index.row()));
    if (rows.empty() && m_table->currentIndex().isValid()) rows.insert(static_cast<std::size_t>(m_table->currentIndex().row()));
    return {rows.begin(), rows.end()};
}

void TermBaseEditor::markSelected(TermMark mark) {
    const std::vector<std::size_t> rows = selectedRows();
    if (rows.empty()) return;
    m_grid.mark(rows, mark);
    m_model->rowsChanged(static_cast<int>(rows.front()), static_cast<int>(rows.back()));
    showCell();
}

void TermBaseEditor::deleteSelected() {
    const std::vector<std::size_t> rows = selectedRows();
    if (rows.empty()) return;
    m_grid.markDeleted(rows);
    m_model->rowsChanged(static_cast<int>(rows.front()), static_cast<int>(rows.back()));
}

void TermBaseEditor::addRow() {
    if (m_model->addRow()) m_total->setText(QString::number(m_grid.shownCount()));
    goToRow(m_grid.rowCount() - 1);
}

void TermBaseEditor::selectAllEntries() {
    if (m_grid.shownCount() == 0) return;
    m_table->selectionModel()->select(
        QItemSelection(m_model->index(0, 0), m_model->index(static_cast<int>(m_grid.shownCount()) - 1, kTermColumnCount - 1)),
        QItemSelectionModel::ClearAndSelect);
}

void TermBaseEditor::goToRow(std::size_t row) {
    const QModelIndex index = m_model->index(static_cast<int>(row), kKeyColumn);
    m_table->setCurrentIndex(index);
    m_table->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void TermBaseEditor::goToTypedRow() {
    const std::optional<std::size_t> row = m_grid.rowOfNumber(toGbkLossy(m_row->text()));
    if (!row) {
        m_bench.dialogs().message(encoding::toGbk("请输入1到总数范围内的数字！"));
        return;
    }
    goToRow(*row);
}

void TermBaseEditor::lookUp() {
    TypedText typed = typedToGbk(m_lookFor->text());
    if (!typed.ok) {
        m_bench.dialogs().message(typed.error);
        return;
    }
    if (gbk::trim(typed.gbk).empty() || m_grid.shownCount() == 0) return;
    const TermGrid::Found found = m_grid.findKey(typed.gbk);
    if (found.exact || m_bench.dialogs().askYesNo(encoding::toGbk("没找到！要定位到最相近的单词吗?"))) goToRow(found.row);
}

void TermBaseEditor::showCell() {
    m_items->clear();
    const QModelIndex current = m_table->currentIndex();
    if (!current.isValid()) return;
    m_row->setText(QString::number(current.row() + 1));
    if (current.column() == kNumberColumn) return;
    for (const std::string& item : cellItems(m_grid.row(static_cast<std::size_t>(current.row())).cells[current.column()]))
        m_items->addItem(fromGbk(item));
}

void TermBaseEditor::promoteItem(int item) {
    const QModelIndex current = m_table->currentIndex();
    if (!current.isValid() || item < 0 || current.column() == kNumberColumn) return;
    const auto row = static_cast<std::size_t>(current.row());
    m_grid.setCell(row, current.column(), moveItemToFront(m_grid.row(row).cells[current.column()], static_cast<std::size_t>(item)));
    m_model->rowsChanged(current.row(), current.row());
    showCell();
}

void TermBaseEditor::done(int result) {
    m_table->setCurrentIndex({});  // an open editor commits first
    m_grid.writeBack(&filter());
    QDialog::done(result);
}

void reviseTermBaseFile(Workbench& bench, QWidget* parent) {
    Dialogs& dialogs = bench.dialogs();
    // The user term bases live in userdata/: the choice starts there.
    auto* qtDialogs = dynamic_cast<QtDialogs*>(&dialogs);
    const QString documentFolder = qtDialogs ? qtDialogs->startFolder() : QString();
    if (qtDialogs) qtDialogs->setStartFolder(fromNativePath(bench.workspace().userDataFolder()));
    const std::optional<std::string> chosen = dialogs.chooseOpenFile(kRevisionOpenTitle, kRevisionOpenFilter);
    if (qtDialogs) qtDialogs->setStartFolder(documentFolder);
    if (!chosen) return;
    Result<TermBaseFile> file = [&] {
        BusyCursor busy;
        return loadTermBaseForRevision(bench.fs(), dialogs, *chosen);
    }();
    if (!file) {
        if (file.status().kind() != ErrorKind::Refused) dialogs.message(file.status().message());
        return;
    }
    bool importIt = false;
    {
        TermBaseEditor editor(bench, file->keys, file->values, parent);
        editor.chooseFilter();
        editor.exec();
        Result<bool> answer = saveRevisedTermBase(bench.fs(), dialogs, *file, editor.grid().keys(), editor.grid().values());
        importIt = answer && *answer;
    }
    if (!importIt) return;
    TermImportDialog import(bench, parent);
    import.addFiles({fromNativePath(file->keysPath)});
    import.exec();
}

}  // namespace tavricat::gui
