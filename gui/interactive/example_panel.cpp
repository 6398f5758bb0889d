#include "example_panel.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "gbk_positions.h"
#include "interactive/area_insertion.h"
#include "interactive/sentence_translation.h"
#include "reference_window.h"
#include "text_convert.h"

namespace tavricat::gui {

namespace {

constexpr int kPanelHeight = 60;

}  // namespace

ExamplePanel::ExamplePanel(QWidget* parent)
    : QWidget(parent),
      m_refbox(new QTextEdit(this)),
      m_commonBox(new QTextEdit(this)),
      m_btZi(new QToolButton(this)),
      m_swap(new QToolButton(this)) {
    setObjectName(QStringLiteral("refMother"));
    m_refbox->setObjectName(QStringLiteral("refbox"));
    m_refbox->setReadOnly(true);
    m_refbox->setContextMenuPolicy(Qt::CustomContextMenu);
    m_refbox->setMouseTracking(true);
    m_refbox->viewport()->installEventFilter(this);
    connect(m_refbox, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(m_refbox);
        menu.setObjectName(QStringLiteral("pm2"));
        menu.addAction(QStringLiteral("从例句库中删除本句"), this, &ExamplePanel::deleteExampleRequested)
            ->setObjectName(QStringLiteral("pmdelete"));
        menu.addAction(QStringLiteral("用本句更新例句库"), this, &ExamplePanel::updateExampleRequested)
            ->setObjectName(QStringLiteral("pmUpdate"));
        menu.exec(m_refbox->viewport()->mapToGlobal(at));
    });
    m_commonBox->setObjectName(QStringLiteral("oftenCharBox"));
    m_commonBox->setReadOnly(true);
    m_commonBox->setMouseTracking(true);
    m_commonBox->viewport()->setMouseTracking(true);
    m_commonBox->viewport()->installEventFilter(this);

    m_btZi->setObjectName(QStringLiteral("btZi"));
    m_btZi->setText(QStringLiteral("字"));
    m_btZi->setToolTip(QStringLiteral("显示/隐藏常用字"));
    m_btZi->setCheckable(true);
    connect(m_btZi, &QToolButton::toggled, this, &ExamplePanel::toggleCharacters);
    m_swap->setObjectName(QStringLiteral("SpeedButton25"));
    m_swap->setText(QStringLiteral("⇄"));
    m_swap->setToolTip(QStringLiteral("常用字/参考译例切换"));
    connect(m_swap, &QToolButton::clicked, this, &ExamplePanel::swap);

    auto* buttons = new QVBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addWidget(m_btZi);
    buttons->addWidget(m_swap);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_refbox, 1);
    layout->addWidget(m_commonBox, 1);
    layout->addLayout(buttons);
    arrange();
}

void ExamplePanel::setCommonCharacters(const std::string& gbk) {
    m_common = gbk;
    m_commonBox->setPlainText(fromGbk(m_common));
}

void ExamplePanel::setCommonHead(const std::string& head) {
    setCommonCharacters(withCommonCharacterHead(m_common, head));
}

void ExamplePanel::showExample(const ReferenceDisplay& display) {
    m_hasExample = !display.empty();
    if (m_hasExample) renderReference(*m_refbox, display);
    else m_refbox->clear();
    arrange();
}

void ExamplePanel::arrange() {
    // Up: the example alone, its panel as high as its lines (or collapsed when there is none).
    // Down: both boxes, the characters in front when there is no example.
    if (m_btZi->isChecked()) {
        m_refbox->setVisible(m_hasExample);
        m_commonBox->setVisible(true);
        setFixedHeight(kPanelHeight);
    } else {
        m_refbox->setVisible(true);
        m_commonBox->setVisible(false);
        const int lines = m_hasExample ? m_refbox->document()->blockCount() : 0;
        const int margins = 2 * (m_refbox->frameWidth() + static_cast<int>(m_refbox->document()->documentMargin()));
        setFixedHeight(m_hasExample ? lines * (m_refbox->fontMetrics().height() + 4) + 2 + margins
                                    : std::max(m_btZi->sizeHint().height() * 2, 1));
    }
    m_swap->setEnabled(m_btZi->isChecked());
}

void ExamplePanel::toggleCharacters(bool) { arrange(); }

void ExamplePanel::swap() {
    if (!m_btZi->isChecked()) return;
    if (!m_hasExample) {
        m_commonBox->show();
        m_refbox->hide();
        return;
    }
    const bool exampleShown = m_refbox->isVisible() && !m_commonBox->isVisible();
    m_refbox->setVisible(!exampleShown);
    m_commonBox->setVisible(exampleShown);
}

bool ExamplePanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_refbox->viewport() && event->type() == QEvent::MouseMove) emit hovered();
    if (watched != m_commonBox->viewport()) return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::MouseMove) {
        // The blank-delimited run under the mouse becomes the selection.
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        const QString shown = m_commonBox->toPlainText();
        const std::string gbk = toGbkLossy(shown);
        const int pos = m_commonBox->cursorForPosition(at).position();
        QTextCursor cursor = m_commonBox->textCursor();
        if (auto run = commonCharacterRunAt(gbk, gbkOffset(shown, pos))) {
            const int from = qtOffset(gbk, run->start);
            const int to = qtOffset(gbk, run->start + run->length);
            if (pos < cursor.selectionStart() || pos >= cursor.selectionEnd()) {
                cursor.setPosition(from);
                cursor.setPosition(to, QTextCursor::KeepAnchor);
            }
        } else {
            cursor.clearSelection();
        }
        m_commonBox->setTextCursor(cursor);
        return false;
    }
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        const std::string run = toGbkLossy(m_commonBox->textCursor().selectedText());
        if (!run.empty()) emit commonRunClicked(run);
        return true;
    }
    if (event->type() == QEvent::MouseButtonPress) return true;  // the selection stays as the mouse made it
    return QWidget::eventFilter(watched, event);
}

}  // namespace tavricat::gui
