#include "options_dialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "app/setting_rules.h"
#include "text_convert.h"

namespace tavricat::gui {

namespace {

struct ColourEntry {
    const char* caption;
    const char* key;  // in the store's section colorsetup
    std::int32_t Settings::*member;
};

constexpr std::array<ColourEntry, kColourElementCount> kColourEntries = {{
    {"当前单词背景", "CurEwordBC", &Settings::CurEwordBC},
    {"片段提示背景色", "PhraseTipBC", &Settings::PhraseTipBC},
    {"选定单词前景色", "SelWordsFC", &Settings::SelWordsFC},
    {"快捷键颜色", "ShortCutFC", &Settings::ShortCutFC},
    {"当前单词首选释义背景色", "CurExplainBC", &Settings::CurExplainBC},
    {"分隔标记颜色", "IsoTagsFC", &Settings::IsoTagsFC},
}};

// The sixteen basic colours of the grid, as Windows colour values.
constexpr std::array<std::int32_t, 16> kGridColours = {
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0,
    0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF,
};

QFont sampleFont(const std::string& name, std::int32_t size) {
    QFont font(QString::fromStdString(name));
    font.setPointSize(std::max<std::int32_t>(1, size));
    return font;
}

// A size given in pixels has no point size; the stored size is then kept.
std::int32_t pointSizeOr(const QFont& font, std::int32_t fallback) {
    const int size = font.pointSize();
    return size > 0 ? size : fallback;
}

QCheckBox* checkBox(const QString& caption, const QString& name, bool checked, QWidget* parent) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    box->setChecked(checked);
    return box;
}

QSpinBox* spinBox(const QString& name, int value, QWidget* parent) {
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(name);
    spin->setRange(kShownCountMin, kShownCountMax);
    spin->setValue(value);  // QSpinBox clamps a stored value outside the range
    return spin;
}

void paintSwatch(QWidget* widget, std::int32_t value) {
    widget->setStyleSheet(QStringLiteral("background-color: %1; border: 1px solid black;")
                              .arg(fromWindowsColour(value).name()));
}

}  // namespace

QColor fromWindowsColour(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    return QColor(static_cast<int>(bits & 0xFF), static_cast<int>((bits >> 8) & 0xFF), static_cast<int>((bits >> 16) & 0xFF));
}

std::int32_t toWindowsColour(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(rgb.red()) | (static_cast<std::uint32_t>(rgb.green()) << 8) |
                                     (static_cast<std::uint32_t>(rgb.blue()) << 16));
}

OptionsDialog::OptionsDialog(Settings& settings, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent),
      m_settings(settings),
      m_dialogs(dialogs),
      m_chooseColour([](const QColor& current, QWidget* owner) -> std::optional<QColor> {
          const QColor chosen = QColorDialog::getColor(current, owner);
          if (!chosen.isValid()) return std::nullopt;
          return chosen;
      }),
      m_chooseFont([](const QFont& current, QWidget* owner) -> std::optional<QFont> {
          bool ok = false;
          const QFont chosen = QFontDialog::getFont(&ok, current, owner);
          if (!ok) return std::nullopt;
          return chosen;
      }) {
    setWindowTitle(QStringLiteral("TavriCAT选项"));
    m_pages = new QTabWidget(this);
    m_pages->addTab(buildInteractivePage(), QStringLiteral("交互翻译"));
    m_pages->addTab(buildColourPage(), QStringLiteral("颜  色"));
    m_pages->addTab(buildFontPage(), QStringLiteral("字  体"));
    m_pages->addTab(buildBreakPage(), QStringLiteral("断  句"));

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("确 定"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("取 消"), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("cancelButton"));
    m_help = buttons->addButton(QStringLiteral("帮 助"), QDialogButtonBox::HelpRole);
    m_help->setObjectName(QStringLiteral("helpButton"));
    m_help->setEnabled(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &OptionsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &OptionsDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, [this] {
        if (m_openHelp) m_openHelp(helpTopic());
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addWidget(buttons);
}

void OptionsDialog::setHelpOpener(HelpOpener opener) {
    m_openHelp = std::move(opener);
    m_help->setEnabled(static_cast<bool>(m_openHelp));
}

QWidget* OptionsDialog::buildInteractivePage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);

    auto* rateRow = new QHBoxLayout;
    m_matchRateLabel = new QLabel(page);
    m_matchRateLabel->setObjectName(QStringLiteral("matchRateLabel"));
    m_matchRate = new QSlider(Qt::Horizontal, page);
    m_matchRate->setObjectName(QStringLiteral("matchRate"));
    m_matchRate->setRange(kMatchRateMin, kMatchRateMax);
    m_matchRate->setSingleStep(1);
    m_matchRate->setPageStep(5);
    connect(m_matchRate, &QSlider::valueChanged, this, &OptionsDialog::showMatchRate);
    m_matchRate->setValue(m_settings.matchrate);  // clamped into 50..100
    showMatchRate(m_matchRate->value());
    rateRow->addWidget(m_matchRateLabel);
    rateRow->addWidget(m_matchRate, 1);
    layout->addLayout(rateRow);

    m_giveMT = checkBox(QStringLiteral("低于指定匹配率的句子给出机器翻译参考"), QStringLiteral("giveMT"), m_settings.giveMT, page);
    // Stored inverted: the setting says the meanings pop up by themselves.
    m_rightClickShowsAll = checkBox(QStringLiteral("单击鼠标右键弹出所有释义"), QStringLiteral("rightClickShowsAll"),
                                    !m_settings.autoshowexp, page);
    m_spaceInHan = checkBox(QStringLiteral("汉字之间加空格"), QStringLiteral("spaceInHan"), m_settings.SpaceInHanChar, page);
    m_copyNewWords = checkBox(QStringLiteral("复制原文作为新词汇的释义"), QStringLiteral("copyNewWords"), m_settings.copyNewWords, page);
    m_autoPropagate = checkBox(QStringLiteral("确认时把译文填入后面相同的未译句子"), QStringLiteral("autoPropagate"),
                               m_settings.autoPropagate, page);
    for (QCheckBox* box : {m_giveMT, m_rightClickShowsAll, m_spaceInHan, m_copyNewWords, m_autoPropagate})
        layout->addWidget(box);

    m_minShowChars = spinBox(QStringLiteral("minShowChars"), m_settings.maxshowcharnum, page);
    auto* charsRow = new QHBoxLayout;
    charsRow->addWidget(new QLabel(QStringLiteral("不显示少于"), page));
    charsRow->addWidget(m_minShowChars);
    charsRow->addWidget(new QLabel(QStringLiteral("个字符的单词的释义"), page));
    charsRow->addStretch(1);
    layout->addLayout(charsRow);

    m_maxExamples = spinBox(QStringLiteral("maxExamples"), m_settings.limitPhraseTipNum, page);
    auto* examplesRow = new QHBoxLayout;
    examplesRow->addWidget(new QLabel(QStringLiteral("最多显示"), page));
    examplesRow->addWidget(m_maxExamples);
    examplesRow->addWidget(new QLabel(QStringLiteral("个译例"), page));
    examplesRow->addStretch(1);
    layout->addLayout(examplesRow);
    layout->addStretch(1);
    return page;
}

QWidget* OptionsDialog::buildColourPage() {
    auto* page = new QWidget(this);
    auto* layout = new QHBoxLayout(page);

    m_colourList = new QListWidget(page);
    m_colourList->setObjectName(QStringLiteral("colourList"));
    for (const ColourEntry& entry : kColourEntries) m_colourList->addItem(QString::fromUtf8(entry.caption));
    layout->addWidget(m_colourList, 1);

    auto* right = new QVBoxLayout;
    auto* grid = new QGridLayout;
    for (std::size_t i = 0; i < kGridColours.size(); ++i) {
        auto* cell = new QPushButton(page);
        cell->setObjectName(QStringLiteral("gridColour%1").arg(i));
        cell->setFixedSize(22, 22);
        paintSwatch(cell, kGridColours[i]);
        const std::int32_t value = kGridColours[i];
        connect(cell, &QPushButton::clicked, this, [this, value] { pickColour(fromWindowsColour(value)); });
        grid->addWidget(cell, static_cast<int>(i / 8), static_cast<int>(i % 8));
    }
    right->addLayout(grid);
    auto* other = new QPushButton(QStringLiteral("其他颜色..."), page);
    other->setObjectName(QStringLiteral("otherColour"));
    connect(other, &QPushButton::clicked, this, &OptionsDialog::chooseColour);
    right->addWidget(other);

    auto* swatchRow = new QHBoxLayout;
    swatchRow->addWidget(new QLabel(QStringLiteral("当前色:"), page));
    m_swatch = new QLabel(page);
    m_swatch->setObjectName(QStringLiteral("colourSwatch"));
    m_swatch->setFixedSize(48, 22);
    swatchRow->addWidget(m_swatch);
    swatchRow->addStretch(1);
    right->addLayout(swatchRow);
    right->addStretch(1);
    layout->addLayout(right);

    connect(m_colourList, &QListWidget::currentRowChanged, this, &OptionsDialog::showCurrentColour);
    m_colourList->setCurrentRow(0);
    return page;
}

QWidget* OptionsDialog::buildFontPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    struct Box {
        FontSample which;
        const char* title;
        const char* sampleText;
        QFont font;
    };
    const std::array<Box, 2> boxes = {{
        {FontSample::Source, "交互区原文字体", "TavriCAT", sampleFont(m_settings.interEwordFontName, m_settings.interEwordFontSize)},
        {FontSample::Target, "交互区译文字体", "Tavri计算机辅助翻译",
         sampleFont(m_settings.interCwordFontName, m_settings.interCwordFontSize)},
    }};
    for (const Box& box : boxes) {
        auto* group = new QGroupBox(QString::fromUtf8(box.title), page);
        auto* row = new QHBoxLayout(group);
        auto* sample = new QLabel(QString::fromUtf8(box.sampleText), group);
        sample->setObjectName(box.which == FontSample::Source ? QStringLiteral("sourceFontSample")
                                                              : QStringLiteral("targetFontSample"));
        sample->setFont(box.font);
        sample->setMinimumHeight(40);
        sample->setFrameShape(QFrame::Panel);
        sample->setFrameShadow(QFrame::Sunken);
        m_samples[static_cast<std::size_t>(box.which)] = sample;
        auto* change = new QPushButton(QStringLiteral("更改..."), group);
        change->setObjectName(box.which == FontSample::Source ? QStringLiteral("changeSourceFont")
                                                              : QStringLiteral("changeTargetFont"));
        const FontSample which = box.which;
        connect(change, &QPushButton::clicked, this, [this, which] { changeFont(which); });
        row->addWidget(sample, 1);
        row->addWidget(change);
        layout->addWidget(group);
    }
    layout->addStretch(1);
    return page;
}

QWidget* OptionsDialog::buildBreakPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    m_lineBreakStops = checkBox(QStringLiteral("回车换行视为句子结尾"), QStringLiteral("lineBreakStops"), m_settings.CLStop, page);
    m_tabStops = checkBox(QStringLiteral("制表键(TAB)视为句子结尾"), QStringLiteral("tabStops"), m_settings.TABkeyStop, page);
    m_tagStops = checkBox(QStringLiteral("标记视为句子结尾"), QStringLiteral("tagStops"), m_settings.tagStop, page);
    for (QCheckBox* box : {m_lineBreakStops, m_tabStops, m_tagStops}) layout->addWidget(box);
    layout->addStretch(1);
    return page;
}

void OptionsDialog::showMatchRate(int rate) {
    m_matchRateLabel->setText(QStringLiteral("匹配率：%1%").arg(rate));
}

void OptionsDialog::showCurrentColour() {
    paintSwatch(m_swatch, m_settings.*kColourEntries[static_cast<std::size_t>(currentColourElement())].member);
}

void OptionsDialog::selectColourElement(ColourElement element) { m_colourList->setCurrentRow(static_cast<int>(element)); }

ColourElement OptionsDialog::currentColourElement() const {
    return static_cast<ColourElement>(std::clamp(m_colourList->currentRow(), 0, kColourElementCount - 1));
}

bool OptionsDialog::pickColour(const QColor& colour) {
    const std::int32_t value = toWindowsColour(colour);
    const ColourEntry& entry = kColourEntries[static_cast<std::size_t>(currentColourElement())];
    if (Status allowed = validateSetting(m_settings, "colorsetup", entry.key, std::to_string(value)); !allowed) {
        m_dialogs.message(allowed.message());  // GBK from the core
        return false;
    }
    m_settings.*entry.member = value;
    showCurrentColour();
    return true;
}

void OptionsDialog::chooseColour() {
    if (!m_chooseColour) return;
    const std::int32_t current = m_settings.*kColourEntries[static_cast<std::size_t>(currentColourElement())].member;
    if (const std::optional<QColor> chosen = m_chooseColour(fromWindowsColour(current), this)) pickColour(*chosen);
}

void OptionsDialog::changeFont(FontSample which) {
    QLabel* sample = fontSample(which);
    sample->setFocus();
    if (!m_chooseFont) return;
    if (const std::optional<QFont> chosen = m_chooseFont(sample->font(), this)) sample->setFont(*chosen);
}

void OptionsDialog::accept() {
    m_settings.matchrate = m_matchRate->value();
    m_settings.giveMT = m_giveMT->isChecked();
    m_settings.autoshowexp = !m_rightClickShowsAll->isChecked();
    m_settings.SpaceInHanChar = m_spaceInHan->isChecked();
    m_settings.copyNewWords = m_copyNewWords->isChecked();
    m_settings.autoPropagate = m_autoPropagate->isChecked();
    m_settings.maxshowcharnum = m_minShowChars->value();
    m_settings.limitPhraseTipNum = m_maxExamples->value();
    m_settings.CLStop = m_lineBreakStops->isChecked();
    m_settings.TABkeyStop = m_tabStops->isChecked();
    m_settings.tagStop = m_tagStops->isChecked();

    const QFont source = fontSample(FontSample::Source)->font();
    const QFont target = fontSample(FontSample::Target)->font();
    m_settings.interEwordFontName = source.family().toStdString();
    m_settings.interEwordFontSize = pointSizeOr(source, m_settings.interEwordFontSize);
    m_settings.interCwordFontName = target.family().toStdString();
    m_settings.interCwordFontSize = pointSizeOr(target, m_settings.interCwordFontSize);
    QDialog::accept();
}

}  // namespace tavricat::gui
