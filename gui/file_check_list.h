#pragma once
// The file lists of the batch windows: one checkable entry per file; an entry is checked once
// the window has processed its file, and "删  除" removes the checked ones.

#include <QListWidget>
#include <QStringList>

#include <string>
#include <vector>

namespace tavricat::gui {

class FileCheckList : public QListWidget {
    Q_OBJECT
public:
    enum class Duplicates { Allowed, Skipped };

    explicit FileCheckList(Duplicates duplicates, QWidget* parent = nullptr)
        : QListWidget(parent), m_duplicates(duplicates) {}

    void addFiles(const QStringList& files);
    void removeCheckedFiles();
    // The entries as native paths, in order.
    std::vector<std::string> paths() const;
    void setChecked(int row, bool checked);

private:
    Duplicates m_duplicates;
};

}  // namespace tavricat::gui
