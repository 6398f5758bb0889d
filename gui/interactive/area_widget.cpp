#include "area_widget.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>

#include "app/settings.h"
#include "options_dialog.h"
#include "text_convert.h"

namespace tavricat::gui {

namespace {

constexpr int kFirstLeft = 10;
constexpr int kFirstTop = 1;
constexpr int kWordGap = 12;

// Font names are kept as the settings store holds them (UTF-8; older stores GBK).
QString fontName(const std::string& name) {
    const QString utf8 = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    return utf8.contains(QChar::ReplacementCharacter) ? fromGbk(name) : utf8;
}

QFont fontOf(const std::string& name, int size) {
    QFont font(fontName(name));
    font.setFamilies({fontName(name), QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Serif CJK SC")});
    font.setPointSize(size > 0 ? size : 9);
    return font;
}

void setColours(QLabel* label, const QColor& text, const QColor& background) {
    label->setStyleSheet(QStringLiteral("QLabel { color: %1; background-color: %2; }").arg(text.name(), background.name()));
}

}  // namespace

AreaWidget::AreaWidget(QWidget* parent) : QScrollArea(parent), m_canvas(new QWidget) {
    setObjectName(QStringLiteral("ScrollBox1"));
    m_canvas->setObjectName(QStringLiteral("areaCanvas"));
    m_canvas->setAutoFillBackground(true);
    QPalette palette = m_canvas->palette();
    palette.setColor(QPalette::Window, Qt::white);
    m_canvas->setPalette(palette);
    m_canvas->setMouseTracking(true);
    m_canvas->installEventFilter(this);
    setWidget(m_canvas);
    setWidgetResizable(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setMinimumHeight(60);
}

void AreaWidget::ensureLabels(int count) {
    while (static_cast<int>(m_words.size()) < count) {
        const int token = static_cast<int>(m_words.size());
        auto make = [this, token](const char* kind) {
            auto* label = new QLabel(m_canvas);
            label->setObjectName(QStringLiteral("%1%2").arg(QLatin1String(kind)).arg(token));
            label->setTextFormat(Qt::PlainText);
            label->setMouseTracking(true);
            label->setProperty("token", token);
            label->installEventFilter(this);
            label->hide();
            return label;
        };
        m_words.push_back(make("word"));
        m_meanings.push_back(make("meaning"));
        m_shortcuts.push_back(make("shortcut"));
    }
}

void AreaWidget::showArea(const InteractiveArea& area, const Settings& settings) {
    m_tokens = area.tokens();
    m_showExplanations = area.options().mode == DisplayMode::MeaningsAndShortcuts ||
                         area.options().mode == DisplayMode::MeaningsOnly;
    m_currentWordBackground = static_cast<std::uint32_t>(settings.CurEwordBC);
    m_currentMeaningBackground = static_cast<std::uint32_t>(settings.CurExplainBC);
    m_phraseBackground = static_cast<std::uint32_t>(settings.PhraseTipBC);
    m_markedColour = static_cast<std::uint32_t>(settings.SelWordsFC);
    const int count = static_cast<int>(m_tokens.size());
    ensureLabels(count);
    const QFont wordFont = fontOf(settings.interEwordFontName, settings.interEwordFontSize);
    const QFont meaningFont = fontOf(settings.interCwordFontName, settings.interCwordFontSize);
    const QColor shortcutColour = fromWindowsColour(settings.ShortCutFC);
    for (int i = 0; i < count; ++i) {
        QFont font = wordFont;
        font.setBold(m_tokens[static_cast<std::size_t>(i)].bold);
        m_words[static_cast<std::size_t>(i)]->setFont(font);
        m_meanings[static_cast<std::size_t>(i)]->setFont(meaningFont);
        m_shortcuts[static_cast<std::size_t>(i)]->setFont(wordFont);
        setColours(m_shortcuts[static_cast<std::size_t>(i)], shortcutColour, Qt::white);
    }
    for (std::size_t i = static_cast<std::size_t>(count); i < m_words.size(); ++i) {
        m_words[i]->hide();
        m_meanings[i]->hide();
        m_shortcuts[i]->hide();
    }
    m_count = count;
    arrange();
    paintCurrent(area.currentWord(), 0, 0);
}

void AreaWidget::hideAll() {
    for (std::size_t i = 0; i < m_words.size(); ++i) {
        m_words[i]->hide();
        m_meanings[i]->hide();
        m_shortcuts[i]->hide();
    }
    m_count = 0;
    m_tokens.clear();
}

void AreaWidget::arrange() {
    const int clientWidth = viewport()->width();
    int bottom = 0;
    for (int i = 0; i < m_count; ++i) {
        const AreaToken& token = m_tokens[static_cast<std::size_t>(i)];
        QLabel* word = m_words[static_cast<std::size_t>(i)];
        QLabel* meaning = m_meanings[static_cast<std::size_t>(i)];
        QLabel* shortcut = m_shortcuts[static_cast<std::size_t>(i)];
        meaning->setText(fromGbk(token.meaning));
        meaning->adjustSize();
        word->setText(fromGbk(token.text));
        word->adjustSize();
        // A word narrower than the meaning under it takes the meaning's width.
        if (m_showExplanations && token.meaningVisible && word->width() < meaning->width())
            word->resize(meaning->width(), word->height());
        if (i == 0) {
            word->move(kFirstLeft, kFirstTop);
        } else {
            const QLabel* previous = m_words[static_cast<std::size_t>(i - 1)];
            if (clientWidth - 15 < previous->x() + previous->width() + word->width() + 3)
                word->move(kFirstLeft, previous->y() + previous->height() * 5 / 2);
            else
                word->move(previous->x() + previous->width() + kWordGap, previous->y());
        }
        word->show();
        meaning->setGeometry(word->x(), word->y() + word->height(), word->width(), meaning->height());
        meaning->setVisible(token.meaningVisible);
        shortcut->setText(token.shortcut ? QString(QChar(token.shortcut)) : QString());
        shortcut->adjustSize();
        // The letter sits just left of its word, level with the meaning.
        shortcut->move(word->x() - shortcut->width() - 1, word->y() + word->height());
        shortcut->setVisible(token.shortcutVisible && token.shortcut != 0);
        bottom = std::max(bottom, word->y() + word->height() * 5 / 2);
    }
    m_canvas->resize(std::max(clientWidth, 1), std::max(bottom, viewport()->height()));
}

void AreaWidget::paintCurrent(int current, int phraseFirst, int phraseCount) {
    for (int i = 0; i < m_count; ++i) {
        const AreaToken& token = m_tokens[static_cast<std::size_t>(i)];
        QColor text = Qt::black;
        if (token.marked) text = fromWindowsColour(static_cast<std::int32_t>(m_markedColour));
        else if (token.red) text = Qt::red;
        QColor wordBackground = Qt::white, meaningBackground = Qt::white;
        if (phraseCount > 0 && i >= phraseFirst && i < phraseFirst + phraseCount)
            wordBackground = fromWindowsColour(static_cast<std::int32_t>(m_phraseBackground));
        if (i == current) {
            wordBackground = fromWindowsColour(static_cast<std::int32_t>(m_currentWordBackground));
            meaningBackground = fromWindowsColour(static_cast<std::int32_t>(m_currentMeaningBackground));
        }
        setColours(m_words[static_cast<std::size_t>(i)], text, wordBackground);
        setColours(m_meanings[static_cast<std::size_t>(i)], Qt::black, meaningBackground);
    }
}

void AreaWidget::updateToken(int i, const AreaToken& token) {
    if (i < 0 || i >= m_count) return;
    m_tokens[static_cast<std::size_t>(i)] = token;
    arrange();
}

int AreaWidget::tokenOf(QObject* label) const {
    const QVariant token = label->property("token");
    return token.isValid() && token.toInt() < m_count ? token.toInt() : -1;
}

bool AreaWidget::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonDblClick)
        return QScrollArea::eventFilter(watched, event);
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (watched == m_canvas) {
        if (type == QEvent::MouseButtonRelease && mouse->button() == Qt::RightButton) emit backgroundRightReleased();
        else if (type == QEvent::MouseButtonDblClick) emit backgroundDoubleClicked();
        else if (type == QEvent::MouseMove) emit backgroundHovered();
        return false;
    }
    const int token = tokenOf(watched);
    if (token < 0) return false;
    const bool isWord = watched == m_words[static_cast<std::size_t>(token)];
    if (type == QEvent::MouseMove) {
        emit labelHovered(token, mouse->modifiers());
    } else if (type == QEvent::MouseButtonPress && mouse->button() == Qt::RightButton) {
        emit labelRightClicked(token);
    } else if (type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
        if (isWord) emit wordClicked(token, mouse->modifiers());
        else emit meaningClicked(token, mouse->modifiers());
    }
    return true;
}

void AreaWidget::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    arrange();
}

}  // namespace tavricat::gui
