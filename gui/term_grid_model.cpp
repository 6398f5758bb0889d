#include "term_grid_model.h"

#include "base/gbk.h"
#include "position_map.h"
#include "text_convert.h"

namespace tavricat::gui {

int TermGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_grid.rowCount());
}

int TermGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kTermColumnCount; }

QVariant TermGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
    return fromGbk(m_grid.row(static_cast<std::size_t>(index.row())).cells[index.column()]);
}

QVariant TermGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const char* const kHeaders[kTermColumnCount] = {"序号", "原文", "解释", "联想", "词性", "属性"};
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal && section >= 0 && section < kTermColumnCount)
        return QString::fromUtf8(kHeaders[section]);
    return {};
}

Qt::ItemFlags TermGridModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags base = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() != kNumberColumn) base |= Qt::ItemIsEditable;
    return base;
}

bool TermGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) return false;
    TypedText typed = typedToGbk(value.toString());
    if (!typed.ok) {
        m_dialogs.message(typed.error);  // refused, not silently changed
        return false;
    }
    if (typed.gbk.find('^') != std::string::npos || typed.gbk.find_first_of("\r\n") != std::string::npos) {
        m_dialogs.message(encoding::toGbk("词条中不能有“^”或换行符！"));
        return false;
    }
    const auto row = static_cast<std::size_t>(index.row());
    if (!m_grid.setCell(row, index.column(), std::move(typed.gbk))) return false;
    emit dataChanged(index, index);
    // A key typed into the "*" row makes it an entry at once, so that it is never lost.
    if (index.column() == kKeyColumn && m_grid.row(row).isNewRow()) addRow();
    return true;
}

void TermGridModel::reset() {
    beginResetModel();
    endResetModel();
}

void TermGridModel::rowsChanged(int first, int last) {
    emit dataChanged(createIndex(first, 0), createIndex(last, kTermColumnCount - 1));
}

bool TermGridModel::addRow() {
    const int last = static_cast<int>(m_grid.rowCount()) - 1;
    if (gbk::trim(m_grid.row(static_cast<std::size_t>(last)).cells[kKeyColumn]).empty()) return false;
    beginInsertRows({}, last + 1, last + 1);
    m_grid.addRow();
    endInsertRows();
    rowsChanged(last, last);
    return true;
}

}  // namespace tavricat::gui
