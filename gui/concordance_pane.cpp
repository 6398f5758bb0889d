#include "concordance_pane.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "app/concordance_query.h"
#include "app/workbench.h"
#include "busy_cursor.h"
#include "text_convert.h"

namespace tavricat::gui {

namespace {

constexpr std::size_t kShownHits = 50;

// The text with [at, at + length) in bold, as HTML.
QString highlighted(const std::string& text, std::size_t at, std::size_t length) {
    return fromGbk(text.substr(0, at)).toHtmlEscaped() + QStringLiteral("<b style=\"color:#c00000\">") +
           fromGbk(text.substr(at, length)).toHtmlEscaped() + QStringLiteral("</b>") +
           fromGbk(text.substr(std::min(text.size(), at + length))).toHtmlEscaped();
}

}  // namespace

ConcordancePane::ConcordancePane(Workbench& bench, QWidget* parent)
    : QDockWidget(QStringLiteral("语料检索"), parent),
      m_bench(bench),
      m_field(new QLineEdit),
      m_inTranslation(new QCheckBox(QStringLiteral("查译文"))),
      m_results(new QTextBrowser) {
    setObjectName(QStringLiteral("concordancePane"));
    m_field->setObjectName(QStringLiteral("concordanceText"));
    m_field->setPlaceholderText(QStringLiteral("词或短语"));
    auto* go = new QPushButton(QStringLiteral("检索"));
    auto* row = new QHBoxLayout;
    row->addWidget(m_field, 1);
    row->addWidget(m_inTranslation);
    row->addWidget(go);
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(row);
    layout->addWidget(m_results, 1);
    setWidget(body);
    connect(go, &QPushButton::clicked, this, [this] { (void)search(); });
    connect(m_field, &QLineEdit::returnPressed, this, [this] { (void)search(); });
}

std::size_t ConcordancePane::search(const QString& text) {
    if (!text.isEmpty()) m_field->setText(text);
    const std::string typed = toGbkLossy(m_field->text().trimmed());
    if (typed.empty()) return 0;
    BusyCursor busy;
    const bool inTranslation = m_inTranslation->isChecked();
    const std::string query = concordanceQuery(m_bench, typed, inTranslation);
    if (!m_bench.sentenceLibrary.concordanceIndexReady()) {
        // The first search of a library builds its index (about a second a million examples).
        m_results->setHtml(QStringLiteral("<p>正在建立检索索引…</p>"));
        m_results->repaint();
    }
    const std::vector<ConcordanceHit> hits = concordance(m_bench.sentenceLibrary, query, inTranslation, kShownHits);
    QString html;
    for (const ConcordanceHit& hit : hits) {
        const QString source = hit.inTranslation ? fromGbk(hit.source).toHtmlEscaped() : highlighted(hit.source, hit.at, hit.length);
        const QString target =
            hit.inTranslation ? highlighted(hit.translation, hit.at, hit.length) : fromGbk(hit.translation).toHtmlEscaped();
        html += QStringLiteral("<p><small>%1</small> %2<br/>%3</p>").arg(hit.example).arg(source, target);
    }
    if (hits.empty()) html = QStringLiteral("<p>没有找到。</p>");
    m_results->setHtml(html);
    return hits.size();
}

}  // namespace tavricat::gui
