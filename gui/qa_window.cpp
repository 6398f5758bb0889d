#include "qa_window.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "text_convert.h"

namespace tavricat::gui {

namespace {

QString caption(QaKind kind) {
    switch (kind) {
        case QaKind::Tags: return QStringLiteral("标记");
        case QaKind::Numbers: return QStringLiteral("数字");
        case QaKind::Terms: return QStringLiteral("术语");
        case QaKind::Untranslated: return QStringLiteral("未翻译");
        case QaKind::Empty: return QStringLiteral("译文为空");
        case QaKind::Inconsistent: return QStringLiteral("译法不一致");
        case QaKind::DoubleBlanks: return QStringLiteral("多余空格");
        case QaKind::Punctuation: return QStringLiteral("标点");
    }
    return {};
}

}  // namespace

QaWindow::QaWindow(std::vector<QaSegment> segments, std::vector<QaFinding> findings,
                   std::function<void(std::size_t, std::size_t)> select, QWidget* parent)
    : QDialog(parent),
      m_segments(std::move(segments)),
      m_findings(std::move(findings)),
      m_select(std::move(select)),
      m_list(new QTreeWidget(this)) {
    setWindowTitle(QStringLiteral("质量检查"));
    setObjectName(QStringLiteral("qaWindow"));
    m_list->setObjectName(QStringLiteral("findings"));
    m_list->setHeaderLabels({QStringLiteral("类型"), QStringLiteral("行"), QStringLiteral("原文"), QStringLiteral("发现")});
    m_list->setRootIsDecorated(false);
    for (const QaFinding& finding : m_findings) {
        const QaSegment& segment = m_segments[finding.segment];
        auto* row = new QTreeWidgetItem(m_list);
        row->setText(0, caption(finding.kind));
        row->setText(1, QString::number(segment.line));
        row->setText(2, fromGbk(segment.source).trimmed());
        row->setText(3, fromGbk(finding.detail));
    }
    m_list->header()->setSectionResizeMode(2, QHeaderView::Stretch);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(m_findings.empty() ? QStringLiteral("没有发现问题。")
                                                    : QStringLiteral("共 %1 个句段，发现 %2 处问题。双击一行可转到该句段。")
                                                          .arg(m_segments.size())
                                                          .arg(m_findings.size()),
                                 this));
    layout->addWidget(m_list);
    resize(760, 420);
    connect(m_list, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { jumpTo(m_list->indexOfTopLevelItem(item)); });
}

void QaWindow::jumpTo(int row) {
    if (row < 0 || row >= static_cast<int>(m_findings.size())) return;
    const QaSegment& segment = m_segments[m_findings[static_cast<std::size_t>(row)].segment];
    m_select(segment.start, segment.end - segment.start);
}

}  // namespace tavricat::gui
