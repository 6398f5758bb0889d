#include "file_check_list.h"

#include "text_convert.h"

namespace tavricat::gui {

void FileCheckList::addFiles(const QStringList& files) {
    for (const QString& file : files) {
        if (m_duplicates == Duplicates::Skipped && !findItems(file, Qt::MatchExactly).isEmpty()) continue;
        auto* entry = new QListWidgetItem(file, this);
        entry->setFlags(entry->flags() | Qt::ItemIsUserCheckable);
        entry->setCheckState(Qt::Unchecked);
    }
}

void FileCheckList::removeCheckedFiles() {
    for (int row = count() - 1; row >= 0; --row)
        if (item(row)->checkState() == Qt::Checked) delete takeItem(row);
}

std::vector<std::string> FileCheckList::paths() const {
    std::vector<std::string> out;
    for (int row = 0; row < count(); ++row) out.push_back(toNativePath(item(row)->text()));
    return out;
}

void FileCheckList::setChecked(int row, bool checked) { item(row)->setCheckState(checked ? Qt::Checked : Qt::Unchecked); }

}  // namespace tavricat::gui
