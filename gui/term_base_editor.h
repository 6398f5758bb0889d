#pragma once
// "校订词库" (window caption "项目词库"): a user term base file in a grid where the translator
// filters, corrects, marks and deletes entries. The editor works on its own copy of the file's
// lists; the current term base changes only through the import the command offers at the end.

#include <QDialog>

#include <functional>

#include "app/workbench.h"
#include "engine/term_grid.h"

class QLineEdit;
class QListWidget;
class QRadioButton;
class QSpinBox;
class QTableView;

namespace tavricat::gui {

class TermGridModel;

// "过滤条件": the filter settings, edited in place on "确 定".
class TermFilterDialog : public QDialog {
    Q_OBJECT
public:
    TermFilterDialog(TermGridFilter& filter, QWidget* parent = nullptr);
    void accept() override;

private:
    TermGridFilter& m_filter;
    QSpinBox* m_keep = nullptr;
    QSpinBox* m_minWords = nullptr;
    QSpinBox* m_minMeanings = nullptr;
    QRadioButton* m_show[4] = {};
};

class TermBaseEditor : public QDialog {
    Q_OBJECT
public:
    // Edits the settings in place; true on "确 定".
    using FilterChooser = std::function<bool(TermGridFilter& filter, QWidget* parent)>;

    // `keys` and `values` are the file's lists (keys in list order).
    TermBaseEditor(Workbench& bench, LineList keys, LineList values, QWidget* parent = nullptr);
    ~TermBaseEditor() override;

    void setFilterChooser(FilterChooser chooser) { m_chooseFilter = std::move(chooser); }
    // The filter settings of the run (they outlast the window).
    static TermGridFilter& filter();

    // "过 滤": the rows written back, the filter chosen, the grid filled again.
    void chooseFilter();
    // "刷 新": written back and filled again with the same settings.
    void refresh();
    // "删除", "已校", "专用", "取消" on the selected rows; "添 加"; "全选".
    void markSelected(TermMark mark);
    void deleteSelected();
    void addRow();
    void selectAllEntries();
    // Enter in "当前行："; Enter in "待查单词:" or "查 找".
    void goToTypedRow();
    void lookUp();
    // An item of the cell's list moved to the top and written back into the cell.
    void promoteItem(int item);

    // Writes the rows back with the meaning limit, as closing does.
    void done(int result) override;

    TermGrid& grid() { return m_grid; }
    QTableView* table() const { return m_table; }
    QListWidget* items() const { return m_items; }
    QLineEdit* totalField() const { return m_total; }
    QLineEdit* rowField() const { return m_row; }
    QLineEdit* lookForField() const { return m_lookFor; }

private:
    void refill();
    std::vector<std::size_t> selectedRows() const;
    void showCell();
    void goToRow(std::size_t row);

    Workbench& m_bench;
    TermGrid m_grid;
    TermGridModel* m_model = nullptr;
    FilterChooser m_chooseFilter;
    QTableView* m_table = nullptr;
    QListWidget* m_items = nullptr;
    QLineEdit* m_total = nullptr;
    QLineEdit* m_row = nullptr;
    QLineEdit* m_lookFor = nullptr;
};

// The menu item "校订词库...": choose a user term base file, edit it, save it, and offer to
// import it into the current term base.
void reviseTermBaseFile(Workbench& bench, QWidget* parent);

}  // namespace tavricat::gui
