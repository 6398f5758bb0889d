#include "reference_window.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QTabWidget>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

#include "gbk_positions.h"
#include "text_convert.h"

namespace tavricat::gui {

void renderReference(QTextEdit& box, const ReferenceDisplay& display) {
    box.clear();
    box.setCurrentCharFormat(QTextCharFormat());
    QTextCursor cursor(box.document());
    std::vector<int> lineStarts;
    for (std::size_t i = 0; i < display.lines.size(); ++i) {
        if (i > 0) cursor.insertBlock();
        lineStarts.push_back(cursor.position());
        cursor.insertText(fromGbk(display.lines[i]), QTextCharFormat());
    }
    for (const ColouredRange& range : display.ranges) {
        if (range.line >= display.lines.size()) continue;
        const std::string& line = display.lines[range.line];
        const int from = qtOffset(line, range.start);
        const int to = qtOffset(line, range.start + range.length);
        if (to <= from) continue;
        QTextCharFormat format;
        format.setForeground(range.colour == ReferenceColour::Blue ? QColor(Qt::blue) : QColor(Qt::red));
        format.setFontWeight(range.bold ? QFont::Bold : QFont::Normal);
        format.setFontUnderline(range.underline);
        cursor.setPosition(lineStarts[range.line] + from);
        cursor.setPosition(lineStarts[range.line] + to, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(format);
    }
    box.moveCursor(QTextCursor::Start);
}

ReferenceWindow::ReferenceWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool),
      m_tabs(new QTabWidget(this)),
      m_example(new QTextEdit(this)),
      m_grammar(new QListWidget(this)) {
    setObjectName(QStringLiteral("popform"));
    setWindowTitle(QStringLiteral("参考"));
    m_example->setObjectName(QStringLiteral("rtbCanKaoLiJu"));
    m_example->setReadOnly(true);
    m_grammar->setObjectName(QStringLiteral("gramarList"));
    m_tabs->addTab(m_example, QStringLiteral("例句"));
    m_tabs->addTab(m_grammar, QStringLiteral("语法"));
    m_grammar->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grammar, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const int row = m_grammar->currentRow();
        if (row < 0) return;
        QMenu menu(m_grammar);
        menu.addAction(QStringLiteral("永久删除"), this, [this, row] { emit deletePatternRequested(row, true); })
            ->setObjectName(QStringLiteral("N1"));
        menu.addAction(QStringLiteral("临时删除"), this, [this, row] { emit deletePatternRequested(row, false); })
            ->setObjectName(QStringLiteral("N2"));
        menu.addAction(QStringLiteral("修改..."), this, [this, row] { emit modifyPatternRequested(row); })
            ->setObjectName(QStringLiteral("N3"));
        menu.exec(m_grammar->viewport()->mapToGlobal(at));
    });
    // A right click in the example box hides the window.
    m_example->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_example, &QWidget::customContextMenuRequested, this, &QWidget::hide);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(m_tabs);
    resize(520, 220);
}

void ReferenceWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) hide();
    else QWidget::keyPressEvent(event);
}

void ReferenceWindow::showExample(const ReferenceDisplay& display) {
    renderReference(*m_example, display);
    if (!display.empty()) m_tabs->setCurrentIndex(0);
}

void ReferenceWindow::showGrammar(const std::vector<std::string>& lines) {
    m_grammar->clear();
    for (const std::string& line : lines) m_grammar->addItem(fromGbk(line));
}

void ReferenceWindow::clear() {
    m_example->clear();
    m_grammar->clear();
}

}  // namespace tavricat::gui
