#pragma once
// "质量检查...": the findings of the quality checks on the bilingual document, one row each
// (kind, line, source, what was found); choosing a row selects its segment in the document.

#include <QDialog>

#include <functional>
#include <vector>

#include "batch/qa_checks.h"

class QTreeWidget;

namespace tavricat::gui {

class QaWindow : public QDialog {
    Q_OBJECT
public:
    // `select(start, length)` shows a segment (byte offsets of the bilingual buffer).
    QaWindow(std::vector<QaSegment> segments, std::vector<QaFinding> findings,
             std::function<void(std::size_t, std::size_t)> select, QWidget* parent);

    QTreeWidget* list() const { return m_list; }
    // Selects the segment of finding `row` in the document.
    void jumpTo(int row);

private:
    std::vector<QaSegment> m_segments;
    std::vector<QaFinding> m_findings;
    std::function<void(std::size_t, std::size_t)> m_select;
    QTreeWidget* m_list;
};

}  // namespace tavricat::gui
