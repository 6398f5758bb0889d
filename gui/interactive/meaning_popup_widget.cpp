#include "meaning_popup_widget.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "text_convert.h"

namespace tavricat::gui {

namespace {

constexpr int kMaxShownRows = 10;

// Column widths follow the longest text in GBK bytes: two bytes are one "品" wide.
int columnWidth(const QTableWidget& grid, int column) {
    std::size_t bytes = 0;
    for (int row = 0; row < grid.rowCount(); ++row)
        if (const QTableWidgetItem* item = grid.item(row, column)) bytes = std::max(bytes, toGbkLossy(item->text()).size());
    return static_cast<int>(bytes) * grid.fontMetrics().horizontalAdvance(QStringLiteral("品")) / 2;
}

}  // namespace

MeaningPopupWidget::MeaningPopupWidget(QWidget* parent)
    : QFrame(parent, Qt::Tool | Qt::FramelessWindowHint),
      m_toolbar(new QToolBar(this)),
      m_grid(new QTableWidget(this)),
      m_edit(new QLineEdit(this)) {
    setObjectName(QStringLiteral("pmcmean"));
    setFrameShape(QFrame::Box);
    m_toolbar->setObjectName(QStringLiteral("toolbar1"));
    m_toolbar->setIconSize(QSize(12, 12));
    auto addButton = [this](const char* name, const QString& text, const QString& hint) {
        auto* button = new QToolButton(m_toolbar);
        button->setObjectName(QLatin1String(name));
        button->setText(text);
        button->setToolTip(hint);
        button->setFocusPolicy(Qt::NoFocus);
        m_toolbar->addWidget(button);
        return button;
    };
    for (const PopupCommandInfo& info : kPopupCommands) {
        if (!info.button) continue;
        const QString hint = fromGbk(info.hint);
        // The caption is the command's first two characters; the hint names it with its key.
        QToolButton* button = addButton(info.button, hint.left(2), hint);
        const PopupCommand command = info.command;
        connect(button, &QToolButton::clicked, this, [this, command] { emit commandRequested(command); });
    }
    m_pageDown = addButton("SpeedButton1", QStringLiteral("▼"), QStringLiteral("下一页: ]"));
    m_pageUp = addButton("SpeedButton2", QStringLiteral("▲"), QStringLiteral("上一页: ["));
    connect(m_pageDown, &QToolButton::clicked, this, [this] { emit pageRequested(true); });
    connect(m_pageUp, &QToolButton::clicked, this, [this] { emit pageRequested(false); });
    connect(addButton("SpeedButton4", QStringLiteral("退格"), QStringLiteral("退格")), &QToolButton::clicked, this,
            [this] { emit backspaceRequested(); });
    connect(addButton("SpeedButton3", QStringLiteral("×"), QStringLiteral("关闭: Esc")), &QToolButton::clicked, this,
            [this] { emit closeRequested(); });

    m_edit->setObjectName(QStringLiteral("Edit1"));
    m_edit->setFixedWidth(16);
    m_edit->installEventFilter(this);
    m_toolbar->addWidget(m_edit);

    m_grid->setObjectName(QStringLiteral("StringGrid1"));
    m_grid->setColumnCount(4);
    m_grid->horizontalHeader()->hide();
    m_grid->verticalHeader()->hide();
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setFocusPolicy(Qt::NoFocus);
    m_grid->setMouseTracking(true);
    m_grid->viewport()->installEventFilter(this);
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    layout->addWidget(m_toolbar);
    layout->addWidget(m_grid);
}

QToolButton* MeaningPopupWidget::button(const char* name) const {
    return findChild<QToolButton*>(QLatin1String(name));
}

int MeaningPopupWidget::visibleRows() const { return kMaxShownRows; }

void MeaningPopupWidget::showRows(const MeaningPopup& popup) {
    const std::vector<PopupRow>& rows = popup.rows();
    m_top = popup.topRow();
    const int rowHeight = fontMetrics().height() + 4;  // the height of "高" and a margin
    m_grid->clearContents();
    m_grid->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const PopupRow& row = rows[static_cast<std::size_t>(r)];
        const std::array<const std::string*, 4> cells{&row.number, &row.meaning, &row.form, &row.label};
        for (int c = 0; c < 4; ++c) m_grid->setItem(r, c, new QTableWidgetItem(fromGbk(*cells[static_cast<std::size_t>(c)])));
        m_grid->setRowHeight(r, rowHeight);
    }
    // Column 0 carries the row numbers in keyboard mode only.
    m_grid->setColumnWidth(0, popup.keyboardMode() ? 15 : 0);
    m_grid->setColumnWidth(1, std::max(columnWidth(*m_grid, 1), 60) + 4);
    const int forms = popup.hasFormsColumn() ? columnWidth(*m_grid, 2) : 0;
    m_grid->setColumnWidth(2, forms == 0 ? 0 : forms < 60 ? 60 : forms + 4);
    const int labels = columnWidth(*m_grid, 3);
    m_grid->setColumnWidth(3, labels == 0 ? 0 : labels + 3);
    int width = 24;
    for (int c = 0; c < 4; ++c) width += m_grid->columnWidth(c);
    width = std::max(width, 152);
    const int shown = std::min(static_cast<int>(rows.size()), kMaxShownRows);
    const int height = shown < 11 ? (rowHeight + 1) * std::max(shown, 1) + 5 : rowHeight * 10 + 15;
    m_grid->setFixedSize(width, height);
    if (m_top < m_grid->rowCount()) m_grid->scrollToItem(m_grid->item(m_top, 1), QAbstractItemView::PositionAtTop);
    m_pageUp->setEnabled(popup.canPageUp());
    m_pageDown->setEnabled(popup.canPageDown());
    // The grid is at least as wide as the toolbar, so that no button is folded away.
    if (m_toolbar->sizeHint().width() > width) m_grid->setFixedWidth(m_toolbar->sizeHint().width());
    adjustSize();
}

void MeaningPopupWidget::placeAt(QPoint topLeft) {
    const QScreen* screen = QGuiApplication::screenAt(topLeft);
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (screen && screen->geometry().width() - 10 < width() + topLeft.x())
        topLeft.setX(screen->geometry().width() - width() - 25);
    move(topLeft);
}

bool MeaningPopupWidget::handleKey(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Escape) {
        emit closeRequested();
        return true;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        emit enterPressed();
        return true;
    }
    const QString text = event->text();
    if (text.size() != 1) return false;
    const char c = text.at(0).toLatin1();
    // The command keys, named by the window key codes their characters have.
    static const std::array<std::pair<char, int>, 6> commandKeys{
        {{';', 186}, {',', 188}, {'.', 190}, {'/', 191}, {'\\', 220}, {'\'', 222}}};
    for (const auto& [character, code] : commandKeys)
        if (c == character) {
            if (auto command = popupCommandOfKey(code)) emit commandRequested(*command);
            return true;
        }
    if (c == ' ' || (c >= '0' && c <= '9') || c == '[' || c == ']') {
        emit keyTyped(c);
        return true;
    }
    return false;
}

bool MeaningPopupWidget::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        const bool handled = handleKey(static_cast<QKeyEvent*>(event));
        m_edit->clear();
        return handled;
    }
    if (watched == m_grid->viewport()) {
        if (event->type() == QEvent::MouseMove) {
            const QModelIndex index = m_grid->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
            if (index.isValid()) m_grid->setCurrentIndex(index);
        } else if (event->type() == QEvent::MouseButtonRelease) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::RightButton) {
                emit closeRequested();
                return true;
            }
            const QModelIndex index = m_grid->indexAt(mouse->position().toPoint());
            if (mouse->button() == Qt::LeftButton && index.isValid() && index.column() >= 1)
                emit cellChosen(index.column(), index.row());
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}

void MeaningPopupWidget::keyPressEvent(QKeyEvent* event) {
    if (!handleKey(event)) QFrame::keyPressEvent(event);
}

void MeaningPopupWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) emit closeRequested();
    else QFrame::mousePressEvent(event);
}

}  // namespace tavricat::gui
