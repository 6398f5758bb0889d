#include "auto_translation_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

#include "app/setting_rules.h"

namespace tavricat::gui {

namespace {

QString rateText(int rate) { return QStringLiteral("匹配率：%1%").arg(rate); }

QRadioButton* radio(const QString& caption, const char* name, QWidget* parent) {
    auto* button = new QRadioButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

}  // namespace

AutoTranslationDialog::AutoTranslationDialog(Settings& settings, QWidget* parent) : QDialog(parent), m_settings(settings) {
    setWindowTitle(QStringLiteral("自动翻译"));

    m_rate = new QSlider(Qt::Horizontal, this);
    m_rate->setObjectName(QStringLiteral("matchRate"));
    m_rate->setRange(kMatchRateMin, kMatchRateMax);
    m_rate->setValue(settings.matchrate);  // a stored rate outside the range is clamped
    m_rateLabel = new QLabel(rateText(m_rate->value()), this);
    m_rateLabel->setObjectName(QStringLiteral("matchRateLabel"));
    connect(m_rate, &QSlider::valueChanged, this, [this](int rate) { m_rateLabel->setText(rateText(rate)); });
    auto* scale = new QHBoxLayout;
    scale->addWidget(new QLabel(QStringLiteral("50%"), this));
    scale->addWidget(m_rate, 1);
    scale->addWidget(new QLabel(QStringLiteral("100%"), this));

    auto* group = new QGroupBox(QStringLiteral("译文选项"), this);
    m_copy = radio(QStringLiteral("使用指定匹配率以上的例句，其他复制原文"), "copySource", group);
    m_keep = radio(QStringLiteral("使用指定匹配率以上的例句，其他保持原文"), "keepSource", group);
    m_machine = radio(QStringLiteral("小于指定匹配率的句子采用机器翻译结果"), "machineTranslation", group);
    (settings.userefmode == 2 ? m_keep : settings.userefmode == 3 ? m_machine : m_copy)->setChecked(true);
    auto* choices = new QVBoxLayout(group);
    choices->addWidget(m_copy);
    choices->addWidget(m_keep);
    choices->addWidget(m_machine);

    m_spaceInHan = new QCheckBox(QStringLiteral("汉字之间加空格"), this);
    m_spaceInHan->setObjectName(QStringLiteral("spaceInHan"));
    m_spaceInHan->setChecked(settings.SpaceInHanChar);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* run = buttons->addButton(QStringLiteral("翻  译"), QDialogButtonBox::AcceptRole);
    run->setObjectName(QStringLiteral("translateButton"));
    run->setDefault(true);
    // Enabled by whoever can open the manual (setHelpOpener).
    m_help = buttons->addButton(QStringLiteral("帮 助"), QDialogButtonBox::HelpRole);
    m_help->setObjectName(QStringLiteral("helpButton"));
    m_help->setEnabled(false);
    connect(m_help, &QPushButton::clicked, this, [this] {
        if (m_openHelp) m_openHelp(QStringLiteral("newpage85.htm"));
    });
    buttons->addButton(QStringLiteral("取 消"), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        store();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_rateLabel);
    layout->addLayout(scale);
    layout->addWidget(group);
    layout->addWidget(m_spaceInHan);
    layout->addWidget(buttons);
}

void AutoTranslationDialog::store() {
    m_settings.userefmode = m_keep->isChecked() ? 2 : m_machine->isChecked() ? 3 : 1;
    m_settings.SpaceInHanChar = m_spaceInHan->isChecked();
    m_settings.matchrate = m_rate->value();
}

}  // namespace tavricat::gui
