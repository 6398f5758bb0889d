#pragma once
// The term base editor's grid as a Qt table model over the core's TermGrid: cells are turned
// into QStrings only when a view asks for them, so a term base of 100,000 entries scrolls
// without delay.

#include <QAbstractTableModel>

#include "base/ports.h"
#include "engine/term_grid.h"

namespace tavricat::gui {

class TermGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Typed text GBK cannot hold, or a "^" (the field separator of an entry), is refused
    // through `dialogs`.
    TermGridModel(TermGrid& grid, Dialogs& dialogs, QObject* parent = nullptr)
        : QAbstractTableModel(parent), m_grid(grid), m_dialogs(dialogs) {}

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // After the grid was filled again, or rows were marked or added.
    void reset();
    void rowsChanged(int first, int last);
    // The "*" row numbered and a new one appended (when its key is filled).
    bool addRow();

private:
    TermGrid& m_grid;
    Dialogs& m_dialogs;
};

}  // namespace tavricat::gui
